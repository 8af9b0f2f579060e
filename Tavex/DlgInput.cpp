#include "DlgInput.h"

#include <cstring>
#include <string_view>

#include "Big5.h"
#include "SysInfo.h"
#include "TavexDlg.h"

const char* const kDefaultPlayerName = "Player";

void StoreTopTenName(PlayerRecord& entry, const char* name) {
  const std::string_view text(name ? name : "");
  size_t length = Big5FitLength(text, sizeof entry.name - 1);
  // A lead byte whose trail byte did not fit would corrupt the last character.
  if (length > 0 && IsBig5Lead(static_cast<uint8_t>(text[length - 1])) &&
      Big5PrevChar(text, length) == length - 1)
    --length;
  std::memset(entry.name, 0, sizeof entry.name);
  std::memcpy(entry.name, text.data(), length);
}

CDlgInput::CDlgInput(CTavexDlg* host_)
    : CInputDialog(IDD, host_, "請輸入姓名", "確定"), host(host_) {
  char buffer[256];
  DWORD size = sizeof buffer;
  name = GetComputerNameA(buffer, &size) && size > 0 ? buffer : kDefaultPlayerName;
}

BOOL CDlgInput::OnInitDialog() {
  CInputDialog::OnInitDialog();
  GetEdit().SetWindowText(name);
  return TRUE;
}

void CDlgInput::OnOK() {
  GetEdit().GetWindowText(name);
  if (name.IsEmpty()) name = kDefaultPlayerName;
  CInputDialog::OnOK();
}

void CDlgInput::OnCancel() {
  name = kDefaultPlayerName;
  CInputDialog::OnCancel();
}

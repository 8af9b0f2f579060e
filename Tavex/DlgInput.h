// The name entry: a small standard dialog in which a player who won a place types a name.
#pragma once
#include "ChessData.h"
#include "StdDialogs.h"
#include "WinString.h"

class CTavexDlg;

// What the dialog falls back to for an empty or cancelled name.
extern const char* const kDefaultPlayerName;

// Copies a name into a record's name field: at most 19 bytes, cut between characters, never
// through one, then the terminating NUL.
void StoreTopTenName(PlayerRecord& entry, const char* name);

class CDlgInput : public CInputDialog {
 public:
  enum : UINT { IDD = 131 };  // dialog template

  explicit CDlgInput(CTavexDlg* host);

  CTavexDlg* host;
  // Offered when the dialog opens, the entered name after it closes. Starts as the computer's
  // name, and is afterwards the last name stored.
  CString name;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
};

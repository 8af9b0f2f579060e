#include "Dialog.h"

#include <algorithm>

#include "Display.h"
#include "WindowSystem.h"

namespace {
using WS = WindowSystem;
CWinApp* theApp = nullptr;
}  // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : templateId_(templateId), parent_(parent) {}

CDialog::~CDialog() = default;

int CDialog::DoModal() {
  if (running_) return -1;
  auto& ws = WS::Get();
  CSize screen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  int x = std::max(0, (screen.cx - 640) / 2), y = std::max(0, (screen.cy - 480) / 2);
  ws.Create(this, parent_, CRect(x, y, x + 640, y + 480));
  running_ = true;
  continueModal_ = true;
  result_ = -1;
  // The owner is disabled while the dialog runs, but only by the dialog that disabled it.
  bool disabledOwner = false;
  CWnd* owner = state_->owner;
  if (owner && owner->IsWindowEnabled()) {
    owner->EnableWindow(FALSE);
    disabledOwner = true;
  }
  ownerDisabled_ = disabledOwner;

  OnInitDialog();
  if (continueModal_ && state_) {
    if (!state_->visible) ShowWindow(SW_SHOW);
    while (continueModal_ && state_) {
      MSG msg;
      GetMessage(&msg, nullptr, 0, 0);
      if (msg.hwnd == this && PreTranslateMessage(&msg)) continue;
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
  }
  if (state_ && state_->visible) ShowWindow(SW_HIDE);
  if (ownerDisabled_ && WS::Alive(owner)) owner->EnableWindow(TRUE);
  ownerDisabled_ = false;
  running_ = false;
  DestroyWindow();
  if (state_) WS::Get().Destroy(this);  // an override that forgot the base call
  return result_;
}

void CDialog::EndDialog(int result) {
  result_ = result;
  continueModal_ = false;
  if (!state_) return;
  CWnd* owner = state_->owner;
  if (ownerDisabled_ && WS::Alive(owner)) {
    owner->EnableWindow(TRUE);
    ownerDisabled_ = false;
  }
  ShowWindow(SW_HIDE);
}

BOOL CDialog::OnInitDialog() { return TRUE; }
void CDialog::OnOK() { EndDialog(IDOK); }
void CDialog::OnCancel() { EndDialog(IDCANCEL); }
void CDialog::OnClose() { OnCancel(); }

BOOL CDialog::PreTranslateMessage(MSG* msg) {
  if (msg->message != WM_KEYDOWN) return FALSE;
  if (msg->wParam == VK_RETURN) {
    OnOK();
    return TRUE;
  }
  if (msg->wParam == VK_ESCAPE) {
    OnCancel();
    return TRUE;
  }
  return FALSE;
}

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName ? appName : "") { theApp = this; }

CWinApp::~CWinApp() {
  if (theApp == this) theApp = nullptr;
}

BOOL CWinApp::InitInstance() { return FALSE; }
int CWinApp::ExitInstance() { return 0; }

CWinApp* AfxGetApp() { return theApp; }
CWnd* AfxGetMainWnd() { return theApp ? theApp->m_pMainWnd : nullptr; }

int AfxWinMain(int, char**) {
  if (!theApp) return 1;
  theApp->InitInstance();
  int code = theApp->ExitInstance();
  DisplayShutdown();
  return code;
}

#include "TavexApp.h"

#include "Audio.h"
#include "EngineHost.h"
#include "Platform.h"
#include "StdDialogs.h"
#include "SysInfo.h"
#include "TavexDlg.h"

const char* const kInstanceName = "Tavex-很好玩!";

namespace {
// Held for the life of the process; the system drops it when the process ends, however it ends.
InstanceLock instanceLock;
}  // namespace

void InstallEngineHostPump() {
  EngineHost::PumpMessage = [] {
    MSG m;
    if (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessage(&m);
    }
  };
  EngineHost::Milliseconds = [] { return static_cast<uint32_t>(timeGetTime()); };
  // The tone plays on while the game goes on: holding the game for it made right clicks
  // pile up, each delaying the next turn by the tone's length.
  EngineHost::Beep = Audio::Beep;
}

CTavexApp::CTavexApp() : CWinApp("Tavex") {}

BOOL CTavexApp::InitInstance() {
  if (!instanceLock.Held() && !instanceLock.Acquire(kInstanceName)) return FALSE;
  InstallEngineHostPump();
  EngineHost::ChooseFile = ChooseGameFile;
  CTavexDlg dlg;
  m_pMainWnd = &dlg;
  dlg.DoModal();
  m_pMainWnd = nullptr;
  return FALSE;
}

#include "TavexApp.h"

#include "Audio.h"
#include "EngineHost.h"
#include "Platform.h"
#include "StdDialogs.h"
#include "SysInfo.h"
#include "TavexDlg.h"

#include <unistd.h>

const char* const kInstanceName = "Tavex-很好玩!";

namespace {
// Held for the life of the process; the system drops it when the process ends, however it ends.
InstanceLock instanceLock;

// The right-click beep holds the game while it sounds, as the game has always done.
void HoldingBeep(unsigned frequency, unsigned durationMs) {
  Audio::Beep(frequency, durationMs);
  usleep(durationMs * 1000u);
}
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
}

CTavexApp::CTavexApp() : CWinApp("Tavex") {}

BOOL CTavexApp::InitInstance() {
  if (!instanceLock.Held() && !instanceLock.Acquire(kInstanceName)) {
    // Without a lock file we cannot tell a second copy from a first: say so rather than end
    // as silently as a second copy does.
    if (!instanceLock.Failure().empty())
      MessageBox(nullptr, instanceLock.Failure().c_str(), "Tavex");
    return FALSE;
  }
  InstallEngineHostPump();
  EngineHost::Beep = HoldingBeep;
  EngineHost::ChooseFile = ChooseGameFile;
  CTavexDlg dlg;
  m_pMainWnd = &dlg;
  dlg.DoModal();
  m_pMainWnd = nullptr;
  return FALSE;
}

// The application: one copy at a time, one host dialog for the whole run.
#pragma once
#include "Dialog.h"

// The name of the lock that keeps a second copy from starting.
extern const char* const kInstanceName;

// Points the engine's message pump at this thread's queue (one PeekMessage with removal,
// TranslateMessage and DispatchMessage per call) and its clock at timeGetTime.
void InstallEngineHostPump();

class CTavexApp : public CWinApp {
 public:
  CTavexApp();
  // Runs the host dialog; FALSE in every case, so the program ends when the host does.
  BOOL InitInstance() override;
};

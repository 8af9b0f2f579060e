// Everything the game's code uses of the window system.
#pragma once
#include "Dc.h"
#include "Dialog.h"
#include "Display.h"
#include "Wnd.h"

// Points the engine's message pump at this thread's queue (one PeekMessage with removal,
// TranslateMessage and DispatchMessage per call) and its clock at timeGetTime.
void InstallEngineHostPump();

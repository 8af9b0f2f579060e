// Everything the game's code uses of the window system.
#pragma once
#include "Dc.h"
#include "Dialog.h"
#include "Display.h"
#include "Wnd.h"

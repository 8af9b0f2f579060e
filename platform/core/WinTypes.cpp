// Header-only vocabulary; this unit keeps the core library non-empty from the start.
#include "WinTypes.h"

// An OK-only message box in a window of its own, run modally until it is answered; drawn with a
// system face, or left to the system's own box when no face draws the text.
#pragma once
#include <string>

// Shows `text` (Big5) with `caption` (Big5) centred on the screen and returns when OK, Enter,
// Space, Escape or the window's close button answers it. False when no window could be made.
bool RunMessageBox(const std::string& text, const std::string& caption);

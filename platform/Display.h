// The display: its modes, the full-screen view, and what was last shown.
//
// The game sees the desktop as its screen. Its "640 x 480 mode" is a view, not a mode switch:
// a desktop-sized full-screen window showing the 640 x 480 picture scaled with its aspect kept.
// Nothing is ever stored; leaving the view puts the window back where it was.
#pragma once
#include <cstdint>

#include "Wnd.h"
#include "WinTypes.h"

struct DisplayMode {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  bool operator==(const DisplayMode&) const = default;
};

// Modes by number, 0 first, false past the last: the desktop mode (its size and depth), then
// the full-screen view 640 x 480 x 16 (left out when the desktop itself is 640 x 480).
bool EnumDisplayModes(int index, DisplayMode* out);
// True for exactly the modes EnumDisplayModes lists.
bool TestDisplayMode(int width, int height, int bitsPerPixel);
// 640 x 480 x 16 turns the full-screen view on, the desktop mode turns it off; true when the
// mode is (now) the current one. Anything else changes nothing and answers false.
bool ApplyDisplayMode(int width, int height, int bitsPerPixel);
bool IsFullScreenView();
CSize DesktopSize();

// What tests (and the headless run) see and do. Input goes through the same SDL event path as
// real input; co-ordinates are the SDL window's own pixels: client co-ordinates of the window it
// shows, scaled in the full-screen view.
namespace PlatformTest {

// The last presented picture: width x height RGB555 pixels of the shown window, top row first
// (640 x 480 for every screen); nullptr before anything was shown.
const uint16_t* PresentedPixels(int* width = nullptr, int* height = nullptr);
uint16_t PresentedPixel(int x, int y);  // 0 outside
// What the SDL window was given, in the same layout: the presented picture reaches it only as
// far as presents uploaded it (the changed part each time, all of it after a possible loss);
// nullptr before the first present.
const uint16_t* UploadedPixels();
// How many pictures the window was given since the last Reset; one the window already shows
// is not given again.
unsigned PresentCount();
// The window the SDL window shows, nullptr when none; its rectangle in screen co-ordinates.
CWnd* ShownWindow();
CRect ShownRect();
// The SDL window as last synchronised: shown, position (windowed), full screen.
bool SdlWindowShown();
CPoint SdlWindowPosition();
bool SdlWindowFullScreen();
HICON SdlWindowIcon();  // the icon last given to the SDL window

void MouseMove(int x, int y);
void MouseButton(int vkButton, bool down, int x, int y);  // VK_LBUTTON or VK_RBUTTON
void Click(int x, int y);                                 // left down and up
void TypeText(const char* utf8);
void Key(int vk, bool down);
void CloseRequest();  // what Alt+F4 or the window manager's close button sends
void MouseLeave();    // the pointer leaves the window
void Minimized();     // the system reports the window minimised
void Exposed();       // the system shows the window again

// Time: the manual clock starts at `startMs` and moves only when advanced; off returns to the
// system clock. Waits in GetMessage still take real time.
void UseManualClock(bool on, uint32_t startMs = 1000);
void AdvanceClock(uint32_t ms);

// Destroys every window, empties the queue and timers, leaves the full-screen view, and
// resets the cursor counter, keys and clock: a fresh window system for the next test.
void Reset();

}  // namespace PlatformTest

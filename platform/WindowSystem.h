// Inside the window system: the state the window, queue, dialog, DC and display parts share.
#pragma once
#include <SDL.h>

#include <deque>
#include <string>
#include <vector>

#include "Wnd.h"

struct CWnd::State {
  CRect rect;
  CWnd* owner = nullptr;
  bool visible = false;
  bool minimized = false;
  bool topmost = false;
  bool enabled = true;
  bool invalid = false;
  bool erase = false;
  std::string text;
  HICON icon = nullptr;
};

struct WindowTimer {
  CWnd* wnd;
  UINT id;
  UINT period;
  uint32_t due;
};

struct WindowSystem {
  static WindowSystem& Get();  // starts SDL video on first use

  // Windows, top of the z-order first.
  std::vector<CWnd*> zorder;
  CWnd* active = nullptr;
  CWnd* focus = nullptr;

  std::deque<MSG> queue;
  std::vector<WindowTimer> timers;

  // Pointer and keys as the input has reported them so far. `pointer` is where the pointer is on
  // the real screen: a window that moves or changes size under a resting pointer leaves it
  // there. `cursor` is the program's point over it, as GetCursorPos last answered.
  CPoint pointer;
  CPoint cursor;
  bool pointerInside = false;
  bool synthPending = false;
  uint32_t lastSynth = 0;
  // At rest (no input since the last synthetic move, no new picture since it was asked for)
  // the next one waits for the earliest moment the picture is known to change by itself.
  bool inputSinceSynth = false;
  unsigned presentsAtRequest = 0;
  bool changeDueSet = false;
  uint32_t changeDue = 0;
  int cursorCount = 0;
  bool keyDown[256] = {};
  bool keyLatch[256] = {};
  bool realPointer = false;  // a real display: ask it for the pointer, not the event record

  // Buttons and pointer in the order the queue has taken them.
  bool buttonDown[2] = {};
  bool havePointer = false;
  CPoint lastPointer;

  // Clicks, for double-click detection (index 0 left, 1 right).
  struct LastClick {
    CWnd* wnd = nullptr;
    uint32_t time = 0;
    CPoint pt;
    bool wasDouble = false;
  } lastClick[2];

  bool manualClock = false;
  uint32_t manualNow = 0;

  static bool Alive(const CWnd* w) { return w && w->state_; }
  static CWnd::State& St(const CWnd* w) { return *w->state_; }
  static bool Shows(const CWnd* w);  // alive, visible, not minimised, not empty

  void Create(CWnd* w, CWnd* owner, const CRect& rect);
  void Destroy(CWnd* w);
  int IndexOf(const CWnd* w) const;
  void Raise(CWnd* w, bool topmostBand);  // to the top of a band, then owned windows above it
  void Activate(CWnd* w);
  void AfterHide(CWnd* w, const CRect& oldRect);
  void InvalidateBelow(const CWnd* w, const CRect& area);
  CWnd* WindowAt(CPoint screenPt) const;
  CWnd* KeyboardTarget() const;

  // Input passes its screen point, and a mouse move then replaces one queued just before it.
  void Post(CWnd* w, UINT message, WPARAM wp, LPARAM lp, const CPoint* inputPt = nullptr);
  UINT ButtonFlags() const;
  void PumpSdl();
  void TranslateSdlEvent(const SDL_Event& e);
  // The next generated message (paint, timer, synthetic move) in the filter, if any.
  bool Generated(MSG* msg, HWND hwnd, UINT min, UINT max, bool remove, bool withSynthetic);
  uint32_t NextDeadline(uint32_t now) const;  // ms until something may be generated
  bool Resting() const;
  // ms until the synthetic move is due; `never` when it waits for input.
  uint32_t SyntheticWait(uint32_t now, uint32_t never) const;
  void MoveLoop(CWnd* w, CPoint clientPt);
  void ResetAll();
};

uint32_t NowMs();

// Display side (Display.cpp).
struct FrameInfo {
  CWnd* top = nullptr;  // the window the SDL window shows
  CRect rect;           // what the SDL window covers, in screen co-ordinates
};
FrameInfo CurrentFrame();
// Visible parts of w inside the frame, in frame co-ordinates; empty when nothing shows.
std::vector<CRect> VisibleParts(const CWnd* w, CRect* frameRect);
uint16_t* FrameBuffer(int* width, int* height);  // sized to the current frame
void FramePresented();                           // a window DC wrote into the frame
unsigned FramePresents();                        // pictures that reached the window so far
void DisplayExposed();                           // the SDL window needs its picture again
void SyncDisplay(bool idle);                     // apply window state, present when due
void RequestMinimize();                          // asks the display to minimise the SDL window
void DisplayMoved();                             // someone else moved the SDL window
bool SdlWindowHasMouse();
bool SdlDisplayReal();

// The pointer. The real screen is in desktop pixels, where the X server has the pointer; the
// program sees the frame's co-ordinates, which the window's place offsets and the full-screen
// view scales. Every conversion goes through the window's place and the view as they are now.
CPoint SdlWindowOrigin();              // wherever the window manager put it
CPoint ViewPoint(CPoint screenPt);     // over a real screen point
CPoint ScreenPoint(CPoint viewPt);     // under a view point: the middle of its scaled pixel
CPoint GlobalPointer(bool* leftDown);  // real displays only: the real screen point
void WarpPointer(CPoint viewPt);
// A switch of the view holds the pointer over the page point it was over, until it is put there
// once the screen has its place: AnchoredPointer gives that point, and mouse moves meanwhile
// are old news. SetCursorPos elsewhere lets go of it.
bool AnchoredPointer(CPoint* viewPt);
void ForgetPointerAnchor();
void DisplayShutdown();
void DisplayReset();
SDL_Window* SdlWindow();

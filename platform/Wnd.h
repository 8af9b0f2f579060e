// Windows, the thread's message queue, timers, the mouse and the keyboard: the part of the
// window system the game's screens are written against, built on one SDL window.
//
// Every window of the game is a modal dialog (Dialog.h). Windows are logical: each has its own
// rectangle in screen co-ordinates, z-order (top-most or not), visibility, enabled state,
// activation and focus. The SDL window shows the top visible window; a window that lies wholly
// inside a visible window below it (a message box over a screen) is drawn over that one. A
// window of size 0 x 0 is never shown. There are no child windows.
#pragma once
#include <cstdint>

#include "WinTypes.h"

class CWnd;
class CDC;
using HWND = CWnd*;
struct IconImage;
using HICON = IconImage*;

// Messages, with the values the game's code is written against.
enum : UINT {
  WM_NULL = 0x0000,
  WM_SIZE = 0x0005,
  WM_PAINT = 0x000F,
  WM_CLOSE = 0x0010,
  WM_ERASEBKGND = 0x0014,
  WM_NCLBUTTONDOWN = 0x00A1,
  WM_KEYDOWN = 0x0100,
  WM_CHAR = 0x0102,
  WM_SYSCOMMAND = 0x0112,
  WM_TIMER = 0x0113,
  WM_MOUSEMOVE = 0x0200,
  WM_LBUTTONDOWN = 0x0201,
  WM_LBUTTONUP = 0x0202,
  WM_LBUTTONDBLCLK = 0x0203,
  WM_RBUTTONDOWN = 0x0204,
  WM_RBUTTONUP = 0x0205,
  WM_RBUTTONDBLCLK = 0x0206,
  WM_USER = 0x0400,
};

enum : UINT { HTCAPTION = 2 };                              // WM_NCLBUTTONDOWN wParam
enum : UINT { SC_MINIMIZE = 0xF020, SC_RESTORE = 0xF120 };  // WM_SYSCOMMAND wParam
enum : UINT { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1 };      // WM_SIZE wParam
enum : UINT { MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002 };   // mouse message wParam
enum : UINT { PM_NOREMOVE = 0, PM_REMOVE = 1 };

// Virtual keys: WM_KEYDOWN wParam and GetAsyncKeyState. Letters and digits are their upper-case
// ASCII codes ('A'..'Z', '0'..'9').
enum : int {
  VK_LBUTTON = 0x01,
  VK_RBUTTON = 0x02,
  VK_BACK = 0x08,
  VK_TAB = 0x09,
  VK_RETURN = 0x0D,
  VK_SHIFT = 0x10,
  VK_CONTROL = 0x11,
  VK_ESCAPE = 0x1B,
  VK_SPACE = 0x20,
  VK_END = 0x23,
  VK_HOME = 0x24,
  VK_LEFT = 0x25,
  VK_UP = 0x26,
  VK_RIGHT = 0x27,
  VK_DOWN = 0x28,
  VK_DELETE = 0x2E,
  VK_F1 = 0x70,
};

// SetWindowPos flags.
enum : UINT {
  SWP_NOSIZE = 0x0001,
  SWP_NOMOVE = 0x0002,
  SWP_NOZORDER = 0x0004,
  SWP_NOACTIVATE = 0x0010,
  SWP_SHOWWINDOW = 0x0040,
  SWP_HIDEWINDOW = 0x0080,
};

// ShowWindow commands.
enum : int { SW_HIDE = 0, SW_SHOW = 5, SW_MINIMIZE = 6, SW_RESTORE = 9 };

// GetSystemMetrics indexes; any other index answers 0.
enum : int { SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXICON = 11, SM_CYICON = 12 };

enum : int { IDOK = 1, IDCANCEL = 2 };

struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  CPoint pt;  // cursor position in screen co-ordinates when the message was made
};

constexpr LPARAM MAKELPARAM(int lo, int hi) {
  return static_cast<LPARAM>(static_cast<uint32_t>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)));
}
constexpr int GET_X_LPARAM(LPARAM lp) { return static_cast<int16_t>(lp & 0xFFFF); }
constexpr int GET_Y_LPARAM(LPARAM lp) { return static_cast<int16_t>((lp >> 16) & 0xFFFF); }

class CWnd {
 public:
  CWnd();
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // Insert-after values for SetWindowPos.
  static const CWnd wndTop;
  static const CWnd wndTopMost;
  static const CWnd wndNoTopMost;

  // This window while it exists (from DoModal until DestroyWindow), else nullptr.
  HWND GetSafeHwnd() const;

  // Places the window. insertAfter: &wndTop (top of its band), &wndTopMost (top of the
  // top-most band), &wndNoTopMost (leaves the top-most band; no change for a window not in it).
  // A window is always kept above the window that owns it. Unless SWP_NOACTIVATE, a visible,
  // enabled window is also activated. False when the window does not exist.
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
  BOOL ShowWindow(int cmd);               // previous visibility
  void GetWindowRect(CRect* rect) const;  // screen co-ordinates
  void GetClientRect(CRect* rect) const;  // (0, 0, width, height): no frame, no caption
  void ScreenToClient(CPoint* pt) const;
  void ClientToScreen(CPoint* pt) const;
  BOOL IsWindowVisible() const;
  BOOL IsIconic() const;
  BOOL IsWindowEnabled() const;
  BOOL EnableWindow(BOOL enable);  // previous state: TRUE when it was disabled
  CWnd* GetParent() const;         // the owner given at creation

  CWnd* SetActiveWindow();  // previously active window
  CWnd* SetFocus();         // previous focus; keyboard messages go to the focus window
  static CWnd* GetActiveWindow();
  static CWnd* GetFocus();
  // The top shown window at a screen point, nullptr where none is.
  static CWnd* WindowFromPoint(CPoint pt);

  // The text shows as the title of the SDL window while this window is shown in it.
  void SetWindowText(const char* text);
  // The icon shows on the SDL window while this window (or, lacking one, the main window) is
  // shown in it; one picture serves as big and small icon. Returns the previous icon.
  HICON SetIcon(HICON icon, BOOL bigIcon);

  // Marks the whole client area for a WM_PAINT (lower priority than posted messages and input).
  void Invalidate(BOOL erase = TRUE);
  void UpdateWindow();  // sends the pending WM_PAINT now, if any

  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

  // Window timers: WM_TIMER with wParam = id, made when due and nothing else is pending, never
  // more than one at a time per timer. Setting an existing id restarts it. The callback form
  // is not offered: pass nothing.
  UINT SetTimer(UINT id, UINT elapseMs, void* mustBeNull = nullptr);
  BOOL KillTimer(UINT id);  // also drops its pending tick

  // Destroys the window: its timers and queued messages go, and it is no longer a target.
  virtual BOOL DestroyWindow();

  // Dispatches a message to the handler below; what a handler's base version does is the
  // system's default handling for that message.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // A dialog's modal loop offers each message for this window here first; true = consumed.
  virtual BOOL PreTranslateMessage(MSG* msg);

 protected:
  // Default handling: WM_CLOSE destroys the window, WM_SYSCOMMAND SC_MINIMIZE asks the display
  // to minimise (the window is iconic once the display reports it), SC_RESTORE restores,
  // WM_NCLBUTTONDOWN HTCAPTION runs the move loop (the window follows the
  // pointer while the left button is held, timers and paints go on, the button-up is eaten;
  // nothing in the full-screen view), WM_ERASEBKGND fills the client area grey.
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  virtual void OnMouseMove(UINT flags, CPoint point);
  virtual void OnLButtonDown(UINT flags, CPoint point);
  virtual void OnLButtonUp(UINT flags, CPoint point);
  virtual void OnLButtonDblClk(UINT flags, CPoint point);
  virtual void OnRButtonDown(UINT flags, CPoint point);
  virtual void OnRButtonUp(UINT flags, CPoint point);
  virtual void OnRButtonDblClk(UINT flags, CPoint point);
  // Typed characters: Big5 bytes one by one (a double-byte character as lead, then trail),
  // plus 8, 9, 13 and 27 from Backspace, Tab, Enter and Escape.
  virtual void OnChar(UINT ch, UINT repeat, UINT flags);
  virtual void OnKeyDown(UINT vk, UINT repeat, UINT flags);
  virtual void OnTimer(UINT id);
  virtual void OnPaint();  // default: validates the window and paints nothing
  virtual void OnSize(UINT type, int cx, int cy);
  virtual void OnClose();
  virtual BOOL OnEraseBkgnd(CDC* dc);

 private:
  friend struct WindowSystem;
  friend class CDialog;
  struct State;
  State* state_ = nullptr;  // null until the window is created
};

// The thread's message queue. Retrieval order: posted messages and input (first in, first out;
// a mouse move replaces a mouse move queued just before it), then WM_PAINT of an invalid
// window, then due WM_TIMERs (earliest first), then the synthetic mouse move of SetCursorPos.
// hwnd filters by window (nullptr: any), min/max by message value (0, 0: all).
BOOL PeekMessage(MSG* msg, HWND hwnd, UINT min, UINT max, UINT remove);
// Waits until a message is there; always TRUE (the game posts no quit message).
BOOL GetMessage(MSG* msg, HWND hwnd, UINT min, UINT max);
// Sleeps until input arrives, a timer or the synthetic mouse move falls due, or maxMs pass; a
// loop that pumps one message at a time waits here instead of polling.
void WaitForMessage(DWORD maxMs);
// Sleeps until new input reaches the program, the picture's next announced change
// (PictureChangesAt) or maxMs pass: the wait of a loop that reads the input with
// GetAsyncKeyState and leaves the queue alone.
void WaitForInput(DWORD maxMs);
// Makes WM_CHAR 8, 9, 13, 27 from WM_KEYDOWN of Backspace, Tab, Enter, Escape; other typed
// characters arrive as WM_CHAR already (from text input, so every layout and input method
// works). True when it made a character.
BOOL TranslateMessage(const MSG* msg);
// Calls the target's WindowProc; a message for a window that no longer exists is dropped.
LRESULT DispatchMessage(const MSG* msg);

// An icon from a 24-bit BMP (a game path); pure green is transparent. nullptr when the file
// cannot be read. Icons last as long as the program.
HICON LoadIconFromFile(const char* path);

// Cursor position in screen co-ordinates (in the full-screen view: 640 x 480 view co-ordinates).
BOOL GetCursorPos(CPoint* pt);
// Moves the pointer; moving it to where it already is makes the queue send one mouse move to
// the window under it when nothing else is pending, at most one every 10 ms, and only while
// the pointer is over one of the game's windows. That keeps animations going while it rests,
// each frame at its time (PictureChangesAt).
BOOL SetCursorPos(int x, int y);
// While the pointer rests and the picture stays the same, the mouse move that SetCursorPos asks
// for waits for the earliest time (timeGetTime) announced here since the last such move: an
// animation's next frame. Without one it waits for input.
void PictureChangesAt(DWORD ms);
// The system cursor's display counter: shown while it is >= 0. Returns the new count.
int ShowCursor(BOOL show);
// Bit 15: the key or button is down now; bit 0: it went down since the previous call for that
// key. Reads input without dispatching anything. Keys: VK_LBUTTON, VK_RBUTTON, letters, digits,
// VK_RETURN, VK_ESCAPE, VK_SPACE, VK_BACK, VK_TAB, arrows; any other key answers 0.
int16_t GetAsyncKeyState(int vk);
// Milliseconds, wrapping at 32 bits; differences are taken modulo 2^32.
DWORD timeGetTime();
// SM_CXSCREEN / SM_CYSCREEN: the desktop size, or 640 x 480 while the full-screen view is on;
// SM_CXICON / SM_CYICON: 32.
int GetSystemMetrics(int index);

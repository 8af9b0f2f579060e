// The thread's message queue: SDL events become window messages; paints, timers and the
// synthetic mouse move are made when the queue asks for them.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Big5.h"
#include "Dc.h"
#include "Display.h"
#include "Platform.h"
#include "SysInfo.h"
#include "WindowSystem.h"

namespace {

using WS = WindowSystem;

constexpr uint32_t kSyntheticMoveGap = 10;  // ms between two synthetic mouse moves
constexpr uint32_t kDoubleClickTime = 500;
constexpr int kDoubleClickSlop = 2;  // pixels either way

int VkFromKeycode(SDL_Keycode k) {
  if (k >= SDLK_a && k <= SDLK_z) return 'A' + (k - SDLK_a);
  if (k >= SDLK_0 && k <= SDLK_9) return '0' + (k - SDLK_0);
  switch (k) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_F1: return VK_F1;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    default: return 0;
  }
}

bool OurWindowEvent(uint32_t windowID) {
  SDL_Window* w = SdlWindow();
  return windowID == 0 || (w && SDL_GetWindowID(w) == windowID);
}

// A mouse event carries the point of the frame the pointer is over as the cursor shows it when
// the event comes (while a switch of the view holds the pointer, the point it holds), not the
// SDL window's pixel: the view may be another by the time the event is taken from the queue.
void ToFramePoint(Sint32* x, Sint32* y) {
  CPoint at;
  GetCursorPos(&at);
  const CPoint origin = CurrentFrame().rect.TopLeft();
  *x = at.x - origin.x;
  *y = at.y - origin.y;
}

CPoint FrameToScreen(int x, int y) {
  const CPoint origin = CurrentFrame().rect.TopLeft();
  return CPoint(origin.x + x, origin.y + y);
}

// Sees every event as it enters SDL's queue, so key and button state is current even in loops
// that poll without dispatching.
int EventWatch(void*, SDL_Event* e) {
  auto& ws = WS::Get();
  switch (e->type) {
    case SDL_MOUSEMOTION: {
      if (!OurWindowEvent(e->motion.windowID)) break;
      ws.pointerInside = true;
      if (CPoint held; !AnchoredPointer(&held)) {
        const CPoint o = SdlWindowOrigin();
        ws.pointer = CPoint(o.x + e->motion.x, o.y + e->motion.y);
      }
      ToFramePoint(&e->motion.x, &e->motion.y);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      int vk = 0;
      if (e->button.button == SDL_BUTTON_LEFT) vk = VK_LBUTTON;
      if (e->button.button == SDL_BUTTON_RIGHT) vk = VK_RBUTTON;
      if (!vk || !OurWindowEvent(e->button.windowID)) break;
      // SDL gives a button the place of the last move, which goes stale when the window moves
      // or changes size under a resting pointer: a click is where the pointer is.
      ToFramePoint(&e->button.x, &e->button.y);
      ws.keyDown[vk] = e->type == SDL_MOUSEBUTTONDOWN;
      if (ws.keyDown[vk]) ws.keyLatch[vk] = true;
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      int vk = VkFromKeycode(e->key.keysym.sym);
      if (!vk) break;
      ws.keyDown[vk] = e->type == SDL_KEYDOWN;
      if (ws.keyDown[vk]) ws.keyLatch[vk] = true;
      break;
    }
    case SDL_WINDOWEVENT:
      if (e->window.event == SDL_WINDOWEVENT_LEAVE) ws.pointerInside = false;
      if (e->window.event == SDL_WINDOWEVENT_ENTER) ws.pointerInside = true;
      break;
    default: break;
  }
  return 0;
}

bool InFilter(const MSG& m, HWND hwnd, UINT min, UINT max) {
  if (hwnd && m.hwnd != hwnd) return false;
  if (min == 0 && max == 0) return true;
  return m.message >= min && m.message <= max;
}

}  // namespace

uint32_t NowMs() {
  auto& ws = WS::Get();
  return ws.manualClock ? ws.manualNow : MonotonicMs();
}

WindowSystem& WindowSystem::Get() {
  static WindowSystem* ws = [] {
    auto* s = new WindowSystem;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
      std::fprintf(stderr, "The window system cannot start: %s\n", SDL_GetError());
      std::exit(EXIT_FAILURE);
    }
    SDL_AddEventWatch(EventWatch, nullptr);
    SDL_StartTextInput();
    return s;
  }();
  static bool realChecked = false;
  if (!realChecked) {
    realChecked = true;
    ws->realPointer = SdlDisplayReal();
  }
  return *ws;
}

void WindowSystem::Post(CWnd* w, UINT message, WPARAM wp, LPARAM lp, const CPoint* pt) {
  if (message == WM_MOUSEMOVE && pt && !queue.empty() && queue.back().message == WM_MOUSEMOVE &&
      queue.back().hwnd == w) {
    queue.back().wParam = wp;
    queue.back().lParam = lp;
    queue.back().pt = *pt;
    return;
  }
  MSG m;
  m.hwnd = w;
  m.message = message;
  m.wParam = wp;
  m.lParam = lp;
  m.time = NowMs();
  m.pt = pt ? *pt : cursor;
  queue.push_back(m);
}

UINT WindowSystem::ButtonFlags() const {
  return (buttonDown[0] ? UINT{MK_LBUTTON} : 0u) | (buttonDown[1] ? UINT{MK_RBUTTON} : 0u);
}

void WindowSystem::PumpSdl() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) TranslateSdlEvent(e);
}

void WindowSystem::TranslateSdlEvent(const SDL_Event& e) {
  if (e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEBUTTONUP || e.type == SDL_KEYDOWN ||
      e.type == SDL_TEXTINPUT || e.type == SDL_WINDOWEVENT)
    inputSinceSynth = true;
  switch (e.type) {
    case SDL_MOUSEMOTION: {
      if (!OurWindowEvent(e.motion.windowID)) break;
      CPoint pt = FrameToScreen(e.motion.x, e.motion.y);
      if (havePointer && pt == lastPointer) break;  // no movement, no message
      inputSinceSynth = true;
      havePointer = true;
      lastPointer = pt;
      CWnd* w = WindowAt(pt);
      if (!w || !St(w).enabled) break;
      Post(w, WM_MOUSEMOVE, ButtonFlags(),
           MAKELPARAM(pt.x - St(w).rect.left, pt.y - St(w).rect.top), &pt);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      int b = e.button.button == SDL_BUTTON_LEFT ? 0 : e.button.button == SDL_BUTTON_RIGHT ? 1 : -1;
      if (b < 0 || !OurWindowEvent(e.button.windowID)) break;
      CPoint pt = FrameToScreen(e.button.x, e.button.y);
      havePointer = true;
      lastPointer = pt;
      buttonDown[b] = e.type == SDL_MOUSEBUTTONDOWN;
      CWnd* w = WindowAt(pt);
      if (!w || !St(w).enabled) break;
      UINT msg;
      if (e.type == SDL_MOUSEBUTTONUP) {
        msg = b == 0 ? WM_LBUTTONUP : WM_RBUTTONUP;
      } else {
        uint32_t now = NowMs();
        LastClick& c = lastClick[b];
        bool dbl = !c.wasDouble && c.wnd == w && now - c.time <= kDoubleClickTime &&
                   std::abs(pt.x - c.pt.x) <= kDoubleClickSlop &&
                   std::abs(pt.y - c.pt.y) <= kDoubleClickSlop;
        c = LastClick{w, now, pt, dbl};
        msg = b == 0 ? (dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN)
                     : (dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN);
      }
      Post(w, msg, ButtonFlags(), MAKELPARAM(pt.x - St(w).rect.left, pt.y - St(w).rect.top), &pt);
      break;
    }
    case SDL_TEXTINPUT: {
      CWnd* w = KeyboardTarget();
      if (!w) break;
      for (unsigned char c : Utf8ToBig5(e.text.text)) Post(w, WM_CHAR, c, 1);
      break;
    }
    case SDL_KEYDOWN: {
      int vk = VkFromKeycode(e.key.keysym.sym);
      CWnd* w = KeyboardTarget();
      if (vk && w) Post(w, WM_KEYDOWN, vk, 1);
      break;
    }
    case SDL_WINDOWEVENT: {
      if (!OurWindowEvent(e.window.windowID)) break;
      FrameInfo f = CurrentFrame();
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE: {
          CWnd* w = Shows(active) ? active : f.top;
          if (w) Post(w, WM_CLOSE, 0, 0);
          break;
        }
        case SDL_WINDOWEVENT_MINIMIZED:
          if (f.top && !St(f.top).minimized) f.top->ShowWindow(SW_MINIMIZE);
          break;
        case SDL_WINDOWEVENT_MOVED: DisplayMoved(); break;
        case SDL_WINDOWEVENT_EXPOSED:
          DisplayExposed();  // the frame still holds the picture: show it again
          [[fallthrough]];   // some systems restore with nothing but an expose
        case SDL_WINDOWEVENT_RESTORED:
          for (CWnd* w : std::vector<CWnd*>(zorder))
            if (Alive(w) && St(w).minimized) w->ShowWindow(SW_RESTORE);
          break;
        default: break;
      }
      break;
    }
    default: break;
  }
}

bool WindowSystem::Generated(MSG* msg, HWND hwnd, UINT min, UINT max, bool remove,
                             bool withSynthetic) {
  MSG m;
  m.time = NowMs();
  m.pt = cursor;
  // Paint.
  for (CWnd* w : zorder) {
    if (!St(w).invalid || !Shows(w)) continue;
    m.hwnd = w;
    m.message = WM_PAINT;
    if (InFilter(m, hwnd, min, max)) {
      *msg = m;  // stays until the window is validated, as on the original system
      return true;
    }
  }
  // Timers: the most overdue first; the next tick counts from now, so none pile up.
  WindowTimer* best = nullptr;
  for (auto& t : timers) {
    if (static_cast<int32_t>(m.time - t.due) < 0) continue;
    m.hwnd = t.wnd;
    m.message = WM_TIMER;
    if (!InFilter(m, hwnd, min, max)) continue;
    if (!best || static_cast<int32_t>(t.due - best->due) < 0) best = &t;
  }
  if (best) {
    m.hwnd = best->wnd;
    m.message = WM_TIMER;
    m.wParam = best->id;
    m.lParam = 0;
    if (remove) best->due = m.time + best->period;
    *msg = m;
    return true;
  }
  // The mouse move that SetCursorPos asked for.
  if (withSynthetic && synthPending && SyntheticWait(m.time, 1) == 0) {
    bool inside = realPointer ? SdlWindowHasMouse() : pointerInside;
    if (!inside) {
      synthPending = false;
      return false;
    }
    CPoint pt;
    GetCursorPos(&pt);
    CWnd* w = WindowAt(pt);
    if (!w || !St(w).enabled) {
      synthPending = false;
      return false;
    }
    m.hwnd = w;
    m.message = WM_MOUSEMOVE;
    m.wParam = ButtonFlags();
    m.lParam = MAKELPARAM(pt.x - St(w).rect.left, pt.y - St(w).rect.top);
    if (!InFilter(m, hwnd, min, max)) return false;
    if (remove) {
      synthPending = false;
      lastSynth = m.time;
      inputSinceSynth = false;
      changeDueSet = false;  // the redraw this move leads to announces the next change
    }
    *msg = m;
    return true;
  }
  return false;
}

uint32_t WindowSystem::NextDeadline(uint32_t now) const {
  uint32_t wait = 100;
  for (const auto& t : timers) {
    int32_t d = static_cast<int32_t>(t.due - now);
    wait = std::min<uint32_t>(wait, d <= 0 ? 0 : d);
  }
  if (synthPending) wait = std::min(wait, SyntheticWait(now, wait));
  return wait;
}

bool WindowSystem::Resting() const {
  return !inputSinceSynth && presentsAtRequest == FramePresents();
}

uint32_t WindowSystem::SyntheticWait(uint32_t now, uint32_t never) const {
  const uint32_t since = now - lastSynth;
  uint32_t wait = since >= kSyntheticMoveGap ? 0 : kSyntheticMoveGap - since;
  // A redraw before the picture changes by itself would show the same picture again.
  if (Resting()) {
    if (!changeDueSet) return never;
    const int32_t due = static_cast<int32_t>(changeDue - now);
    wait = std::max<uint32_t>(wait, due <= 0 ? 0 : due);
  }
  return wait;
}

void WindowSystem::MoveLoop(CWnd* w, CPoint clientPt) {
  if (IsFullScreenView()) return;
  CRect startRect = St(w).rect;
  // A real display is asked where the pointer is; otherwise the events tell, one by one.
  CPoint start(startRect.left + clientPt.x, startRect.top + clientPt.y);
  if (realPointer) {
    bool down = true;
    start = GlobalPointer(&down);
    if (!down) return;
  }
  CPoint now = start;
  for (;;) {
    bool released = false;
    bool any = false;
    // Input that reached the queue before the loop started belongs to the drag.
    for (auto it = queue.begin(); it != queue.end() && !released;) {
      if (it->message == WM_MOUSEMOVE) {
        now = it->pt;
      } else if (it->message == WM_LBUTTONUP) {
        released = true;
      } else {
        ++it;
        continue;
      }
      it = queue.erase(it);
      any = true;
    }
    SDL_Event e;
    while (!released && SDL_PollEvent(&e)) {
      any = true;
      if (e.type == SDL_MOUSEMOTION && OurWindowEvent(e.motion.windowID)) {
        now = FrameToScreen(e.motion.x, e.motion.y);
      } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
        released = true;  // eaten: the screen never sees this release
      } else {
        TranslateSdlEvent(e);
      }
    }
    if (realPointer) {
      bool held = true;
      now = GlobalPointer(&held);
      released = released || !held;
    } else if (!any && !keyDown[VK_LBUTTON]) {
      released = true;
    }
    if (!Alive(w)) return;
    CRect r = St(w).rect;
    int x = startRect.left + now.x - start.x, y = startRect.top + now.y - start.y;
    if (x != r.left || y != r.top)
      w->SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!realPointer) pointer = now;  // windowed: the screen and the view are one
    if (released) break;
    MSG m;
    while (Generated(&m, nullptr, WM_PAINT, WM_PAINT, true, false) ||
           Generated(&m, nullptr, WM_TIMER, WM_TIMER, true, false)) {
      DispatchMessage(&m);
      any = true;
      if (!Alive(w)) return;
    }
    SyncDisplay(true);
    if (!any) SDL_Delay(5);
  }
  keyDown[VK_LBUTTON] = false;
  buttonDown[0] = false;
}

// --- The queue's calls --------------------------------------------------------------------

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT min, UINT max, UINT remove) {
  auto& ws = WS::Get();
  ws.PumpSdl();
  for (auto it = ws.queue.begin(); it != ws.queue.end(); ++it) {
    if (!InFilter(*it, hwnd, min, max)) continue;
    *msg = *it;
    if (remove & PM_REMOVE) ws.queue.erase(it);
    return TRUE;
  }
  if (ws.Generated(msg, hwnd, min, max, remove & PM_REMOVE, true)) return TRUE;
  SyncDisplay(true);
  return FALSE;
}

BOOL GetMessage(MSG* msg, HWND hwnd, UINT min, UINT max) {
  auto& ws = WS::Get();
  for (;;) {
    if (PeekMessage(msg, hwnd, min, max, PM_REMOVE)) return TRUE;
    uint32_t wait = ws.NextDeadline(NowMs());
    if (ws.manualClock) wait = std::min<uint32_t>(wait, 5);
    SDL_WaitEventTimeout(nullptr, static_cast<int>(std::max<uint32_t>(wait, 1)));
  }
}

void WaitForMessage(DWORD maxMs) {
  auto& ws = WS::Get();
  if (!ws.queue.empty()) return;
  uint32_t wait = std::min<uint32_t>(maxMs, ws.NextDeadline(NowMs()));
  if (ws.manualClock) wait = std::min<uint32_t>(wait, 5);  // its deadlines never come by waiting
  if (wait > 0) SDL_WaitEventTimeout(nullptr, static_cast<int>(wait));
}

void WaitForInput(DWORD maxMs) {
  auto& ws = WS::Get();
  uint32_t wait = maxMs;
  const int32_t toChange = static_cast<int32_t>(ws.changeDue - NowMs());
  if (ws.changeDueSet && toChange > 0) wait = std::min<uint32_t>(wait, toChange);
  if (ws.manualClock) wait = std::min<uint32_t>(wait, 2);  // its deadlines never come by waiting
  if (wait == 0) return;
  // Input that only GetAsyncKeyState has looked at still waits in SDL's queue and would end
  // every wait at once: then the loop looks at the keys again in short steps.
  SDL_PumpEvents();
  if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
    SDL_Delay(std::min<uint32_t>(wait, 10));
  else
    SDL_WaitEventTimeout(nullptr, static_cast<int>(wait));
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || msg->message != WM_KEYDOWN) return FALSE;
  int ch = 0;
  switch (msg->wParam) {
    case VK_BACK: ch = 8; break;
    case VK_TAB: ch = 9; break;
    case VK_RETURN: ch = 13; break;
    case VK_ESCAPE: ch = 27; break;
    default: return FALSE;
  }
  auto& ws = WS::Get();
  if (!WS::Alive(msg->hwnd)) return FALSE;
  // The character comes before anything queued after the key.
  MSG c = *msg;
  c.message = WM_CHAR;
  c.wParam = ch;
  ws.queue.push_front(c);
  return TRUE;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg || !WS::Alive(msg->hwnd)) return 0;
  if (msg->message == WM_PAINT) {
    if (!WS::St(msg->hwnd).invalid) return 0;
    WS::St(msg->hwnd).invalid = false;
  }
  return msg->hwnd->WindowProc(msg->message, msg->wParam, msg->lParam);
}

BOOL GetCursorPos(CPoint* pt) {
  auto& ws = WS::Get();
  // Over our window its mouse events tell where the pointer is on the screen, each taken where
  // the window stood when it came; away from it only the global state knows. The program's
  // point over it follows the window's place and the view as they are now: a window that moves
  // or changes size under a resting pointer is under another point of the pointer.
  CPoint anchored;
  if (AnchoredPointer(&anchored)) {
    ws.cursor = anchored;
  } else {
    if (ws.realPointer && !SdlWindowHasMouse()) ws.pointer = GlobalPointer(nullptr);
    ws.cursor = ViewPoint(ws.pointer);
  }
  *pt = ws.cursor;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  auto& ws = WS::Get();
  CPoint now;
  GetCursorPos(&now);
  if (now != CPoint(x, y)) {
    ForgetPointerAnchor();
    ws.cursor = CPoint(x, y);
    ws.inputSinceSynth = true;
    if (ws.realPointer)
      WarpPointer(ws.cursor);
    else
      ws.pointer = ScreenPoint(ws.cursor);
  }
  ws.synthPending = true;
  ws.presentsAtRequest = FramePresents();  // the picture as the asker has just shown it
  return TRUE;
}

void PictureChangesAt(DWORD ms) {
  auto& ws = WS::Get();
  // A moment already reached has been shown by the redraw that announces the next one.
  const bool passed = static_cast<int32_t>(ws.changeDue - NowMs()) <= 0;
  if (!ws.changeDueSet || passed || static_cast<int32_t>(ms - ws.changeDue) < 0) ws.changeDue = ms;
  ws.changeDueSet = true;
}

int ShowCursor(BOOL show) {
  auto& ws = WS::Get();
  ws.cursorCount += show ? 1 : -1;
  SDL_ShowCursor(ws.cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
  return ws.cursorCount;
}

int16_t GetAsyncKeyState(int vk) {
  if (vk <= 0 || vk > 255) return 0;
  auto& ws = WS::Get();
  SDL_PumpEvents();
  SyncDisplay(false);
  bool down = ws.keyDown[vk];
  // The button events over our window keep keyDown; elsewhere only the global state can tell.
  if (vk == VK_LBUTTON && ws.realPointer && !SdlWindowHasMouse()) GlobalPointer(&down);
  bool latched = ws.keyLatch[vk];
  ws.keyLatch[vk] = false;
  return static_cast<int16_t>((down ? 0x8000 : 0) | (latched ? 1 : 0));
}

DWORD timeGetTime() { return NowMs(); }

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return IsFullScreenView() ? 640 : DesktopSize().cx;
    case SM_CYSCREEN: return IsFullScreenView() ? 480 : DesktopSize().cy;
    case SM_CXICON:
    case SM_CYICON: return 32;
    default: return 0;
  }
}

void WindowSystem::ResetAll() {
  for (CWnd* w : std::vector<CWnd*>(zorder)) Destroy(w);
  queue.clear();
  timers.clear();
  active = focus = nullptr;
  synthPending = false;
  lastSynth = 0;
  inputSinceSynth = false;
  presentsAtRequest = 0;
  changeDueSet = false;
  pointerInside = false;
  pointer = cursor = CPoint();
  cursorCount = 0;
  SDL_ShowCursor(SDL_ENABLE);
  std::fill(std::begin(keyDown), std::end(keyDown), false);
  std::fill(std::begin(keyLatch), std::end(keyLatch), false);
  for (auto& c : lastClick) c = LastClick{};
  buttonDown[0] = buttonDown[1] = false;
  havePointer = false;
  manualClock = false;
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

#include "Wnd.h"

#include <algorithm>

#include "Dc.h"
#include "WindowSystem.h"

const CWnd CWnd::wndTop;
const CWnd CWnd::wndTopMost;
const CWnd CWnd::wndNoTopMost;

namespace {
using WS = WindowSystem;
}

bool WindowSystem::Shows(const CWnd* w) {
  if (!Alive(w)) return false;
  const auto& s = St(w);
  return s.visible && !s.minimized && !s.rect.IsRectEmpty();
}

void WindowSystem::Create(CWnd* w, CWnd* owner, const CRect& rect) {
  w->state_ = new CWnd::State;
  w->state_->rect = rect;
  w->state_->owner = Alive(owner) ? owner : nullptr;
  // A new window starts at the top of the normal band.
  auto firstNormal =
      std::find_if(zorder.begin(), zorder.end(), [](CWnd* x) { return !St(x).topmost; });
  zorder.insert(firstNormal, w);
  Raise(w, false);
}

void WindowSystem::Destroy(CWnd* w) {
  if (!Alive(w)) return;
  CRect old = St(w).rect;
  bool wasVisible = Shows(w);
  zorder.erase(std::remove(zorder.begin(), zorder.end(), w), zorder.end());
  std::erase_if(queue, [w](const MSG& m) { return m.hwnd == w; });
  std::erase_if(timers, [w](const WindowTimer& t) { return t.wnd == w; });
  for (auto& c : lastClick)
    if (c.wnd == w) c = LastClick{};
  for (CWnd* x : zorder)
    if (St(x).owner == w) St(x).owner = nullptr;
  CWnd* owner = St(w).owner;
  delete w->state_;
  w->state_ = nullptr;
  if (wasVisible) InvalidateBelow(nullptr, old);
  if (focus == w) focus = nullptr;
  if (active == w) {
    active = nullptr;
    if (Shows(owner) && St(owner).enabled) Activate(owner);
  }
}

int WindowSystem::IndexOf(const CWnd* w) const {
  auto it = std::find(zorder.begin(), zorder.end(), w);
  return it == zorder.end() ? -1 : static_cast<int>(it - zorder.begin());
}

void WindowSystem::Raise(CWnd* w, bool topmostBand) {
  St(w).topmost = topmostBand;
  zorder.erase(std::remove(zorder.begin(), zorder.end(), w), zorder.end());
  auto pos = topmostBand ? zorder.begin() : std::find_if(zorder.begin(), zorder.end(), [](CWnd* x) {
    return !St(x).topmost;
  });
  zorder.insert(pos, w);
  // Owned windows stay above their owner (and so above anything raised beneath them).
  for (bool moved = true; moved;) {
    moved = false;
    for (size_t i = 0; i < zorder.size() && !moved; ++i) {
      CWnd* x = zorder[i];
      int oi = IndexOf(St(x).owner);
      if (oi >= 0 && oi < static_cast<int>(i)) {
        zorder.erase(zorder.begin() + i);
        zorder.insert(zorder.begin() + oi, x);
        moved = true;
      }
    }
  }
}

void WindowSystem::Activate(CWnd* w) {
  active = w;
  focus = w;
  if (w) Raise(w, St(w).topmost);
}

void WindowSystem::InvalidateBelow(const CWnd* w, const CRect& area) {
  if (area.IsRectEmpty()) return;
  int from = w ? IndexOf(w) + 1 : 0;
  for (int i = std::max(from, 0); i < static_cast<int>(zorder.size()); ++i) {
    CWnd* x = zorder[i];
    CRect overlap;
    if (Shows(x) && overlap.IntersectRect(St(x).rect, area)) {
      St(x).invalid = true;
      St(x).erase = true;
    }
  }
}

void WindowSystem::AfterHide(CWnd* w, const CRect& oldRect) {
  InvalidateBelow(w, oldRect);
  if (active == w) {
    CWnd* owner = St(w).owner;
    CWnd* next = nullptr;
    if (Shows(owner) && St(owner).enabled) next = owner;
    for (CWnd* x : zorder)
      if (!next && x != w && Shows(x) && St(x).enabled) next = x;
    active = nullptr;
    focus = nullptr;
    if (next) Activate(next);
  }
}

CWnd* WindowSystem::WindowAt(CPoint pt) const {
  for (CWnd* x : zorder)
    if (Shows(x) && St(x).rect.PtInRect(pt)) return x;
  return nullptr;
}

CWnd* WindowSystem::KeyboardTarget() const {
  if (Shows(focus) && St(focus).enabled) return focus;
  if (Shows(active) && St(active).enabled) return active;
  return nullptr;
}

// --- CWnd -----------------------------------------------------------------------------------

CWnd::CWnd() = default;

CWnd::~CWnd() {
  if (state_) WS::Get().Destroy(this);
}

HWND CWnd::GetSafeHwnd() const { return state_ ? const_cast<CWnd*>(this) : nullptr; }

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
  if (!state_) return FALSE;
  auto& ws = WS::Get();
  State& s = *state_;
  CRect old = s.rect;
  bool wasShown = WS::Shows(this);
  CRect r = s.rect;
  if (!(flags & SWP_NOMOVE)) r = CRect(x, y, x + r.Width(), y + r.Height());
  if (!(flags & SWP_NOSIZE))
    r = CRect(r.left, r.top, r.left + std::max(cx, 0), r.top + std::max(cy, 0));
  s.rect = r;
  if (!(flags & SWP_NOZORDER) && insertAfter) {
    if (insertAfter == &wndTopMost)
      ws.Raise(this, true);
    else if (insertAfter == &wndNoTopMost) {
      if (s.topmost) ws.Raise(this, false);
    } else if (insertAfter == &wndTop)
      ws.Raise(this, s.topmost);
  }
  if (flags & SWP_SHOWWINDOW) s.visible = true;
  if (flags & SWP_HIDEWINDOW) s.visible = false;
  bool shown = WS::Shows(this);
  if (wasShown && (!shown || old != r)) ws.InvalidateBelow(this, old);
  if (shown && (!wasShown || old.Width() != r.Width() || old.Height() != r.Height())) {
    s.invalid = true;
    s.erase = true;
  }
  if (wasShown && !shown) ws.AfterHide(this, old);
  if (shown && !(flags & SWP_NOACTIVATE) && s.enabled) ws.Activate(this);
  if (!(flags & SWP_NOSIZE) && (old.Width() != r.Width() || old.Height() != r.Height()))
    SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.Width(), r.Height()));
  return TRUE;
}

BOOL CWnd::ShowWindow(int cmd) {
  if (!state_) return FALSE;
  auto& ws = WS::Get();
  State& s = *state_;
  BOOL was = s.visible;
  CRect rect = s.rect;
  bool wasShown = WS::Shows(this);
  switch (cmd) {
    case SW_HIDE: s.visible = false; break;
    case SW_SHOW: s.visible = true; break;
    case SW_MINIMIZE:
      s.visible = true;
      if (s.minimized) break;
      s.minimized = true;
      SendMessage(WM_SIZE, SIZE_MINIMIZED, 0);
      if (!state_) return was;
      break;
    case SW_RESTORE:
      s.visible = true;
      if (!s.minimized) break;
      s.minimized = false;
      SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rect.Width(), rect.Height()));
      if (!state_) return was;
      break;
    default: return was;
  }
  bool shown = WS::Shows(this);
  if (wasShown && !shown) ws.AfterHide(this, rect);
  if (shown && !wasShown) {
    s.invalid = true;
    s.erase = true;
    if (cmd != SW_HIDE && s.enabled && !WS::Shows(ws.active)) ws.Activate(this);
  }
  if (cmd == SW_RESTORE && shown && s.enabled) ws.Activate(this);
  return was;
}

void CWnd::GetWindowRect(CRect* rect) const { *rect = state_ ? state_->rect : CRect(); }

void CWnd::GetClientRect(CRect* rect) const {
  *rect = state_ ? CRect(0, 0, state_->rect.Width(), state_->rect.Height()) : CRect();
}

void CWnd::ScreenToClient(CPoint* pt) const {
  if (!state_) return;
  pt->x -= state_->rect.left;
  pt->y -= state_->rect.top;
}

void CWnd::ClientToScreen(CPoint* pt) const {
  if (!state_) return;
  pt->x += state_->rect.left;
  pt->y += state_->rect.top;
}

BOOL CWnd::IsWindowVisible() const { return state_ && state_->visible; }
BOOL CWnd::IsIconic() const { return state_ && state_->minimized; }
BOOL CWnd::IsWindowEnabled() const { return state_ && state_->enabled; }

BOOL CWnd::EnableWindow(BOOL enable) {
  if (!state_) return FALSE;
  BOOL wasDisabled = !state_->enabled;
  state_->enabled = enable != FALSE;
  auto& ws = WS::Get();
  if (!enable && ws.focus == this) ws.focus = nullptr;
  return wasDisabled;
}

CWnd* CWnd::GetParent() const { return state_ ? state_->owner : nullptr; }

CWnd* CWnd::SetActiveWindow() {
  auto& ws = WS::Get();
  CWnd* prev = ws.active;
  if (state_ && state_->visible && state_->enabled) ws.Activate(this);
  return prev;
}

CWnd* CWnd::SetFocus() {
  auto& ws = WS::Get();
  CWnd* prev = ws.focus;
  if (state_ && state_->enabled) {
    if (ws.active != this && state_->visible) ws.Activate(this);
    ws.focus = this;
  }
  return prev;
}

CWnd* CWnd::GetActiveWindow() { return WS::Get().active; }
CWnd* CWnd::GetFocus() { return WS::Get().focus; }
CWnd* CWnd::WindowFromPoint(CPoint pt) { return WS::Get().WindowAt(pt); }

void CWnd::SetWindowText(const char* text) {
  if (state_) state_->text = text ? text : "";
}

HICON CWnd::SetIcon(HICON icon, BOOL) {
  if (!state_) return nullptr;
  HICON prev = state_->icon;
  state_->icon = icon;
  return prev;
}

void CWnd::Invalidate(BOOL erase) {
  if (!state_) return;
  state_->invalid = true;
  state_->erase = state_->erase || erase;
}

void CWnd::UpdateWindow() {
  if (state_ && state_->invalid && WS::Shows(this)) {
    state_->invalid = false;
    WindowProc(WM_PAINT, 0, 0);
  }
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!state_) return FALSE;
  WS::Get().Post(this, message, wParam, lParam);
  return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!state_) return 0;
  if (message == WM_PAINT) state_->invalid = false;
  return WindowProc(message, wParam, lParam);
}

UINT CWnd::SetTimer(UINT id, UINT elapseMs, void* mustBeNull) {
  if (!state_ || mustBeNull) return 0;
  auto& ws = WS::Get();
  UINT period = std::max(elapseMs, 10u);  // the system's shortest timer
  uint32_t due = NowMs() + period;
  for (auto& t : ws.timers)
    if (t.wnd == this && t.id == id) {
      t.period = period;
      t.due = due;
      return id;
    }
  ws.timers.push_back({this, id, period, due});
  return id;
}

BOOL CWnd::KillTimer(UINT id) {
  auto& ws = WS::Get();
  auto n =
      std::erase_if(ws.timers, [&](const WindowTimer& t) { return t.wnd == this && t.id == id; });
  return n ? TRUE : FALSE;
}

BOOL CWnd::DestroyWindow() {
  if (!state_) return FALSE;
  WS::Get().Destroy(this);
  return TRUE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  UINT flags = static_cast<UINT>(wParam);
  switch (message) {
    case WM_MOUSEMOVE: OnMouseMove(flags, pt); return 0;
    case WM_LBUTTONDOWN: OnLButtonDown(flags, pt); return 0;
    case WM_LBUTTONUP: OnLButtonUp(flags, pt); return 0;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(flags, pt); return 0;
    case WM_RBUTTONDOWN: OnRButtonDown(flags, pt); return 0;
    case WM_RBUTTONUP: OnRButtonUp(flags, pt); return 0;
    case WM_RBUTTONDBLCLK: OnRButtonDblClk(flags, pt); return 0;
    case WM_CHAR: OnChar(flags, lParam & 0xFFFF, (lParam >> 16) & 0xFFFF); return 0;
    case WM_KEYDOWN: OnKeyDown(flags, lParam & 0xFFFF, (lParam >> 16) & 0xFFFF); return 0;
    case WM_TIMER: OnTimer(flags); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_SIZE: OnSize(flags, lParam & 0xFFFF, (lParam >> 16) & 0xFFFF); return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_ERASEBKGND: return OnEraseBkgnd(reinterpret_cast<CDC*>(wParam));
    default: return DefWindowProc(message, wParam, lParam);
  }
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE: DestroyWindow(); return 0;
    case WM_SYSCOMMAND:
      // Only a request: the window counts as minimised once the display says it is, since
      // without a window manager nothing minimises it and the game must go on.
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        if (WS::Shows(this)) RequestMinimize();
      } else if ((wParam & 0xFFF0) == SC_RESTORE)
        ShowWindow(SW_RESTORE);
      return 0;
    case WM_NCLBUTTONDOWN:
      if (wParam == HTCAPTION && state_)
        WS::Get().MoveLoop(this, CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      return 0;
    case WM_PAINT: {
      CPaintDC dc(this);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    default: return 0;
  }
}

void CWnd::OnMouseMove(UINT, CPoint) {}
void CWnd::OnLButtonDown(UINT, CPoint) {}
void CWnd::OnLButtonUp(UINT, CPoint) {}
void CWnd::OnLButtonDblClk(UINT, CPoint) {}
void CWnd::OnRButtonDown(UINT, CPoint) {}
void CWnd::OnRButtonUp(UINT, CPoint) {}
void CWnd::OnRButtonDblClk(UINT, CPoint) {}
void CWnd::OnChar(UINT, UINT, UINT) {}
void CWnd::OnKeyDown(UINT, UINT, UINT) {}
void CWnd::OnTimer(UINT) {}
void CWnd::OnPaint() { DefWindowProc(WM_PAINT, 0, 0); }
void CWnd::OnSize(UINT, int, int) {}
void CWnd::OnClose() { DefWindowProc(WM_CLOSE, 0, 0); }

BOOL CWnd::OnEraseBkgnd(CDC* dc) {
  // A dialog's background is the face grey.
  if (dc && state_)
    dc->FillSolidRect(CRect(0, 0, state_->rect.Width(), state_->rect.Height()), RGB(192, 192, 192));
  return TRUE;
}

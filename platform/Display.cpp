// The one SDL window: it shows the top visible window (and anything drawn over it), follows its
// place, goes full screen for the 640 x 480 view, and presents what window DCs wrote.
#include "Display.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Dialog.h"
#include "WinFile.h"
#include "WindowSystem.h"

struct IconImage {
  explicit IconImage(SDL_Surface* p) : picture(p) {}
  IconImage(const IconImage&) = delete;
  IconImage& operator=(const IconImage&) = delete;
  ~IconImage() { SDL_FreeSurface(picture); }
  SDL_Surface* picture;
};

namespace {

using WS = WindowSystem;

constexpr uint32_t kPresentGap = 8;  // ms between presents outside idle time
constexpr DisplayMode kViewMode{640, 480, 16};

struct Screen {
  SDL_Window* win = nullptr;
  SDL_Renderer* ren = nullptr;
  SDL_Texture* tex = nullptr;
  int texW = 0, texH = 0;
  bool shown = false;
  bool minimized = false;
  bool fullApplied = false;
  CRect placed;  // where the windowed SDL window was put last
  bool topmost = false;
  std::string title;
  HICON icon = nullptr;
  std::vector<uint16_t> frame;  // what the SDL window shows, RGB555
  int frameW = 0, frameH = 0;
  bool everShown = false;
  bool dirty = false;
  uint32_t lastPresent = 0;
  bool fullView = false;  // asked for
  bool scaled = false;    // the window covers the display and shows the frame scaled
  // What the texture holds and the window last showed; stale once the window may have lost it.
  std::vector<uint16_t> shownFrame;
  bool stale = true;
  unsigned presents = 0;
  // While the view switches, the pointer stays over the point of the page it was over: `client`
  // in `wnd`, the window shown when the switch began. Held until the screen has taken its place
  // in the new view, then put there in one move.
  struct {
    CWnd* wnd = nullptr;
    CPoint client;
  } anchor;
} scr;

// Where a frame of this size shows in the SDL window: as it is, or in the full-screen view scaled
// with its aspect kept and centred. Mouse events are turned back through the same rectangle.
SDL_Rect ViewRect(int frameW, int frameH) {
  SDL_Rect v{0, 0, frameW, frameH};
  if (!scr.scaled || !scr.win || frameW <= 0 || frameH <= 0) return v;
  int w, h;
  SDL_GetWindowSize(scr.win, &w, &h);
  const double scale = std::min(static_cast<double>(w) / frameW, static_cast<double>(h) / frameH);
  v.w = static_cast<int>(frameW * scale);
  v.h = static_cast<int>(frameH * scale);
  v.x = (w - v.w) / 2;
  v.y = (h - v.h) / 2;
  return v;
}

// a minus b, as up to four rectangles.
void Subtract(const CRect& a, const CRect& b, std::vector<CRect>& out) {
  CRect i;
  if (!i.IntersectRect(a, b)) {
    out.push_back(a);
    return;
  }
  if (a.top < i.top) out.emplace_back(a.left, a.top, a.right, i.top);
  if (i.bottom < a.bottom) out.emplace_back(a.left, i.bottom, a.right, a.bottom);
  if (a.left < i.left) out.emplace_back(a.left, i.top, i.left, i.bottom);
  if (i.right < a.right) out.emplace_back(i.right, i.top, a.right, i.bottom);
}

// The rows and columns where the frame differs from what the window shows; empty when none.
CRect ChangedPart() {
  const int w = scr.frameW;
  if (scr.shownFrame.size() != scr.frame.size()) return CRect(0, 0, w, scr.frameH);
  CRect r(w, scr.frameH, 0, 0);
  for (int y = 0; y < scr.frameH; ++y) {
    const uint16_t* a = scr.frame.data() + static_cast<size_t>(y) * w;
    const uint16_t* b = scr.shownFrame.data() + static_cast<size_t>(y) * w;
    if (std::memcmp(a, b, static_cast<size_t>(w) * 2) == 0) continue;
    int left = 0, right = w;
    while (a[left] == b[left]) ++left;
    while (a[right - 1] == b[right - 1]) --right;
    r.left = std::min(r.left, left);
    r.right = std::max(r.right, right);
    r.top = std::min(r.top, y);
    r.bottom = y + 1;
  }
  return r.left < r.right ? r : CRect();
}

// Only a picture that changed is uploaded and presented: a screen at rest presents the same
// page many times a second, and each real present costs a software renderer milliseconds.
void Present() {
  if (scr.frame.empty()) return;
  if (scr.ren && (!scr.tex || scr.texW != scr.frameW || scr.texH != scr.frameH)) {
    if (scr.tex) SDL_DestroyTexture(scr.tex);
    scr.tex = SDL_CreateTexture(scr.ren, SDL_PIXELFORMAT_RGB555, SDL_TEXTUREACCESS_STREAMING,
                                scr.frameW, scr.frameH);
    scr.texW = scr.frameW;
    scr.texH = scr.frameH;
    scr.stale = true;
  }
  // A window that may have lost its picture gets all of it again.
  const CRect changed = scr.stale ? CRect(0, 0, scr.frameW, scr.frameH) : ChangedPart();
  if (changed.IsRectEmpty()) return;
  // shownFrame takes exactly what the texture takes below, so it is what the window holds.
  if (scr.shownFrame.size() != scr.frame.size()) {
    scr.shownFrame = scr.frame;  // a new size is always uploaded whole
  } else {
    for (int y = changed.top; y < changed.bottom; ++y) {
      const size_t row = static_cast<size_t>(y) * scr.frameW;
      std::copy(scr.frame.begin() + row + changed.left, scr.frame.begin() + row + changed.right,
                scr.shownFrame.begin() + row + changed.left);
    }
  }
  scr.stale = false;
  ++scr.presents;
  if (!scr.tex) return;
  const SDL_Rect part{changed.left, changed.top, changed.Width(), changed.Height()};
  const size_t at = static_cast<size_t>(changed.top) * scr.frameW + changed.left;
  SDL_UpdateTexture(scr.tex, &part, scr.frame.data() + at, scr.frameW * 2);
  // Only the full-screen view has borders around the picture to clear.
  if (scr.scaled) {
    SDL_SetRenderDrawColor(scr.ren, 0, 0, 0, 255);
    SDL_RenderClear(scr.ren);
  }
  const SDL_Rect view = ViewRect(scr.frameW, scr.frameH);
  SDL_RenderCopy(scr.ren, scr.tex, nullptr, &view);
  SDL_RenderPresent(scr.ren);
}

std::string TitleFor(CWnd* top) {
  if (WS::Alive(top) && !WS::St(top).text.empty()) return WS::St(top).text;
  CWnd* main = AfxGetMainWnd();
  if (WS::Alive(main) && !WS::St(main).text.empty()) return WS::St(main).text;
  CWinApp* app = AfxGetApp();
  return app ? app->m_pszAppName : "";
}

HICON IconFor(CWnd* top) {
  if (WS::Alive(top) && WS::St(top).icon) return WS::St(top).icon;
  CWnd* main = AfxGetMainWnd();
  return WS::Alive(main) ? WS::St(main).icon : nullptr;
}

void PushEvent(SDL_Event& e) {
  WS::Get();
  SDL_PushEvent(&e);
}

uint32_t WindowId() { return scr.win ? SDL_GetWindowID(scr.win) : 0; }

void AnchorPointer(CWnd* top);
void PutPointerAtAnchor();
void FollowAnchor(CWnd* top, bool idle);

// Mouse events carry points relative to where the window stood when they happened. Those from
// before a change of its place or size are taken before the first change, and those each change
// causes (the pointer leaving or entering the window) right after it, each with the window where
// it then stood.
void TakeMouseEvents() {
  if (scr.win) SDL_PumpEvents();
}

void MoveSdlWindow(int x, int y) {
  SDL_SetWindowPosition(scr.win, x, y);
  TakeMouseEvents();
}

void SizeSdlWindow(int w, int h) {
  SDL_SetWindowSize(scr.win, w, h);
  TakeMouseEvents();
}

}  // namespace

FrameInfo CurrentFrame() {
  auto& ws = WS::Get();
  FrameInfo f;
  auto it = std::find_if(ws.zorder.begin(), ws.zorder.end(), [](CWnd* w) {
    const auto& s = WS::St(w);
    return s.visible && !s.rect.IsRectEmpty();
  });
  if (it == ws.zorder.end()) return f;
  f.top = *it;
  f.rect = WS::St(f.top).rect;
  if (WS::St(f.top).minimized) return f;
  // A window drawn over a bigger one (a message box over a screen) shows inside that one.
  auto area = [](const CRect& r) { return static_cast<long>(r.Width()) * r.Height(); };
  for (++it; it != ws.zorder.end(); ++it) {
    if (!WS::Shows(*it)) continue;
    const CRect& r = WS::St(*it).rect;
    CRect i;
    if (i.IntersectRect(r, f.rect) && i == f.rect && area(r) > area(f.rect)) f.rect = r;
  }
  return f;
}

std::vector<CRect> VisibleParts(const CWnd* w, CRect* frameRect) {
  std::vector<CRect> parts;
  if (!WS::Shows(w)) return parts;
  FrameInfo f = CurrentFrame();
  if (!f.top || WS::St(f.top).minimized) return parts;
  CRect r;
  if (!r.IntersectRect(WS::St(w).rect, f.rect)) return parts;
  parts.push_back(r);
  auto& ws = WS::Get();
  for (CWnd* x : ws.zorder) {
    if (x == w) break;
    if (!WS::Shows(x)) continue;
    std::vector<CRect> next;
    for (const CRect& p : parts) Subtract(p, WS::St(x).rect, next);
    parts.swap(next);
  }
  for (CRect& p : parts) p.OffsetRect(-f.rect.left, -f.rect.top);
  if (frameRect) *frameRect = f.rect;
  return parts;
}

uint16_t* FrameBuffer(int* width, int* height) {
  FrameInfo f = CurrentFrame();
  if (f.top && (f.rect.Width() != scr.frameW || f.rect.Height() != scr.frameH)) {
    scr.frameW = f.rect.Width();
    scr.frameH = f.rect.Height();
    scr.frame.assign(static_cast<size_t>(scr.frameW) * scr.frameH, 0);
  }
  *width = scr.frameW;
  *height = scr.frameH;
  return scr.frame.data();
}

unsigned FramePresents() { return scr.presents; }

void FramePresented() {
  scr.dirty = true;
  scr.everShown = true;
  SyncDisplay(false);
}

void DisplayExposed() {
  scr.stale = true;
  if (scr.everShown) scr.dirty = true;
}

bool SdlDisplayReal() {
  const char* d = SDL_GetCurrentVideoDriver();
  return d && std::strcmp(d, "dummy") != 0 && std::strcmp(d, "offscreen") != 0;
}

SDL_Window* SdlWindow() { return scr.win; }

void SyncDisplay(bool idle) {
  FrameInfo f = CurrentFrame();
  if (!f.top) {
    // Hidden only once the program waits: screens change places without the window blinking.
    if (idle && scr.win && scr.shown) {
      SDL_HideWindow(scr.win);
      scr.shown = false;
    }
    return;
  }
  if (!scr.win) {
    scr.win = SDL_CreateWindow(TitleFor(f.top).c_str(), f.rect.left, f.rect.top,
                               std::max(f.rect.Width(), 1), std::max(f.rect.Height(), 1),
                               SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
    if (!scr.win) return;
    scr.ren = SDL_CreateRenderer(scr.win, -1, 0);
    scr.placed = f.rect;
    scr.fullApplied = false;
    scr.icon = nullptr;
    scr.stale = true;
  }
  if (WS::St(f.top).minimized) {
    if (!scr.minimized && scr.shown) SDL_MinimizeWindow(scr.win);
    scr.minimized = true;
    return;
  }
  if (scr.minimized) {
    if (scr.shown) SDL_RestoreWindow(scr.win);
    scr.minimized = false;
    scr.stale = true;
  }
  if (scr.fullView != scr.fullApplied) {
    TakeMouseEvents();  // what came before the switch is taken with the view it came in
    AnchorPointer(f.top);
    if (scr.fullView) {
      // Cover the display ourselves first: without a window manager the full-screen request
      // below changes nothing on X11, and the scaled page would be cut to the old window.
      // Whatever size the window has meanwhile, the page is scaled into it.
      scr.scaled = true;
      SDL_Rect b;
      if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(scr.win), &b) == 0) {
        MoveSdlWindow(b.x, b.y);
        SizeSdlWindow(b.w, b.h);
      }
      // The view's place on the screen is known now. SDL puts the pointer back at its last
      // offset in the window when the request below is done, so it must be there already.
      PutPointerAtAnchor();
    }
    SDL_SetWindowFullscreen(scr.win, scr.fullView ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    scr.fullApplied = scr.fullView;
    scr.placed = CRect();  // put the windowed window back where the screen is
    scr.stale = true;
    TakeMouseEvents();
  }
  if (!scr.fullView && f.rect != scr.placed) {
    TakeMouseEvents();
    if (f.rect.Width() != scr.placed.Width() || f.rect.Height() != scr.placed.Height()) {
      SizeSdlWindow(f.rect.Width(), f.rect.Height());
      scr.stale = true;
    }
    scr.scaled = false;
    MoveSdlWindow(f.rect.left, f.rect.top);
    scr.placed = f.rect;
  }
  bool topmost = WS::St(f.top).topmost;
  if (topmost != scr.topmost) {
    SDL_SetWindowAlwaysOnTop(scr.win, topmost ? SDL_TRUE : SDL_FALSE);
    scr.topmost = topmost;
  }
  HICON icon = IconFor(f.top);
  if (icon && icon != scr.icon) {
    SDL_SetWindowIcon(scr.win, icon->picture);
    scr.icon = icon;
  }
  std::string title = TitleFor(f.top);
  if (title != scr.title) {
    SDL_SetWindowTitle(scr.win, title.c_str());
    scr.title = title;
  }
  uint32_t now = NowMs();
  bool show = !scr.shown && (scr.everShown || idle);
  if (scr.dirty && (idle || show || now - scr.lastPresent >= kPresentGap)) {
    int w, h;
    FrameBuffer(&w, &h);
    Present();
    scr.dirty = false;
    scr.lastPresent = now;
  }
  if (show) {
    SDL_ShowWindow(scr.win);
    // Without a window manager nobody else gives the new window the keyboard.
    SDL_RaiseWindow(scr.win);
    SDL_SetWindowInputFocus(scr.win);
    scr.shown = true;
    scr.stale = true;
    Present();
  }
  FollowAnchor(f.top, idle);
}

void RequestMinimize() {
  if (scr.win && scr.shown) SDL_MinimizeWindow(scr.win);
}

bool SdlWindowHasMouse() { return scr.win && SDL_GetMouseFocus() == scr.win; }

CPoint SdlWindowOrigin() {
  CPoint p = CurrentFrame().rect.TopLeft();
  if (scr.win) SDL_GetWindowPosition(scr.win, &p.x, &p.y);
  return p;
}

// A point relative to the SDL window, as the program sees it.
static CPoint WindowPixelToView(int x, int y) {
  const FrameInfo f = CurrentFrame();
  const SDL_Rect v = ViewRect(f.rect.Width(), f.rect.Height());
  CPoint p(x, y);
  if (v.w != f.rect.Width() || v.h != f.rect.Height()) {
    p.x = static_cast<int>(std::floor((x - v.x) * static_cast<double>(f.rect.Width()) / v.w));
    p.y = static_cast<int>(std::floor((y - v.y) * static_cast<double>(f.rect.Height()) / v.h));
  }
  return CPoint(f.rect.left + p.x, f.rect.top + p.y);
}

CPoint ViewPoint(CPoint screenPt) {
  const CPoint o = SdlWindowOrigin();
  return WindowPixelToView(screenPt.x - o.x, screenPt.y - o.y);
}

// The middle of the view pixel, as its scaled corner may belong to the pixel before.
CPoint ScreenPoint(CPoint viewPt) {
  const FrameInfo f = CurrentFrame();
  const SDL_Rect v = ViewRect(f.rect.Width(), f.rect.Height());
  CPoint p(viewPt.x - f.rect.left, viewPt.y - f.rect.top);
  if (v.w != f.rect.Width() || v.h != f.rect.Height()) {
    p.x = v.x + static_cast<int>(std::floor((p.x + 0.5) * v.w / f.rect.Width()));
    p.y = v.y + static_cast<int>(std::floor((p.y + 0.5) * v.h / f.rect.Height()));
  }
  const CPoint o = SdlWindowOrigin();
  return CPoint(o.x + p.x, o.y + p.y);
}

CPoint GlobalPointer(bool* leftDown) {
  CPoint p;
  uint32_t buttons = SDL_GetGlobalMouseState(&p.x, &p.y);
  if (leftDown) *leftDown = (buttons & SDL_BUTTON_LMASK) != 0;
  return p;
}

void WarpPointer(CPoint viewPt) {
  const CPoint s = ScreenPoint(viewPt);
  WS::Get().pointer = s;
  if (scr.win && scr.shown && !scr.minimized) {
    // Relative to the window, so that SDL takes the move that follows as the pointer's place.
    const CPoint o = SdlWindowOrigin();
    SDL_WarpMouseInWindow(scr.win, s.x - o.x, s.y - o.y);
  } else {
    SDL_WarpMouseGlobal(s.x, s.y);
  }
}

bool AnchoredPointer(CPoint* pt) {
  if (!scr.anchor.wnd) return false;
  if (!WS::Alive(scr.anchor.wnd)) {
    scr.anchor = {};
    return false;
  }
  const CRect& r = WS::St(scr.anchor.wnd).rect;
  *pt = CPoint(r.left + scr.anchor.client.x, r.top + scr.anchor.client.y);
  return true;
}

void ForgetPointerAnchor() { scr.anchor = {}; }

namespace {

// Before the view switches: the point of the page under the pointer, if it is over the window.
void AnchorPointer(CWnd* top) {
  scr.anchor = {};
  if (!WS::Get().realPointer || !SdlWindowHasMouse() || !WS::Alive(top)) return;
  CPoint pt;
  GetCursorPos(&pt);
  scr.anchor.wnd = top;
  const CRect& r = WS::St(top).rect;
  scr.anchor.client = CPoint(pt.x - r.left, pt.y - r.top);
}

// The pointer goes to the anchored point of the page, wherever that now is, in one move.
// Everything the X server sent before the warp (a click in the gap, SDL's own warp, the pointer
// leaving the resized window) is taken while the anchor still holds; then it lets go.
void PutPointerAtAnchor() {
  CPoint target;
  if (!AnchoredPointer(&target)) return;
  WarpPointer(target);
  SDL_PumpEvents();
  SDL_FlushEvent(SDL_MOUSEMOTION);
  scr.anchor = {};
}

// Once the program waits, the screen has its place in the new view.
void FollowAnchor(CWnd* top, bool idle) {
  if (!scr.anchor.wnd) return;
  if (top != scr.anchor.wnd)
    scr.anchor = {};
  else if (idle && scr.shown && !scr.minimized)
    PutPointerAtAnchor();
}

}  // namespace

// Someone else moved the SDL window: the windows it shows are where it is now, so that the
// program's idea of the screen stays the real one (a drag starts from there, the next screen
// centres from there).
void DisplayMoved() {
  if (!scr.win || !scr.shown || scr.minimized || scr.fullView || scr.fullApplied) return;
  const FrameInfo f = CurrentFrame();
  if (!f.top || f.rect != scr.placed) return;  // a placement of ours is still to come
  const CPoint at = SdlWindowOrigin();
  const int dx = at.x - scr.placed.left, dy = at.y - scr.placed.top;
  if (dx == 0 && dy == 0) return;
  for (CWnd* w : std::vector<CWnd*>(WS::Get().zorder)) {
    if (!WS::Shows(w)) continue;
    const CRect r = WS::St(w).rect;
    CRect inside;
    if (!inside.IntersectRect(r, f.rect) || inside != r) continue;
    w->SetWindowPos(nullptr, r.left + dx, r.top + dy, 0, 0,
                    SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  scr.placed.OffsetRect(dx, dy);
}

void DisplayReset() {
  scr.fullView = scr.scaled = false;
  scr.anchor = {};
  if (scr.win && scr.shown) {
    SDL_HideWindow(scr.win);
    scr.shown = false;
  }
  if (scr.win && scr.fullApplied) {
    SDL_SetWindowFullscreen(scr.win, 0);
    scr.fullApplied = false;
  }
  scr.frame.clear();
  scr.frameW = scr.frameH = 0;
  scr.everShown = false;
  scr.dirty = false;
  scr.shownFrame.clear();
  scr.stale = true;
  scr.presents = 0;
}

void DisplayShutdown() {
  if (scr.tex) SDL_DestroyTexture(scr.tex);
  if (scr.ren) SDL_DestroyRenderer(scr.ren);
  if (scr.win) SDL_DestroyWindow(scr.win);
  scr.tex = nullptr;
  scr.ren = nullptr;
  scr.win = nullptr;
  scr.shown = false;
}

namespace {

// Through CFile's careful open, so a FIFO or device in the icon's place is refused, not waited on.
SDL_Surface* ReadIconPicture(const char* path) {
  CFile file;
  std::vector<uint8_t> bytes;
  if (!file.Open(path, CFile::modeRead) || !ReadWholeFile(file, bytes, 16u << 20) || bytes.empty())
    return nullptr;
  return SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
}

}  // namespace

HICON LoadIconFromFile(const char* path) {
  WS::Get();
  SDL_Surface* picture = path ? ReadIconPicture(path) : nullptr;
  if (!picture) return nullptr;
  SDL_SetColorKey(picture, SDL_TRUE, SDL_MapRGB(picture->format, 0, 255, 0));
  static std::vector<std::unique_ptr<IconImage>> icons;
  icons.push_back(std::make_unique<IconImage>(picture));
  return icons.back().get();
}

// --- Display modes ---------------------------------------------------------------------------

CSize DesktopSize() {
  WS::Get();
  SDL_DisplayMode m;
  if (SDL_GetDesktopDisplayMode(0, &m) != 0) return CSize(640, 480);
  return CSize(m.w, m.h);
}

static DisplayMode DesktopMode() {
  WS::Get();
  SDL_DisplayMode m;
  if (SDL_GetDesktopDisplayMode(0, &m) != 0) return kViewMode;
  int bytes = SDL_BYTESPERPIXEL(m.format);
  return DisplayMode{m.w, m.h, bytes >= 4 ? 32 : static_cast<int>(SDL_BITSPERPIXEL(m.format))};
}

bool EnumDisplayModes(int index, DisplayMode* out) {
  DisplayMode desk = DesktopMode();
  bool viewDistinct = !(desk.width == kViewMode.width && desk.height == kViewMode.height);
  if (index == 0)
    *out = desk;
  else if (index == 1 && viewDistinct)
    *out = kViewMode;
  else
    return false;
  return true;
}

bool TestDisplayMode(int width, int height, int bpp) {
  DisplayMode m;
  for (int i = 0; EnumDisplayModes(i, &m); ++i)
    if (m == DisplayMode{width, height, bpp}) return true;
  return false;
}

bool ApplyDisplayMode(int width, int height, int bpp) {
  if (!TestDisplayMode(width, height, bpp)) return false;
  scr.fullView = DisplayMode{width, height, bpp} == kViewMode;
  SyncDisplay(false);
  return true;
}

bool IsFullScreenView() { return scr.fullView; }

// --- Tests ------------------------------------------------------------------------------------

namespace PlatformTest {

unsigned PresentCount() { return FramePresents(); }

const uint16_t* PresentedPixels(int* width, int* height) {
  if (width) *width = scr.frameW;
  if (height) *height = scr.frameH;
  return scr.everShown ? scr.frame.data() : nullptr;
}

uint16_t PresentedPixel(int x, int y) {
  if (!scr.everShown || x < 0 || y < 0 || x >= scr.frameW || y >= scr.frameH) return 0;
  return scr.frame[static_cast<size_t>(y) * scr.frameW + x];
}

const uint16_t* UploadedPixels() {
  return scr.shownFrame.empty() ? nullptr : scr.shownFrame.data();
}

CWnd* ShownWindow() { return CurrentFrame().top; }
CRect ShownRect() { return CurrentFrame().rect; }
bool SdlWindowShown() { return scr.win && scr.shown; }
CPoint SdlWindowPosition() {
  CPoint p;
  if (scr.win) SDL_GetWindowPosition(scr.win, &p.x, &p.y);
  return p;
}
bool SdlWindowFullScreen() {
  return scr.win && (SDL_GetWindowFlags(scr.win) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
                        SDL_WINDOW_FULLSCREEN_DESKTOP;
}

HICON SdlWindowIcon() { return scr.icon; }

void MouseMove(int x, int y) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = WindowId();
  e.motion.x = x;
  e.motion.y = y;
  PushEvent(e);
}

void MouseButton(int vkButton, bool down, int x, int y) {
  MouseMove(x, y);
  SDL_Event e{};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.windowID = WindowId();
  e.button.button = vkButton == VK_RBUTTON ? SDL_BUTTON_RIGHT : SDL_BUTTON_LEFT;
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.clicks = 1;
  e.button.x = x;
  e.button.y = y;
  PushEvent(e);
}

void Click(int x, int y) {
  MouseButton(VK_LBUTTON, true, x, y);
  MouseButton(VK_LBUTTON, false, x, y);
}

void TypeText(const char* utf8) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  e.text.windowID = WindowId();
  std::strncpy(e.text.text, utf8, sizeof e.text.text - 1);
  PushEvent(e);
}

void Key(int vk, bool down) {
  SDL_Keycode k = SDLK_UNKNOWN;
  if (vk >= 'A' && vk <= 'Z')
    k = SDLK_a + (vk - 'A');
  else if (vk >= '0' && vk <= '9')
    k = SDLK_0 + (vk - '0');
  else
    switch (vk) {
      case VK_RETURN: k = SDLK_RETURN; break;
      case VK_ESCAPE: k = SDLK_ESCAPE; break;
      case VK_BACK: k = SDLK_BACKSPACE; break;
      case VK_TAB: k = SDLK_TAB; break;
      case VK_SPACE: k = SDLK_SPACE; break;
      case VK_LEFT: k = SDLK_LEFT; break;
      case VK_RIGHT: k = SDLK_RIGHT; break;
      case VK_UP: k = SDLK_UP; break;
      case VK_DOWN: k = SDLK_DOWN; break;
      default: break;
    }
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.windowID = WindowId();
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = k;
  e.key.keysym.scancode = SDL_GetScancodeFromKey(k);
  PushEvent(e);
}

static void PushWindowEvent(uint8_t which) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = WindowId();
  e.window.event = which;
  PushEvent(e);
}

void CloseRequest() { PushWindowEvent(SDL_WINDOWEVENT_CLOSE); }
void MouseLeave() { PushWindowEvent(SDL_WINDOWEVENT_LEAVE); }
void Minimized() { PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED); }
void Exposed() { PushWindowEvent(SDL_WINDOWEVENT_EXPOSED); }

void UseManualClock(bool on, uint32_t startMs) {
  auto& ws = WS::Get();
  ws.manualClock = on;
  ws.manualNow = startMs;
}

void AdvanceClock(uint32_t ms) { WS::Get().manualNow += ms; }

void Reset() {
  WS::Get().ResetAll();
  DisplayReset();
}

}  // namespace PlatformTest

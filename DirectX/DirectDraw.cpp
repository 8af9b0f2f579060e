// The page, its presentation with the software cursor, text, and the window's placement.
#include "DirectDraw.h"

#include <unistd.h>

#include <algorithm>

#include "Display.h"
#include "StdDialogs.h"

namespace {

DdMessageHook messageHook = nullptr;

// The display whose page the screens show: the standard dialogs restore its cursor's place.
CDirectDraw* shownDisplay = nullptr;

// One value for the whole program, as every presentation shares the one cursor animation.
bool cursorClockStarted = false;
DWORD lastCursorFrame = 0;

}  // namespace

DdMessageHook SetDdMessageHook(DdMessageHook hook) {
  DdMessageHook old = messageHook;
  messageHook = hook;
  return old;
}

void DdMessage(const char* text) {
  if (messageHook)
    messageHook(text);
  else
    AfxMessageBox(text, MB_OK);
}

CDirectDraw::CDirectDraw() {
  font.CreateFont(16, 8, 0, 0, 400, FALSE, FALSE, FALSE, 136, 1, 2, 2, 49, "Fixedsys");
}

CDirectDraw::~CDirectDraw() {
  if (shownDisplay == this) shownDisplay = nullptr;
  CloseFrameFile();
  delete memDC;
}

void CDirectDraw::BuildDibInfo(int width, int height) {
  pageInfo = BITMAPINFO();
  pageInfo.bmiHeader.biSize = 40;
  pageInfo.bmiHeader.biWidth = width;
  pageInfo.bmiHeader.biHeight = -height;
  pageInfo.bmiHeader.biPlanes = 1;
  pageInfo.bmiHeader.biBitCount = 16;
  pageInfo.bmiHeader.biCompression = BI_BITFIELDS;
  pageInfo.bmiHeader.biSizeImage = DWORD(width) * 2 * DWORD(height);
  pageInfo.bmiColors[0] = 0x7C00;
  pageInfo.bmiColors[1] = 0x03E0;
  pageInfo.bmiColors[2] = 0x001F;
}

BOOL CDirectDraw::InitDisplay(int width, int height, CWnd* wnd, BOOL fullScreen) {
  window = wnd;
  desktopWidth = GetSystemMetrics(SM_CXSCREEN);
  desktopHeight = GetSystemMetrics(SM_CYSCREEN);
  if (width == -1 || height == -1) width = desktopWidth, height = desktopHeight;
  if (width <= 0 || height <= 0) return FALSE;
  if (wnd) {
    if (fullScreen) {
      ChangeDisplayMode(width, height);
      wnd->SetWindowPos(&CWnd::wndTop, 0, 0, width, height, SWP_SHOWWINDOW);
    } else {
      // A screen smaller than the window keeps the window's top left on the screen.
      wnd->SetWindowPos(&CWnd::wndTop, std::max((desktopWidth - width) / 2, 0),
                        std::max((desktopHeight - height) / 2, 0), width, height, SWP_SHOWWINDOW);
    }
  }
  pageWidth = width;
  pageHeight = height;
  BuildDibInfo(width, height);
  BuildLightenTable();
  BuildDarkenTable();
  BuildBlendTable();
  BuildGlowTable();
  pagePixels.assign(size_t(width) * size_t(height), 0);
  shownDisplay = this;
  StdDialogOpening = RestoreUnderCursor;
  delete memDC;
  memDC = new CDC;
  if (!memDC->CreatePageDC(pagePixels.data(), width, height)) {
    delete memDC;
    memDC = nullptr;
    return FALSE;
  }
  return TRUE;
}

void CDirectDraw::ReleaseDisplay() {
  font.DeleteObject();
  std::vector<uint16_t>().swap(lightenTable);
  std::vector<uint16_t>().swap(darkenTable);
  std::vector<uint16_t>().swap(glowTable);
  delete memDC;
  memDC = nullptr;
  // Screens may still lock the page afterwards: they get an empty one and draw nothing.
  std::vector<uint16_t>().swap(pagePixels);
  pageWidth = pageHeight = 0;
  // Nothing here is ever stored, so this only leaves the full-screen view if it is on.
  ChangeDisplayMode(desktopWidth, desktopHeight);
}

BOOL CDirectDraw::LockPage(ImagePage* out, BOOL) {
  out->width = uint32_t(pageWidth);
  out->height = uint32_t(pageHeight);
  out->pixels = pagePixels.empty() ? nullptr : pagePixels.data();
  return TRUE;
}

void CDirectDraw::UnlockPage(BOOL) {}

BOOL CDirectDraw::GetPageDC(HDC* out, BOOL) {
  *out = memDC;
  return memDC != nullptr;
}

void CDirectDraw::ReleasePageDC(HDC*, BOOL) {}

// The pointer in the page's co-ordinates, measured from the window the page is shown in, not
// from whichever window is active. False when the pointer is not on that window's page: another
// window lies over it there, or a modal dialog holds the window and nothing there follows the
// pointer, so a cursor drawn there would stay behind as a still copy.
static bool PointerOnPage(CWnd* pageWnd, CPoint* at) {
  GetCursorPos(at);
  if (!pageWnd) return true;  // no window to measure from: screen co-ordinates
  if (CWnd::WindowFromPoint(*at) != pageWnd || !pageWnd->IsWindowEnabled()) return false;
  pageWnd->ScreenToClient(at);
  return true;
}

void CDirectDraw::Flip(CDC* dc) {
  if (!cursorClockStarted) {
    lastCursorFrame = timeGetTime();
    cursorClockStarted = true;
  }
  // A strip without one whole 64 x 64 frame (a cursor picture that failed to load) is no cursor.
  const int frames = cursorPage && cursorPage->pixels ? int(cursorPage->width / 64) : 0;
  ImagePage page, saved;
  CPoint at;
  bool drawn = false;
  if (frames > 0) {
    drawn = PointerOnPage(dc && dc->GetWindow() ? dc->GetWindow() : window, &at);
    if (timeGetTime() - lastCursorFrame > cursorFrameDelay) {
      cursorFrame = (cursorFrame + 1) % frames;
      lastCursorFrame = timeGetTime();
    }
  }
  if (drawn) {
    LockPage(&page, FALSE);
    GrabRect(&page, &saved, CRect(at.x - 32, at.y - 32, at.x + 32, at.y + 32));
    BltPage(&page, at.x - 32, at.y - 32, cursorPage,
            CRect(64 * cursorFrame, 0, 64 * cursorFrame + 64, 64), TRUE);
    UnlockPage(FALSE);
  }
  if (dc && !pagePixels.empty())
    SetDIBitsToDevice(dc, 0, 0, DWORD(pageWidth), DWORD(pageHeight), 0, 0, 0, UINT(pageHeight),
                      pagePixels.data(), &pageInfo, DIB_RGB_COLORS);
  cursorWnd = drawn && dc ? dc->GetWindow() : nullptr;
  cursorAt = at;
  if (drawn) {
    LockPage(&page, FALSE);
    BltPage(&page, at.x - 32, at.y - 32, &saved, CRect(0, 0, 64, 64), FALSE);
    UnlockPage(FALSE);
    FreeImagePage(&saved);
    if (frames > 1) PictureChangesAt(lastCursorFrame + cursorFrameDelay + 1);
  }
}

void CDirectDraw::RestoreUnderCursor(CWnd* shown) {
  CDirectDraw* dd = shownDisplay;
  if (!dd || !shown || shown != dd->cursorWnd || dd->pagePixels.empty()) return;
  CClientDC dc(shown);
  const CPoint at = dd->cursorAt;
  SetDIBitsToDevice(&dc, at.x - 32, at.y - 32, 64, 64, at.x - 32, at.y - 32, 0,
                    UINT(dd->pageHeight), dd->pagePixels.data(), &dd->pageInfo, DIB_RGB_COLORS);
  dd->cursorWnd = nullptr;
}

void CDirectDraw::FlipWindow() {
  if (!window) return;
  CClientDC dc(window);
  Flip(&dc);
}

BOOL CDirectDraw::ChangeDisplayMode(int width, int height) {
  // The first tested 16-bit mode of the size wins, else the last of the size.
  DisplayMode mode, choice;
  bool found = false;
  for (int i = 0; EnumDisplayModes(i, &mode); ++i) {
    if (!TestDisplayMode(mode.width, mode.height, mode.bitsPerPixel)) continue;
    if (mode.width != width || mode.height != height) continue;
    choice = mode;
    found = true;
    if (mode.bitsPerPixel == 16) break;
  }
  if (!found) return FALSE;
  return ApplyDisplayMode(choice.width, choice.height, choice.bitsPerPixel);
}

void CDirectDraw::CenterScreenWindow(CWnd* wnd, int width, int height) {
  if (!wnd) return;
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  // The window fills the screen only in the full-screen view; there it stays above the rest.
  wnd->SetWindowPos(screenWidth == width ? &CWnd::wndTopMost : &CWnd::wndNoTopMost,
                    std::max((screenWidth - width) / 2, 0),
                    std::max((screenHeight - height) / 2, 0), width, height, SWP_SHOWWINDOW);
}

BOOL CDirectDraw::KeepCursor() {
  CPoint pt;
  GetCursorPos(&pt);
  return SetCursorPos(pt.x, pt.y);
}

void CDirectDraw::TextOutShadow(HDC* dc, int x, int y, const CString& text, COLORREF colour,
                                COLORREF shadowColour) {
  if (!dc || !*dc) return;
  CDC* d = *dc;
  d->SelectObject(&font);
  d->SetBkMode(TRANSPARENT);
  if (shadowColour != 0) {
    d->SetTextColor(shadowColour);
    d->TextOut(x, y + 1, text, text.GetLength());
  }
  d->SetTextColor(colour);
  d->TextOut(x, y, text, text.GetLength());
}

void CDirectDraw::DrawTextInRect(HDC* dc, const CString& text, CRect rect, UINT format,
                                 COLORREF colour, COLORREF shadowColour) {
  if (!dc || !*dc) return;
  CDC* d = *dc;
  d->SelectObject(&font);
  d->SetBkMode(TRANSPARENT);
  if (shadowColour != 0) {
    CRect shadow = rect;
    shadow.OffsetRect(0, 1);
    d->SetTextColor(shadowColour);
    d->DrawText(text, text.GetLength(), &shadow, format);
  }
  d->SetTextColor(colour);
  d->DrawText(text, text.GetLength(), &rect, format);
}

BOOL CDirectDraw::WaitKeyUp(int vkey) {
  if (!GetAsyncKeyState(vkey)) return FALSE;
  while (GetAsyncKeyState(vkey)) usleep(1000);
  return TRUE;
}

void CDirectDraw::PresentPage(CDC* dc, const ImagePage* page) {
  if (!dc || !page || !page->pixels) return;
  // The format block wants an even width: an odd page loses its last column.
  const int w = int(page->width & ~1u), h = int(page->height);
  if (w <= 0 || h <= 0) return;
  std::vector<uint16_t> even;
  const uint16_t* bits = page->pixels;
  if (uint32_t(w) != page->width) {
    even.resize(size_t(w) * h);
    for (int y = 0; y < h; ++y)
      std::copy_n(page->pixels + size_t(y) * page->width, w, even.data() + size_t(y) * w);
    bits = even.data();
  }
  BITMAPINFO info = pageInfo;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biSizeImage = DWORD(w) * 2 * DWORD(h);
  info.bmiHeader.biBitCount = 16;
  info.bmiHeader.biCompression = BI_BITFIELDS;
  info.bmiColors[0] = 0x7C00, info.bmiColors[1] = 0x03E0, info.bmiColors[2] = 0x001F;
  SetDIBitsToDevice(dc, 0, 0, DWORD(w), DWORD(h), 0, 0, 0, UINT(h), bits, &info, DIB_RGB_COLORS);
}

void CDirectDraw::PresentPageStretched(CDC* dc, const ImagePage* page, CRect srcRect,
                                       CRect dstRect) {
  if (!dc || !page || !page->pixels || dstRect.IsRectEmpty()) return;
  CRect whole(0, 0, int(page->width), int(page->height));
  if (!srcRect.IntersectRect(srcRect, whole)) return;
  // Scale into a picture of the destination's size first, then copy that one across.
  ImagePage part, scaled;
  GrabRect(const_cast<ImagePage*>(page), &part, srcRect);
  AllocImagePage(&scaled, uint32_t(dstRect.Width()), uint32_t(dstRect.Height()));
  BltScaled(&scaled, 0, 0, &part, CRect(0, 0, dstRect.Width(), dstRect.Height()));
  FreeImagePage(&part);
  BITMAPINFO info = pageInfo;
  info.bmiHeader.biWidth = int32_t(scaled.width);
  info.bmiHeader.biHeight = -int32_t(scaled.height);
  info.bmiHeader.biSizeImage = scaled.width * 2 * scaled.height;
  info.bmiHeader.biBitCount = 16;
  info.bmiHeader.biCompression = BI_BITFIELDS;
  info.bmiColors[0] = 0x7C00, info.bmiColors[1] = 0x03E0, info.bmiColors[2] = 0x001F;
  SetDIBitsToDevice(dc, dstRect.left, dstRect.top, scaled.width, scaled.height, 0, 0, 0,
                    scaled.height, scaled.pixels, &info, DIB_RGB_COLORS);
  FreeImagePage(&scaled);
}

void CDirectDraw::CopyFromDC(CDC* dc) {
  if (memDC && dc) memDC->BitBlt(0, 0, pageWidth, pageHeight, dc, 0, 0, SRCCOPY);
}

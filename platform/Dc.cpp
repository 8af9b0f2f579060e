#include "Dc.h"

#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "BitFont.h"
#include "WindowSystem.h"

namespace {

std::string_view Text(const char* text, int count) {
  if (!text) return {};
  std::string_view s(text, count < 0 ? std::strlen(text) : static_cast<size_t>(count));
  size_t nul = s.find('\0');
  return nul == std::string_view::npos ? s : s.substr(0, nul);
}

}  // namespace

struct CDC::Target {
  uint16_t* px = nullptr;
  int pitch = 0;
  int ox = 0, oy = 0;        // this DC's (0, 0) in the pixels
  std::vector<CRect> clips;  // in pixel co-ordinates
};

BOOL CFont::CreateFont(int height, int width, int, int, int, BYTE, BYTE, BYTE, BYTE, BYTE, BYTE,
                       BYTE, BYTE, const char*) {
  // The glyph file has one cell size; any other request would silently look different.
  if (std::abs(height) != BitFont::kHeight || (width != 0 && width != BitFont::kHalfWidth))
    return FALSE;
  created_ = true;
  return TRUE;
}

BOOL CFont::DeleteObject() {
  BOOL was = created_;
  created_ = false;
  return was;
}

CDC::CDC() = default;
CDC::CDC(CWnd* wnd) : wnd_(wnd) {}
CDC::~CDC() = default;

BOOL CDC::CreatePageDC(uint16_t* pixels, int width, int height) {
  if (!pixels || width <= 0 || height <= 0) return FALSE;
  wnd_ = nullptr;
  pixels_ = pixels;
  width_ = width;
  height_ = height;
  return TRUE;
}

void CDC::GetTargets(Target* out) const {
  if (pixels_) {
    out->px = pixels_;
    out->pitch = width_;
    out->clips.emplace_back(0, 0, width_, height_);
    return;
  }
  if (!WindowSystem::Alive(wnd_)) return;
  CRect frame;
  out->clips = VisibleParts(wnd_, &frame);
  if (out->clips.empty()) return;
  int w, h;
  out->px = FrameBuffer(&w, &h);
  out->pitch = w;
  const CRect& r = WindowSystem::St(wnd_).rect;
  out->ox = r.left - frame.left;
  out->oy = r.top - frame.top;
}

CFont* CDC::SelectObject(CFont* font) {
  CFont* prev = font_;
  font_ = font;
  return prev;
}

COLORREF CDC::SetTextColor(COLORREF colour) {
  COLORREF prev = textColour_;
  textColour_ = colour;
  return prev;
}

COLORREF CDC::SetBkColor(COLORREF colour) {
  COLORREF prev = bkColour_;
  bkColour_ = colour;
  return prev;
}

int CDC::SetBkMode(int mode) {
  int prev = bkMode_;
  if (mode == TRANSPARENT || mode == OPAQUE) bkMode_ = mode;
  return prev;
}

static void Fill(uint16_t* px, int pitch, const CRect& r, uint16_t c) {
  for (int y = r.top; y < r.bottom; ++y) {
    uint16_t* row = px + static_cast<size_t>(y) * pitch;
    std::fill(row + r.left, row + r.right, c);
  }
}

BOOL CDC::TextOut(int x, int y, const char* text, int count) {
  CRect area(x, y, x + BitFont::Width(Text(text, count)), y + BitFont::kHeight);
  DrawText(text, count, &area, DT_LEFT);
  return TRUE;
}

int CDC::DrawText(const char* text, int count, CRect* rect, UINT format) {
  std::string_view s = Text(text, count);
  if (!rect) return 0;
  Target t;
  GetTargets(&t);
  if (!t.px) return BitFont::kHeight;
  int width = BitFont::Width(s);
  int x = (format & DT_CENTER) ? rect->left + (rect->Width() - width) / 2 : rect->left;
  int y = rect->top;
  CRect cell(x, y, x + width, y + BitFont::kHeight);
  const BitFont* font = BitFont::Default();
  for (const CRect& c : t.clips) {
    CRect limit = *rect;
    limit.OffsetRect(t.ox, t.oy);
    CRect clip;
    if (!clip.IntersectRect(c, limit)) continue;
    if (bkMode_ == OPAQUE) {
      CRect box = cell;
      box.OffsetRect(t.ox, t.oy);
      if (box.IntersectRect(box, clip)) Fill(t.px, t.pitch, box, ColorTo555(bkColour_));
    }
    if (font) font->Draw555(t.px, t.pitch, clip, x + t.ox, y + t.oy, s, ColorTo555(textColour_));
  }
  if (!pixels_) FramePresented();
  return BitFont::kHeight;
}

CSize CDC::GetTextExtent(const char* text, int count) const {
  return CSize(BitFont::Width(Text(text, count)), BitFont::kHeight);
}

void CDC::FillSolidRect(const CRect& rect, COLORREF colour) {
  Target t;
  GetTargets(&t);
  if (!t.px) return;
  CRect r = rect;
  r.OffsetRect(t.ox, t.oy);
  for (const CRect& c : t.clips) {
    CRect part;
    if (part.IntersectRect(c, r)) Fill(t.px, t.pitch, part, ColorTo555(colour));
  }
  if (!pixels_) FramePresented();
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop) {
  if (!src || rop != SRCCOPY) return FALSE;
  if (width <= 0 || height <= 0) return TRUE;
  // Through a copy, so that a DC copying onto itself reads each pixel before it is written.
  std::vector<uint16_t> copy(static_cast<size_t>(width) * height);
  std::vector<bool> have(copy.size());
  Target s;
  src->GetTargets(&s);
  CRect from(xSrc + s.ox, ySrc + s.oy, xSrc + s.ox + width, ySrc + s.oy + height);
  for (const CRect& c : s.clips) {
    CRect part;
    if (!s.px || !part.IntersectRect(c, from)) continue;
    for (int py = part.top; py < part.bottom; ++py)
      for (int px = part.left; px < part.right; ++px) {
        size_t i = static_cast<size_t>(py - from.top) * width + (px - from.left);
        copy[i] = s.px[static_cast<size_t>(py) * s.pitch + px];
        have[i] = true;
      }
  }
  Target t;
  GetTargets(&t);
  if (!t.px) return TRUE;
  CRect to(x + t.ox, y + t.oy, x + t.ox + width, y + t.oy + height);
  for (const CRect& c : t.clips) {
    CRect part;
    if (!part.IntersectRect(c, to)) continue;
    for (int py = part.top; py < part.bottom; ++py)
      for (int px = part.left; px < part.right; ++px) {
        size_t i = static_cast<size_t>(py - to.top) * width + (px - to.left);
        if (have[i]) t.px[static_cast<size_t>(py) * t.pitch + px] = copy[i];
      }
  }
  if (!pixels_) FramePresented();
  return TRUE;
}

CClientDC::CClientDC(CWnd* wnd) : CDC(wnd) {}

CPaintDC::CPaintDC(CWnd* wnd) : CDC(wnd) {
  if (!WindowSystem::Alive(wnd)) return;
  auto& s = WindowSystem::St(wnd);
  s.invalid = false;
  if (s.erase) {
    s.erase = false;
    wnd->WindowProc(WM_ERASEBKGND, reinterpret_cast<WPARAM>(static_cast<CDC*>(this)), 0);
  }
}

int SetDIBitsToDevice(CDC* dc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc,
                      UINT startScan, UINT lines, const void* bits, const BITMAPINFO* bmi,
                      UINT colorUse) {
  if (!dc || !bits || !bmi || colorUse != DIB_RGB_COLORS) return 0;
  const BITMAPINFOHEADER& hd = bmi->bmiHeader;
  bool rgb555 = hd.biBitCount == 16 && hd.biCompression == BI_BITFIELDS &&
                bmi->bmiColors[0] == 0x7C00 && bmi->bmiColors[1] == 0x03E0 &&
                bmi->bmiColors[2] == 0x001F;
  if (!rgb555 || hd.biWidth <= 0 || hd.biHeight >= 0) return 0;
  int bw = hd.biWidth, bh = -hd.biHeight;
  if (startScan != 0 || lines != static_cast<UINT>(bh)) return 0;
  // The source rectangle inside the bitmap, and where it lands.
  CRect src(xSrc, ySrc, xSrc + static_cast<int>(w), ySrc + static_cast<int>(h));
  CRect inBitmap;
  if (!inBitmap.IntersectRect(src, CRect(0, 0, bw, bh))) return static_cast<int>(lines);
  CDC::Target t;
  dc->GetTargets(&t);
  if (!t.px) return static_cast<int>(lines);
  const auto* pix = static_cast<const uint16_t*>(bits);
  CRect dest = inBitmap;
  dest.OffsetRect(xDest - xSrc + t.ox, yDest - ySrc + t.oy);
  for (const CRect& c : t.clips) {
    CRect part;
    if (!part.IntersectRect(c, dest)) continue;
    int sx = part.left - dest.left + inBitmap.left, sy = part.top - dest.top + inBitmap.top;
    for (int y = 0; y < part.Height(); ++y)
      std::memcpy(t.px + static_cast<size_t>(part.top + y) * t.pitch + part.left,
                  pix + static_cast<size_t>(sy + y) * bw + sx,
                  static_cast<size_t>(part.Width()) * 2);
  }
  if (!dc->pixels_) FramePresented();
  return static_cast<int>(lines);
}

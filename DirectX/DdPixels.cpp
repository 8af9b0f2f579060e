// Copies, blends and shading on pages. Every screen redraws the whole page with a few hundred of
// these per frame, so the inner loops stay plain row loops the compiler can vectorise.
#include <algorithm>
#include <cstring>

#include "DdClip.h"
#include "DirectDraw.h"

void FreeImagePage(ImagePage* page) {
  if (!page) return;
  delete[] page->pixels;
  *page = ImagePage();
}

void AllocImagePage(ImagePage* page, uint32_t width, uint32_t height) {
  FreeImagePage(page);
  size_t n = static_cast<size_t>(width) * height;
  page->pixels = n ? new uint16_t[n]() : nullptr;
  page->width = width;
  page->height = height;
}

bool DdClipCopy(const ImagePage* dst, int& x, int& y, const ImagePage* src, CRect& r) {
  if (!dst || !src || !dst->pixels || !src->pixels) return false;
  // Source first: sprite rectangles from short or missing pictures must copy only what exists.
  int64_t sl = std::max<int64_t>(r.left, 0), st = std::max<int64_t>(r.top, 0);
  int64_t sr = std::min<int64_t>(r.right, src->width),
          sb = std::min<int64_t>(r.bottom, src->height);
  if (sl >= sr || st >= sb) return false;
  int64_t dx = int64_t(x) + (sl - r.left), dy = int64_t(y) + (st - r.top);
  int64_t cl = std::max<int64_t>(dx, 0), ct = std::max<int64_t>(dy, 0);
  int64_t cr = std::min<int64_t>(dx + (sr - sl), dst->width);
  int64_t cb = std::min<int64_t>(dy + (sb - st), dst->height);
  if (cl >= cr || ct >= cb) return false;
  r = CRect(int(sl + cl - dx), int(st + ct - dy), int(sl + cr - dx), int(st + cb - dy));
  x = int(cl);
  y = int(ct);
  return true;
}

bool DdClipToPage(const ImagePage* page, CRect& r) {
  if (!page || !page->pixels) return false;
  int64_t l = std::max<int64_t>(r.left, 0), t = std::max<int64_t>(r.top, 0);
  int64_t rr = std::min<int64_t>(r.right, page->width),
          b = std::min<int64_t>(r.bottom, page->height);
  if (l >= rr || t >= b) return false;
  r = CRect(int(l), int(t), int(rr), int(b));
  return true;
}

void CDirectDraw::BltPage(ImagePage* dst, int x, int y, ImagePage* src, CRect srcRect, BOOL keyed) {
  if (!src) return;
  if (srcRect.top == -1) srcRect = CRect(0, 0, int(src->width), int(src->height));
  if (!DdClipCopy(dst, x, y, src, srcRect)) return;
  if (keyed)
    CopyPixelsKeyed(dst, x, y, src, srcRect);
  else
    CopyPixels(dst, x, y, src, srcRect);
}

void CDirectDraw::BltBlend(ImagePage* dst, int x, int y, ImagePage* src, CRect srcRect) {
  if (!DdClipCopy(dst, x, y, src, srcRect)) return;
  BlendPixels555(dst, x, y, src, srcRect);
}

void CDirectDraw::CopyPixels(ImagePage* dst, int x, int y, const ImagePage* src, const CRect& r) {
  const size_t w = size_t(r.Width()) * sizeof(uint16_t);
  const uint16_t* s = src->pixels + size_t(r.top) * src->width + r.left;
  uint16_t* d = dst->pixels + size_t(y) * dst->width + x;
  for (int row = r.top; row < r.bottom; ++row, s += src->width, d += dst->width)
    std::memmove(d, s, w);
}

void CDirectDraw::CopyPixelsKeyed(ImagePage* dst, int x, int y, const ImagePage* src,
                                  const CRect& r) {
  const int w = r.Width();
  const uint16_t* s = src->pixels + size_t(r.top) * src->width + r.left;
  uint16_t* d = dst->pixels + size_t(y) * dst->width + x;
  for (int row = r.top; row < r.bottom; ++row, s += src->width, d += dst->width)
    for (int i = 0; i < w; ++i) d[i] = s[i] ? s[i] : d[i];
}

void CDirectDraw::BlendPixels555(ImagePage* dst, int x, int y, const ImagePage* src,
                                 const CRect& r) {
  const int w = r.Width();
  const uint16_t* s = src->pixels + size_t(r.top) * src->width + r.left;
  uint16_t* d = dst->pixels + size_t(y) * dst->width + x;
  for (int row = r.top; row < r.bottom; ++row, s += src->width, d += dst->width) {
    for (int i = 0; i < w; ++i) {
      // Per channel (a + b) div 2: halve without each channel's low bit, add back the carry.
      uint16_t a = s[i], b = d[i];
      uint16_t m = uint16_t(((a & 0x7BDE) >> 1) + ((b & 0x7BDE) >> 1) + (a & b & 0x0421));
      d[i] = a ? m : b;
    }
  }
}

void CDirectDraw::ShadeRect(ImagePage* page, CRect rect, int level, BOOL lighten) {
  if (!DdClipToPage(page, rect)) return;
  if (level > 15) level = 15;
  if (level <= 0) return;
  ShadePixels(page, rect, level, lighten);
}

void CDirectDraw::ShadePixels(ImagePage* page, const CRect& r, int level, BOOL lighten) {
  const std::vector<uint16_t>& table = lighten ? lightenTable : darkenTable;
  if (table.empty()) return;
  const uint16_t* t = table.data() + level;
  for (int y = r.top; y < r.bottom; ++y) {
    uint16_t* p = page->pixels + size_t(y) * page->width;
    for (int x = r.left; x < r.right; ++x)
      if (p[x]) p[x] = t[size_t(p[x]) * 16];
  }
}

BOOL CDirectDraw::GrabRect(ImagePage* src, ImagePage* out, CRect rect) {
  // The part outside src stays 0 so the copy is the same every time.
  AllocImagePage(out, uint32_t(std::max(rect.Width(), 0)), uint32_t(std::max(rect.Height(), 0)));
  CRect clip = rect;
  if (!DdClipToPage(src, clip) || !out->pixels) return FALSE;
  CRect from = clip;
  CopyPixels(out, clip.left - rect.left, clip.top - rect.top, src, from);
  return TRUE;
}

void CDirectDraw::BuildLightenTable() {
  lightenTable.resize(65536 * 16);
  uint16_t* e = lightenTable.data();
  for (uint32_t p = 0; p < 65536; ++p) {
    int r = (p >> 10) & 31, g = (p >> 5) & 31, b = p & 31;
    for (int s = 0; s < 16; ++s)
      *e++ = uint16_t(std::min(r + s, 31) << 10 | std::min(g + s, 31) << 5 | std::min(b + s, 31));
  }
}

void CDirectDraw::BuildDarkenTable() {
  darkenTable.resize(65536 * 16);
  uint16_t* e = darkenTable.data();
  for (uint32_t p = 0; p < 65536; ++p) {
    int r = (p >> 10) & 31, g = (p >> 5) & 31, b = p & 31;
    for (int s = 0; s < 16; ++s)
      *e++ = uint16_t(std::max(r - s, 0) << 10 | std::max(g - s, 0) << 5 | std::max(b - s, 0));
  }
}

void CDirectDraw::BuildGlowTable() {
  glowTable.assign(32 * 64, 0);
  for (int r = 0; r < 32; ++r) {
    int a = r < 16 ? 30 - 2 * r : 2 * (r - 16);
    int b = r < 16 ? 4 + 4 * r : 64 - 4 * (r - 16);
    for (int c = 0; c < 64; ++c) {
      uint16_t v = 0;
      if (c < a)
        v = uint16_t(a * 256 + b);
      else if (c <= a + b - 1)
        v = uint16_t(c * 256 + (a + b - c));
      glowTable[r * 64 + c] = v;
    }
  }
}

void CDirectDraw::BuildBlendTable() {
  blendTable.resize(32 * 32 * 32);
  for (int a = 0; a < 32; ++a)
    for (int b = 0; b < 32; ++b)
      for (int t = 0; t < 32; ++t)
        blendTable[(a * 32 + b) * 32 + t] = uint16_t((a * 65536 + t * (b - a) * 2048) >> 16);
}

// The rest of the page toolbox: fills, lines, special copies, shade maps, the diamond glow and
// frame files. The game itself draws with the operations of DdPixels.cpp only.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "SafeFile.h"
#include "DdClip.h"
#include "DirectDraw.h"
#include "WinFile.h"

namespace {

constexpr uint16_t kMidGrey = (15 << 10) | (15 << 5) | 15;  // (128, 128, 128) packed

uint16_t* At(ImagePage* p, int x, int y) { return p->pixels + size_t(y) * p->width + x; }
const uint16_t* At(const ImagePage* p, int x, int y) {
  return p->pixels + size_t(y) * p->width + x;
}

template <typename Op>
void ForRect(ImagePage* page, CRect r, Op op) {
  if (!DdClipToPage(page, r)) return;
  for (int y = r.top; y < r.bottom; ++y) {
    uint16_t* p = At(page, r.left, y);
    for (int i = 0; i < r.Width(); ++i) op(p[i]);
  }
}

// Visits every pixel pair of a clipped copy: op(destination pixel, source pixel, x, y) with
// (x, y) the destination position.
template <typename Op>
void ForCopy(ImagePage* dst, int x, int y, const ImagePage* src, CRect r, Op op) {
  if (!DdClipCopy(dst, x, y, src, r)) return;
  for (int row = 0; row < r.Height(); ++row) {
    const uint16_t* s = At(src, r.left, r.top + row);
    uint16_t* d = At(dst, x, y + row);
    for (int i = 0; i < r.Width(); ++i) op(d[i], s[i], x + i, y + row);
  }
}

template <typename Op>
void Line(ImagePage* page, int x0, int y0, int x1, int y1, Op op) {
  if (!page || !page->pixels) return;
  const int w = int(page->width), h = int(page->height);
  auto inside = [&](int x, int y) { return x >= 0 && x < w && y >= 0 && y < h; };
  if (!inside(x0, y0) && !inside(x1, y1)) return;
  x0 = std::clamp(x0, 0, w - 1), x1 = std::clamp(x1, 0, w - 1);
  y0 = std::clamp(y0, 0, h - 1), y1 = std::clamp(y1, 0, h - 1);
  const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  if (dy <= dx) {
    for (int i = 0, e = dx / 2, y = y0, x = x0; i <= dx; ++i, x += sx) {
      op(*At(page, x, y));
      if ((e -= dy) < 0) y += sy, e += dx;
    }
  } else {
    for (int i = 0, e = dy / 2, x = x0, y = y0; i <= dy; ++i, y += sy) {
      op(*At(page, x, y));
      if ((e -= dx) < 0) x += sx, e += dy;
    }
  }
}

bool SameSize(const ImagePage* a, const ImagePage* b) {
  return a && b && b->pixels && a->width == b->width && a->height == b->height;
}

}  // namespace

uint16_t CDirectDraw::PackColor(int r, int g, int b) {
  auto c = [](int v) { return std::clamp(v, 0, 255) * 31 / 255; };
  return uint16_t(c(r) << 10 | c(g) << 5 | c(b));
}

void CDirectDraw::FillRect(ImagePage* page, CRect rect, uint16_t colour) {
  ForRect(page, rect, [colour](uint16_t& p) { p = colour; });
}

void CDirectDraw::XorRect(ImagePage* page, CRect rect, uint16_t colour) {
  ForRect(page, rect, [colour](uint16_t& p) { p ^= colour; });
}

void CDirectDraw::DrawLine(ImagePage* page, int x0, int y0, int x1, int y1, uint16_t colour) {
  Line(page, x0, y0, x1, y1, [colour](uint16_t& p) { p = colour; });
}

void CDirectDraw::XorLine(ImagePage* page, int x0, int y0, int x1, int y1, uint16_t colour) {
  Line(page, x0, y0, x1, y1, [colour](uint16_t& p) { p ^= colour; });
}

void CDirectDraw::FrameRect(ImagePage* page, CRect r, uint16_t colour) {
  DrawLine(page, r.left, r.top, r.right, r.top, colour);
  DrawLine(page, r.left, r.bottom, r.right, r.bottom, colour);
  DrawLine(page, r.left, r.top, r.left, r.bottom, colour);
  DrawLine(page, r.right, r.top, r.right, r.bottom, colour);
}

void CDirectDraw::XorFrameRect(ImagePage* page, CRect r, uint16_t colour) {
  XorLine(page, r.left, r.top, r.right, r.top, colour);
  XorLine(page, r.left, r.bottom, r.right, r.bottom, colour);
  XorLine(page, r.left, r.top, r.left, r.bottom, colour);
  XorLine(page, r.right, r.top, r.right, r.bottom, colour);
}

void CDirectDraw::BltWeighted(ImagePage* dst, int x, int y, ImagePage* src, CRect srcRect,
                              const ImagePage* weights) {
  // The weights lie over the source, pixel for pixel.
  if (blendTable.empty() || !SameSize(src, weights)) return;
  const int dx = x - srcRect.left, dy = y - srcRect.top;
  ForCopy(dst, x, y, src, srcRect, [&](uint16_t& d, uint16_t s, int px, int py) {
    int t = *At(weights, px - dx, py - dy) & 31;
    if (!t) return;
    d = uint16_t(Blend(d >> 10 & 31, s >> 10 & 31, t) << 10 |
                 Blend(d >> 5 & 31, s >> 5 & 31, t) << 5 | Blend(d & 31, s & 31, t));
  });
}

void CDirectDraw::BltTranslucent(ImagePage* dst, int x, int y, ImagePage* src, CRect srcRect,
                                 int weight) {
  if (blendTable.empty()) return;
  const int t = std::clamp(weight, 0, 31);
  ForCopy(dst, x, y, src, srcRect, [&](uint16_t& d, uint16_t s, int, int) {
    if (!s) return;
    d = uint16_t(Blend(d >> 10 & 31, s >> 10 & 31, t) << 10 |
                 Blend(d >> 5 & 31, s >> 5 & 31, t) << 5 | Blend(d & 31, s & 31, t));
  });
}

void CDirectDraw::BltSilhouette(ImagePage* dst, int x, int y, ImagePage* src, CRect srcRect,
                                uint16_t colour) {
  ForCopy(dst, x, y, src, srcRect, [colour](uint16_t& d, uint16_t s, int, int) {
    if (s) d = colour;
  });
}

void CDirectDraw::BltRecolor(ImagePage* dst, int x, int y, ImagePage* src, CRect srcRect,
                             uint16_t colour) {
  ForCopy(dst, x, y, src, srcRect, [colour](uint16_t& d, uint16_t s, int, int) {
    if (s == 0x7FFF)
      d = s;
    else if (s)
      d = uint16_t(colour | (s & 0x001F ? 0x0F00 : 0) | (s & 0x7C00 ? 0xF000 : 0));
  });
}

void CDirectDraw::BltBehindMask(ImagePage* dst, int x, int y, ImagePage* src, CRect srcRect,
                                const ImagePage* mask, uint16_t maskValue, BOOL needNoBlue) {
  if (!SameSize(dst, mask)) return;
  ForCopy(dst, x, y, src, srcRect, [&](uint16_t& d, uint16_t s, int px, int py) {
    uint16_t m = *At(mask, px, py);
    if (s && m != kMidGrey && m != maskValue && (!needNoBlue || !(m & 0x1F))) d = s;
  });
}

void CDirectDraw::BltMarked(ImagePage* dst, int x, int y, ImagePage* src, CRect srcRect,
                            const ImagePage* markers, uint16_t marker) {
  if (!SameSize(dst, markers)) return;
  ForCopy(dst, x, y, src, srcRect, [&](uint16_t& d, uint16_t s, int px, int py) {
    uint16_t m = *At(markers, px, py);
    if (s && m != kMidGrey && m != marker && m != (marker | 0x1F)) d = s;
  });
}

void CDirectDraw::BltScaled(ImagePage* dst, int x, int y, ImagePage* src, CRect size) {
  const int w = size.Width(), h = size.Height();
  if (!src || !src->pixels || !dst || !dst->pixels || w <= 0 || h <= 0) return;
  const int64_t stepX = int64_t(src->width) * 256 / w, stepY = int64_t(src->height) * 256 / h;
  CRect clip(x, y, x + w, y + h);
  if (!DdClipToPage(dst, clip)) return;
  for (int py = clip.top; py < clip.bottom; ++py) {
    int64_t sy = std::min<int64_t>((py - y) * stepY >> 8, src->height - 1);
    uint16_t* d = At(dst, 0, py);
    for (int px = clip.left; px < clip.right; ++px) {
      int64_t sx = std::min<int64_t>((px - x) * stepX >> 8, src->width - 1);
      d[px] = *At(src, int(sx), int(sy));
    }
  }
}

void CDirectDraw::WavePage(ImagePage* page, int amplitude, double phase, double step) {
  if (!page || !page->pixels || page->width < 2) return;
  const int w = int(page->width);
  std::vector<uint16_t> row(w);
  for (uint32_t y = 0; y < page->height; ++y, phase += step) {
    int shift = std::clamp(int(std::lround(amplitude * std::sin(phase))), -(w - 1), w - 1);
    // The part still on the row after the shift is stretched back over the whole row.
    int from = shift < 0 ? -shift : 0, keep = w - std::abs(shift);
    uint16_t* p = At(page, 0, int(y));
    for (int i = 0; i < w; ++i) row[i] = p[from + int(int64_t(i) * keep / w)];
    std::memcpy(p, row.data(), size_t(w) * 2);
  }
}

void CDirectDraw::MakeShadeMap(ImagePage* page, ShadeMap* out) {
  *out = ShadeMap();
  if (!page || !page->pixels) return;
  out->width = page->width;
  out->height = page->height;
  out->levels.resize(size_t(page->width) * page->height);
  for (size_t i = 0; i < out->levels.size(); ++i)
    out->levels[i] = uint8_t((page->pixels[i] & 31) * 15 / 31);
  FreeImagePage(page);
}

void CDirectDraw::LightenByShadeMap(ImagePage* dst, int x, int y, const ShadeMap* map) {
  if (!map || map->levels.empty() || lightenTable.empty()) return;
  // Clip through a stand-in page of the map's size; its pixels are never read.
  static uint16_t dummy;
  ImagePage shape{map->width, map->height, &dummy};
  CRect r(0, 0, int(map->width), int(map->height));
  if (!DdClipCopy(dst, x, y, &shape, r)) return;
  for (int row = 0; row < r.Height(); ++row) {
    const uint8_t* b = map->levels.data() + size_t(r.top + row) * map->width + r.left;
    uint16_t* d = At(dst, x, y + row);
    for (int i = 0; i < r.Width(); ++i)
      if (b[i]) d[i] = lightenTable[size_t(d[i]) * 16 + (b[i] & 15)];
  }
}

void CDirectDraw::FillDiamond(ImagePage* page, int x, int y, uint16_t colour) {
  if (!page || !page->pixels || glowTable.empty()) return;
  const int64_t w = page->width;
  // The table cuts each row's run at the page's left edge; the right edge is cut here.
  const int cut = std::clamp(-x, 0, 63);
  if (x <= -64 || x >= w) return;
  for (int r = 0; r < 32; ++r) {
    int64_t py = int64_t(y) + r;
    if (py < 0 || py >= page->height) continue;
    uint16_t e = glowTable[r * 64 + cut];
    if (!e) continue;
    int64_t start = int64_t(x) + (e >> 8), end = std::min<int64_t>(start + (e & 0xFF), w);
    uint16_t* p = At(page, 0, int(py));
    for (int64_t px = std::max<int64_t>(start, 0); px < end; ++px) p[px] = colour;
  }
}

BOOL CDirectDraw::OpenFrameFile(const std::string& path) {
  CloseFrameFile();
  std::string native = NativePath(path);
  std::FILE* f = native.empty() ? nullptr : OpenRegularStream(native.c_str());
  if (!f) return FALSE;
  uint8_t head[12];
  long length = -1;
  if (std::fread(head, 1, 12, f) == 12 && std::fseek(f, 0, SEEK_END) == 0) length = std::ftell(f);
  const uint32_t w = uint32_t(head[0] | head[1] << 8), h = uint32_t(head[2] | head[3] << 8);
  const uint64_t frameBytes = uint64_t(w) * h * 2;
  if (length < 12 || frameBytes == 0) {
    std::fclose(f);
    return FALSE;
  }
  frameFile = f;
  frameWidth = w;
  frameHeight = h;
  frameCount = uint32_t((uint64_t(length) - 12) / frameBytes);
  return TRUE;
}

BOOL CDirectDraw::ReadFrame(int frame, ImagePage* out) {
  if (!frameFile || frame < 0 || uint32_t(frame) >= frameCount) return FALSE;
  const size_t n = size_t(frameWidth) * frameHeight;
  if (std::fseek(frameFile, long(12 + uint64_t(frame) * n * 2), SEEK_SET) != 0) return FALSE;
  ImagePage page;
  AllocImagePage(&page, frameWidth, frameHeight);
  if (std::fread(page.pixels, 2, n, frameFile) != n) {
    FreeImagePage(&page);
    return FALSE;
  }
  FreeImagePage(out);
  *out = page;
  return TRUE;
}

void CDirectDraw::CloseFrameFile() {
  if (frameFile) std::fclose(frameFile);
  frameFile = nullptr;
  frameWidth = frameHeight = frameCount = 0;
}

// 24-bit BMP pictures and their ".img" caches. A cache is the page itself (width, height,
// pixels), so a start-up after the first reads pages without converting anything. Both readers
// check every size against the file before they trust it: a damaged file is a missing file.
#include <cstring>
#include <memory>

#include "DirectDraw.h"
#include "WinFile.h"

namespace {

uint32_t U32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// The whole path lower-cased with every ".bmp" turned into ".img"; empty when there is no
// ".bmp", since the cache would then be the picture itself.
std::string CachePath(const std::string& path) {
  std::string lower = path;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  bool any = false;
  for (size_t at = lower.find(".bmp"); at != std::string::npos; at = lower.find(".bmp", at + 4)) {
    lower.replace(at, 4, ".img");
    any = true;
  }
  return any ? lower : std::string();
}

// No picture of the game is larger; a size of 0 or beyond this is a damaged header.
constexpr uint32_t kMaxSide = 4096;
bool SidesFit(uint32_t width, uint32_t height) {
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide;
}

}  // namespace

BOOL CDirectDraw::LoadImagePage(ImagePage* out, CString path) {
  std::string cachePath = CachePath(path.str());
  if (!cachePath.empty() && ReadImgFile(out, cachePath.c_str())) return TRUE;

  CFile file;
  if (!file.Open(path, CFile::modeRead)) {
    CString text;
    text.Format("No open %s", static_cast<const char*>(path));
    DdMessage(text);
    return FALSE;
  }
  std::vector<uint8_t> bmp;
  bool read = ReadWholeFile(file, bmp);
  file.Close();
  if (!read) return FALSE;

  // Only what the conversion can honour: uncompressed 24-bit, bottom-up, rows inside the file.
  const uint64_t length = bmp.size();
  if (length < 34 || bmp[0] != 'B' || bmp[1] != 'M') return FALSE;
  const uint32_t offset = U32(&bmp[10]);
  const int32_t width = int32_t(U32(&bmp[18])), height = int32_t(U32(&bmp[22]));
  if (offset > length || !SidesFit(uint32_t(width), uint32_t(height))) return FALSE;
  if (U16(&bmp[28]) != 24 || U32(&bmp[30]) != 0) return FALSE;
  const uint64_t stride = (length - offset) / uint64_t(height);
  if (stride < 3 * uint64_t(width)) return FALSE;

  ImagePage page;
  AllocImagePage(&page, uint32_t(width), uint32_t(height));
  ConvertBmp24(bmp.data() + offset, &page, int(stride));

  if (!cachePath.empty()) {
    // A cache that cannot be written costs only the conversion at the next load.
    size_t pixelBytes = size_t(width) * size_t(height) * 2;
    std::vector<uint8_t> cache(8 + pixelBytes);
    std::memcpy(&cache[0], &page.width, 4);
    std::memcpy(&cache[4], &page.height, 4);
    std::memcpy(&cache[8], page.pixels, pixelBytes);
    AtomicWriteFile(cachePath.c_str(), cache.data(), cache.size());
  }
  *out = page;
  return TRUE;
}

BOOL CDirectDraw::ReadImgFile(ImagePage* out, CString cachePath) {
  CFile file;
  if (!file.Open(cachePath, CFile::modeRead)) return FALSE;
  uint8_t head[8];
  if (file.Read(head, 8) != 8) return FALSE;
  const uint32_t width = U32(head), height = U32(head + 4);
  // Exactly the pixels the sizes announce; anything else was cut short or is not a cache.
  if (!SidesFit(width, height)) return FALSE;
  const uint64_t pixelBytes = uint64_t(width) * height * 2;
  if (file.GetLength() != 8 + pixelBytes) return FALSE;
  ImagePage page;
  AllocImagePage(&page, width, height);
  if (file.Read(page.pixels, UINT(pixelBytes)) != pixelBytes) {
    FreeImagePage(&page);
    return FALSE;
  }
  *out = page;
  return TRUE;
}

void CDirectDraw::ConvertBmp24(const uint8_t* bits, ImagePage* out, int stride) {
  const uint32_t w = out->width, h = out->height;
  for (uint32_t k = 0; k < h; ++k) {
    const uint8_t* s = bits + size_t(k) * size_t(stride);
    uint16_t* d = out->pixels + size_t(h - 1 - k) * w;
    for (uint32_t i = 0; i < w; ++i, s += 3) {
      uint16_t v = uint16_t((s[2] * 31 / 255) << 10 | (s[1] * 31 / 255) << 5 | (s[0] * 31 / 255));
      // Black moves off the key to the darkest blue; only pure green becomes the key.
      d[i] = v == 0 ? 1 : v == 0x03E0 ? 0 : v;
    }
  }
}

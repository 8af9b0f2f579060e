// The glyph file: loaded, then its first characters drawn, clipped, into a small page; nothing
// outside the clip may change.
#include <algorithm>

#include "BitFont.h"
#include "FuzzUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::EnterOwnDir();
  fuzz::WriteFile(kGlyphFileName, data, size);
  BitFont font;
  if (!font.Load(kGlyphFileName)) {
    if (font.Error().empty() || font.IsLoaded()) std::abort();
    return 0;
  }
  // The text: the file's first codes, so that most characters have a glyph.
  std::string text;
  const size_t count = data[8] | data[9] << 8 | data[10] << 16;  // at most 0x10000 here
  for (size_t i = 0; i < count && i < 16; ++i) {
    if (data[13 + 2 * i]) text += char(data[13 + 2 * i]);
    text += char(data[12 + 2 * i]);
  }
  constexpr int kWide = 48, kHigh = 32;
  static uint16_t pixels[kWide * kHigh];
  std::fill(std::begin(pixels), std::end(pixels), 0);
  const CRect clip(4, 4, kWide - 4, kHigh - 4);
  const int x = int(size % 56) - 24, y = int(size % 40) - 16;
  font.Draw555(pixels, kWide, clip, x, y, text, 0x7FFF);
  for (int py = 0; py < kHigh; ++py)
    for (int px = 0; px < kWide; ++px)
      if (pixels[py * kWide + px] && !clip.PtInRect(CPoint(px, py))) std::abort();
  int right = -1;
  font.ForEachPixel(text, [&](int px, int py) {
    if (py < 0 || py >= BitFont::kHeight || px < 0) std::abort();
    right = std::max(right, px);
  });
  if (right >= BitFont::Width(text)) std::abort();
  return 0;
}

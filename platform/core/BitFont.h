// The page font: fixed 8 x 16 cells for single bytes and 16 x 16 cells for Big5 double-byte
// characters, one bit per pixel, no antialiasing. A string is 8 pixels wide per byte.
// The glyphs come from the build-time glyph file (kGlyphFileName); unknown double-byte codes draw
// as 16-pixel blanks, stray lead bytes and control bytes as 8-pixel blanks.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "WinTypes.h"

inline constexpr const char* kGlyphFileName = "font16.fnt";

// A COLORREF as the 16-bit page stores it: each channel's three low bits dropped.
constexpr uint16_t ColorTo555(COLORREF c) {
  return static_cast<uint16_t>(((GetRValue(c) >> 3) << 10) | ((GetGValue(c) >> 3) << 5) |
                               (GetBValue(c) >> 3));
}

class BitFont {
 public:
  static constexpr int kHeight = 16;
  static constexpr int kHalfWidth = 8;

  // Reads a glyph file; on failure the font stays as it was and Error() says why.
  bool Load(const std::string& path);
  bool IsLoaded() const { return !index_.empty(); }
  const std::string& Error() const { return error_; }

  // Width in pixels of the text up to its end or first NUL.
  static int Width(std::string_view big5);

  // Draws into 16-bit pixels (pitch counted in pixels) at (x, y) = top left of the text cell,
  // touching only pixels inside clip; the background stays as it is.
  void Draw555(uint16_t* pixels, int pitch, const CRect& clip, int x, int y, std::string_view big5,
               uint16_t colour) const;

  // Calls fn for every set pixel of the text drawn at (0, 0), e.g. to render into other canvases.
  void ForEachPixel(std::string_view big5, const std::function<void(int x, int y)>& fn) const;

  // The bitmap of one cell: 16 rows of 1 byte (half width) or 2 bytes (double width), most
  // significant bit leftmost; nullptr when the font has no glyph for the code. Codes below 0x100
  // are single bytes, others are lead << 8 | trail.
  const uint8_t* Glyph(uint16_t code) const;

  // The font every device context uses, loaded from the glyph file in the current directory on
  // first use; nullptr when that failed (DefaultError() says why; later calls retry nothing).
  static const BitFont* Default();
  static const std::string& DefaultError();

 private:
  std::vector<uint8_t> bits_;
  std::vector<int32_t> index_;  // code -> offset into bits_, -1 when absent
  std::string error_;
};

// Captions painted into pictures: Big5 strings (the sources are compiled to Big5) drawn with
// the same 8 x 16 / 16 x 16 bitmap glyphs the game uses, optionally enlarged, outlined and
// shadowed.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "BitFont.h"
#include "Canvas.h"

namespace pic {

class Font {
 public:
  // The game's own glyph file, so painted captions match the text the screens draw.
  bool Load(const std::string& glyphFile) { return font_.Load(glyphFile); }
  bool Loaded() const { return font_.IsLoaded(); }

  // Reads one character at s (1 or 2 bytes) into 16 rows, bit 15 = leftmost pixel.
  // Returns the cell width (8 or 16) and advances s. Unknown codes give a blank cell.
  int Next(const char*& s, std::array<uint16_t, 16>& rows) const;
  // 8 pixels per byte, as the game measures text.
  static int Width(const char* big5);

 private:
  BitFont font_;
};

struct TextStyle {
  int scale = 1;     // 1, 2 or 4 are smoothed; others are plain pixel enlargement
  Rgb top{0, 0, 0};  // fill, graded from top to bottom
  Rgb bottom{0, 0, 0};
  bool outline = false;  // one pixel all round
  Rgb outlineColour{0, 0, 0};
  bool shadow = false;
  Rgb shadowColour{0, 0, 0};
  int shadowDx = 1, shadowDy = 1;
  bool vertical = false;  // characters stacked top to bottom
};

TextStyle Plain(Rgb c, int scale = 1);

struct Extent {
  int w, h;
};
// Size of the drawn text, outline and shadow included.
Extent Measure(const char* big5, const TextStyle& st);
Extent DrawText(Canvas& c, const Font& f, int x, int y, const char* big5, const TextStyle& st);
// Centred both ways in r.
void DrawTextIn(Canvas& c, const Font& f, Rect r, const char* big5, const TextStyle& st);

}  // namespace pic

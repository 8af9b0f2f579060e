#include "BitFont.h"
#include "SafeFile.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "Big5.h"

// Glyph file: "TVXGLYF1", u32 count, count u16 codes in ascending order, then the bitmaps in
// the same order: 16 bytes for codes below 0x100, 32 bytes (two per row) for the others.
// All integers little-endian.
namespace {

constexpr char kMagic[8] = {'T', 'V', 'X', 'G', 'L', 'Y', 'F', '1'};

int CellBytes(uint16_t code) { return code < 0x100 ? 16 : 32; }

}  // namespace

bool BitFont::Load(const std::string& path) {
  std::unique_ptr<FILE, int (*)(FILE*)> f(OpenRegularStream(path.c_str()), std::fclose);
  if (!f) {
    error_ = "cannot open glyph file " + path;
    return false;
  }
  std::vector<uint8_t> data;
  uint8_t buf[65536];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, f.get())) > 0;)
    data.insert(data.end(), buf, buf + n);
  if (std::ferror(f.get())) {
    error_ = "cannot read glyph file " + path;
    return false;
  }
  auto bad = [&](const char* why) {
    error_ = "glyph file " + path + ": " + why;
    return false;
  };
  if (data.size() < 12 || std::memcmp(data.data(), kMagic, 8) != 0) return bad("not a glyph file");
  uint32_t count = data[8] | data[9] << 8 | data[10] << 16 | static_cast<uint32_t>(data[11]) << 24;
  if (count > 0x10000 || data.size() < 12 + 2ull * count) return bad("bad glyph count");
  const uint8_t* codes = data.data() + 12;
  std::vector<int32_t> index(0x10000, -1);
  size_t offset = 0;
  int previous = -1;
  for (uint32_t i = 0; i < count; ++i) {
    uint16_t code = static_cast<uint16_t>(codes[2 * i] | codes[2 * i + 1] << 8);
    if (code <= previous) return bad("codes out of order");
    previous = code;
    index[code] = static_cast<int32_t>(offset);
    offset += CellBytes(code);
  }
  size_t bitsStart = 12 + 2ull * count;
  if (data.size() != bitsStart + offset) return bad("wrong size");
  bits_.assign(data.begin() + static_cast<long>(bitsStart), data.end());
  index_ = std::move(index);
  error_.clear();
  return true;
}

int BitFont::Width(std::string_view big5) {
  size_t end = big5.find('\0');
  return static_cast<int>(end == std::string_view::npos ? big5.size() : end) * kHalfWidth;
}

const uint8_t* BitFont::Glyph(uint16_t code) const {
  if (index_.empty() || index_[code] < 0) return nullptr;
  return bits_.data() + index_[code];
}

void BitFont::ForEachPixel(std::string_view big5, const std::function<void(int, int)>& fn) const {
  big5 = big5.substr(0, big5.find('\0'));
  int x = 0;
  for (size_t i = 0; i < big5.size();) {
    size_t n = Big5CharSize(big5, i);
    uint16_t code = n == 2 ? static_cast<uint16_t>(static_cast<uint8_t>(big5[i]) << 8 |
                                                   static_cast<uint8_t>(big5[i + 1]))
                           : static_cast<uint8_t>(big5[i]);
    // A stray lead byte is a blank cell, never the glyph of the byte value.
    const uint8_t* g = (n == 1 && IsBig5Lead(static_cast<uint8_t>(code))) ? nullptr : Glyph(code);
    int bytesPerRow = static_cast<int>(n);
    if (g) {
      for (int row = 0; row < kHeight; ++row)
        for (int col = 0; col < 8 * bytesPerRow; ++col)
          if (g[row * bytesPerRow + col / 8] & (0x80 >> (col % 8))) fn(x + col, row);
    }
    x += 8 * bytesPerRow;
    i += n;
  }
}

void BitFont::Draw555(uint16_t* pixels, int pitch, const CRect& clip, int x, int y,
                      std::string_view big5, uint16_t colour) const {
  if (!pixels || clip.IsRectEmpty()) return;
  // Rows and columns outside the clip are rejected before any address is formed.
  if (y >= clip.bottom || y + kHeight <= clip.top || x >= clip.right) return;
  ForEachPixel(big5, [&](int px, int py) {
    int dx = x + px, dy = y + py;
    if (dx >= clip.left && dx < clip.right && dy >= clip.top && dy < clip.bottom)
      pixels[static_cast<ptrdiff_t>(dy) * pitch + dx] = colour;
  });
}

namespace {
struct DefaultFontState {
  BitFont font;
  bool ok = false;
};
DefaultFontState& DefaultState() {
  static DefaultFontState state = [] {
    DefaultFontState s;
    s.ok = s.font.Load(kGlyphFileName);
    return s;
  }();
  return state;
}
}  // namespace

const BitFont* BitFont::Default() {
  DefaultFontState& s = DefaultState();
  return s.ok ? &s.font : nullptr;
}

const std::string& BitFont::DefaultError() { return DefaultState().font.Error(); }

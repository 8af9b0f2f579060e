// Helpers shared by the picture tests: reading BMP files back the way the game's loader does.
#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "Canvas.h"
#include "Pictures.h"
#include "Text.h"

namespace pictest {

// Decodes a 24-bit bottom-up BMP using only the fields the game reads; nullopt when the
// layout is anything else.
inline std::optional<pic::Canvas> DecodeBmp(const std::vector<uint8_t>& b) {
  auto u32 = [&](size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
  };
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  const uint32_t offset = u32(10), w = u32(18);
  const int32_t h = static_cast<int32_t>(u32(22));
  if (h <= 0 || w == 0 || b[28] != 24 || u32(30) != 0 || offset > b.size()) return std::nullopt;
  // The loader derives the stride from the file length: padding must be exact.
  if ((b.size() - offset) % h != 0) return std::nullopt;
  const size_t stride = (b.size() - offset) / h;
  if (stride != ((w * 3 + 3) & ~3u)) return std::nullopt;
  pic::Canvas c(static_cast<int>(w), h);
  for (int y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x) {
      const uint8_t* p = &b[offset + (h - 1 - y) * stride + x * 3];
      c.Set(static_cast<int>(x), y, {p[2], p[1], p[0]});
    }
  return c;
}

inline std::vector<uint8_t> ReadFile(const std::string& path) {
  // One read: byte-wise stream iteration dominates the tests' time under the sanitizers.
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return {};
  std::vector<uint8_t> bytes(static_cast<size_t>(in.tellg()));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

// The game's glyph file, from the game directory the tests run in.
inline const pic::Font& TestFont() {
  static pic::Font font = [] {
    pic::Font f;
    f.Load("font16.fnt");
    return f;
  }();
  return font;
}

inline int CountKey(const pic::Canvas& c, pic::Rect r) {
  int n = 0;
  for (int y = r.t; y < r.b; ++y)
    for (int x = r.l; x < r.r; ++x) n += pic::IsKey(c.Get(x, y));
  return n;
}

}  // namespace pictest

#include "Text.h"

#include <cstring>
#include <vector>

namespace pic {

namespace {

// Mask with one byte per pixel; 2x enlargement in the Scale2x manner keeps diagonals smooth.
struct Mask {
  int w = 0, h = 0;
  std::vector<uint8_t> m;
  bool At(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h && m[y * w + x]; }
};

Mask Scale2x(const Mask& s) {
  Mask d{s.w * 2, s.h * 2, std::vector<uint8_t>(s.w * s.h * 4, 0)};
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x) {
      const bool p = s.At(x, y), a = s.At(x, y - 1), b = s.At(x + 1, y), c = s.At(x - 1, y),
                 dd = s.At(x, y + 1);
      bool e0 = p, e1 = p, e2 = p, e3 = p;
      if (a != dd && c != b) {
        e0 = (c == a) ? c : p;
        e1 = (a == b) ? b : p;
        e2 = (c == dd) ? c : p;
        e3 = (dd == b) ? b : p;
      }
      d.m[(2 * y) * d.w + 2 * x] = e0;
      d.m[(2 * y) * d.w + 2 * x + 1] = e1;
      d.m[(2 * y + 1) * d.w + 2 * x] = e2;
      d.m[(2 * y + 1) * d.w + 2 * x + 1] = e3;
    }
  return d;
}

Mask Enlarge(const Mask& s, int k) {
  Mask d{s.w * k, s.h * k, std::vector<uint8_t>(s.w * s.h * k * k, 0)};
  for (int y = 0; y < d.h; ++y)
    for (int x = 0; x < d.w; ++x) d.m[y * d.w + x] = s.m[(y / k) * s.w + x / k];
  return d;
}

Mask Render(const Font* f, const char* text, bool vertical) {
  std::vector<std::pair<int, std::array<uint16_t, 16>>> cells;
  std::array<uint16_t, 16> rows{};
  const char* s = text;
  while (*s) {
    if (f) {
      const int w = f->Next(s, rows);
      cells.push_back({w, rows});
    } else {  // measuring only
      const int w = (static_cast<uint8_t>(*s) >= 0x81 && s[1]) ? 16 : 8;
      s += w / 8;
      cells.push_back({w, {}});
    }
  }
  Mask m;
  if (vertical) {
    m.w = 16;
    m.h = 16 * static_cast<int>(cells.size());
  } else {
    for (auto& c : cells) m.w += c.first;
    m.h = 16;
  }
  m.m.assign(m.w * m.h, 0);
  int pen = 0;
  for (auto& [w, g] : cells) {
    const int ox = vertical ? (16 - w) / 2 : pen, oy = vertical ? pen : 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < w; ++x)
        if (g[y] & (0x8000 >> x)) m.m[(oy + y) * m.w + ox + x] = 1;
    pen += vertical ? 16 : w;
  }
  return m;
}

Mask Scaled(const Mask& m, int scale) {
  if (scale == 2) return Scale2x(m);
  if (scale == 4) return Scale2x(Scale2x(m));
  if (scale > 1) return Enlarge(m, scale);
  return m;
}

}  // namespace

int Font::Next(const char*& s, std::array<uint16_t, 16>& rows) const {
  const uint8_t b0 = static_cast<uint8_t>(s[0]);
  uint16_t code = b0;
  int cell = 8;
  if (b0 >= 0x81 && b0 <= 0xFE && s[1]) {
    code = static_cast<uint16_t>((b0 << 8) | static_cast<uint8_t>(s[1]));
    cell = 16;
  }
  s += cell / 8;
  rows.fill(0);
  const uint8_t* g = font_.Glyph(code);
  if (!g) return cell;
  for (int y = 0; y < 16; ++y)
    rows[y] = cell == 16 ? static_cast<uint16_t>((g[2 * y] << 8) | g[2 * y + 1])
                         : static_cast<uint16_t>(g[y] << 8);
  return cell;
}

int Font::Width(const char* big5) { return 8 * static_cast<int>(std::strlen(big5)); }

TextStyle Plain(Rgb c, int scale) {
  TextStyle st;
  st.scale = scale;
  st.top = st.bottom = c;
  return st;
}

Extent Measure(const char* big5, const TextStyle& st) {
  const Mask m = Render(nullptr, big5, st.vertical);
  const int pad = st.outline ? 2 : 0;
  return {m.w * st.scale + pad + (st.shadow ? std::abs(st.shadowDx) : 0),
          m.h * st.scale + pad + (st.shadow ? std::abs(st.shadowDy) : 0)};
}

Extent DrawText(Canvas& c, const Font& f, int x, int y, const char* big5, const TextStyle& st) {
  const Mask m = Scaled(Render(&f, big5, st.vertical), st.scale);
  const int o = st.outline ? 1 : 0;
  const int gx = x + o + (st.shadow && st.shadowDx < 0 ? -st.shadowDx : 0);
  const int gy = y + o + (st.shadow && st.shadowDy < 0 ? -st.shadowDy : 0);
  auto covered = [&](int px, int py, int d) {
    for (int dy = -d; dy <= d; ++dy)
      for (int dx = -d; dx <= d; ++dx)
        if (m.At(px + dx, py + dy)) return true;
    return false;
  };
  if (st.shadow)
    for (int py = -o; py < m.h + o; ++py)
      for (int px = -o; px < m.w + o; ++px)
        if (covered(px, py, o))
          c.Set(gx + px + st.shadowDx, gy + py + st.shadowDy, st.shadowColour);
  if (st.outline)
    for (int py = -1; py < m.h + 1; ++py)
      for (int px = -1; px < m.w + 1; ++px)
        if (covered(px, py, 1)) c.Set(gx + px, gy + py, st.outlineColour);
  for (int py = 0; py < m.h; ++py) {
    const Rgb col = Mix(st.top, st.bottom, m.h > 1 ? double(py) / (m.h - 1) : 0);
    for (int px = 0; px < m.w; ++px)
      if (m.m[py * m.w + px]) c.Set(gx + px, gy + py, col);
  }
  return Measure(big5, st);
}

void DrawTextIn(Canvas& c, const Font& f, Rect r, const char* big5, const TextStyle& st) {
  const Extent e = Measure(big5, st);
  DrawText(c, f, r.l + (r.W() - e.w) / 2, r.t + (r.H() - e.h) / 2, big5, st);
}

}  // namespace pic

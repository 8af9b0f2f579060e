#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace pic {

namespace {

uint8_t Clamp8(double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

double Smooth(double t) { return t * t * (3 - 2 * t); }

}  // namespace

bool IsKey(Rgb c) { return c.g == 255 && c.r <= 8 && c.b <= 8; }

Rgb Mix(Rgb a, Rgb b, double t) {
  return {Clamp8(a.r + (b.r - a.r) * t), Clamp8(a.g + (b.g - a.g) * t),
          Clamp8(a.b + (b.b - a.b) * t)};
}

Rgb Scale(Rgb c, double f) { return {Clamp8(c.r * f), Clamp8(c.g * f), Clamp8(c.b * f)}; }

uint32_t Hash(int x, int y, uint32_t seed) {
  uint64_t z = (static_cast<uint64_t>(static_cast<uint32_t>(x)) << 32) ^ static_cast<uint32_t>(y) ^
               (static_cast<uint64_t>(seed) * 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return static_cast<uint32_t>(z ^ (z >> 31));
}

double Noise(double x, double y, uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  const double tx = Smooth(x - fx), ty = Smooth(y - fy);
  auto v = [&](int i, int j) { return (Hash(ix + i, iy + j, seed) & 0xFFFF) / 65535.0; };
  const double top = v(0, 0) + (v(1, 0) - v(0, 0)) * tx;
  const double bottom = v(0, 1) + (v(1, 1) - v(0, 1)) * tx;
  return top + (bottom - top) * ty;
}

double Fbm(double x, double y, uint32_t seed, int octaves) {
  double sum = 0, amp = 1, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * Noise(x, y, seed + 7919u * o);
    norm += amp;
    amp *= 0.5;
    x *= 2;
    y *= 2;
  }
  return sum / norm;
}

Canvas::Canvas(int w, int h, Rgb fill) : w_(w), h_(h), px_(static_cast<size_t>(w) * h, fill) {}

void Canvas::Blend(int x, int y, Rgb c, double a) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_ || a <= 0) return;
  Rgb& p = px_[static_cast<size_t>(y) * w_ + x];
  p = a >= 1 ? c : Mix(p, c, a);
}

void Canvas::Fill(Rect r, Rgb c) {
  for (int y = std::max(0, r.t); y < std::min(h_, r.b); ++y)
    for (int x = std::max(0, r.l); x < std::min(w_, r.r); ++x) Set(x, y, c);
}

void Canvas::VGradient(Rect r, Rgb top, Rgb bottom) {
  for (int y = r.t; y < r.b; ++y) {
    const Rgb c = Mix(top, bottom, r.H() > 1 ? double(y - r.t) / (r.H() - 1) : 0);
    for (int x = r.l; x < r.r; ++x) Set(x, y, c);
  }
}

void Canvas::Blit(const Canvas& src, Rect from, int dx, int dy, bool keyed) {
  for (int y = from.t; y < from.b; ++y)
    for (int x = from.l; x < from.r; ++x) {
      if (x < 0 || y < 0 || x >= src.W() || y >= src.H()) continue;
      const Rgb c = src.Get(x, y);
      if (keyed && IsKey(c)) continue;
      Set(dx + x - from.l, dy + y - from.t, c);
    }
}

Canvas Canvas::Crop(Rect r) const {
  Canvas out(r.W(), r.H());
  out.Blit(*this, r, 0, 0);
  return out;
}

std::vector<uint8_t> Canvas::EncodeBmp() const {
  const uint32_t stride = (static_cast<uint32_t>(w_) * 3 + 3) & ~3u;
  const uint32_t dataSize = stride * h_;
  const uint32_t offset = 54;
  std::vector<uint8_t> out(offset + dataSize, 0);
  auto put16 = [&](size_t at, uint32_t v) {
    out[at] = v & 0xFF;
    out[at + 1] = (v >> 8) & 0xFF;
  };
  auto put32 = [&](size_t at, uint32_t v) {
    put16(at, v & 0xFFFF);
    put16(at + 2, v >> 16);
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, offset + dataSize);
  put32(10, offset);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w_));
  put32(22, static_cast<uint32_t>(h_));  // positive: bottom-up
  put16(26, 1);
  put16(28, 24);
  put32(34, dataSize);
  put32(38, 2835);
  put32(42, 2835);
  for (int y = 0; y < h_; ++y) {
    uint8_t* row = &out[offset + static_cast<size_t>(h_ - 1 - y) * stride];
    for (int x = 0; x < w_; ++x) {
      const Rgb c = Get(x, y);
      row[x * 3] = c.b;
      row[x * 3 + 1] = c.g;
      row[x * 3 + 2] = c.r;
    }
  }
  return out;
}

bool Canvas::WriteBmp(const std::string& path) const {
  const std::vector<uint8_t> bytes = EncodeBmp();
  const std::string tmp = path + ".tmp";
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !ok) {
    std::remove(tmp.c_str());
    return false;
  }
  return std::rename(tmp.c_str(), path.c_str()) == 0;
}

void Shade(Canvas& c, Rect area, const InsideFn& inside, const ColourFn& colour, bool hard) {
  constexpr int kSub = 4;
  for (int y = std::max(0, area.t); y < std::min(c.H(), area.b); ++y)
    for (int x = std::max(0, area.l); x < std::min(c.W(), area.r); ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSub; ++sy)
        for (int sx = 0; sx < kSub; ++sx)
          if (inside(x + (sx + 0.5) / kSub, y + (sy + 0.5) / kSub)) ++hits;
      if (hits == 0) continue;
      const double a = double(hits) / (kSub * kSub);
      if (hard) {
        if (a >= 0.5) c.Set(x, y, colour(x + 0.5, y + 0.5));
      } else {
        c.Blend(x, y, colour(x + 0.5, y + 0.5), a);
      }
    }
}

namespace {
Rect Around(double cx, double cy, double r) {
  return {static_cast<int>(std::floor(cx - r)) - 1, static_cast<int>(std::floor(cy - r)) - 1,
          static_cast<int>(std::ceil(cx + r)) + 1, static_cast<int>(std::ceil(cy + r)) + 1};
}
ColourFn Flat(Rgb col) {
  return [col](double, double) { return col; };
}
}  // namespace

void Disc(Canvas& c, double cx, double cy, double r, Rgb col, bool hard) {
  Shade(
      c, Around(cx, cy, r),
      [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; },
      Flat(col), hard);
}

void Ring(Canvas& c, double cx, double cy, double r, double width, Rgb col, bool hard) {
  const double inner = std::max(0.0, r - width);
  Shade(
      c, Around(cx, cy, r),
      [=](double x, double y) {
        const double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        return d2 <= r * r && d2 >= inner * inner;
      },
      Flat(col), hard);
}

bool InRoundRect(Rect r, double radius, double x, double y) {
  if (x < r.l || x > r.r || y < r.t || y > r.b) return false;
  const double qx = std::max({r.l + radius - x, 0.0, x - (r.r - radius)});
  const double qy = std::max({r.t + radius - y, 0.0, y - (r.b - radius)});
  return qx * qx + qy * qy <= radius * radius;
}

void RoundRect(Canvas& c, Rect r, double radius, Rgb col, bool hard) {
  Shade(
      c, r, [=](double x, double y) { return InRoundRect(r, radius, x, y); }, Flat(col), hard);
}

void RoundRectGradient(Canvas& c, Rect r, double radius, Rgb top, Rgb bottom, bool hard) {
  Shade(
      c, r, [=](double x, double y) { return InRoundRect(r, radius, x, y); },
      [=](double, double y) { return Mix(top, bottom, (y - r.t) / std::max(1, r.H())); }, hard);
}

void Line(Canvas& c, double x0, double y0, double x1, double y1, double width, Rgb col, bool hard) {
  const double hw = width / 2;
  const Rect area{static_cast<int>(std::floor(std::min(x0, x1) - hw)) - 1,
                  static_cast<int>(std::floor(std::min(y0, y1) - hw)) - 1,
                  static_cast<int>(std::ceil(std::max(x0, x1) + hw)) + 1,
                  static_cast<int>(std::ceil(std::max(y0, y1) + hw)) + 1};
  const double dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
  Shade(
      c, area,
      [=](double x, double y) {
        double t = len2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        const double px = x0 + t * dx - x, py = y0 + t * dy - y;
        return px * px + py * py <= hw * hw;
      },
      Flat(col), hard);
}

void Polygon(Canvas& c, const std::vector<std::pair<double, double>>& pts, Rgb col, bool hard) {
  double minx = 1e9, miny = 1e9, maxx = -1e9, maxy = -1e9;
  for (auto [x, y] : pts) {
    minx = std::min(minx, x);
    miny = std::min(miny, y);
    maxx = std::max(maxx, x);
    maxy = std::max(maxy, y);
  }
  const Rect area{static_cast<int>(std::floor(minx)), static_cast<int>(std::floor(miny)),
                  static_cast<int>(std::ceil(maxx)) + 1, static_cast<int>(std::ceil(maxy)) + 1};
  Shade(
      c, area,
      [&pts](double x, double y) {
        bool in = false;
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
          const auto [xi, yi] = pts[i];
          const auto [xj, yj] = pts[j];
          if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
        }
        return in;
      },
      Flat(col), hard);
}

void Stone(Canvas& c, double cx, double cy, double r, bool black, bool hard) {
  // Light from the upper left: a soft highlight and a darker rim.
  Shade(
      c, Around(cx, cy, r),
      [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; },
      [=](double x, double y) {
        const double nx = (x - cx) / r, ny = (y - cy) / r;
        const double d = std::sqrt(nx * nx + ny * ny);
        const double hx = nx + 0.38, hy = ny + 0.42;
        const double spot = std::exp(-(hx * hx + hy * hy) * (black ? 9.0 : 3.0));
        if (black) {
          const double base = 22 + 26 * (1 - d);
          const double v = base + 150 * spot;
          return Rgb{Clamp8(v), Clamp8(v), Clamp8(v + 6)};
        }
        const double base = 200 + 40 * (1 - d * d) + 18 * spot;
        return Rgb{Clamp8(base), Clamp8(base - 2), Clamp8(base - 12)};
      },
      hard);
}

void WoodFill(Canvas& c, Rect r, const Wood& wood, uint32_t seed, bool vertical) {
  for (int y = std::max(0, r.t); y < std::min(c.H(), r.b); ++y)
    for (int x = std::max(0, r.l); x < std::min(c.W(), r.r); ++x) {
      // Grain runs along the long axis: stretch the noise along it.
      const double u = vertical ? y : x, v = vertical ? x : y;
      const double warp = Fbm(u * 0.004, v * 0.02, seed, 3) * 14.0;
      const double rings = 0.5 + 0.5 * std::sin((v * 0.18 * wood.ringScale) + warp);
      const double fibre = Fbm(u * 0.03, v * 0.9, seed + 11, 2);
      double t = 0.55 * rings * rings + 0.45 * fibre;
      t = std::clamp(t * 1.1 - 0.05, 0.0, 1.0);
      c.Set(x, y, Mix(wood.light, wood.dark, t));
    }
}

void Bevel(Canvas& c, Rect r, int d, Rgb light, Rgb dark, bool sunken) {
  if (sunken) std::swap(light, dark);
  for (int i = 0; i < d; ++i) {
    for (int x = r.l + i; x < r.r - i; ++x) {
      c.Set(x, r.t + i, light);
      c.Set(x, r.b - 1 - i, dark);
    }
    for (int y = r.t + i; y < r.b - i; ++y) {
      c.Set(r.l + i, y, light);
      c.Set(r.r - 1 - i, y, dark);
    }
  }
}

}  // namespace pic

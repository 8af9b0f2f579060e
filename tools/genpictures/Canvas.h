// A small 24-bit drawing surface for the picture generator: fills, wood, shapes with
// supersampled edges, blits and the BMP encoding the game's loader expects.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pic {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// The loader turns these into its transparent pixel: green 255 with red and blue at most 8.
constexpr Rgb kKey{0, 255, 0};
bool IsKey(Rgb c);

Rgb Mix(Rgb a, Rgb b, double t);  // t = 0 gives a
Rgb Scale(Rgb c, double f);       // brightness, clamped

struct Rect {
  int l = 0, t = 0, r = 0, b = 0;  // right and bottom exclusive
  int W() const { return r - l; }
  int H() const { return b - t; }
  Rect Inset(int d) const { return {l + d, t + d, r - d, b - d}; }
  Rect Moved(int dx, int dy) const { return {l + dx, t + dy, r + dx, b + dy}; }
  bool Contains(int x, int y) const { return x >= l && x < r && y >= t && y < b; }
};

// Deterministic hashing and smooth noise; the output must not depend on the run.
uint32_t Hash(int x, int y, uint32_t seed);
double Noise(double x, double y, uint32_t seed);             // 0..1, smooth
double Fbm(double x, double y, uint32_t seed, int octaves);  // 0..1

class Canvas {
 public:
  Canvas(int w, int h, Rgb fill = kKey);

  int W() const { return w_; }
  int H() const { return h_; }
  Rect Bounds() const { return {0, 0, w_, h_}; }

  Rgb Get(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }
  void Set(int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[static_cast<size_t>(y) * w_ + x] = c;
  }
  void Blend(int x, int y, Rgb c, double a);

  void Fill(Rect r, Rgb c);
  void VGradient(Rect r, Rgb top, Rgb bottom);
  // Copies src rectangle to (dx, dy); keyed skips key pixels of the source.
  void Blit(const Canvas& src, Rect from, int dx, int dy, bool keyed = false);
  Canvas Crop(Rect r) const;

  // 24-bit, bottom-up, rows padded to 4 bytes, nothing after the pixels.
  std::vector<uint8_t> EncodeBmp() const;
  bool WriteBmp(const std::string& path) const;

 private:
  int w_, h_;
  std::vector<Rgb> px_;
};

// Area painting with 4 x 4 supersampling. `inside` decides coverage at sub-pixel points,
// `colour` gives the colour at the pixel centre. A hard edge sets a pixel only when at least
// half of it is covered, so keyed sprites never get edges blended toward the key.
using InsideFn = std::function<bool(double, double)>;
using ColourFn = std::function<Rgb(double, double)>;
void Shade(Canvas& c, Rect area, const InsideFn& inside, const ColourFn& colour, bool hard = false);

void Disc(Canvas& c, double cx, double cy, double r, Rgb col, bool hard = false);
void Ring(Canvas& c, double cx, double cy, double r, double width, Rgb col, bool hard = false);
void RoundRect(Canvas& c, Rect r, double radius, Rgb col, bool hard = false);
void RoundRectGradient(Canvas& c, Rect r, double radius, Rgb top, Rgb bottom, bool hard = false);
void Line(Canvas& c, double x0, double y0, double x1, double y1, double width, Rgb col,
          bool hard = false);
void Polygon(Canvas& c, const std::vector<std::pair<double, double>>& pts, Rgb col,
             bool hard = false);
bool InRoundRect(Rect r, double radius, double x, double y);

// A shaded go stone; `black` picks the colour. Edges hard when `hard`.
void Stone(Canvas& c, double cx, double cy, double r, bool black, bool hard = false);

struct Wood {
  Rgb light, dark;
  double ringScale = 1.0;  // density of the growth rings
};
void WoodFill(Canvas& c, Rect r, const Wood& wood, uint32_t seed, bool vertical = false);

// Raised (or sunken) frame of `d` pixels.
void Bevel(Canvas& c, Rect r, int d, Rgb light, Rgb dark, bool sunken = false);

}  // namespace pic

#include <cmath>

#include "Pictures.h"
#include "Style.h"

namespace pic {

using namespace pal;

namespace {

constexpr double kPi = 3.14159265358979323846;

bool InCapsule(double x, double y, double x0, double y0, double x1, double y1, double r) {
  const double dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0;
  t = std::fmin(1.0, std::fmax(0.0, t));
  const double px = x0 + t * dx - x, py = y0 + t * dy - y;
  return px * px + py * py <= r * r;
}

// Arrow whose outline apex is the hot spot (32, 32) of the frame at ox.
void Arrow(Canvas& c, int ox, int frame) {
  const std::vector<std::pair<double, double>> pts = {{33.0, 33.0}, {33.0, 53.5}, {38.0, 48.5},
                                                      {42.0, 57.0}, {45.5, 55.5}, {41.5, 47.0},
                                                      {48.5, 47.0}};
  auto inside = [&](double x, double y) {
    x -= ox;
    bool in = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      const auto [xi, yi] = pts[i];
      const auto [xj, yj] = pts[j];
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
  };
  // A gold glint runs down the arrow across the frames.
  const double glint = 62 + 10 * frame;
  auto fill = [=](double x, double y) {
    const double d = std::fabs((x - ox) + y - glint);
    const Rgb base = Mix(Rgb{255, 252, 240}, Rgb{226, 206, 170}, (y - 33) / 24.0);
    return d < 2.5 ? Mix(base, kGold, 1 - d / 2.5) : base;
  };
  OutlinedShape(c, {ox + 30, 30, ox + 52, 60}, inside, fill, kInk);
}

// Pointing hand, finger tip outline at the hot spot.
bool InHand(double x, double y) {
  return InCapsule(x, y, 36.0, 37.0, 36.0, 50.0, 3.6) ||  // index finger
         InCapsule(x, y, 40.2, 45.0, 40.2, 51.0, 2.6) ||  // middle
         InCapsule(x, y, 44.4, 46.0, 44.4, 52.0, 2.6) ||  // ring
         InCapsule(x, y, 48.2, 47.5, 48.2, 53.0, 2.3) ||  // little
         InCapsule(x, y, 29.0, 47.0, 33.0, 54.0, 2.8) ||  // thumb
         InRoundRect({33, 47, 51, 62}, 4.5, x, y);        // palm
}

void Hand(Canvas& c, int ox, bool pressed) {
  const Rgb skin = pressed ? Rgb{236, 206, 168} : Rgb{255, 238, 212};
  const Rgb shade = pressed ? Rgb{206, 168, 126} : Rgb{232, 200, 160};
  OutlinedShape(
      c, {ox + 20, 30, ox + 52, 64},
      [=](double x, double y) { return InHand(x - ox + 4, y) && y < 63; },
      [=](double x, double) { return Mix(skin, shade, std::fmax(0.0, (x - ox - 32) / 18.0)); },
      kInk);
  // Creases between the fingers.
  for (int fx : {38, 42, 46}) c.Fill({ox + fx, 45, ox + fx + 1, 51}, shade);
}

void Sparkle(Canvas& c, double cx, double cy, double r) {
  if (r <= 0) return;
  auto star = [=](double x, double y) {
    const double dx = std::fabs(x - cx), dy = std::fabs(y - cy);
    return (dx * 4 + dy <= r * 1.2) || (dy * 4 + dx <= r * 1.2);
  };
  OutlinedShape(
      c, {int(cx - r) - 2, int(cy - r) - 2, int(cx + r) + 3, int(cy + r) + 3}, star,
      [](double, double) {
        return Rgb{255, 226, 120};
      },
      kInk);
}

}  // namespace

int CursorFrames(int shape) { return shape == 3 ? 8 : 4; }

Canvas MakeCursor(int shape) {
  const int frames = CursorFrames(shape);
  Canvas c(kCursorFrame * frames, kCursorFrame, kKey);
  for (int f = 0; f < frames; ++f) {
    const int ox = f * kCursorFrame;
    switch (shape) {
      case 0: Arrow(c, ox, f); break;
      case 1: {
        static const double size[4] = {2.0, 3.5, 5.0, 3.5};
        Sparkle(c, ox + 22, 22, size[f]);
        Hand(c, ox, false);
        break;
      }
      case 2: {
        // Ripples spread from the finger tip.
        const double r = 6 + 4 * f;
        Shade(
            c, {ox, 0, ox + 64, 64},
            [=](double x, double y) {
              const double d = std::hypot(x - ox - 32, y - 32);
              return std::fabs(d - r) <= 1.0 && y < 40;
            },
            [](double, double) { return kGold; }, true);
        Hand(c, ox, true);
        break;
      }
      default: {
        // Eight stones in a ring turning a quarter turn per cycle (the ring repeats every
        // two stones, so the last frame runs smoothly into the first).
        for (int k = 0; k < 8; ++k) {
          const double a = k * kPi / 4 + f * (kPi / 2) / frames - kPi / 2;
          const double cx = ox + 32 + 12 * std::cos(a), cy = 32 + 12 * std::sin(a);
          const bool black = k % 2 == 0;
          Disc(c, cx, cy, 5.2, black ? Rgb{240, 230, 200} : kInk, true);
          Stone(c, cx, cy, 4.2, black, true);
        }
        c.Fill({ox + 31, 31, ox + 34, 34}, kLacquer);
        break;
      }
    }
  }
  return c;
}

}  // namespace pic

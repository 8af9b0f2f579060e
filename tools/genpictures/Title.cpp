#include <cmath>

#include "Pictures.h"
#include "Style.h"

namespace pic {

using namespace pal;

namespace {

constexpr double kPi = 3.14159265358979323846;

// The swinging lantern's strip: screen (125, 29)-(250, 389), pivot at its top centre.
constexpr Rect kLanternArea{125, 29, 250, 389};
constexpr int kTitleFrames = 11;
constexpr double kSwingDegrees = 7.0;

// Glyph pixels sampled by the lantern painter in its own rotated co-ordinates.
struct GlyphSampler {
  Canvas mask;
  bool At(double x, double y) const {
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    return ix >= 0 && iy >= 0 && ix < mask.W() && iy < mask.H() && !IsKey(mask.Get(ix, iy));
  }
};

void Lantern(Canvas& c, double px, double py, double angle, const GlyphSampler& glyph) {
  const double cs = std::cos(angle), sn = std::sin(angle);
  auto local = [=](double x, double y, double& u, double& v) {
    const double dx = x - px, dy = y - py;
    u = dx * cs - dy * sn;
    v = dx * sn + dy * cs;
  };
  constexpr double kBodyV = 236, kBodyRu = 30, kBodyRv = 47;
  auto part = [&](double u, double v) -> int {
    if (v >= 290 && v <= 342) {
      const double half = v < 302 ? 3.0 : 3.0 + (v - 302) * 0.22;
      if (std::fabs(u) <= half) return v < 302 ? 2 : 5;
    }
    if (v >= 278 && v <= 290 && std::fabs(u) <= 17) return 2;  // bottom cap
    if (v >= 180 && v <= 192 && std::fabs(u) <= 17) return 2;  // top cap
    if (v >= 172 && v <= 180 && std::fabs(u) <= 5) return 2;   // knob
    const double eu = u / kBodyRu, ev = (v - kBodyV) / kBodyRv;
    if (eu * eu + ev * ev <= 1.0) return 3;                   // body
    if (v >= 0 && v <= 172 && std::fabs(u) <= 1.1) return 1;  // cord
    return 0;
  };
  Shade(
      c, c.Bounds(),
      [&](double x, double y) {
        double u, v;
        local(x, y, u, v);
        return part(u, v) != 0;
      },
      [&](double x, double y) {
        double u, v;
        local(x, y, u, v);
        switch (part(u, v)) {
          case 1: return Rgb{150, 104, 40};
          case 2: {
            const double lum = 0.6 + 0.4 * std::cos(u / 18.0 * kPi / 2);
            return Scale(kGold, lum);
          }
          case 3: {
            const double eu = std::clamp(u / kBodyRu, -1.0, 1.0);
            const double lum = 0.5 + 0.55 * std::cos(std::asin(eu)) - 0.1 * eu;
            const double ribPhase = std::asin(eu) / (kPi / 8);
            const bool rib = std::fabs(ribPhase - std::round(ribPhase)) < 0.08;
            Rgb col = Scale(Rgb{214, 46, 30}, lum);
            if (rib) col = Scale(col, 0.7);
            const double gu = u + 16, gv = v - kBodyV + 16;
            if (glyph.At(gu, gv)) col = Mix(kGold, Rgb{255, 244, 190}, std::fmax(0.0, -eu));
            return col;
          }
          case 5: {
            const bool stripe = static_cast<int>(std::floor(u * 1.3 + 50)) % 2 == 0;
            return stripe ? Rgb{196, 40, 28} : Rgb{150, 26, 18};
          }
          default: return Rgb{0, 0, 0};
        }
      });
}

double SwingAngle(int frame) {
  return kSwingDegrees * kPi / 180 * std::cos(kPi * frame / (kTitleFrames - 1));
}

Canvas TitleBackground(const Font& f) {
  Canvas c(640, 480);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const Rgb base = Mix(Rgb{96, 36, 20}, Rgb{34, 12, 6}, y / 479.0);
      const double n = Fbm(x * 0.012, y * 0.02, 77, 4);
      c.Set(x, y, Mix(base, Rgb{140, 62, 30}, std::fmax(0.0, n - 0.55) * 1.6));
    }
  // The beam the lantern hangs from.
  WoodFill(c, {40, 12, 300, 29}, FrameWood(), 5);
  Bevel(c, {40, 12, 300, 29}, 1, {150, 96, 54}, {24, 10, 4});
  for (int x : {40, 292}) c.Fill({x, 10, x + 8, 31}, kGoldDark);
  // A board corner with a winning line.
  const Rect board{300, 222, 616, 446};
  c.Fill(board.Moved(4, 4), Rgb{20, 8, 4});
  WoodFill(c, board, TableWood(), 9);
  Bevel(c, board, 2, {244, 210, 160}, {110, 66, 30});
  for (int i = 0; i < 14; ++i) {
    const int x = board.l + 16 + 22 * i;
    if (x < board.r - 8) c.Fill({x, board.t + 14, x + 1, board.b - 12}, kInk);
  }
  for (int j = 0; j < 10; ++j) {
    const int y = board.t + 14 + 22 * j;
    if (y < board.b - 8) c.Fill({board.l + 16, y, board.r - 14, y + 1}, kInk);
  }
  auto at = [&](int i, int j, bool black) {
    const double x = board.l + 16.5 + 22 * i, y = board.t + 14.5 + 22 * j;
    Disc(c, x + 1.5, y + 1.5, 9.5, Rgb{90, 56, 24});
    Stone(c, x, y, 9.5, black);
  };
  for (int k = 0; k < 5; ++k) at(3 + k, 2 + k, true);
  const int whites[][2] = {{4, 2}, {5, 3}, {7, 3}, {6, 6}, {8, 5}, {2, 4}, {9, 7}};
  for (auto& w : whites) at(w[0], w[1], false);
  for (int k = 0; k < 5; ++k) {
    const double x = board.l + 16.5 + 22 * (3 + k), y = board.t + 14.5 + 22 * (2 + k);
    Ring(c, x, y, 11.5, 1.6, kGold);
  }
  Bowl(c, 70, 428, false, 21);
  Bowl(c, 214, 440, true, 22);
  // Title.
  DrawTextIn(c, f, {300, 40, 616, 120}, "五子棋", HeadingStyle(4));
  TextStyle latin = HeadingStyle(4);
  latin.top = {255, 252, 236};
  latin.bottom = {222, 198, 150};
  DrawTextIn(c, f, {300, 122, 616, 200}, "Tavex", latin);
  TextStyle hint = Plain(kCream);
  hint.shadow = true;
  hint.shadowColour = kInk;
  DrawTextIn(c, f, {300, 450, 616, 472}, "請按滑鼠左鍵開始", hint);
  return c;
}

}  // namespace

Canvas MakeTitle(const Font& f) {
  const Canvas bg = TitleBackground(f);
  GlyphSampler glyph{Canvas(34, 34)};
  DrawText(glyph.mask, f, 1, 1, "棋", Plain(kGold, 2));
  Canvas out(640 + kTitleFrames * 125, 480, Rgb{0, 0, 0});
  out.Blit(bg, bg.Bounds(), 0, 0);
  for (int n = 0; n < kTitleFrames; ++n) {
    Canvas frame = bg.Crop(kLanternArea);
    Lantern(frame, kLanternArea.W() / 2.0, 0, SwingAngle(n), glyph);
    out.Blit(frame, frame.Bounds(), 640 + 125 * n, 0);
    if (n == 0) out.Blit(frame, frame.Bounds(), kLanternArea.l, kLanternArea.t);
  }
  // Rows below the frames are never shown; keep them the backdrop colour.
  out.Fill({640, 360, out.W(), 480}, Rgb{34, 12, 6});
  return out;
}

Canvas MakeLoading(const Font& f) {
  Canvas c(256, 96, kKey);
  const Rect r = c.Bounds();
  RoundRect(c, r, 16, kInk, true);
  RoundRect(c, r.Inset(2), 14, kGold, true);
  RoundRectGradient(c, r.Inset(4), 12, kLacquerLight, kLacquerDark, true);
  RoundRect(c, r.Inset(9), 8, kGoldDark, true);
  RoundRectGradient(c, r.Inset(10), 7, kLacquer, Rgb{120, 24, 16}, true);
  DrawTextIn(c, f, {40, 10, 216, 86}, "載入中...", HeadingStyle(2));
  Stone(c, 28, 48, 10, true, true);
  Stone(c, 228, 48, 10, false, true);
  return c;
}

}  // namespace pic

#include <cmath>

#include "Pictures.h"
#include "Style.h"

namespace pic {

using namespace pal;

namespace {

constexpr int kW = 72, kH = 92;

// Strength and style of the thirty roster characters: older, greyer faces for the strong,
// warmer robes for the aggressive.
constexpr int kLevel[30] = {0, 4, 1, 0, 3, 5, 5, 7, 6, 1, 2, 5, 0, 2, 3,
                            5, 2, 0, 7, 1, 4, 2, 4, 6, 3, 8, 1, 4, 3, 6};
constexpr int kStyle[30] = {0, 0, 0, 3, 0, 0, 3, 0, 0, 3, 0, 6, 6, 3, 3,
                            8, 6, 8, 8, 6, 3, 8, 6, 4, 6, 4, 8, 8, 8, 8};

void Ellipse(Canvas& c, double cx, double cy, double rx, double ry, Rgb col) {
  Shade(
      c, {int(cx - rx) - 1, int(cy - ry) - 1, int(cx + rx) + 2, int(cy + ry) + 2},
      [=](double x, double y) {
        const double u = (x - cx) / rx, v = (y - cy) / ry;
        return u * u + v * v <= 1;
      },
      [=](double, double) { return col; });
}

void Portrait(Canvas& c, int ox, int oy, int id) {
  const uint32_t h = Hash(id, 17, 4242);
  auto pick = [&](int shift, int n) { return static_cast<int>((h >> shift) % n); };
  const int level = kLevel[id], style = kStyle[id];
  static const Rgb backs[6] = {{92, 120, 150}, {150, 120, 80},  {110, 140, 110},
                               {140, 96, 120}, {170, 150, 110}, {90, 100, 120}};
  const Rgb back = backs[pick(0, 6)];
  c.VGradient({ox, oy, ox + kW, oy + kH}, Scale(back, 1.25), Scale(back, 0.7));
  static const Rgb skins[4] = {{244, 208, 170}, {226, 184, 140}, {200, 150, 106}, {250, 222, 190}};
  const Rgb skin = skins[pick(3, 4)];
  const Rgb skinShade = Scale(skin, 0.82);
  Rgb hair;
  if (level >= 6)
    hair = pick(5, 2) ? Rgb{236, 236, 230} : Rgb{190, 190, 186};
  else if (level >= 4)
    hair = pick(5, 2) ? Rgb{110, 104, 98} : Rgb{40, 34, 30};
  else
    hair = pick(5, 3) == 0 ? Rgb{96, 60, 30} : Rgb{26, 20, 16};
  const Rgb robe = style <= 1   ? kJade
                   : style <= 4 ? Rgb{170, 130, 60}
                   : style <= 6 ? kLacquer
                                : Rgb{120, 20, 40};
  const double cx = ox + 36, headY = oy + 40 + pick(7, 3);
  const double rx = 15 + pick(9, 4), ry = 19 + pick(11, 4);
  const int hairStyle = pick(13, 6);
  const bool longHair = hairStyle == 1;

  // Hair behind the head.
  if (longHair) Ellipse(c, cx, headY + 8, rx + 5, ry + 12, hair);
  // Robe and collar.
  Ellipse(c, cx, oy + kH + 8, 34, 26, robe);
  Polygon(c, {{cx - 10, oy + 70.0}, {cx + 10, oy + 70.0}, {cx, oy + 86.0}}, kCream);
  Polygon(c, {{cx - 6, oy + 70.0}, {cx + 6, oy + 70.0}, {cx, oy + 80.0}}, skinShade);
  c.Fill({int(cx) - 5, int(headY + ry - 6), int(cx) + 5, oy + 72}, skinShade);
  // Ears and head.
  Ellipse(c, cx - rx, headY + 2, 3.5, 5, skinShade);
  Ellipse(c, cx + rx, headY + 2, 3.5, 5, skinShade);
  Ellipse(c, cx, headY, rx, ry, skin);
  // Hair on top.
  switch (hairStyle) {
    case 0:
    case 1:
      Shade(
          c, {ox, oy, ox + kW, int(headY)},
          [=](double x, double y) {
            const double u = (x - cx) / (rx + 1), v = (y - headY + 4) / (ry + 1);
            return u * u + v * v <= 1 && y < headY - ry * 0.45 + std::fabs(x - cx) * 0.5;
          },
          [=](double, double) { return hair; });
      break;
    case 2:  // bun
      Ellipse(c, cx, headY - ry - 2, 7, 6, hair);
      Ellipse(c, cx, headY - ry * 0.6, rx, ry * 0.45, hair);
      break;
    case 3:  // bald with sides
      Ellipse(c, cx - rx + 2, headY - 4, 4, 7, hair);
      Ellipse(c, cx + rx - 2, headY - 4, 4, 7, hair);
      break;
    case 4:  // topknot with a pin
      Ellipse(c, cx, headY - ry * 0.55, rx, ry * 0.5, hair);
      Ellipse(c, cx, headY - ry - 3, 5, 5, hair);
      Line(c, cx - 9, headY - ry - 3, cx + 9, headY - ry - 3, 1.6, kGold);
      break;
    default:  // scholar's cap
      c.Fill({int(cx - rx - 2), int(headY - ry - 4), int(cx + rx + 3), int(headY - ry * 0.45)},
             kInk);
      c.Fill({int(cx - 5), int(headY - ry - 8), int(cx + 6), int(headY - ry - 3)}, kInk);
      c.Fill(
          {int(cx - rx - 2), int(headY - ry * 0.45) - 2, int(cx + rx + 3), int(headY - ry * 0.45)},
          kGoldDark);
      break;
  }
  // Face: brows slant inward for the aggressive, eyes, nose, mouth.
  const double eyeY = headY + 1, eyeDx = 6.5 + pick(15, 2);
  const double slant = (style - 4) * 0.5;
  for (int s = -1; s <= 1; s += 2) {
    const double ex = cx + s * eyeDx;
    Line(c, ex + 4 * s, eyeY - 6 - slant * 0.5, ex - 4 * s, eyeY - 6 + slant * 0.5, 1.8,
         level >= 6 ? Rgb{210, 210, 204} : Rgb{40, 30, 24});
    Ellipse(c, ex, eyeY, 2.4, 1.8, kInk);
    c.Set(int(ex), int(eyeY) - 1, Rgb{255, 255, 255});
  }
  if (pick(17, 4) == 0) {  // spectacles
    Ring(c, cx - eyeDx, eyeY, 5, 1.1, kInk);
    Ring(c, cx + eyeDx, eyeY, 5, 1.1, kInk);
    Line(c, cx - eyeDx + 5, eyeY, cx + eyeDx - 5, eyeY, 1.1, kInk);
  }
  Line(c, cx, eyeY + 2, cx - 1.5, eyeY + 8, 1.4, skinShade);
  const double mouthY = headY + ry * 0.55;
  const int mouth = pick(19, 3);
  if (mouth == 0) {
    Line(c, cx - 5, mouthY, cx + 5, mouthY, 1.5, Rgb{150, 60, 50});
  } else {
    Shade(
        c, {int(cx) - 8, int(mouthY) - 4, int(cx) + 9, int(mouthY) + 5},
        [=](double x, double y) {
          const double u = x - cx, d = mouth == 1 ? 1 : -1;
          const double curve = mouthY + d * (3 - u * u / 10);
          return std::fabs(u) <= 5.5 && std::fabs(y - curve) <= 0.8;
        },
        [](double, double) {
          return Rgb{150, 60, 50};
        });
  }
  // Beards grow with strength.
  const int beard = level >= 5 ? 1 + pick(21, 2) : level >= 3 ? pick(21, 2) : 0;
  const Rgb beardCol = level >= 6 ? Rgb{244, 244, 240} : hair;
  if (beard >= 1) {
    Line(c, cx - 7, mouthY - 3, cx - 1, mouthY - 4, 2, beardCol);
    Line(c, cx + 1, mouthY - 4, cx + 7, mouthY - 3, 2, beardCol);
  }
  if (beard == 2)
    Polygon(c, {{cx - 6, mouthY + 3}, {cx + 6, mouthY + 3}, {cx, mouthY + 18}}, beardCol);
  // Frame.
  Bevel(c, {ox, oy, ox + kW, oy + kH}, 1, Scale(back, 1.5), Scale(back, 0.4));
}

void ComputerPortrait(Canvas& c, int ox, int oy) {
  c.VGradient({ox, oy, ox + kW, oy + kH}, Rgb{40, 70, 80}, Rgb{10, 24, 30});
  const double cx = ox + 36;
  Line(c, cx, oy + 8, cx, oy + 18, 2, Rgb{180, 190, 196});
  Disc(c, cx, oy + 7, 3.5, kLacquerLight);
  RoundRectGradient(c, {ox + 14, oy + 18, ox + 58, oy + 62}, 8, Rgb{210, 216, 220},
                    Rgb{120, 130, 140});
  RoundRect(c, {ox + 19, oy + 26, ox + 53, oy + 44}, 4, Rgb{20, 40, 44});
  Disc(c, cx - 8, oy + 35, 4, Rgb{120, 255, 230});
  Disc(c, cx + 8, oy + 35, 4, Rgb{120, 255, 230});
  for (int k = 0; k < 5; ++k)
    c.Fill({ox + 24 + 5 * k, oy + 50, ox + 27 + 5 * k, oy + 55}, Rgb{60, 70, 80});
  c.Fill({ox + 30, oy + 62, ox + 42, oy + 68}, Rgb{100, 110, 120});
  RoundRectGradient(c, {ox + 6, oy + 68, ox + 66, oy + 98}, 10, Rgb{170, 180, 190},
                    Rgb{90, 100, 110});
  Stone(c, cx - 10, oy + 80, 5, true);
  Stone(c, cx + 10, oy + 80, 5, false);
  Bevel(c, {ox, oy, ox + kW, oy + kH}, 1, Rgb{120, 160, 170}, Rgb{0, 10, 14});
}

void HumanPortrait(Canvas& c, int ox, int oy) {
  c.VGradient({ox, oy, ox + kW, oy + kH}, Rgb{236, 214, 170}, Rgb{176, 136, 84});
  const double cx = ox + 36;
  Ellipse(c, cx, oy + kH + 6, 33, 28, kJade);
  Ellipse(c, cx, oy + 40, 17, 21, kJadeDark);
  Ellipse(c, cx, oy + 40, 15, 19, Rgb{92, 170, 136});
  Ellipse(c, cx - 4, oy + 32, 4, 6, Rgb{150, 214, 184});
  Stone(c, cx - 8, oy + 80, 5, true);
  Stone(c, cx + 8, oy + 80, 5, false);
  Bevel(c, {ox, oy, ox + kW, oy + kH}, 1, Rgb{255, 240, 210}, Rgb{90, 60, 30});
}

}  // namespace

Canvas MakePlayers(const Font&) {
  Canvas c(720, 368, Rgb{40, 24, 12});
  // Each face is drawn on its own card so nothing spills onto a neighbour.
  Canvas card(kW, kH);
  for (int id = 0; id < 30; ++id) {
    Portrait(card, 0, 0, id);
    c.Blit(card, card.Bounds(), (id % 10) * kW, (id / 10) * kH);
  }
  ComputerPortrait(card, 0, 0);
  c.Blit(card, card.Bounds(), 0, 276);
  HumanPortrait(card, 0, 0);
  c.Blit(card, card.Bounds(), 72, 276);
  return c;
}

}  // namespace pic

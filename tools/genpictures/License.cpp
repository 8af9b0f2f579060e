#include "Pictures.h"
#include "Style.h"

namespace pic {

using namespace pal;

namespace {

constexpr Rect kSheet{36, 30, 604, 434};
constexpr Rect kBadge{207, 145, 487, 241};
// The two offer lines are written in yellow from (40, 445) and (40, 461).
constexpr Rect kFooter{8, 439, 632, 472};

// The grade the certificate names for the highest level passed.
constexpr const char* kGrades[12] = {"十級", "十級", "十級", "九級", "九級", "八級",
                                     "八級", "七級", "七級", "六級", "六級", "五級"};

Rect BadgeRect(int level) {
  return level < 6 ? Rect{280, 480 + 96 * level, 560, 576 + 96 * level}
                   : Rect{0, 480 + 96 * (level - 6), 280, 576 + 96 * (level - 6)};
}

// Lacquer plaque with the grade, a stone either side and one gold pip per level passed, so
// levels that share a grade still differ.
void GradeBadge(Canvas& c, const Font& f, Rect r, int level) {
  c.Fill(r, kInk);
  c.VGradient(r.Inset(1), {255, 236, 160}, kGoldDark);
  c.Fill(r.Inset(4), kInk);
  c.VGradient(r.Inset(5), kLacquerLight, kLacquerDark);
  Bevel(c, r.Inset(5), 1, {236, 120, 90}, {70, 10, 6});
  DrawTextIn(c, f, {r.l, r.t + 2, r.r, r.t + 82}, kGrades[level], HeadingStyle(4));
  Stone(c, r.l + 40, r.t + 44, 19, true);
  Stone(c, r.r - 40, r.t + 44, 19, false);
  const int pips = level + 1;
  const double x0 = r.l + 140 - (pips - 1) * 5.0;
  for (int i = 0; i < pips; ++i) {
    Disc(c, x0 + 10 * i, r.t + 85.5, 3.2, kInk);
    Disc(c, x0 + 10 * i, r.t + 85.5, 2.3, kGold);
  }
}

void Sheet(Canvas& c, const Font& f) {
  c.Fill(kSheet, kInk);
  c.VGradient(kSheet.Inset(2), kLacquer, kLacquerDark);
  c.Fill(kSheet.Inset(8), kGold);
  Parchment(c, kSheet.Inset(10), 951);
  c.Fill({kSheet.l + 15, kSheet.t + 15, kSheet.r - 15, kSheet.t + 16}, kGoldDark);
  c.Fill({kSheet.l + 15, kSheet.b - 16, kSheet.r - 15, kSheet.b - 15}, kGoldDark);
  for (auto [x, y] : {std::pair{kSheet.l + 4, kSheet.t + 4},
                      {kSheet.r - 5, kSheet.t + 4},
                      {kSheet.l + 4, kSheet.b - 5},
                      {kSheet.r - 5, kSheet.b - 5}}) {
    Disc(c, x + 0.5, y + 0.5, 9, kInk);
    Disc(c, x + 0.5, y + 0.5, 7.5, kGold);
    Stone(c, x + 0.5, y + 0.5, 5, (x < 320) == (y < 200));
  }
  DrawTextIn(c, f, {kSheet.l, 34, kSheet.r, 106}, "棋力證書", HeadingStyle(4));
  TextStyle ink = Plain(kInk);
  ink.shadow = true;
  ink.shadowColour = {255, 248, 226};
  DrawTextIn(c, f, {kSheet.l, 108, kSheet.r, 130}, "五子棋電腦程式棋力鑑定", ink);
  // Badge socket; the badge of the level always covers its inside.
  c.Fill(kBadge.Inset(-6), kInk);
  c.Fill(kBadge.Inset(-5), kGold);
  c.Fill(kBadge.Inset(-2), kInk);
  c.Fill(kBadge, {40, 20, 10});
  int y = 266;
  for (const char* line : {"茲證明持有本證者通過五子棋棋力檢定，", "經電腦鑑定，棋力達到上列段級，",
                           "特頒此證，以資證明。"}) {
    DrawTextIn(c, f, {kSheet.l, y, kSheet.r, y + 18}, line, ink);
    y += 24;
  }
  // Signature and seal.
  DrawText(c, f, 96, 372, "鑑定：", ink);
  TextStyle sign = HeadingStyle(2);
  sign.top = {90, 60, 40};
  sign.bottom = kInk;
  sign.outlineColour = kParchment;
  sign.shadow = false;
  DrawText(c, f, 146, 357, "Tavex", sign);
  c.Fill({96, 392, 260, 393}, kGoldDark);
  const Rect seal{470, 340, 538, 408};
  RoundRect(c, seal, 6, kLacquer);
  RoundRect(c, seal.Inset(3), 4, {250, 236, 210});
  RoundRect(c, seal.Inset(5), 3, kLacquer);
  TextStyle stamp = Plain({250, 236, 210}, 2);
  stamp.vertical = false;
  DrawTextIn(c, f, {seal.l, seal.t + 1, seal.r, seal.t + 34}, "棋力", stamp);
  DrawTextIn(c, f, {seal.l, seal.t + 32, seal.r, seal.b - 1}, "鑑定", stamp);
}

}  // namespace

Canvas MakeLicense(const Font& f) {
  Canvas c(640, 1056, kKey);
  ScreenBackground(c, 950);
  Sheet(c, f);
  // Dark footer for the yellow offer under the Renju rule set; empty under free-style.
  c.VGradient(kFooter, {58, 30, 14}, {26, 12, 4});
  c.Fill({kFooter.l, kFooter.t, kFooter.r, kFooter.t + 1}, kGoldDark);

  for (int level = 0; level < 12; ++level) GradeBadge(c, f, BadgeRect(level), level);
  DrawTitleSprites(c, {561, 498, 579, 498, 597, 498, 615, 498, 579, 480});
  return c;
}

}  // namespace pic

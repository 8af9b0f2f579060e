#include "Pictures.h"
#include "Style.h"

namespace pic {

using namespace pal;

namespace {

constexpr Rect kBack{298, 417, 348, 467};
constexpr Rect kSheet{68, 96, 569, 398};
constexpr int kDivider = 320;
// Lines are written from (123, 146 + 23 i) on the left and (376, 146 + 23 i) on the right.
constexpr int kLineLeft[2] = {123, 376};
constexpr int kLineTop = 146, kLinePitch = 23;

struct Tab {
  Rect dest;
  int spriteX;
  const char* caption;
};
// Each column's three lists: tournament A, tournament B, ladder.
constexpr Tab kTabs[6] = {
    {{41, 98, 65, 160}, 100, "錦標賽"},    {{34, 170, 58, 232}, 125, "世界賽"},
    {{28, 248, 52, 310}, 150, "檢定"},     {{569, 95, 593, 157}, 175, "錦標賽"},
    {{576, 167, 600, 229}, 200, "世界賽"}, {{582, 245, 606, 307}, 225, "檢定"}};

// A vertical tab; the chosen list's tab is jade with gold writing, like a lit menu item.
void TabFace(Canvas& c, const Font& f, Rect r, const char* caption, bool chosen) {
  RoundRect(c, r, 6, kInk, true);
  RoundRect(c, r.Inset(1), 5, chosen ? kGold : kFrame, true);
  RoundRectGradient(c, r.Inset(2), 4, chosen ? Rgb{86, 178, 138} : Rgb{150, 98, 54},
                    chosen ? kJadeDark : Rgb{96, 58, 28}, true);
  TextStyle st = CaptionStyle(1, chosen);
  st.vertical = true;
  DrawTextIn(c, f, r.Moved(chosen ? 1 : 0, chosen ? 1 : 0), caption, st);
}

void Sheet(Canvas& c, const Font& f) {
  Parchment(c, kSheet, 901);
  c.Fill({kDivider - 1, kSheet.t + 8, kDivider + 1, kSheet.b - 8}, kGoldDark);
  DrawTextIn(c, f, {kSheet.l, 100, kDivider, 138}, "自由規則", HeadingStyle(2));
  DrawTextIn(c, f, {kDivider, 100, kSheet.r, 138}, "連珠規則", HeadingStyle(2));
  TextStyle num = Plain(kLacquerDark);
  num.shadow = true;
  num.shadowColour = {255, 240, 210};
  for (int col = 0; col < 2; ++col) {
    const int from = col == 0 ? kSheet.l + 6 : kDivider + 5,
              to = col == 0 ? kDivider - 5 : kSheet.r - 6;
    c.Fill({from, 140, to, 141}, kGoldDark);
    for (int i = 0; i < 10; ++i) {
      const int y = kLineTop + kLinePitch * i;
      char text[4];
      text[0] = i == 9 ? '1' : static_cast<char>('1' + i);
      text[1] = i == 9 ? '0' : '.';
      text[2] = i == 9 ? '.' : 0;
      text[3] = 0;
      DrawText(c, f, kLineLeft[col] - 4 - Measure(text, num).w, y, text, num);
      if (i < 9) c.Fill({from, y + 20, to, y + 21}, kParchmentDark);
    }
  }
}

}  // namespace

Canvas MakeTopList(const Font& f) {
  Canvas c(640, 542, kKey);
  ScreenBackground(c, 900);
  ModeHeading(c, f, {40, 24, 600, 94}, "排行榜", kLacquer);
  Sheet(c, f);
  for (const Tab& t : kTabs) TabFace(c, f, t.dest, t.caption, false);
  Bowl(c, 84, 428, true, 902);
  Bowl(c, 556, 428, false, 903);
  RoundButton(c, f, kBack, "返回", false);

  // Keyed sprites: the button and the tabs keep their round corners.
  RoundButton(c, f, {0, 480, 50, 530}, "返回", true);
  for (const Tab& t : kTabs) TabFace(c, f, {t.spriteX, 480, t.spriteX + 24, 542}, t.caption, true);
  DrawTitleSprites(c, {250, 498, 268, 498, 286, 498, 304, 498, 268, 480});
  return c;
}

}  // namespace pic

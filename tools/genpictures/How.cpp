#include "Pictures.h"
#include "Style.h"

namespace pic {

using namespace pal;

namespace {

// Rule-set lines the screen makes clickable; the box sits at their left end.
constexpr Rect kFreeLine{134, 127, 258, 152};
constexpr Rect kRenjuLine{134, 234, 378, 259};
constexpr Rect kBack{296, 416, 346, 466};

void Paragraph(Canvas& c, const Font& f, int x, int y, std::initializer_list<const char*> lines) {
  TextStyle st = Plain(kInk);
  st.shadow = true;
  st.shadowColour = {255, 248, 226};
  for (const char* line : lines) {
    DrawText(c, f, x, y, line, st);
    y += 20;
  }
}

void RuleLine(Canvas& c, const Font& f, Rect line, const char* caption) {
  CheckBox(c, {line.l, line.t, line.l + 25, line.b});
  TextStyle st = Plain(kLacquerDark);
  st.shadow = true;
  st.shadowColour = {255, 236, 200};
  DrawText(c, f, line.l + 32, line.t + 4, caption, st);
}

}  // namespace

Canvas MakeHow(const Font& f) {
  Canvas c(640, 530, kKey);
  ScreenBackground(c, 400);
  Parchment(c, {96, 32, 544, 408}, 401);
  DrawTextIn(c, f, {96, 38, 544, 80}, "遊戲說明", HeadingStyle(2));
  Paragraph(
      c, f, 134, 86,
      {"黑白雙方輪流在棋盤的交叉點上落子，黑方先下。", "先在橫、直或斜線上連成五子的一方獲勝。"});
  RuleLine(c, f, kFreeLine, "自由規則");
  Paragraph(c, f, 134, 160,
            {"任何一方連成五子或五子以上都算獲勝，", "雙方都沒有禁手。",
             "點選規則前的方框即可切換規則。"});
  RuleLine(c, f, kRenjuLine, "連珠規則（黑方有禁手）");
  Paragraph(c, f, 134, 266,
            {"黑方不得下出以下的禁手，白方沒有限制：", "[雙活三] 一子同時形成兩個活三",
             "[雙四]   一子同時形成兩個四", "[長連]   連成六子或六子以上",
             "黑方下出禁手時，電腦會提出警告。", "對局中會提示 [活三] [死四] [活四] 等棋型。"});
  RoundButton(c, f, kBack, "返回", false);

  // Sprites.
  Tick(c, {0, 480, 25, 505});
  RoundButton(c, f, {25, 480, 75, 530}, "返回", true);
  DrawTitleSprites(c, {126, 498, 144, 498, 162, 498, 180, 498, 144, 480});
  return c;
}

}  // namespace pic

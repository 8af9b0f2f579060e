#include "Pictures.h"
#include "Style.h"

namespace pic {

using namespace pal;

namespace {

struct Item {
  Rect dest;
  int hoverX, hoverY, pressedX, pressedY;
  const char* caption;
  bool studs = true;  // the two rule-set marks are a pair and must look alike
};

// Main menu items in the order the screen numbers them.
const Item kMainItems[] = {
    {{151, 212, 302, 263}, 0, 480, 0, 636, "自由規則", false},
    {{61, 261, 302, 312}, 152, 480, 152, 636, "連珠規則", false},
    {{155, 399, 256, 450}, 394, 480, 394, 636, "離開"},
    {{299, 167, 537, 218}, 0, 532, 0, 688, "自由對局"},
    {{345, 211, 537, 262}, 239, 532, 239, 688, "錦標賽"},
    {{392, 257, 537, 308}, 432, 532, 432, 688, "世界賽"},
    {{346, 306, 537, 357}, 0, 584, 0, 740, "棋力檢定"},
    {{300, 353, 537, 404}, 192, 584, 192, 740, "排行榜"},
    {{346, 399, 537, 450}, 430, 584, 430, 740, "遊戲說明"},
};

void ItemSprites(Canvas& c, const Font& f, const Item& it, int margin) {
  const Rect hover{it.hoverX, it.hoverY, it.hoverX + it.dest.W(), it.hoverY + it.dest.H()};
  const Rect pressed{it.pressedX, it.pressedY, it.pressedX + it.dest.W(),
                     it.pressedY + it.dest.H()};
  Clear(c, hover);
  Clear(c, pressed);
  MenuItem(c, f, hover, it.caption, Look::Hover, margin, it.studs);
  MenuItem(c, f, pressed, it.caption, Look::Pressed, margin, it.studs);
}

}  // namespace

Canvas MakeMainMenu(const Font& f) {
  Canvas c(641, 791, kKey);
  ScreenBackground(c, 101);
  DrawTextIn(c, f, {120, 34, 520, 108}, "五子棋", HeadingStyle(4));
  TextStyle latin = HeadingStyle(2);
  latin.top = {255, 252, 236};
  latin.bottom = {214, 186, 136};
  DrawTextIn(c, f, {120, 108, 520, 148}, "Tavex", latin);

  TextStyle label = Plain(kInk);
  label.shadow = true;
  label.shadowColour = {246, 220, 170};
  DrawText(c, f, 160, 192, "選擇規則", label);
  c.Fill({160, 210, 300, 211}, kGoldDark);
  Bowl(c, 74, 352, false, 4);
  Bowl(c, 100, 424, true, 3);

  for (const Item& it : kMainItems) MenuItem(c, f, it.dest, it.caption, Look::Idle);
  SpeakerButton(c, {589, 431, 625, 467}, false);

  for (const Item& it : kMainItems) ItemSprites(c, f, it, 4);
  DrawTitleSprites(c, {569, 498, 587, 498, 605, 498, 624, 498, 587, 480});
  c.Blit(c, {589, 431, 625, 467}, 532, 480);
  SpeakerButton(c, {532, 480, 568, 516}, true);
  return c;
}

Canvas MakeGameMenu(const Font& f, int kind) {
  static const char* const kAbout[] = {"與七位棋手循環對局，積分最高者奪冠",
                                       "高手雲集的循環賽，對手棋力更強",
                                       "十二級棋力檢定，每級對局四盤"};
  Canvas c(640, 665, kKey);
  ScreenBackground(c, 200 + kind);
  ModeHeading(c, f, {40, 44, 600, 116}, ModeName(kind), ModeAccent(kind));
  const Item items[] = {
      {{190, 138, 460, 199}, 0, 480, 271, 480, "新遊戲"},
      {{190, 200, 460, 261}, 0, 542, 271, 542, "繼續遊戲"},
      {{190, 253, 460, 314}, 0, 604, 271, 604, "返回"},
  };
  const Rect note{150, 340, 490, 392};
  Parchment(c, note, 300 + kind);
  TextStyle about = Plain(kInk);
  about.shadow = true;
  about.shadowColour = {255, 246, 222};
  DrawTextIn(c, f, note, kAbout[kind], about);
  for (const Item& it : items) MenuItem(c, f, it.dest, it.caption, Look::Idle, 5);
  for (const Item& it : items) ItemSprites(c, f, it, 5);
  DrawTitleSprites(c, {542, 498, 560, 498, 578, 498, 596, 498, 560, 480});
  return c;
}

}  // namespace pic

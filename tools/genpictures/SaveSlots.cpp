#include "Pictures.h"
#include "Style.h"

namespace pic {

using namespace pal;

namespace {

constexpr Rect kConfirm{272, 326, 320, 374};
constexpr Rect kCancel{328, 326, 376, 374};

// Slot s is clickable on (176, 176 + 24 s)-(461, 198 + 24 s); its label is written from x 200.
Rect SlotLine(int s) { return {176, 176 + 24 * s, 461, 198 + 24 * s}; }

// A light plate the label is written on (dark brown when chosen, grey otherwise), with the
// slot's number in a seal in front of the label.
void SlotPlate(Canvas& c, const Font& f, int s) {
  // Two rows higher than the clickable line, so its frame stays clear of the label's rows.
  const Rect r = SlotLine(s).Moved(0, -2);
  c.Fill(r, kGoldDark);
  c.VGradient(r.Inset(1), {255, 250, 234}, {238, 224, 192});
  Bevel(c, r.Inset(1), 1, {255, 255, 246}, {214, 190, 146});
  const Rect seal{r.l + 3, r.t + 3, r.l + 19, r.b - 3};
  RoundRect(c, seal, 3, kLacquerDark, true);
  RoundRectGradient(c, seal.Inset(1), 2, kLacquerLight, kLacquer, true);
  const char digit[2] = {static_cast<char>('1' + s), 0};
  TextStyle st = Plain({255, 240, 200});
  DrawTextIn(c, f, seal.Moved(0, 0), digit, st);
}

}  // namespace

Canvas MakeSaveSlots(const Font& f, int kind) {
  Canvas c(640, 528, kKey);
  ScreenBackground(c, 800 + kind);
  ModeHeading(c, f, {40, 30, 600, 102}, ModeName(kind), ModeAccent(kind));
  const Rect sheet{140, 110, 500, 388};
  Parchment(c, sheet, 810 + kind);
  DrawTextIn(c, f, {sheet.l, 118, sheet.r, 164}, "選擇存檔", HeadingStyle(2));
  c.Fill({176, 167, 461, 168}, kGoldDark);
  for (int s = 0; s < 6; ++s) SlotPlate(c, f, s);
  c.Fill({176, 321, 461, 322}, kGoldDark);
  RoundButton(c, f, kConfirm, "確定", false);
  RoundButton(c, f, kCancel, "取消", false);

  TextStyle hint = CaptionStyle(1, false);
  hint.shadow = true;
  hint.shadowColour = {60, 30, 12};
  DrawTextIn(c, f, {40, 400, 600, 430}, "點選存檔位置，再按確定", hint);
  Bowl(c, 84, 420, true, 810);
  Bowl(c, 556, 420, false, 811);

  PressedRoundButton(c, f, kConfirm, 0, 480, "確定");
  PressedRoundButton(c, f, kCancel, 49, 480, "取消");
  DrawTitleSprites(c, {569, 498, 587, 498, 605, 498, 623, 498, 587, 480});
  return c;
}

}  // namespace pic

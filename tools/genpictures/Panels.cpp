#include "BoardChoice.h"
#include "Pictures.h"
#include "Style.h"

namespace pic {

using namespace pal;

namespace {

// Wooden panel body shared by the two small panels; green outside its rounded outline.
void PanelBody(Canvas& c, Rect r, uint32_t seed) {
  RoundRect(c, r, 10, kInk, true);
  RoundRect(c, r.Inset(1), 9, kGoldDark, true);
  Canvas wood(r.W(), r.H());
  WoodFill(wood, wood.Bounds(), FrameWood(), seed);
  const Rect face = r.Inset(3);
  Shade(
      c, face, [=](double x, double y) { return InRoundRect(face, 7, x, y); },
      [&](double x, double y) { return wood.Get(int(x) - r.l, int(y) - r.t); }, true);
}

void SwitchButton(Canvas& c, const Font& f, Rect r, const char* column, const char* caption,
                  bool lit) {
  RoundRect(c, r, 6, kInk, true);
  RoundRect(c, r.Inset(1), 5, lit ? kGold : Rgb{120, 80, 44}, true);
  RoundRectGradient(c, r.Inset(2), 4, lit ? Rgb{96, 190, 150} : Rgb{104, 66, 34},
                    lit ? kJadeDark : Rgb{60, 34, 16}, true);
  TextStyle small = Plain(lit ? Rgb{255, 240, 170} : Rgb{222, 196, 150});
  small.shadow = true;
  small.shadowColour = lit ? Rgb{16, 52, 40} : kInk;
  DrawTextIn(c, f, {r.l, r.t + 2, r.r, r.t + 20}, column, small);
  TextStyle big = Plain(lit ? kGold : Rgb{200, 176, 140}, 2);
  big.top = lit ? Rgb{255, 250, 210} : Rgb{226, 204, 168};
  DrawTextIn(c, f, {r.l, r.t + 19, r.r, r.b - 1}, caption, big);
}

}  // namespace

Canvas MakeSoundSet(const Font& f) {
  Canvas c(228, 136, kKey);
  const Rect panel{0, 0, 120, 136};
  PanelBody(c, panel, 500);
  const Rect buttons[4] = {
      {14, 13, 55, 65}, {14, 67, 55, 119}, {66, 13, 107, 65}, {66, 67, 107, 119}};
  const char* captions[4] = {"開", "關", "開", "關"};
  const char* columns[4] = {"音樂", "音樂", "音效", "音效"};
  for (int i = 0; i < 4; ++i) SwitchButton(c, f, buttons[i], columns[i], captions[i], false);
  for (int i = 0; i < 4; ++i) Disc(c, 20.5 + 27 * i, 127.5, 2.2, kGoldDark, true);
  // Lit buttons 121 px to the right, drawn opaque: their corners come from the panel.
  for (int i = 0; i < 4; ++i) {
    const Rect lit = buttons[i].Moved(121, 0);
    c.Blit(c, buttons[i], lit.l, lit.t);
    SwitchButton(c, f, lit, columns[i], captions[i], true);
  }
  return c;
}

Canvas MakeBoardSet(const Font&) {
  Canvas c(184, 93, kKey);
  PanelBody(c, {0, 0, 184, 52}, 600);
  for (int i = 0; i < BOARD_CHOICES; ++i) {
    BoardThumb(c, {12 + 31 * i, 8, 41 + 31 * i, 37}, i, false);
    BoardThumb(c, {15 + 31 * i, 64, 44 + 31 * i, 93}, i, true);
  }
  // Gold studs under the buttons tie the row together.
  for (int i = 0; i < BOARD_CHOICES; ++i) Disc(c, 26.5 + 31 * i, 44.5, 2.2, kGoldDark, true);
  return c;
}

}  // namespace pic

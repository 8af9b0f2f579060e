#include <cmath>

#include "Pictures.h"
#include "Style.h"

namespace pic {

using namespace pal;

namespace {

// The cross table: row p and column q meet in the cell whose mark the screen draws at
// (255 + 26 q, 146 + 26 p); names are written from (144, 146 + 26 p), points centred in
// 463-512.
constexpr int kPitch = 26;
constexpr int kGridLeft = 251, kGridTop = 143;
constexpr int kNameLeft = 140, kPointsRight = 512;
constexpr int kNumberLeft = 114, kHeadTop = 115;
constexpr Rect kPlay{278, 417, 326, 465};
constexpr Rect kAbandon{334, 417, 382, 465};
constexpr Rect kContinue{298, 417, 346, 465};
constexpr int kMarkX[5] = {0, 35, 54, 73, 92};  // by result code

// Result marks: a small seal per result code, hard-edged on green.
void Mark(Canvas& c, const Font& f, int x, int y, int code) {
  const Rect r{x, y, x + 19, y + 21};
  Clear(c, r);
  static const char* const kGlyph[5] = {"", "勝", "負", "和", "對"};
  struct Look {
    Rgb top, bottom, ink;
  };
  static const Look kLook[5] = {{},
                                {kLacquerLight, kLacquerDark, {255, 232, 150}},
                                {{150, 156, 168}, {84, 90, 104}, {255, 255, 255}},
                                {{255, 226, 140}, {196, 144, 56}, kInk},
                                {{96, 190, 150}, kJadeDark, {255, 246, 200}}};
  const Look& look = kLook[code];
  RoundRect(c, r, 4, kInk, true);
  RoundRectGradient(c, r.Inset(1), 3, look.top, look.bottom, true);
  DrawTextIn(c, f, r, kGlyph[code], Plain(look.ink));
}

void HeaderCell(Canvas& c, Rect r, Rgb accent) {
  c.VGradient(r, Scale(accent, 1.25), Scale(accent, 0.7));
}

void DrawTable(Canvas& c, const Font& f, int world) {
  const Rgb accent = ModeAccent(world);
  const Rect table{kNumberLeft, kHeadTop, kPointsRight + 1, kGridTop + 8 * kPitch + 1};
  c.Fill(table.Inset(-2), kInk);
  c.Fill(table.Inset(-1), kGoldDark);
  // Heading row and number column.
  HeaderCell(c, {table.l, table.t, table.r, kGridTop}, accent);
  HeaderCell(c, {table.l, kGridTop, kNameLeft, table.b}, accent);
  // Body: dark enough for the red names and white points; the human's row a little warmer.
  for (int p = 0; p < 8; ++p) {
    const int y = kGridTop + kPitch * p;
    const Rgb body = p == 0 ? Rgb{86, 54, 30} : p % 2 ? Rgb{52, 32, 18} : Rgb{62, 38, 22};
    c.Fill({kNameLeft, y, table.r, y + kPitch}, body);
    // The diagonal never gets a mark: hatched.
    const Rect self{kGridLeft + kPitch * p, y, kGridLeft + kPitch * (p + 1), y + kPitch};
    c.Fill(self, {30, 18, 10});
    for (int yy = self.t; yy < self.b; ++yy)
      for (int xx = self.l; xx < self.r; ++xx)
        if ((xx + yy) % 5 == 0) c.Set(xx, yy, {96, 64, 28});
  }
  // Grid lines.
  for (int p = 0; p <= 8; ++p)
    c.Fill({table.l, kGridTop + kPitch * p, table.r, kGridTop + kPitch * p + 1}, kGoldDark);
  for (int q = 0; q <= 8; ++q)
    c.Fill({kGridLeft + kPitch * q, table.t, kGridLeft + kPitch * q + 1, table.b}, kGoldDark);
  c.Fill({kNameLeft, table.t, kNameLeft + 1, table.b}, kGoldDark);
  // Participant numbers along both edges, column captions.
  TextStyle head = CaptionStyle(1, true);
  for (int i = 0; i < 8; ++i) {
    const char num[2] = {static_cast<char>('1' + i), 0};
    DrawTextIn(c, f, {kGridLeft + kPitch * i + 1, table.t, kGridLeft + kPitch * (i + 1), kGridTop},
               num, head);
    DrawTextIn(c, f, {table.l, kGridTop + kPitch * i + 1, kNameLeft, kGridTop + kPitch * (i + 1)},
               num, head);
  }
  DrawTextIn(c, f, {kNameLeft, table.t, kGridLeft, kGridTop}, "棋手", head);
  DrawTextIn(c, f, {kGridLeft + 8 * kPitch, table.t, table.r, kGridTop}, "積分", head);
  Bevel(c, table.Inset(-3), 1, kGold, kFrame);
}

void Legend(Canvas& c, const Font& f, Rect r, int y) {
  Parchment(c, r, 830);
  TextStyle st = Plain(kInk);
  st.shadow = true;
  st.shadowColour = {255, 246, 222};
  static const char* const kText[5] = {"", "2分", "0分", "1分", "本輪對局"};
  constexpr int kGap = 22;
  int width = -kGap;
  for (int code = 1; code <= 4; ++code) width += 24 + Measure(kText[code], st).w + kGap;
  int x = r.l + (r.W() - width) / 2;
  for (int code : {1, 3, 2, 4}) {
    c.Blit(c, {kMarkX[code], 480, kMarkX[code] + 19, 501}, x, y, true);
    x += 24;
    x += DrawText(c, f, x, y + 2, kText[code], st).w + kGap;
  }
}

// A gold cup on a wooden plinth.
void Trophy(Canvas& c, double cx, double top) {
  const Rgb hi{255, 236, 160};
  auto gold = [=](double x, double) {
    const double t = std::clamp((x - (cx - 40)) / 80, 0.0, 1.0);
    const double lum = 0.55 + 0.55 * std::sin(t * 3.14159265358979323846) - 0.2 * t;
    return Mix(kGoldDark, hi, std::clamp(lum - 0.35, 0.0, 1.0));
  };
  // Handles behind the bowl.
  Ring(c, cx - 36, top + 30, 14, 6, kInk);
  Ring(c, cx + 36, top + 30, 14, 6, kInk);
  Ring(c, cx - 36, top + 30, 14, 3.6, kGold);
  Ring(c, cx + 36, top + 30, 14, 3.6, kGold);
  const Rect bowl{int(cx - 42), int(top - 2), int(cx + 42), int(top + 76)};
  Shade(
      c, bowl,
      [=](double x, double y) {
        const double u = (x - cx) / 40.5, v = (y - top) / 74.5;
        return v >= 0 && u * u + v * v <= 1;
      },
      [](double, double) { return kInk; });
  Shade(
      c, bowl,
      [=](double x, double y) {
        const double u = (x - cx) / 38.5, v = (y - top - 1.5) / 71;
        return v >= 0 && u * u + v * v <= 1;
      },
      gold);
  c.Fill({int(cx - 40), int(top - 2), int(cx + 41), int(top + 3)}, kInk);
  c.Fill({int(cx - 39), int(top - 1), int(cx + 40), int(top + 2)}, hi);
  // Stem, knot and plinth.
  c.Fill({int(cx - 6), int(top + 74), int(cx + 7), int(top + 100)}, kInk);
  Shade(
      c, {int(cx - 5), int(top + 74), int(cx + 6), int(top + 100)},
      [](double, double) { return true; }, gold);
  Disc(c, cx + 0.5, top + 84, 9, kInk);
  Disc(c, cx + 0.5, top + 84, 7.5, kGold);
  RoundRect(c, {int(cx - 30), int(top + 98), int(cx + 31), int(top + 110)}, 3, kInk);
  RoundRectGradient(c, {int(cx - 29), int(top + 99), int(cx + 30), int(top + 109)}, 2, hi,
                    kGoldDark);
  const Rect plinth{int(cx - 44), int(top + 110), int(cx + 45), int(top + 146)};
  c.Fill(plinth, kInk);
  WoodFill(c, plinth.Inset(1), FrameWood(), 850);
  Bevel(c, plinth.Inset(1), 1, {150, 96, 54}, {30, 14, 6});
  const Rect plate = plinth.Inset(9);
  c.Fill(plate, kGoldDark);
  c.VGradient(plate.Inset(1), hi, kGold);
  // A black and a white stone on the cup.
  Stone(c, cx - 9, top + 36, 10, true);
  Stone(c, cx + 9, top + 36, 10, false);
}

// Place 1-3: label, medal, and the light plaque the screen writes the line on from (220, y).
void PlaceLine(Canvas& c, const Font& f, int place, int y) {
  static const char* const kLabel[3] = {"冠軍", "亞軍", "季軍"};
  static const Rgb kMedal[3][2] = {{{255, 236, 150}, {196, 140, 40}},
                                   {{246, 246, 250}, {150, 156, 170}},
                                   {{236, 176, 120}, {146, 84, 40}}};
  const Rect plaque{84, y - 12, 480, y + 30};
  c.Fill(plaque.Inset(-2), kInk);
  Parchment(c, plaque, 860 + place);
  DrawTextIn(c, f, {90, y - 12, 160, y + 30}, kLabel[place], HeadingStyle(2));
  const double cx = 190, cy = y + 9;
  Polygon(c, {{cx - 14, cy - 21}, {cx - 4, cy - 21}, {cx + 4, cy}, {cx - 6, cy}}, kLacquer);
  Polygon(c, {{cx + 4, cy - 21}, {cx + 14, cy - 21}, {cx + 6, cy}, {cx - 4, cy}}, kJade);
  Disc(c, cx, cy + 2, 15, kInk);
  Shade(
      c, {int(cx - 15), int(cy - 13), int(cx + 16), int(cy + 18)},
      [=](double x, double yy) { return std::hypot(x - cx, yy - cy - 2) <= 13.8; },
      [=](double, double yy) {
        return Mix(kMedal[place][0], kMedal[place][1], (yy - cy + 12) / 28);
      });
  Ring(c, cx, cy + 2, 10.5, 1, kMedal[place][1]);
  const char num[2] = {static_cast<char>('1' + place), 0};
  DrawTextIn(c, f, {int(cx) - 8, int(cy) - 7, int(cx) + 9, int(cy) + 12}, num, Plain(kInk));
}

}  // namespace

Canvas MakeTable(const Font& f, int world) {
  Canvas c(640, 528, kKey);
  ScreenBackground(c, 820 + world);
  ModeHeading(c, f, {40, 30, 600, 100}, ModeName(world), ModeAccent(world));
  for (int code = 1; code <= 4; ++code) Mark(c, f, kMarkX[code], 480, code);
  DrawTable(c, f, world);
  Legend(c, f, {150, 364, 490, 396}, 369);
  RoundButton(c, f, kPlay, "開始", false);
  RoundButton(c, f, kAbandon, "放棄", false);

  PressedRoundButton(c, f, kPlay, 111, 480, "開始");
  PressedRoundButton(c, f, kAbandon, 161, 480, "放棄");
  DrawTitleSprites(c, {542, 498, 560, 498, 578, 498, 596, 498, 328, 480});
  return c;
}

Canvas MakeStandings(const Font& f, int world) {
  Canvas c(640, 545, kKey);
  ScreenBackground(c, 840 + world);
  ModeHeading(c, f, {40, 26, 600, 96}, "最終排名", ModeAccent(world));
  TextStyle sub = CaptionStyle(2, false);
  sub.shadow = true;
  sub.shadowColour = {60, 30, 12};
  DrawTextIn(c, f, {40, 100, 600, 138}, ModeName(world), sub);
  for (int i = 0; i < 3; ++i) PlaceLine(c, f, i, 180 + 77 * i);
  Trophy(c, 552, 190);
  RoundButton(c, f, kContinue, "繼續", false);

  PressedRoundButton(c, f, kContinue, 440, 480, "繼續");
  DrawTitleSprites(c, {0, 528, 18, 528, 36, 528, 54, 528, 18, 510});
  return c;
}

}  // namespace pic

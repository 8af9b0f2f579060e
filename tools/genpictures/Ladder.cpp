#include <algorithm>
#include <cmath>
#include <vector>

#include "Pictures.h"
#include "Style.h"

namespace pic {

using namespace pal;

namespace {

constexpr int kRowPitch = 63;
constexpr Rect kPlay{278, 417, 326, 465};
constexpr Rect kAbandon{334, 417, 382, 465};
constexpr Rect kLevelSlot{412, 139, 492, 175};
constexpr Rect kInfo{395, 196, 549, 377};

// What passing each level earns, as the top-ten ladder list names it.
constexpr const char* kLevelNames[12] = {"六級", "五級", "四級", "三級", "二級", "一級",
                                         "一段", "二段", "三段", "四段", "五段", "六段"};

Rect LevelRect(int level) {
  const int l = level < 6 ? 483 : 402, t = 665 - 37 * (level % 6);
  return {l, t, l + 80, t + 36};
}

Rect DigitRect(int d) {  // the strip reads 1 ... 9, 0
  const int l = d == 0 ? 303 : 150 + 17 * (d - 1);
  return {l, 677, l + 16, 702};
}

// --- background ------------------------------------------------------------------------------

// One dark board holds the four opponent rows on the left and the level and information
// area on the right.
void Board(Canvas& c) {
  const Rect board{88, 119, 556, 387};
  RoundRect(c, board, 9, kInk);
  RoundRect(c, board.Inset(1), 8, kGoldDark);
  Canvas wood(board.W(), board.H());
  WoodFill(wood, wood.Bounds(), FrameWood(), 880);
  const Rect face = board.Inset(3);
  Shade(
      c, face, [=](double x, double y) { return InRoundRect(face, 6, x, y); },
      [&](double x, double y) { return wood.Get(int(x) - board.l, int(y) - board.t); });
  for (int i = 1; i < 4; ++i)
    c.Fill({92, 121 + kRowPitch * i, 389, 122 + kRowPitch * i}, kGoldDark);
  c.Fill({390, 122, 392, 384}, kGoldDark);
}

void OpponentRow(Canvas& c, const Font& f, int i) {
  static const char* const kGame[4] = {"第一局", "第二局", "第三局", "第四局"};
  const int y = 122 + kRowPitch * i;
  // Portrait frame, the darker strip the name is written on, the game's number.
  c.Fill({97, y + 4, 139, y + 56}, kGold);
  c.Fill({99, y + 5, 137, y + 53}, kInk);
  c.Fill({140, y + 3, 216, y + 24}, {24, 12, 4});
  Bevel(c, {140, y + 3, 216, y + 24}, 1, {12, 6, 2}, {120, 80, 40});
  TextStyle game = Plain(kGold);
  game.top = {255, 240, 180};
  game.shadow = true;
  game.shadowColour = kInk;
  DrawText(c, f, 144, y + 33, kGame[i], game);
  // Empty socket where the game's outcome is stamped.
  Ring(c, 244, y + 31.5, 22, 1.2, kGoldDark);
}

void RightPanel(Canvas& c) {
  c.Fill(kLevelSlot.Inset(-4), kInk);
  c.Fill(kLevelSlot.Inset(-3), kGold);
  c.Fill(kLevelSlot.Inset(-1), kInk);
  c.Fill(kLevelSlot, {40, 22, 10});
  Stone(c, 518, 151, 9, true);
  Stone(c, 532, 164, 9, false);
  c.Fill(kInfo.Inset(-1), kInk);
  Parchment(c, kInfo, 891);
}

// --- sprites ---------------------------------------------------------------------------------

void Seal(Canvas& c, const Font& f, int x, int y, bool won) {
  const Rect r{x, y, x + 48, y + 47};
  Clear(c, r);
  const double cx = x + 24, cy = y + 23.5;
  Disc(c, cx, cy, 23.5, kInk, true);
  Shade(
      c, r, [=](double px, double py) { return std::hypot(px - cx, py - cy) <= 22; },
      [=](double, double py) {
        const double t = std::clamp((py - y) / 47.0, 0.0, 1.0);
        return won ? Mix(kLacquerLight, kLacquerDark, t)
                   : Mix(Rgb{150, 156, 168}, Rgb{70, 76, 90}, t);
      },
      true);
  Ring(c, cx, cy, 19.5, 1.2, won ? kGold : Rgb{210, 214, 222}, true);
  TextStyle st = CaptionStyle(2, won);
  DrawTextIn(c, f, r.Moved(1, 0), won ? "勝" : "負", st);
}

bool InPolygon(const std::vector<std::pair<double, double>>& pts, double x, double y) {
  bool in = false;
  for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
    const auto [xi, yi] = pts[i];
    const auto [xj, yj] = pts[j];
    if ((yi > y) != (yj > y) && x < xi + (y - yi) * (xj - xi) / (yj - yi)) in = !in;
  }
  return in;
}

void Marker(Canvas& c, const Font& f, int x, int y) {
  const Rect r{x, y, x + 80, y + 34};
  Clear(c, r);
  // Points left at the stone mark; the first ten columns stay clear so the stone shows.
  auto tag = [&](double d) {
    return std::vector<std::pair<double, double>>{{x + 10 + d * 2, y + 17.0},
                                                  {x + 25 + d, y + 2 + d},
                                                  {x + 80 - d, y + 2 + d},
                                                  {x + 80 - d, y + 32 - d},
                                                  {x + 25 + d, y + 32 - d}};
  };
  Polygon(c, tag(0), kInk, true);
  Polygon(c, tag(1), kGold, true);
  const auto face = tag(2.2);
  Shade(
      c, r, [&](double px, double py) { return InPolygon(face, px, py); },
      [=](double, double py) { return Mix(kLacquerLight, kLacquerDark, (py - y) / 34); }, true);
  DrawTextIn(c, f, {x + 24, y, x + 78, y + 34}, "下一局", CaptionStyle(1, true));
}

void SummaryHeading(Canvas& c, const Font& f, int x, int y) {
  Clear(c, {x, y, x + 144, y + 29});
  // The score digit goes between the two ribbons (x + 100 ... x + 116): left clear.
  for (Rect r : {Rect{x, y + 1, x + 98, y + 28}, Rect{x + 118, y + 1, x + 144, y + 28}}) {
    RoundRect(c, r, 5, kInk, true);
    RoundRect(c, r.Inset(1), 4, kGold, true);
    RoundRectGradient(c, r.Inset(2), 3, kLacquerLight, kLacquerDark, true);
  }
  DrawTextIn(c, f, {x, y + 1, x + 98, y + 28}, "本級得分", CaptionStyle(1, true));
  DrawTextIn(c, f, {x + 118, y + 1, x + 144, y + 28}, "分", CaptionStyle(1, true));
}

// A hanging scroll with the verdict written down it and an emblem below.
void Verdict(Canvas& c, const Font& f, int x, int y, bool pass) {
  Clear(c, {x, y, x + 70, y + 141});
  const Rect paper{x + 5, y + 5, x + 65, y + 136};
  c.Fill(paper, kInk);
  c.VGradient(paper.Inset(1), pass ? kCream : Rgb{226, 222, 210},
              pass ? kParchment : Rgb{190, 184, 170});
  for (int rod : {y, y + 133}) {
    RoundRect(c, {x + 2, rod, x + 68, rod + 8}, 3, kInk, true);
    RoundRectGradient(c, {x + 3, rod + 1, x + 67, rod + 7}, 2, {150, 96, 54}, {70, 38, 16}, true);
    Disc(c, x + 3.5, rod + 4, 3.5, kGold, true);
    Disc(c, x + 66.5, rod + 4, 3.5, kGold, true);
  }
  TextStyle st = HeadingStyle(2);
  st.vertical = true;
  st.shadowDx = st.shadowDy = 1;
  if (pass) {
    st.top = kLacquerLight;
    st.bottom = kLacquerDark;
  } else {
    st.top = {120, 124, 134};
    st.bottom = {50, 54, 64};
  }
  DrawTextIn(c, f, {x, y + 10, x + 70, y + 84}, pass ? "過關" : "失敗", st);
  const double cx = x + 35, cy = y + 108;
  if (pass) {
    Polygon(c, {{cx - 12, cy + 4}, {cx - 4, cy + 4}, {cx - 8, cy + 24}, {cx - 14, cy + 20}},
            kLacquer, true);
    Polygon(c, {{cx + 4, cy + 4}, {cx + 12, cy + 4}, {cx + 14, cy + 20}, {cx + 8, cy + 24}},
            kLacquer, true);
    Disc(c, cx, cy, 16, kInk, true);
    Disc(c, cx, cy, 14.8, kGold, true);
    Disc(c, cx, cy, 11.5, kGoldDark, true);
    Stone(c, cx, cy, 9, true, true);
  } else {
    Disc(c, cx, cy, 16, kInk, true);
    Disc(c, cx, cy, 14.8, {150, 150, 150}, true);
    Line(c, cx - 7, cy - 7, cx + 7, cy + 7, 3, kInk, true);
    Line(c, cx + 7, cy - 7, cx - 7, cy + 7, 3, kInk, true);
  }
}

void StoneMark(Canvas& c, int x, int y, bool black) {
  Clear(c, {x, y, x + 28, y + 29});
  Disc(c, x + 14, y + 14.5, 13.5, kInk, true);
  Stone(c, x + 14, y + 14.5, 12.3, black, true);
}

// A small board set up for the game about to begin.
void NextGamePicture(Canvas& c, const Font& f, int x, int y) {
  Clear(c, {x, y, x + 150, y + 171});
  DrawTextIn(c, f, {x, y + 2, x + 150, y + 40}, "準備對局", HeadingStyle(2));
  const Rect board{x + 17, y + 46, x + 133, y + 162};
  const BoardLook look = BoardStyle(0);
  RoundRect(c, board.Moved(3, 3), 4, {90, 60, 30}, true);
  RoundRect(c, board, 4, kInk, true);
  Canvas wood(board.W(), board.H());
  WoodFill(wood, wood.Bounds(), look.wood, 892);
  const Rect face = board.Inset(1);
  Shade(
      c, face, [=](double px, double py) { return InRoundRect(face, 3, px, py); },
      [&](double px, double py) { return wood.Get(int(px) - board.l, int(py) - board.t); }, true);
  constexpr int kLines = 7, kStep = 16;
  const int gx = board.l + 10, gy = board.t + 10;
  for (int i = 0; i < kLines; ++i) {
    c.Fill({gx + kStep * i, gy, gx + kStep * i + 1, gy + kStep * (kLines - 1) + 1}, look.line);
    c.Fill({gx, gy + kStep * i, gx + kStep * (kLines - 1) + 1, gy + kStep * i + 1}, look.line);
  }
  Disc(c, gx + kStep * 3 + 0.5, gy + kStep * 3 + 0.5, 2.5, look.line);
  const struct {
    int col, row;
    bool black;
  } stones[] = {{3, 3, true}, {4, 2, false}, {2, 4, true}, {4, 4, false}};
  for (const auto& s : stones)
    Stone(c, gx + kStep * s.col + 0.5, gy + kStep * s.row + 0.5, 7.2, s.black, true);
}

void ScoreDigit(Canvas& c, const Font& f, Rect r, int d) {
  Clear(c, r);
  const char text[2] = {static_cast<char>('0' + d), 0};
  TextStyle st = HeadingStyle(2);
  st.top = kLacquerLight;
  st.bottom = kLacquerDark;
  st.outlineColour = kInk;
  st.shadowDx = st.shadowDy = 1;
  // Rendered large, then the inked part centred in the cell.
  Canvas big(40, 40);
  DrawText(big, f, 2, 2, text, st);
  Rect ink{40, 40, 0, 0};
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      if (!IsKey(big.Get(x, y)))
        ink = {std::min(ink.l, x), std::min(ink.t, y), std::max(ink.r, x + 1),
               std::max(ink.b, y + 1)};
  c.Blit(big, ink, r.l + (r.W() - ink.W()) / 2, r.t + (r.H() - ink.H()) / 2);
}

void LevelName(Canvas& c, const Font& f, Rect r, int level) {
  const bool dan = level >= 6;
  c.Fill(r, kInk);
  c.Fill(r.Inset(1), kGold);
  c.VGradient(r.Inset(2), dan ? kLacquerLight : Rgb{86, 178, 138}, dan ? kLacquerDark : kJadeDark);
  TextStyle st = HeadingStyle(2);
  st.shadowDx = st.shadowDy = 1;
  DrawTextIn(c, f, r.Moved(0, 1), kLevelNames[level], st);
}

}  // namespace

Canvas MakeLadder(const Font& f) {
  Canvas c(640, 840, kKey);
  ScreenBackground(c, 870);
  ModeHeading(c, f, {40, 28, 600, 98}, ModeName(2), ModeAccent(2));
  Board(c);
  for (int i = 0; i < 4; ++i) OpponentRow(c, f, i);
  RightPanel(c);
  Bowl(c, 64, 420, true, 871);
  Bowl(c, 578, 420, false, 872);
  RoundButton(c, f, kPlay, "開始", false);
  RoundButton(c, f, kAbandon, "放棄", false);

  Seal(c, f, 0, 480, true);
  Seal(c, f, 49, 480, false);
  Marker(c, f, 99, 480);
  SummaryHeading(c, f, 180, 480);
  Verdict(c, f, 260, 510, true);
  Verdict(c, f, 331, 510, false);
  StoneMark(c, 564, 480, true);   // games 0 and 2: the opponent has black
  StoneMark(c, 593, 480, false);  // games 1 and 3: the opponent has white
  NextGamePicture(c, f, 0, 577);
  PressedRoundButton(c, f, kPlay, 98, 528, "開始");
  PressedRoundButton(c, f, kAbandon, 147, 528, "放棄");
  DrawTitleSprites(c, {151, 595, 169, 595, 187, 595, 205, 595, 169, 577});
  for (int d = 0; d < 10; ++d) ScoreDigit(c, f, DigitRect(d), d);
  for (int level = 0; level < 12; ++level) LevelName(c, f, LevelRect(level), level);
  // The roster's faces at half size, averaged 2 x 2 so they stay the same faces.
  const Canvas players = MakePlayers(f);
  for (int k = 0; k < 30; ++k) {
    const int sx = (k % 10) * 72, sy = (k / 10) * 92;
    const int dx = 151 + 36 * (k % 10), dy = 702 + 46 * (k / 10);
    for (int y = 0; y < 46; ++y)
      for (int x = 0; x < 36; ++x) {
        int r = 0, g = 0, b = 0;
        for (int j = 0; j < 4; ++j) {
          const Rgb p = players.Get(sx + 2 * x + (j & 1), sy + 2 * y + (j >> 1));
          r += p.r, g += p.g, b += p.b;
        }
        c.Set(dx + x, dy + y, {uint8_t((r + 2) / 4), uint8_t((g + 2) / 4), uint8_t((b + 2) / 4)});
      }
  }
  return c;
}

}  // namespace pic

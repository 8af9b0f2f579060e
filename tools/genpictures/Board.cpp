#include <cmath>

#include "Pictures.h"
#include "Style.h"

namespace pic {

using namespace pal;

namespace {

constexpr double kPi = 3.14159265358979323846;

// The board the hit test assumes: 15 x 15 cells of 24 px from (226, 63).
constexpr Rect kBoard{226, 63, 586, 423};
constexpr int kPitch = 24;
// Dark track of the sliders; knob corners are painted in it.
constexpr Rgb kTrack{54, 30, 14};
// Panel buttons 1-7: destination, hover and pressed source columns.
constexpr Rect kPanelButtons[7] = {{10, 188, 46, 224},  {15, 224, 51, 260},   {37, 255, 73, 291},
                                   {75, 263, 111, 299}, {112, 255, 148, 291}, {134, 224, 170, 260},
                                   {137, 188, 173, 224}};
constexpr Rect kStartHit{58, 188, 122, 252};

Rgb WoodMid(const Wood& w) { return Mix(w.light, w.dark, 0.4); }

// --- sprites -------------------------------------------------------------------------------

// A stone with its rim pre-blended against the board it will lie on, so no key shows.
void BoardStone(Canvas& c, int x, int y, bool black, Rgb under) {
  Canvas tmp(21, 21, under);
  Stone(tmp, 10.5, 10.5, 10.5, black);
  for (int py = 0; py < 21; ++py)
    for (int px = 0; px < 21; ++px) {
      const double d = std::hypot(px + 0.5 - 10.5, py + 0.5 - 10.5);
      c.Set(x + px, y + py, d <= 10.6 ? tmp.Get(px, py) : kKey);
    }
}

void StoneShadow(Canvas& c, int x, int y) {
  Clear(c, {x, y, x + 22, y + 22});
  Disc(c, x + 11, y + 11, 10.5, Rgb{0, 0, 0}, true);
}

void Knob(Canvas& c, int x, int y, bool held) {
  c.Fill({x, y, x + 11, y + 11}, kTrack);
  Disc(c, x + 5.5, y + 5.5, 5.5, kInk);
  Shade(
      c, {x, y, x + 11, y + 11},
      [=](double px, double py) { return std::hypot(px - x - 5.5, py - y - 5.5) <= 4.6; },
      [=](double px, double py) {
        const double t = std::clamp((py - y) / 11.0 + (px - x) / 30.0, 0.0, 1.0);
        return held ? Mix(Rgb{180, 240, 200}, kJade, t) : Mix(Rgb{255, 240, 170}, kGoldDark, t);
      });
}

void Badge(Canvas& c, int x, int y, bool black) {
  const Rect r{x, y, x + 31, y + 31};
  c.Fill(r, kInk);
  c.VGradient(r.Inset(1), kGold, kGoldDark);
  c.Fill(r.Inset(3), black ? Rgb{200, 176, 130} : Rgb{70, 44, 24});
  Stone(c, x + 15.5, y + 15.5, 10.5, black);
}

void ClockFace(Canvas& c, int x, int y, int frame, bool black) {
  const Rect r{x, y, x + 40, y + 37};
  Clear(c, r);
  const double cx = x + 20, cy = y + 19.5;
  Disc(c, cx, y + 3, 4, kInk, true);  // winding crown
  Disc(c, cx, y + 3, 2.8, kGold, true);
  Disc(c, cx, cy, 16, kInk, true);
  Disc(c, cx, cy, 14.8, kGold, true);
  Disc(c, cx, cy, 12.8, black ? Rgb{40, 30, 24} : kCream, true);
  const Rgb ink = black ? kGold : kInk;
  for (int k = 0; k < 12; ++k) {
    const double a = k * kPi / 6;
    const double len = k % 3 == 0 ? 3.2 : 1.8;
    Line(c, cx + std::sin(a) * (11.5 - len), cy - std::cos(a) * (11.5 - len),
         cx + std::sin(a) * 11.5, cy - std::cos(a) * 11.5, 1.2, ink, true);
  }
  const double a = frame * kPi / 6;
  Line(c, cx, cy, cx + std::sin(a) * 10, cy - std::cos(a) * 10, 2.0,
       black ? kLacquerLight : kLacquer, true);
  Disc(c, cx, cy, 2, ink, true);
}

// Seven-segment digits in amber, like a game clock.
void Digit(Canvas& c, int x, int y, int value) {
  Clear(c, {x, y, x + 16, y + 20});
  static const char* const kSegments[10] = {"abcdef", "bc",     "abdeg", "abcdg",   "bcfg",
                                            "acdfg",  "acdefg", "abc",   "abcdefg", "abcdfg"};
  const Rgb on{255, 200, 60};
  auto seg = [&](char s) {
    switch (s) {
      case 'a': c.Fill({x + 4, y + 1, x + 12, y + 3}, on); break;
      case 'b': c.Fill({x + 12, y + 3, x + 14, y + 9}, on); break;
      case 'c': c.Fill({x + 12, y + 11, x + 14, y + 17}, on); break;
      case 'd': c.Fill({x + 4, y + 17, x + 12, y + 19}, on); break;
      case 'e': c.Fill({x + 2, y + 11, x + 4, y + 17}, on); break;
      case 'f': c.Fill({x + 2, y + 3, x + 4, y + 9}, on); break;
      case 'g': c.Fill({x + 4, y + 9, x + 12, y + 11}, on); break;
    }
  };
  for (const char* s = kSegments[value]; *s; ++s) seg(*s);
}

void Colon(Canvas& c, int x, int y) {
  Clear(c, {x, y, x + 10, y + 20});
  const Rgb on{255, 200, 60};
  c.Fill({x + 4, y + 5, x + 6, y + 7}, on);
  c.Fill({x + 4, y + 13, x + 6, y + 15}, on);
}

void RuleLabel(Canvas& c, const Font& f, Rect r, const char* caption) {
  c.Fill(r, kInk);
  c.VGradient(r.Inset(1), kLacquerLight, kLacquerDark);
  Bevel(c, r.Inset(1), 1, {236, 120, 90}, {70, 10, 6});
  TextStyle st = Plain(kGold);
  st.top = {255, 246, 200};
  st.shadow = true;
  st.shadowColour = kInk;
  DrawTextIn(c, f, r, caption, st);
}

// Start/stop: only the central button is painted; the rest of the sprite stays clear.
void StartFace(Canvas& c, const Font& f, int sx, int sy, bool stop, Look look) {
  const Rect button = kStartHit.Moved(sx - 1, sy - 175);
  const double cx = button.l + 32, cy = button.t + 32;
  const bool lit = look != Look::Idle;
  Disc(c, cx, cy, 32, kInk, true);
  Disc(c, cx, cy, 30.5, lit ? kGold : kGoldDark, true);
  const Rgb hi = stop ? (lit ? Rgb{240, 110, 80} : kLacquerLight)
                      : (lit ? Rgb{140, 220, 180} : Rgb{90, 176, 140});
  const Rgb lo = stop ? kLacquerDark : kJadeDark;
  const bool pressed = look == Look::Pressed;
  Shade(
      c, button, [=](double x, double y) { return std::hypot(x - cx, y - cy) <= 27.5; },
      [=](double, double y) {
        const double t = std::clamp((y - cy + 27.5) / 55, 0.0, 1.0);
        return pressed ? Mix(lo, hi, t * 0.8) : Mix(hi, lo, t);
      },
      true);
  const int o = pressed ? 1 : 0;
  const Rgb mark = lit ? Rgb{255, 240, 170} : kCream;
  if (stop)
    c.Fill({int(cx) - 7 + o, int(cy) - 17 + o, int(cx) + 7 + o, int(cy) - 3 + o}, mark);
  else
    Polygon(c, {{cx - 6 + o, cy - 19 + o}, {cx + 9 + o, cy - 10 + o}, {cx - 6 + o, cy - 1 + o}},
            mark, true);
  DrawTextIn(c, f, {button.l + o, int(cy) + 1 + o, button.r + o, int(cy) + 19 + o},
             stop ? "停止" : "開始", CaptionStyle(1, lit));
}

enum class Icon { Save, Load, Back, Forward, New, Swap, Leave };

void IconShape(Canvas& c, Rect r, Icon icon, Rgb ink) {
  const double x = r.l, y = r.t;
  switch (icon) {
    case Icon::Save:  // scroll with a downward arrow
    case Icon::Load:
      c.Fill({r.l + 9, r.t + 22, r.r - 9, r.t + 26}, ink);
      Polygon(c,
              icon == Icon::Save ? std::vector<std::pair<double, double>>{{x + 11, y + 12},
                                                                          {x + 25, y + 12},
                                                                          {x + 18, y + 20}}
                                 : std::vector<std::pair<double, double>>{{x + 11, y + 19},
                                                                          {x + 25, y + 19},
                                                                          {x + 18, y + 11}},
              ink, true);
      c.Fill({r.l + 16, icon == Icon::Save ? r.t + 8 : r.t + 18, r.l + 20,
              icon == Icon::Save ? r.t + 13 : r.t + 22},
             ink);
      break;
    case Icon::Back:
      Polygon(c, {{x + 9, y + 18}, {x + 19, y + 10}, {x + 19, y + 26}}, ink, true);
      c.Fill({r.l + 19, r.t + 15, r.l + 27, r.t + 21}, ink);
      break;
    case Icon::Forward:
      Polygon(c, {{x + 27, y + 18}, {x + 17, y + 10}, {x + 17, y + 26}}, ink, true);
      c.Fill({r.l + 9, r.t + 15, r.l + 17, r.t + 21}, ink);
      break;
    case Icon::New:  // a small board with a star point
      c.Fill({r.l + 10, r.t + 10, r.r - 10, r.b - 10}, ink);
      c.Fill({r.l + 12, r.t + 12, r.r - 12, r.b - 12}, Rgb{236, 196, 130});
      c.Fill({r.l + 17, r.t + 12, r.l + 19, r.b - 12}, ink);
      c.Fill({r.l + 12, r.t + 17, r.r - 12, r.t + 19}, ink);
      break;
    case Icon::Swap:
      Stone(c, x + 13, y + 13, 5, true, true);
      Stone(c, x + 23, y + 23, 5, false, true);
      Polygon(c, {{x + 21, y + 8}, {x + 28, y + 13}, {x + 21, y + 17}}, ink, true);
      Polygon(c, {{x + 15, y + 19}, {x + 8, y + 23}, {x + 15, y + 28}}, ink, true);
      break;
    case Icon::Leave:  // door with an arrow out
      c.Fill({r.l + 9, r.t + 9, r.l + 19, r.b - 9}, ink);
      c.Fill({r.l + 11, r.t + 11, r.l + 17, r.b - 9}, Rgb{120, 70, 30});
      Polygon(c, {{x + 28, y + 18}, {x + 22, y + 12}, {x + 22, y + 24}}, ink, true);
      c.Fill({r.l + 17, r.t + 16, r.l + 23, r.t + 20}, ink);
      break;
  }
}

void PanelButton(Canvas& c, Rect r, Icon icon, Look look) {
  const bool lit = look != Look::Idle, pressed = look == Look::Pressed;
  RoundRect(c, r, 8, kInk, true);
  RoundRect(c, r.Inset(1), 7, lit ? kGold : Rgb{150, 100, 52}, true);
  RoundRectGradient(c, r.Inset(3), 5,
                    pressed ? Rgb{20, 74, 58}
                    : lit   ? Rgb{130, 210, 170}
                            : Rgb{232, 206, 160},
                    pressed ? Rgb{52, 132, 104}
                    : lit   ? kJade
                            : Rgb{176, 132, 80},
                    true);
  const int o = pressed ? 1 : 0;
  IconShape(c, r.Moved(o, o), icon, lit ? Rgb{16, 40, 30} : kInk);
}

void KindIcon(Canvas& c, int x, int y, int kind) {
  Clear(c, {x, y, x + 26, y + 26});
  const Rgb fill = kind == 0   ? Rgb{250, 232, 200}
                   : kind == 1 ? Rgb{240, 200, 110}
                               : Rgb{170, 220, 200};
  if (kind == 2) {  // computer: a screen on a stand
    OutlinedShape(
        c, {x + 1, y + 2, x + 25, y + 25},
        [=](double px, double py) {
          const double u = px - x, v = py - y;
          return (u >= 3 && u <= 23 && v >= 4 && v <= 17) ||
                 (u >= 11 && u <= 15 && v >= 17 && v <= 21) ||
                 (u >= 7 && u <= 19 && v >= 21 && v <= 23);
        },
        [=](double px, double py) {
          const double u = px - x, v = py - y;
          return (u >= 5 && u <= 21 && v >= 6 && v <= 15) ? Rgb{30, 90, 70} : fill;
        },
        kInk);
    return;
  }
  // A person; the roster opponent wears a scholar's cap.
  OutlinedShape(
      c, {x + 1, y + 1, x + 25, y + 25},
      [=](double px, double py) {
        const double u = px - x - 13, v = py - y;
        const bool head = u * u + (v - 9) * (v - 9) <= 25;
        const bool body = v >= 16 && v <= 24 && std::fabs(u) <= 9 - std::max(0.0, 19 - v) * 1.2;
        const bool cap = kind == 1 && v >= 2 && v <= 5.5 && std::fabs(u) <= 8;
        return head || body || cap;
      },
      [=](double, double py) {
        const double v = py - y;
        if (kind == 1 && v <= 5.5) return kInk;
        return v >= 15.5 ? (kind == 1 ? kLacquer : kJade) : fill;
      },
      kInk);
}

void KindHighlight(Canvas& c, int x, int y) {
  Clear(c, {x, y, x + 28, y + 28});
  RoundRect(c, {x, y, x + 28, y + 28}, 5, kInk, true);
  RoundRect(c, {x + 1, y + 1, x + 27, y + 27}, 4, kGold, true);
  RoundRect(c, {x + 2, y + 2, x + 26, y + 26}, 3, Rgb{255, 246, 190}, true);
  Clear(c, {x + 3, y + 3, x + 25, y + 25});
}

void SmallButton(Canvas& c, Rect r, bool board, bool pressed) {
  c.Fill(r, kInk);
  const Rect face = r.Inset(1);
  c.VGradient(face, pressed ? Rgb{20, 74, 58} : Rgb{120, 200, 160},
              pressed ? Rgb{52, 132, 104} : kJadeDark);
  Bevel(c, face, 1, pressed ? Rgb{10, 40, 30} : kJadeLight, pressed ? kJadeLight : Rgb{10, 40, 30});
  const int o = pressed ? 1 : 0;
  if (board) {
    BoardThumb(c, {r.l + 6 + o, r.t + 7 + o, r.l + 26 + o, r.t + 27 + o}, 0, true);
  } else {
    Canvas icon(36, 36);
    SpeakerButton(icon, icon.Bounds(), false);
    // Only the light symbol of the speaker button, shrunk into this face.
    for (int y = 0; y < 36; ++y)
      for (int x = 0; x < 36; ++x)
        if (icon.Get(x, y) == kCream)
          c.Set(r.l + 1 + o + x * 30 / 36, r.t + 3 + o + y * 30 / 36, kCream);
  }
}

void WinnerPicture(Canvas& c, const Font& f, int x, int y, bool human) {
  const Rect r{x, y, x + 159, y + 160};
  Clear(c, r);
  const double cx = x + 79.5, cy = y + 70;
  // Rays behind the medallion.
  Shade(
      c, {x, y, x + 159, y + 140},
      [=](double px, double py) {
        const double a = std::atan2(py - cy, px - cx), d = std::hypot(px - cx, py - cy);
        return d <= 68 && std::fmod(a + 2 * kPi + kPi / 24, kPi / 6) < kPi / 12;
      },
      [](double, double) { return kGold; }, true);
  Disc(c, cx, cy, 52, kInk, true);
  Disc(c, cx, cy, 50, kGold, true);
  Disc(c, cx, cy, 45, human ? kLacquer : kJade, true);
  Ring(c, cx, cy, 41, 1.5, kGold, true);
  Canvas icon(26, 26);
  KindIcon(icon, 0, 0, human ? 0 : 2);
  for (int py = 0; py < 26; ++py)
    for (int px = 0; px < 26; ++px)
      if (!IsKey(icon.Get(px, py)))
        c.Fill({int(cx) - 39 + 3 * px, int(cy) - 39 + 3 * py, int(cx) - 36 + 3 * px,
                int(cy) - 36 + 3 * py},
               icon.Get(px, py));
  const Rect banner{x + 4, y + 116, x + 155, y + 156};
  RoundRect(c, banner, 8, kInk, true);
  RoundRectGradient(c, banner.Inset(2), 6, kLacquerLight, kLacquerDark, true);
  DrawTextIn(c, f, banner, human ? "玩家獲勝" : "電腦獲勝", HeadingStyle(2));
}

// --- background ------------------------------------------------------------------------------

// White's upper row sits 293 px below black's, the rest of its panel 294 px.
void PlayerPanel(Canvas& c, const Font& f, int head, int top) {
  // Badge socket, kind button, name plate, portrait frame.
  c.Fill({4, head + 2, 37, head + 35}, kInk);
  c.Fill({41, head + 4, 69, head + 32}, kInk);
  c.VGradient({42, head + 5, 68, head + 31}, {236, 210, 166}, {180, 136, 84});
  c.Fill({73, head + 7, 179, head + 29}, kGoldDark);
  c.VGradient({74, head + 8, 178, head + 28}, {40, 22, 12}, {20, 10, 4});
  c.Fill({9, top + 39, 87, top + 137}, kInk);
  c.Fill({10, top + 40, 86, top + 136}, kGold);
  c.Fill({12, top + 42, 84, top + 134}, kInk);
  // Sliders with their captions: style from defensive to aggressive, level from weak to strong.
  TextStyle st = Plain(kCream);
  st.shadow = true;
  st.shadowColour = kInk;
  const struct {
    int y;
    const char *name, *low, *high;
  } sliders[2] = {{top + 68, "風格", "守", "攻"}, {top + 115, "棋力", "弱", "強"}};
  for (const auto& s : sliders) {
    DrawText(c, f, 94, s.y - 18, s.low, st);
    DrawTextIn(c, f, {94, s.y - 18, 181, s.y - 1}, s.name, st);
    DrawText(c, f, 164, s.y - 18, s.high, st);
    c.Fill({93, s.y + 2, 171, s.y + 15}, kGoldDark);
    c.Fill({94, s.y + 3, 170, s.y + 14}, kTrack);
    for (int v = 0; v <= 8; ++v)
      c.Fill({99 + v * 65 / 8, s.y + 8, 100 + v * 65 / 8, s.y + 9}, {120, 84, 46});
  }
  // Clock: digit plate and the place of the clock icon.
  const int cy = top + 150;
  c.Fill({9, cy, 129, cy + 26}, kGoldDark);
  c.Fill({10, cy + 1, 128, cy + 25}, Rgb{22, 12, 6});
}

Canvas PlayBackground(const Font& f, int board) {
  Canvas c(640, 480);
  const BoardLook look = BoardStyle(board);
  // Table and left panel.
  WoodFill(c, {0, 0, 640, 480}, FrameWood(), 700 + board, true);
  WoodFill(c, {186, 0, 640, 480}, TableWood(), 710 + board);
  c.Fill({186, 0, 188, 480}, kGoldDark);
  PlayerPanel(c, f, 0, 0);
  PlayerPanel(c, f, 293, 294);
  // Control dial.
  const Rect dial{1, 175, 183, 301};
  RoundRect(c, dial, 14, kInk);
  RoundRectGradient(c, dial.Inset(1), 13, Rgb{150, 98, 54}, Rgb{90, 54, 26});
  Ring(c, 90, 220, 40, 3, kGoldDark);
  StartFace(c, f, 1, 175, false, Look::Idle);
  const Icon icons[7] = {Icon::Save, Icon::Load, Icon::Back, Icon::Forward,
                         Icon::New,  Icon::Swap, Icon::Leave};
  for (int k = 0; k < 7; ++k) PanelButton(c, kPanelButtons[k], icons[k], Look::Idle);
  // Board with shadow and frame.
  c.Fill(kBoard.Moved(5, 5), Rgb{60, 34, 16});
  WoodFill(c, kBoard, look.wood, 720 + board);
  Bevel(c, kBoard, 2, Scale(look.wood.light, 1.15), Scale(look.wood.dark, 0.7));
  // Grid on the cell centres (between pixels 237/238 + 24c): a strong and a soft line.
  for (int i = 0; i < 15; ++i) {
    const int p = 237 + kPitch * i, q = 74 + kPitch * i;
    for (int t = 74; t <= 412; ++t) {
      c.Set(p, t, look.line);
      c.Blend(p + 1, t, look.line, 0.45);
    }
    for (int s = 237; s <= 575; ++s) {
      c.Set(s, q, look.line);
      c.Blend(s, q + 1, look.line, 0.45);
    }
  }
  for (auto [col, row] : {std::pair{3, 3}, {3, 11}, {7, 7}, {11, 3}, {11, 11}})
    Disc(c, 238 + kPitch * col, 75 + kPitch * row, 3.2, look.line);
  // Rule label slot, status strip, side buttons, title bar.
  c.Fill({212, 10, 295, 38}, kInk);
  c.Fill({196, 446, 544, 471}, Rgb{30, 16, 8});
  Bevel(c, {196, 446, 544, 471}, 1, Rgb{10, 4, 0}, kGoldDark);
  SmallButton(c, {545, 442, 577, 477}, false, false);
  SmallButton(c, {576, 442, 608, 477}, true, false);
  c.Fill({571, 0, 638, 24}, kInk);
  TitleBarIdle(c);
  return c;
}

Canvas MakeBase(const Font& f, int board) {
  Canvas c(640, 986, kKey);
  c.Blit(PlayBackground(f, board), {0, 0, 640, 480}, 0, 0);
  const Rgb under = WoodMid(BoardStyle(board).wood);

  for (int k = 0; k < 3; ++k) KindIcon(c, 528 + 26 * k, 480, k);
  KindHighlight(c, 606, 480);
  Badge(c, 542, 507, true);
  Badge(c, 542, 539, false);
  Badge(c, 574, 507, false);
  Badge(c, 574, 539, true);
  Knob(c, 528, 507, true);
  Knob(c, 528, 518, false);
  for (int fr = 0; fr < 12; ++fr) {
    ClockFace(c, fr * 44 + 2, 483, fr, true);
    ClockFace(c, fr * 44 + 2, 527, fr, false);
  }
  RuleLabel(c, f, {376, 569, 457, 595}, "自由規則");
  RuleLabel(c, f, {458, 569, 539, 595}, "連珠規則");
  StartFace(c, f, 5, 569, false, Look::Pressed);
  StartFace(c, f, 193, 569, false, Look::Hover);
  StartFace(c, f, 5, 696, true, Look::Hover);
  StartFace(c, f, 193, 696, true, Look::Pressed);
  StartFace(c, f, 382, 823, true, Look::Idle);
  const Icon icons[7] = {Icon::Save, Icon::Load, Icon::Back, Icon::Forward,
                         Icon::New,  Icon::Swap, Icon::Leave};
  for (int k = 0; k < 7; ++k) {
    PanelButton(c, {376 + 37 * k, 623, 412 + 37 * k, 659}, icons[k], Look::Hover);
    PanelButton(c, {376 + 37 * k, 950, 412 + 37 * k, 986}, icons[k], Look::Pressed);
  }
  for (int i = 0; i < 10; ++i) Digit(c, 376 + 16 * i, 660, (i + 1) % 10);
  Colon(c, 537, 660);
  BoardStone(c, 548, 660, false, under);
  BoardStone(c, 570, 660, true, under);
  StoneShadow(c, 592, 660);
  DrawTitleSprites(c, {565, 794, 583, 794, 601, 794, 619, 794, 583, 776});
  SmallButton(c, {565, 696, 597, 731}, false, true);
  SmallButton(c, {596, 696, 628, 731}, true, true);
  WinnerPicture(c, f, 0, 822, true);
  WinnerPicture(c, f, 159, 822, false);
  return c;
}

}  // namespace

Canvas MakeBoard(const Font& f, int board) { return MakeBase(f, board); }

}  // namespace pic

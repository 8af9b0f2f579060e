#include "Style.h"

#include <algorithm>
#include <cmath>

namespace pic {

using namespace pal;

Wood TableWood() { return {{224, 180, 120}, {168, 112, 60}, 1.0}; }
Wood FrameWood() { return {{112, 64, 32}, {56, 30, 14}, 1.6}; }

void Clear(Canvas& c, Rect r) { c.Fill(r, kKey); }

void ScreenBackground(Canvas& c, uint32_t seed) {
  WoodFill(c, {0, 0, 640, 480}, TableWood(), seed);
  // Dark frame round the page and the caption band that holds the title-bar buttons.
  const Wood frame = FrameWood();
  WoodFill(c, {0, 0, 640, 24}, frame, seed + 1);
  WoodFill(c, {0, 24, 8, 480}, frame, seed + 2, true);
  WoodFill(c, {632, 24, 640, 480}, frame, seed + 3, true);
  WoodFill(c, {8, 472, 632, 480}, frame, seed + 4);
  c.Fill({8, 23, 632, 24}, kGoldDark);
  Bevel(c, {7, 23, 633, 473}, 1, {40, 20, 8}, {236, 196, 140}, false);
  Bevel(c, {0, 0, 640, 480}, 1, {150, 96, 54}, {30, 14, 6});
  TitleBarIdle(c);
}

void Parchment(Canvas& c, Rect r, uint32_t seed) {
  for (int y = r.t; y < r.b; ++y)
    for (int x = r.l; x < r.r; ++x) {
      const double n = Fbm(x * 0.03, y * 0.03, seed, 3);
      const double ex = std::min(x - r.l, r.r - 1 - x), ey = std::min(y - r.t, r.b - 1 - y);
      const double edge = std::clamp(1.0 - std::min(ex, ey) / 14.0, 0.0, 1.0);
      Rgb col = Mix(kParchment, kParchmentDark, 0.45 * n + 0.55 * edge * edge);
      c.Set(x, y, col);
    }
  Bevel(c, r, 1, kGoldDark, kFrame);
}

TextStyle HeadingStyle(int scale) {
  TextStyle st;
  st.scale = scale;
  st.top = {255, 236, 160};
  st.bottom = kGoldDark;
  st.outline = true;
  st.outlineColour = kInk;
  st.shadow = true;
  st.shadowColour = {30, 16, 8};
  st.shadowDx = st.shadowDy = scale >= 2 ? 2 : 1;
  return st;
}

TextStyle CaptionStyle(int scale, bool lit) {
  TextStyle st;
  st.scale = scale;
  st.top = lit ? Rgb{255, 246, 190} : kCream;
  st.bottom = lit ? kGold : Rgb{226, 206, 170};
  st.outline = true;
  st.outlineColour = lit ? Rgb{16, 52, 40} : kInk;
  return st;
}

// ---------------------------------------------------------------------------------------------
// Title-bar buttons

void TitleButton(Canvas& c, int x, int y, TitleSymbol s, bool pressed) {
  const Rect r{x, y, x + 17, y + 17};
  c.Fill(r, kInk);
  const Rect face = r.Inset(1);
  if (pressed)
    c.VGradient(face, {178, 140, 96}, {214, 184, 138});
  else
    c.VGradient(face, {252, 238, 206}, {206, 170, 118});
  Bevel(c, face, 1, pressed ? Rgb{120, 84, 48} : Rgb{255, 250, 232},
        pressed ? Rgb{236, 214, 178} : Rgb{150, 106, 60});
  const int o = pressed ? 1 : 0;
  const int sx = x + o, sy = y + o;
  const Rgb ink = kInk;
  switch (s) {
    case TitleSymbol::Maximise:
      c.Fill({sx + 4, sy + 4, sx + 13, sy + 6}, ink);
      c.Fill({sx + 4, sy + 6, sx + 5, sy + 13}, ink);
      c.Fill({sx + 12, sy + 6, sx + 13, sy + 13}, ink);
      c.Fill({sx + 4, sy + 12, sx + 13, sy + 13}, ink);
      break;
    case TitleSymbol::Restore:
      c.Fill({sx + 6, sy + 3, sx + 14, sy + 5}, ink);
      c.Fill({sx + 13, sy + 5, sx + 14, sy + 10}, ink);
      c.Fill({sx + 3, sy + 7, sx + 11, sy + 9}, ink);
      c.Fill({sx + 3, sy + 9, sx + 4, sy + 14}, ink);
      c.Fill({sx + 10, sy + 9, sx + 11, sy + 14}, ink);
      c.Fill({sx + 3, sy + 13, sx + 11, sy + 14}, ink);
      c.Fill({sx + 6, sy + 5, sx + 7, sy + 7}, ink);
      break;
    case TitleSymbol::Minimise: c.Fill({sx + 4, sy + 11, sx + 13, sy + 13}, ink); break;
    case TitleSymbol::Close:
      Line(c, sx + 4.5, sy + 4.5, sx + 12.5, sy + 12.5, 2.0, kLacquer);
      Line(c, sx + 12.5, sy + 4.5, sx + 4.5, sy + 12.5, 2.0, kLacquer);
      break;
  }
}

void TitleBarIdle(Canvas& c) {
  TitleButton(c, 575, 3, TitleSymbol::Maximise, false);
  TitleButton(c, 596, 3, TitleSymbol::Minimise, false);
  TitleButton(c, 617, 3, TitleSymbol::Close, false);
}

void DrawTitleSprites(Canvas& c, const TitleSprites& s) {
  TitleButton(c, s.winPressedX, s.winPressedY, TitleSymbol::Maximise, true);
  TitleButton(c, s.fullPressedX, s.fullPressedY, TitleSymbol::Restore, true);
  TitleButton(c, s.minPressedX, s.minPressedY, TitleSymbol::Minimise, true);
  TitleButton(c, s.closePressedX, s.closePressedY, TitleSymbol::Close, true);
  TitleButton(c, s.markX, s.markY, TitleSymbol::Restore, false);
}

// ---------------------------------------------------------------------------------------------
// Buttons

void MenuItem(Canvas& c, const Font& f, Rect r, const char* caption, Look look, int margin,
              bool studs) {
  const Rect plate{r.l + 3, r.t + margin, r.r - 3, r.b - margin};
  const double radius = std::min(10.0, plate.H() / 2.0);
  const Rgb rim = look == Look::Idle ? kFrame : look == Look::Hover ? kGold : kGoldDark;
  RoundRect(c, plate, radius, kInk, true);
  RoundRect(c, plate.Inset(1), radius - 1, rim, true);
  const Rect face = plate.Inset(3);
  Rgb top, bottom;
  switch (look) {
    case Look::Idle: top = {150, 98, 54}, bottom = {96, 58, 28}; break;
    case Look::Hover: top = {86, 178, 138}, bottom = kJadeDark; break;
    case Look::Pressed: top = {18, 70, 54}, bottom = {48, 128, 100}; break;
  }
  RoundRectGradient(c, face, radius - 3, top, bottom, true);
  if (look != Look::Pressed) {
    // A thin sheen along the top edge of the face.
    const Rgb sheen = look == Look::Idle ? Rgb{196, 146, 92} : kJadeLight;
    for (int x = face.l + static_cast<int>(radius); x < face.r - static_cast<int>(radius); ++x)
      c.Set(x, face.t + 1, sheen);
  }
  // Gold studs at the ends mark the lit item.
  const int room = plate.W() - Measure(caption, CaptionStyle(2, true)).w;
  if (studs && look != Look::Idle && room >= 56) {
    const double cy = (plate.t + plate.b) / 2.0 + (look == Look::Pressed ? 1 : 0);
    Disc(c, plate.l + 11.5, cy, 3.5, kGold, true);
    Disc(c, plate.r - 11.5, cy, 3.5, kGold, true);
  }
  const int o = look == Look::Pressed ? 1 : 0;
  DrawTextIn(c, f, face.Moved(o, o), caption, CaptionStyle(2, look != Look::Idle));
}

void RoundButton(Canvas& c, const Font& f, Rect r, const char* caption, bool pressed) {
  const double cx = r.l + r.W() / 2.0, cy = r.t + r.H() / 2.0, rad = r.W() / 2.0;
  Disc(c, cx, cy, rad, kInk, true);
  Disc(c, cx, cy, rad - 1.2, pressed ? kGoldDark : kGold, true);
  const double fr = rad - 3.5;
  Shade(
      c, r,
      [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= fr * fr; },
      [=](double x, double y) {
        const double t = std::clamp((y - (cy - fr)) / (2 * fr), 0.0, 1.0);
        const double hx = (x - cx + fr * 0.35) / fr, hy = (y - cy + fr * 0.45) / fr;
        const double spot = pressed ? 0 : std::exp(-(hx * hx + hy * hy) * 4) * 0.35;
        Rgb base = pressed ? Mix(kLacquerDark, kLacquer, t) : Mix(kLacquerLight, kLacquerDark, t);
        return Mix(base, Rgb{255, 220, 190}, spot);
      },
      true);
  const int o = pressed ? 1 : 0;
  DrawTextIn(c, f, r.Moved(o, o), caption, CaptionStyle(1, pressed));
}

void PressedRoundButton(Canvas& c, const Font& f, Rect dest, int x, int y, const char* caption) {
  c.Blit(c, dest, x, y);
  RoundButton(c, f, dest.Moved(x - dest.l, y - dest.t), caption, true);
}

const char* ModeName(int kind) {
  static const char* const kNames[] = {"錦標賽", "世界錦標賽", "棋力檢定"};
  return kNames[kind];
}

Rgb ModeAccent(int kind) {
  static const Rgb kAccents[] = {kJade, kLacquer, kGoldDark};
  return kAccents[kind];
}

void ModeHeading(Canvas& c, const Font& f, Rect r, const char* text, Rgb accent) {
  DrawTextIn(c, f, r, text, HeadingStyle(4));
  const int w = Measure(text, HeadingStyle(4)).w;
  const int mid = (r.l + r.r) / 2, cy = (r.t + r.b) / 2;
  for (int side = -1; side <= 1; side += 2) {
    const double cx = mid + side * (w / 2 + 34);
    Disc(c, cx, cy, 15, kInk);
    Disc(c, cx, cy, 13, accent);
    Stone(c, cx, cy, 9, side < 0);
  }
}

void SpeakerButton(Canvas& c, Rect r, bool pressed) {
  RoundRect(c, r, 6, kInk, true);
  const Rect face = r.Inset(1);
  RoundRectGradient(c, face, 5, pressed ? Rgb{18, 70, 54} : Rgb{96, 184, 146},
                    pressed ? Rgb{48, 128, 100} : kJadeDark, true);
  RoundRect(c, face.Inset(2), 4, pressed ? kGoldDark : kGold, true);
  RoundRectGradient(c, face.Inset(3), 3, pressed ? Rgb{20, 74, 58} : Rgb{86, 172, 136},
                    pressed ? Rgb{44, 120, 94} : Rgb{30, 96, 74}, true);
  const double o = pressed ? 1 : 0;
  const double s = r.W() / 36.0;
  const double x0 = r.l + o, y0 = r.t + o;
  const Rgb ink = pressed ? Rgb{224, 200, 150} : kCream;
  // Speaker body and cone.
  c.Fill({static_cast<int>(x0 + 9 * s), static_cast<int>(y0 + 14 * s),
          static_cast<int>(x0 + 14 * s), static_cast<int>(y0 + 22 * s)},
         ink);
  Polygon(c,
          {{x0 + 13 * s, y0 + 14 * s},
           {x0 + 20 * s, y0 + 9 * s},
           {x0 + 20 * s, y0 + 27 * s},
           {x0 + 13 * s, y0 + 22 * s}},
          ink);
  // Sound waves.
  for (int k = 0; k < 2; ++k) {
    const double rad = (4.5 + 4.0 * k) * s;
    Shade(
        c, r,
        [=](double x, double y) {
          const double dx = x - (x0 + 21 * s), dy = y - (y0 + 18 * s);
          const double d = std::sqrt(dx * dx + dy * dy);
          return dx > 0 && std::abs(dy) < dx * 1.3 && std::abs(d - rad) < 0.9 * s;
        },
        [=](double, double) { return ink; });
  }
}

}  // namespace pic

namespace pic {

void OutlinedShape(Canvas& c, Rect area, const InsideFn& inside, const ColourFn& fill,
                   Rgb outline) {
  const int w = area.W() + 2, h = area.H() + 2;
  std::vector<uint8_t> m(static_cast<size_t>(w) * h, 0);
  for (int y = 0; y < area.H(); ++y)
    for (int x = 0; x < area.W(); ++x) {
      int hits = 0;
      for (int s = 0; s < 4; ++s)
        if (inside(area.l + x + 0.25 + 0.5 * (s & 1), area.t + y + 0.25 + 0.5 * (s >> 1))) ++hits;
      m[(y + 1) * w + x + 1] = hits >= 2;
    }
  auto at = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && m[y * w + x]; };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int px = area.l + x - 1, py = area.t + y - 1;
      if (at(x, y)) {
        c.Set(px, py, fill(px + 0.5, py + 0.5));
      } else {
        bool edge = false;
        for (int dy = -1; dy <= 1 && !edge; ++dy)
          for (int dx = -1; dx <= 1 && !edge; ++dx) edge = at(x + dx, y + dy);
        if (edge) c.Set(px, py, outline);
      }
    }
}

}  // namespace pic

namespace pic {

using namespace pal;

BoardLook BoardStyle(int board) {
  switch (board) {
    case 1: return {{{156, 100, 58}, {98, 58, 30}, 1.2}, {240, 216, 168}};
    case 2: return {{{100, 156, 122}, {54, 106, 82}, 0.8}, {238, 244, 222}};
    case 3: return {{{192, 74, 52}, {128, 34, 22}, 1.0}, {244, 206, 110}};
    case 4: return {{{244, 228, 186}, {210, 186, 134}, 1.8}, {92, 60, 30}};
    default: return {{{238, 198, 130}, {198, 148, 82}, 1.0}, kInk};
  }
}

void BoardThumb(Canvas& c, Rect r, int board, bool lit) {
  const BoardLook look = BoardStyle(board);
  c.Fill(r, kInk);
  const Rect inner = r.Inset(lit ? 2 : 1);
  if (lit) c.Fill(r.Inset(1), kGold);
  WoodFill(c, inner, look.wood, 40 + board);
  for (int k = 0; k < 5; ++k) {
    const int x = inner.l + 3 + k * (inner.W() - 7) / 4;
    const int y = inner.t + 3 + k * (inner.H() - 7) / 4;
    c.Fill({x, inner.t + 3, x + 1, inner.b - 3}, look.line);
    c.Fill({inner.l + 3, y, inner.r - 3, y + 1}, look.line);
  }
  const double cx = inner.l + 3 + (inner.W() - 7) / 2.0 + 0.5;
  const double cy = inner.t + 3 + (inner.H() - 7) / 2.0 + 0.5;
  Stone(c, cx - 3, cy, 3.2, true);
  Stone(c, cx + 3.5, cy + 0.5, 3.2, false);
  if (!lit) {
    // Unlit buttons are dimmed so the lit one stands out.
    for (int y = inner.t; y < inner.b; ++y)
      for (int x = inner.l; x < inner.r; ++x) c.Set(x, y, Scale(c.Get(x, y), 0.72));
  }
}

void CheckBox(Canvas& c, Rect r) {
  c.Fill(r, kInk);
  c.Fill(r.Inset(1), kGoldDark);
  c.VGradient(r.Inset(3), {224, 204, 164}, {252, 244, 224});
  Bevel(c, r.Inset(3), 1, {150, 116, 70}, {255, 252, 240});
}

void Tick(Canvas& c, Rect r) {
  const double x = r.l, y = r.t, s = r.W() / 25.0;
  auto inside = [=](double px, double py) {
    auto seg = [&](double x0, double y0, double x1, double y1, double w) {
      const double dx = x1 - x0, dy = y1 - y0;
      double t = ((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy);
      t = std::clamp(t, 0.0, 1.0);
      const double ex = x0 + t * dx - px, ey = y0 + t * dy - py;
      return ex * ex + ey * ey <= w * w;
    };
    return seg(x + 5 * s, y + 12 * s, x + 10.5 * s, y + 18.5 * s, 2.6 * s) ||
           seg(x + 10.5 * s, y + 18.5 * s, x + 21 * s, y + 4 * s, 2.6 * s);
  };
  OutlinedShape(
      c, r, inside, [](double, double) { return kLacquer; }, kInk);
}

}  // namespace pic

namespace pic {

using namespace pal;

// A wooden bowl of stones, for the empty corner of the main menu.
void Bowl(Canvas& c, double cx, double cy, bool black, uint32_t seed) {
  Shade(
      c, {int(cx - 52), int(cy - 30), int(cx + 52), int(cy + 40)},
      [=](double x, double y) {
        const double u = (x - cx) / 50, v = (y - cy) / 36;
        return u * u + v * v <= 1 && y >= cy - 8;
      },
      [=](double x, double y) {
        const double t = (y - cy + 8) / 44;
        const double grain = Fbm(x * 0.08, y * 0.4, seed, 2);
        return Mix(Mix(Rgb{150, 92, 44}, Rgb{70, 36, 14}, t), Rgb{110, 64, 28}, grain * 0.4);
      });
  Shade(
      c, {int(cx - 52), int(cy - 22), int(cx + 52), int(cy + 6)},
      [=](double x, double y) {
        const double u = (x - cx) / 48, v = (y - cy + 8) / 11;
        return u * u + v * v <= 1;
      },
      [=](double, double) {
        return Rgb{40, 20, 8};
      });
  const double spots[][2] = {{-28, -8},  {-12, -11}, {6, -9},   {22, -10}, {34, -6},
                             {-20, -16}, {0, -17},   {16, -17}, {-4, -5},  {26, -15}};
  for (auto& s : spots) Stone(c, cx + s[0], cy + s[1], 8.5, black);
}

}  // namespace pic

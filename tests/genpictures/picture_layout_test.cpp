#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "PictureTestUtil.h"

using namespace pictest;
using pic::Rect;

namespace {

enum Mode {
  kOpaque,  // copied as is: a key pixel would show black
  kItem,    // keyed menu item: transparent top and bottom rows so neighbours stay intact
  kKeyed,   // keyed, any shape
};

struct Sprite {
  Rect src;
  Mode mode;
  Rect dest;  // where the screen draws it; empty when it is the background itself
};

// Source rectangles as the screens read them, transcribed independently of the generator.
const std::map<std::string, std::vector<Sprite>>& Sheets() {
  static const std::map<std::string, std::vector<Sprite>> sheets = [] {
    std::map<std::string, std::vector<Sprite>> s;
    const Rect page{0, 0, 640, 480};
    auto title = [](int wx, int fx, int mx, int cx, int markX, int markY, int y) {
      return std::vector<Sprite>{
          {{wx, y, wx + 17, y + 17}, kOpaque, {575, 3, 592, 20}},
          {{fx, y, fx + 17, y + 17}, kOpaque, {575, 3, 592, 20}},
          {{mx, y, mx + 17, y + 17}, kOpaque, {596, 3, 613, 20}},
          {{cx, y, cx + 17, y + 17}, kOpaque, {617, 3, 634, 20}},
          {{markX, markY, markX + 17, markY + 17}, kOpaque, {575, 3, 592, 20}}};
    };
    auto& main = s["img/main.bmp"];
    main = {{page, kOpaque, {}}, {{532, 480, 568, 516}, kOpaque, {589, 431, 625, 467}}};
    const Rect items[9] = {{151, 212, 302, 263}, {61, 261, 302, 312},  {155, 399, 256, 450},
                           {299, 167, 537, 218}, {345, 211, 537, 262}, {392, 257, 537, 308},
                           {346, 306, 537, 357}, {300, 353, 537, 404}, {346, 399, 537, 450}};
    const int hover[9][2] = {{0, 480},   {152, 480}, {394, 480}, {0, 532},  {239, 532},
                             {432, 532}, {0, 584},   {192, 584}, {430, 584}};
    for (int i = 0; i < 9; ++i) {
      const Rect d = items[i];
      const Rect h{hover[i][0], hover[i][1], hover[i][0] + d.W(), hover[i][1] + d.H()};
      main.push_back({h, kItem, d});
      main.push_back({h.Moved(0, 156), kItem, d});  // pressed row
    }
    for (auto& t : title(569, 587, 605, 624, 587, 480, 498)) main.push_back(t);

    for (int k = 0; k < 3; ++k) {
      auto& menu = s["img/GameMenu_" + std::to_string(k) + ".bmp"];
      menu = {{page, kOpaque, {}}};
      const Rect dest[3] = {{190, 138, 460, 199}, {190, 200, 460, 261}, {190, 253, 460, 314}};
      for (int i = 0; i < 3; ++i) {
        menu.push_back({{0, 480 + 62 * i, 270, 541 + 62 * i}, kItem, dest[i]});
        menu.push_back({{271, 480 + 62 * i, 541, 541 + 62 * i}, kItem, dest[i]});
      }
      for (auto& t : title(542, 560, 578, 596, 560, 480, 498)) menu.push_back(t);
    }

    auto& how = s["img/how.bmp"];
    how = {{page, kOpaque, {}},
           {{0, 480, 25, 505}, kKeyed, {134, 127, 159, 152}},
           {{25, 480, 75, 530}, kKeyed, {296, 416, 346, 466}}};
    // Keyed on this screen, but they must still cover the idle buttons completely.
    for (auto& t : title(126, 144, 162, 180, 144, 480, 498)) how.push_back(t);

    auto& tital = s["img/Tital.bmp"];
    tital = {{page, kOpaque, {}}};
    for (int n = 0; n < 11; ++n)
      tital.push_back({{640 + 125 * n, 0, 765 + 125 * n, 360}, kOpaque, {125, 29, 250, 389}});

    s["img/SoundSet.bmp"] = {{{0, 0, 120, 136}, kKeyed, {517, 341, 637, 477}},
                             {{135, 13, 176, 65}, kOpaque, {531, 354, 572, 406}},
                             {{135, 67, 176, 119}, kOpaque, {531, 408, 572, 460}},
                             {{187, 13, 228, 65}, kOpaque, {583, 354, 624, 406}},
                             {{187, 67, 228, 119}, kOpaque, {583, 408, 624, 460}}};
    auto& board = s["img/boardSet.bmp"];
    board = {{{0, 0, 184, 52}, kKeyed, {456, 428, 640, 480}}};
    for (int i = 0; i < 5; ++i)
      board.push_back(
          {{15 + 31 * i, 64, 44 + 31 * i, 93}, kKeyed, {468 + 31 * i, 436, 497 + 31 * i, 465}});
    for (int n = 0; n < 5; ++n) {
      auto& base = s["img/base_" + std::to_string(n) + ".bmp"];
      base = {{page, kOpaque, {}}};
      for (int k = 0; k < 3; ++k)
        base.push_back({{528 + 26 * k, 480, 554 + 26 * k, 506}, kKeyed, {42, 5, 68, 31}});
      base.push_back({{606, 480, 634, 508}, kKeyed, {41, 4, 69, 32}});
      for (Rect b : {Rect{542, 507, 573, 538}, Rect{542, 539, 573, 570}, Rect{574, 507, 605, 538},
                     Rect{574, 539, 605, 570}})
        base.push_back({b, kOpaque, {5, 3, 36, 34}});
      base.push_back({{528, 507, 539, 518}, kOpaque, {94, 71, 105, 82}});
      base.push_back({{528, 518, 539, 529}, kOpaque, {94, 71, 105, 82}});
      for (int f = 0; f < 12; ++f) {
        base.push_back({{f * 44 + 2, 483, f * 44 + 42, 520}, kKeyed, {131, 145, 171, 182}});
        base.push_back({{f * 44 + 2, 527, f * 44 + 42, 564}, kKeyed, {131, 439, 171, 476}});
      }
      base.push_back({{376, 569, 457, 595}, kKeyed, {213, 11, 294, 37}});
      base.push_back({{458, 569, 539, 595}, kKeyed, {213, 11, 294, 37}});
      for (Rect b : {Rect{5, 569, 187, 695}, Rect{193, 569, 375, 695}, Rect{5, 696, 187, 822},
                     Rect{193, 696, 375, 822}, Rect{382, 823, 564, 949}})
        base.push_back({b, kKeyed, {1, 175, 183, 301}});
      const Rect panel[7] = {{10, 188, 46, 224},  {15, 224, 51, 260},   {37, 255, 73, 291},
                             {75, 263, 111, 299}, {112, 255, 148, 291}, {134, 224, 170, 260},
                             {137, 188, 173, 224}};
      for (int k = 0; k < 7; ++k) {
        base.push_back({{376 + 37 * k, 623, 412 + 37 * k, 659}, kKeyed, panel[k]});
        base.push_back({{376 + 37 * k, 950, 412 + 37 * k, 986}, kKeyed, panel[k]});
      }
      for (int i = 0; i < 10; ++i)
        base.push_back({{376 + 16 * i, 660, 392 + 16 * i, 680}, kKeyed, {13, 153, 29, 173}});
      base.push_back({{537, 660, 547, 680}, kKeyed, {45, 153, 55, 173}});
      base.push_back({{548, 660, 569, 681}, kKeyed, {227, 63, 248, 84}});
      base.push_back({{570, 660, 591, 681}, kKeyed, {228, 64, 249, 85}});
      base.push_back({{592, 660, 614, 682}, kKeyed, {229, 65, 251, 87}});
      for (auto& t : title(565, 583, 601, 619, 583, 776, 794)) base.push_back(t);
      base.push_back({{565, 696, 597, 731}, kOpaque, {545, 442, 577, 477}});
      base.push_back({{596, 696, 628, 731}, kOpaque, {576, 442, 608, 477}});
      base.push_back({{0, 822, 159, 982}, kKeyed, {414, 76, 573, 236}});
      base.push_back({{159, 822, 318, 982}, kKeyed, {414, 76, 573, 236}});
    }
    for (int k = 0; k < 3; ++k) {
      auto& slots = s["img/GameMenu_" + std::to_string(k) + "_1.bmp"];
      slots = {{page, kOpaque, {}},
               {{0, 480, 48, 528}, kOpaque, {272, 326, 320, 374}},
               {{49, 480, 97, 528}, kOpaque, {328, 326, 376, 374}}};
      for (auto& t : title(569, 587, 605, 623, 587, 480, 498)) slots.push_back(t);
    }
    for (const char* name : {"img/gameTable.bmp", "img/GameTableWorld.bmp"}) {
      auto& table = s[name];
      table = {{page, kOpaque, {}},
               {{111, 480, 159, 528}, kOpaque, {278, 417, 326, 465}},
               {{161, 480, 209, 528}, kOpaque, {334, 417, 382, 465}}};
      for (int code = 1; code <= 4; ++code)  // row 1, column 0
        table.push_back(
            {{35 + 19 * (code - 1), 480, 54 + 19 * (code - 1), 501}, kKeyed, {255, 172, 274, 193}});
      for (auto& t : title(542, 560, 578, 596, 328, 480, 498)) table.push_back(t);
    }
    for (const char* name : {"img/gamePoint.bmp", "img/GamePointWorld.bmp"}) {
      auto& point = s[name];
      point = {{page, kOpaque, {}}, {{440, 480, 488, 528}, kOpaque, {298, 417, 346, 465}}};
      for (auto& t : title(0, 18, 36, 54, 18, 510, 528)) point.push_back(t);
    }
    auto& ladder = s["img/gamestart.bmp"];
    ladder = {{page, kOpaque, {}},
              {{0, 480, 48, 527}, kKeyed, {220, 130, 268, 177}},
              {{49, 480, 97, 527}, kKeyed, {220, 130, 268, 177}},
              {{99, 480, 179, 514}, kKeyed, {308, 144, 388, 178}},
              {{180, 480, 324, 509}, kKeyed, {399, 201, 543, 230}},
              {{260, 510, 330, 651}, kKeyed, {436, 228, 506, 369}},
              {{331, 510, 401, 651}, kKeyed, {436, 228, 506, 369}},
              {{564, 480, 592, 509}, kKeyed, {290, 148, 318, 177}},
              {{593, 480, 621, 509}, kKeyed, {290, 148, 318, 177}},
              {{0, 577, 150, 748}, kKeyed, {396, 202, 546, 373}},
              {{98, 528, 146, 576}, kOpaque, {278, 417, 326, 465}},
              {{147, 528, 195, 576}, kOpaque, {334, 417, 382, 465}}};
    for (auto& t : title(151, 169, 187, 205, 169, 577, 595)) ladder.push_back(t);
    for (int d = 1; d <= 10; ++d)  // the strip reads 1 ... 9, 0
      ladder.push_back(
          {{150 + 17 * (d - 1), 677, 166 + 17 * (d - 1), 702}, kKeyed, {499, 200, 515, 225}});
    for (int level = 0; level < 12; ++level) {
      const int l = level < 6 ? 483 : 402, t = 665 - 37 * (level % 6);
      ladder.push_back({{l, t, l + 80, t + 36}, kOpaque, {412, 139, 492, 175}});
    }
    for (int k = 0; k < 30; ++k) {
      const int l = 151 + 36 * (k % 10), t = 702 + 46 * (k / 10);
      ladder.push_back({{l, t, l + 36, t + 46}, kOpaque, {100, 128, 136, 174}});
    }
    auto& top = s["img/toplist.bmp"];
    top = {{page, kOpaque, {}}, {{0, 480, 50, 530}, kKeyed, {298, 417, 348, 467}}};
    const Rect tabs[6] = {{41, 98, 65, 160},   {34, 170, 58, 232},   {28, 248, 52, 310},
                          {569, 95, 593, 157}, {576, 167, 600, 229}, {582, 245, 606, 307}};
    for (int k = 0; k < 6; ++k)
      top.push_back({{100 + 25 * k, 480, 124 + 25 * k, 542}, kKeyed, tabs[k]});
    // Keyed on this screen, but they must still cover the idle buttons completely.
    for (auto& t : title(250, 268, 286, 304, 268, 480, 498)) top.push_back(t);
    auto& license = s["img/License.bmp"];
    license = {{page, kOpaque, {}}};
    for (int level = 0; level < 12; ++level) {
      const int l = level < 6 ? 280 : 0, t = 480 + 96 * (level % 6);
      license.push_back({{l, t, l + 280, t + 96}, kOpaque, {207, 145, 487, 241}});
    }
    for (auto& t : title(561, 579, 597, 615, 579, 480, 498)) license.push_back(t);

    auto& players = s["img/players.bmp"];
    for (int id = 0; id < 32; ++id) {
      const int x = id < 30 ? (id % 10) * 72 : (id - 30) * 72, y = id < 30 ? (id / 10) * 92 : 276;
      players.push_back({{x, y, x + 72, y + 92}, kOpaque, {12, 42, 84, 134}});
    }
    return s;
  }();
  return sheets;
}

const pic::Canvas& Picture(const std::string& name) {
  static std::map<std::string, pic::Canvas> cache;
  auto it = cache.find(name);
  // The files the build wrote: what the game will load (they equal a fresh rendering, which
  // picture_files_test checks).
  if (it == cache.end())
    it = cache.emplace(name, DecodeBmp(ReadFile(name)).value_or(pic::Canvas(1, 1))).first;
  return it->second;
}

bool Inside(const pic::Canvas& c, Rect r) {
  return r.l >= 0 && r.t >= 0 && r.r <= c.W() && r.b <= c.H();
}

bool KeyLike(pic::Rgb c) { return !pic::IsKey(c) && c.g >= 180 && c.r <= 90 && c.b <= 90; }

}  // namespace

TEST(PictureLayout, EverySpriteLiesInsideItsPictureAndHasItsDestinationsSize) {
  for (const auto& [name, sprites] : Sheets()) {
    const pic::Canvas& c = Picture(name);
    for (const Sprite& s : sprites) {
      SCOPED_TRACE(name + " sprite at " + std::to_string(s.src.l) + "," + std::to_string(s.src.t));
      EXPECT_TRUE(Inside(c, s.src)) << "the blitter never clips the source";
      if (s.dest.W() > 0) {
        EXPECT_EQ(s.src.W(), s.dest.W());
        EXPECT_EQ(s.src.H(), s.dest.H());
      }
    }
  }
}

TEST(PictureLayout, OpaqueAreasHoldNoKeyGreen) {
  for (const auto& [name, sprites] : Sheets()) {
    const pic::Canvas& c = Picture(name);
    for (const Sprite& s : sprites) {
      if (s.mode == kOpaque && Inside(c, s.src)) {
        EXPECT_EQ(CountKey(c, s.src), 0) << name << " at " << s.src.l << "," << s.src.t;
      }
    }
  }
  // Title-bar sprites of the how-to screen are keyed there but must replace the idle button.
  for (const Sprite& s : Sheets().at("img/how.bmp")) {
    if (s.src.W() == 17) {
      EXPECT_EQ(CountKey(Picture("img/how.bmp"), s.src), 0);
    }
  }
}

TEST(PictureLayout, MenuItemSpritesKeepTransparentEdgesAndShowACaption) {
  for (const auto& [name, sprites] : Sheets()) {
    const pic::Canvas& c = Picture(name);
    for (const Sprite& s : sprites) {
      if (s.mode != kItem) continue;
      SCOPED_TRACE(name + " item sprite at " + std::to_string(s.src.l) + "," +
                   std::to_string(s.src.t));
      const Rect r = s.src;
      // Neighbouring items overlap by up to 8 rows: 4 clear rows each side cover that.
      EXPECT_EQ(CountKey(c, {r.l, r.t, r.r, r.t + 4}), 4 * r.W());
      EXPECT_EQ(CountKey(c, {r.l, r.b - 4, r.r, r.b}), 4 * r.W());
      EXPECT_EQ(CountKey(c, {r.l, r.t, r.l + 2, r.b}), 2 * r.H());
      EXPECT_EQ(CountKey(c, {r.r - 2, r.t, r.r, r.b}), 2 * r.H());
      // Most of the plate is opaque.
      EXPECT_LT(CountKey(c, r), r.W() * r.H() / 3);
    }
  }
}

TEST(PictureLayout, LitSpritesChangeWhatTheirButtonShows) {
  for (const auto& [name, sprites] : Sheets()) {
    if (name == "img/Tital.bmp") continue;
    const pic::Canvas& c = Picture(name);
    const bool hasBackground = sprites.front().src.W() == 640;
    for (const Sprite& s : sprites) {
      if (s.dest.W() == 0 || !hasBackground || s.src.W() == 640) continue;
      int changed = 0, opaque = 0;
      for (int y = 0; y < s.src.H(); ++y)
        for (int x = 0; x < s.src.W(); ++x) {
          const pic::Rgb p = c.Get(s.src.l + x, s.src.t + y);
          if (pic::IsKey(p)) continue;
          ++opaque;
          changed += !(p == c.Get(s.dest.l + x, s.dest.t + y));
        }
      // Title-bar marks change only their symbol; everything else changes a good part.
      EXPECT_GE(changed, std::min(opaque / 4, 40))
          << name << " sprite at " << s.src.l << "," << s.src.t;
    }
  }
}

TEST(PictureLayout, NoGreenFringesAnywhere) {
  for (const pic::PictureJob& job : pic::AllPictures()) {
    const pic::Canvas& c = Picture(job.name);
    int fringe = 0;
    for (int y = 0; y < c.H(); ++y)
      for (int x = 0; x < c.W(); ++x) fringe += KeyLike(c.Get(x, y));
    EXPECT_EQ(fringe, 0) << job.name << ": pixels blended toward the key colour";
  }
}

TEST(PictureLayout, TitleFramesJoinTheBackgroundWithoutSeams) {
  const pic::Canvas& c = Picture("img/Tital.bmp");
  const Rect area{125, 29, 250, 389};
  for (int n = 0; n < 11; ++n) {
    const int fx = 640 + 125 * n;
    for (int y = 0; y < 360; ++y) {
      ASSERT_EQ(c.Get(fx, y), c.Get(area.l, area.t + y)) << "frame " << n << " left edge";
      ASSERT_EQ(c.Get(fx + 124, y), c.Get(area.r - 1, area.t + y))
          << "frame " << n << " right edge";
    }
    for (int x = 0; x < 125; ++x)
      ASSERT_EQ(c.Get(fx + x, 359), c.Get(area.l + x, area.b - 1)) << "frame " << n << " bottom";
  }
  // Neighbouring frames differ (it animates), and frame 0 is what the background shows.
  for (int n = 0; n < 10; ++n) {
    const auto a = c.Crop({640 + 125 * n, 0, 765 + 125 * n, 360}).EncodeBmp();
    const auto b = c.Crop({765 + 125 * n, 0, 890 + 125 * n, 360}).EncodeBmp();
    EXPECT_NE(a, b) << "frames " << n << " and " << n + 1;
  }
  EXPECT_EQ(c.Crop({640, 0, 765, 360}).EncodeBmp(), c.Crop(area).EncodeBmp());
}

TEST(PictureLayout, CursorFramesHaveTheirHotSpotAtTheCentreAndClearEdges) {
  for (int shape = 0; shape < 4; ++shape) {
    const pic::Canvas c = pic::MakeCursor(shape);
    ASSERT_EQ(c.W(), 64 * pic::CursorFrames(shape));
    for (int f = 0; f < pic::CursorFrames(shape); ++f) {
      SCOPED_TRACE("cursor " + std::to_string(shape) + " frame " + std::to_string(f));
      const int ox = 64 * f;
      EXPECT_FALSE(pic::IsKey(c.Get(ox + 32, 32))) << "nothing drawn at the hot spot";
      // Frame borders stay clear so no frame shows a sliver of its neighbour.
      EXPECT_EQ(CountKey(c, {ox, 0, ox + 64, 1}), 64);
      EXPECT_EQ(CountKey(c, {ox, 63, ox + 64, 64}), 64);
      EXPECT_EQ(CountKey(c, {ox, 0, ox + 1, 64}), 64);
      EXPECT_EQ(CountKey(c, {ox + 63, 0, ox + 64, 64}), 64);
      EXPECT_GT(CountKey(c, {ox, 0, ox + 64, 64}), 64 * 64 / 2) << "a pointer, not a block";
    }
  }
  // The arrow and the hands point up and left from the hot spot: the lower left stays clear.
  for (int shape = 0; shape < 3; ++shape) {
    const pic::Canvas c = pic::MakeCursor(shape);
    for (int f = 0; f < pic::CursorFrames(shape); ++f)
      EXPECT_EQ(CountKey(c, {64 * f, 40, 64 * f + 20, 64}), 20 * 24) << shape << " frame " << f;
  }
}

TEST(PictureLayout, PlayScreenSpritesHaveTheShapesTheScreenAssumes) {
  for (int n = 0; n < 5; ++n) {
    SCOPED_TRACE("board " + std::to_string(n));
    const pic::Canvas& c = Picture("img/base_" + std::to_string(n) + ".bmp");
    // Stones: round, opaque at the centre, clear in the corners.
    for (int x : {548, 570}) {
      EXPECT_FALSE(pic::IsKey(c.Get(x + 10, 670)));
      EXPECT_TRUE(pic::IsKey(c.Get(x, 660)) && pic::IsKey(c.Get(x + 20, 680)));
      EXPECT_LT(CountKey(c, {x, 660, x + 21, 681}), 21 * 21 / 4);
    }
    // The shadow halves the board under it: a dark disc and nothing else.
    for (int y = 660; y < 682; ++y)
      for (int x = 592; x < 614; ++x) {
        const pic::Rgb p = c.Get(x, y);
        ASSERT_TRUE(pic::IsKey(p) || (p.r < 16 && p.g < 16 && p.b < 16)) << x << "," << y;
      }
    // The kind highlight is a frame: the icon under it must stay visible.
    EXPECT_EQ(CountKey(c, {609, 483, 631, 505}), 22 * 22);
    // Start/stop sprites paint only the central button (sprite-relative 57,13 - 121,77).
    for (Rect b : {Rect{5, 569, 187, 695}, Rect{193, 569, 375, 695}, Rect{5, 696, 187, 822},
                   Rect{193, 696, 375, 822}, Rect{382, 823, 564, 949}}) {
      const Rect button{b.l + 57, b.t + 13, b.l + 121, b.t + 77};
      EXPECT_EQ(CountKey(c, b), b.W() * b.H() - (button.W() * button.H() - CountKey(c, button)));
      EXPECT_LT(CountKey(c, button), button.W() * button.H() / 3);
    }
    // Grid lines run through the cell centres the hit test uses, inside the board.
    const pic::Rgb line = c.Get(237, 200);
    for (int col = 0; col < 15; ++col) EXPECT_EQ(c.Get(237 + 24 * col, 200), line) << col;
    for (int row = 0; row < 15; ++row) EXPECT_EQ(c.Get(300, 74 + 24 * row), line) << row;
    EXPECT_NE(c.Get(249, 200), line) << "between lines";
  }
  // The five boards differ.
  EXPECT_NE(Picture("img/base_0.bmp").Get(300, 100), Picture("img/base_1.bmp").Get(300, 100));
}

TEST(PictureLayout, EveryPortraitIsDistinct) {
  const pic::Canvas& c = Picture("img/players.bmp");
  std::vector<std::vector<uint8_t>> seen;
  for (const Sprite& s : Sheets().at("img/players.bmp")) {
    const auto bytes = c.Crop(s.src).EncodeBmp();
    for (const auto& other : seen)
      EXPECT_NE(bytes, other) << "portrait at " << s.src.l << "," << s.src.t;
    seen.push_back(bytes);
  }
}

TEST(PictureLayout, LoadingPlaqueFitsThePageAndIsMostlyOpaque) {
  const pic::Canvas& c = Picture("img/Loading.bmp");
  EXPECT_LE(c.W(), 640);
  EXPECT_LE(c.H(), 480);
  EXPECT_LT(CountKey(c, c.Bounds()), c.W() * c.H() / 10);
}

namespace {

double Distance(pic::Rgb a, pic::Rgb b) {
  const double dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return std::sqrt(dr * dr + dg * dg + db * db);
}

struct TextArea {
  const char* picture;
  Rect area;      // where the screen writes, shadow row included
  pic::Rgb text;  // the colour it writes in
};

std::vector<TextArea> TextAreas() {
  std::vector<TextArea> areas;
  for (const char* name : {"img/GameMenu_0_1.bmp", "img/GameMenu_1_1.bmp", "img/GameMenu_2_1.bmp"})
    for (int s = 0; s < 6; ++s)
      for (pic::Rgb ink : {pic::Rgb{42, 1, 0}, pic::Rgb{128, 128, 128}})  // chosen, other
        areas.push_back({name, {200, 176 + 24 * s, 384, 193 + 24 * s}, ink});
  for (const char* name : {"img/gameTable.bmp", "img/GameTableWorld.bmp"})
    for (int p = 0; p < 8; ++p) {
      areas.push_back({name, {144, 146 + 26 * p, 208, 163 + 26 * p}, {255, 0, 0}});
      areas.push_back({name, {479, 146 + 26 * p, 495, 163 + 26 * p}, {255, 255, 255}});
    }
  for (const char* name : {"img/gamePoint.bmp", "img/GamePointWorld.bmp"})
    for (int i = 0; i < 3; ++i)
      areas.push_back({name, {220, 180 + 77 * i, 380, 197 + 77 * i}, {0, 0, 0}});
  for (int i = 0; i < 4; ++i)
    areas.push_back({"img/gamestart.bmp", {142, 127 + 63 * i, 206, 144 + 63 * i}, {186, 186, 168}});
  for (int i = 0; i < 10; ++i) {
    areas.push_back({"img/toplist.bmp", {123, 146 + 23 * i, 315, 163 + 23 * i}, {0, 0, 0}});
    areas.push_back({"img/toplist.bmp", {376, 146 + 23 * i, 568, 163 + 23 * i}, {0, 0, 0}});
  }
  areas.push_back({"img/License.bmp", {40, 445, 472, 478}, {255, 255, 0}});
  return areas;
}

}  // namespace

TEST(PictureLayout, TextTheScreensWriteStandsOutFromEveryPixelUnderIt) {
  // Also fails when something was painted where the screen writes (it would match the ink).
  for (const TextArea& a : TextAreas()) {
    const pic::Canvas& c = Picture(a.picture);
    double nearest = 1e9;
    for (int y = a.area.t; y < a.area.b; ++y)
      for (int x = a.area.l; x < a.area.r; ++x)
        nearest = std::min(nearest, Distance(c.Get(x, y), a.text));
    EXPECT_GE(nearest, 120) << a.picture << " area at " << a.area.l << "," << a.area.t;
  }
}

TEST(PictureLayout, SpritesOfOneKindAreAllDifferent) {
  struct Group {
    const char* picture;
    std::vector<Rect> sprites;
  };
  std::vector<Group> groups;
  for (const char* name : {"img/gameTable.bmp", "img/GameTableWorld.bmp"})
    groups.push_back(
        {name, {{35, 480, 54, 501}, {54, 480, 73, 501}, {73, 480, 92, 501}, {92, 480, 111, 501}}});
  Group ladder{"img/gamestart.bmp", {}}, levels{"img/gamestart.bmp", {}},
      portraits{"img/gamestart.bmp", {}}, badges{"img/License.bmp", {}},
      tabs{"img/toplist.bmp", {}};
  for (const Sprite& s : Sheets().at("img/gamestart.bmp")) {
    if (s.dest.l == 499) ladder.sprites.push_back(s.src);  // digits
    if (s.dest.l == 412) levels.sprites.push_back(s.src);
    if (s.dest.l == 100) portraits.sprites.push_back(s.src);
  }
  for (const Sprite& s : Sheets().at("img/License.bmp"))
    if (s.src.W() == 280) badges.sprites.push_back(s.src);
  // Within a column the three list tabs differ; the two columns name the same lists.
  for (int k = 0; k < 3; ++k) tabs.sprites.push_back({100 + 25 * k, 480, 124 + 25 * k, 542});
  groups.push_back({"img/gamestart.bmp", {{0, 480, 48, 527}, {49, 480, 97, 527}}});  // won, lost
  groups.push_back(
      {"img/gamestart.bmp", {{260, 510, 330, 651}, {331, 510, 401, 651}}});  // pass, fail
  groups.push_back({"img/gamestart.bmp", {{564, 480, 592, 509}, {593, 480, 621, 509}}});  // stones
  for (Group* g : {&ladder, &levels, &portraits, &badges, &tabs}) groups.push_back(*g);
  ASSERT_EQ(ladder.sprites.size(), 10u);
  ASSERT_EQ(levels.sprites.size(), 12u);
  ASSERT_EQ(portraits.sprites.size(), 30u);
  ASSERT_EQ(badges.sprites.size(), 12u);
  for (const Group& g : groups) {
    const pic::Canvas& c = Picture(g.picture);
    for (size_t i = 0; i < g.sprites.size(); ++i)
      for (size_t j = i + 1; j < g.sprites.size(); ++j)
        EXPECT_NE(c.Crop(g.sprites[i]).EncodeBmp(), c.Crop(g.sprites[j]).EncodeBmp())
            << g.picture << ": sprites at " << g.sprites[i].l << "," << g.sprites[i].t << " and "
            << g.sprites[j].l << "," << g.sprites[j].t;
  }
}

TEST(PictureLayout, LadderPortraitsShowTheSameFacesAsThePlayScreen) {
  const pic::Canvas& ladder = Picture("img/gamestart.bmp");
  const pic::Canvas& players = Picture("img/players.bmp");
  // Mean difference between ladder portrait k and play-screen portrait j seen at half size.
  auto difference = [&](int k, int j) {
    const int lx = 151 + 36 * (k % 10), ly = 702 + 46 * (k / 10);
    const int px = 72 * (j % 10), py = 92 * (j / 10);
    double sum = 0;
    for (int y = 0; y < 46; ++y)
      for (int x = 0; x < 36; ++x) {
        const pic::Rgb a = ladder.Get(lx + x, ly + y), b = players.Get(px + 2 * x, py + 2 * y);
        sum += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
      }
    return sum / (36 * 46 * 3);
  };
  for (int k = 0; k < 30; ++k) {
    const double own = difference(k, k);
    EXPECT_LT(own, 12) << "portrait " << k;
    for (int j = 0; j < 30; ++j) {
      if (j == k) continue;
      EXPECT_LT(own, difference(k, j)) << "portrait " << k << " looks like " << j;
    }
  }
}

TEST(PictureLayout, LadderSpritesLeaveRoomForWhatIsDrawnOverThem) {
  const pic::Canvas& c = Picture("img/gamestart.bmp");
  // The score digit is drawn at x 499-515 over the summary heading (drawn at 399): the
  // heading stays clear there so the digit sits on the information area.
  EXPECT_EQ(CountKey(c, {180 + 100, 480, 180 + 116, 509}), 16 * 29);
  // The next-game marker overlaps the stone mark's last ten columns: it must not hide them.
  EXPECT_EQ(CountKey(c, {99, 480, 109, 514}), 10 * 34);
  // Games 0 and 2 show a black stone, 1 and 3 a white one.
  EXPECT_LT(c.Get(578, 494).r, 100);
  EXPECT_GT(c.Get(607, 494).r, 180);
}

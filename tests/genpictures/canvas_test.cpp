#include <gtest/gtest.h>

#include <cstring>

#include "PictureTestUtil.h"
#include "Style.h"

using namespace pictest;

TEST(Canvas, BmpRoundTripKeepsRowsInOrderForEveryPadding) {
  for (int w : {1, 2, 3, 4, 5, 641}) {
    pic::Canvas c(w, 3, {1, 2, 3});
    c.Set(0, 0, {255, 0, 0});      // top left
    c.Set(w - 1, 2, {0, 0, 255});  // bottom right
    const std::vector<uint8_t> bytes = c.EncodeBmp();
    const auto back = DecodeBmp(bytes);
    ASSERT_TRUE(back) << w;
    EXPECT_EQ(back->EncodeBmp(), bytes);
    EXPECT_EQ(back->Get(0, 0), (pic::Rgb{255, 0, 0}));
    EXPECT_EQ(back->Get(w - 1, 2), (pic::Rgb{0, 0, 255}));
    // Bottom-up and B, G, R: the first stored pixel is the bottom-left one.
    const pic::Rgb bottomLeft = c.Get(0, 2);
    EXPECT_EQ(bytes[54], bottomLeft.b);
    EXPECT_EQ(bytes[56], bottomLeft.r);
  }
}

TEST(Canvas, KeyMatchesTheLoadersRule) {
  EXPECT_TRUE(pic::IsKey({0, 255, 0}));
  EXPECT_TRUE(pic::IsKey({8, 255, 8}));
  EXPECT_FALSE(pic::IsKey({9, 255, 0}));
  EXPECT_FALSE(pic::IsKey({0, 254, 0}));
  EXPECT_FALSE(pic::IsKey({0, 0, 0}));
}

TEST(Canvas, HardEdgesNeverBlendTowardTheKey) {
  pic::Canvas c(40, 40);
  const pic::Rgb red{200, 30, 20};
  pic::Disc(c, 20.3, 19.7, 13.4, red, true);
  pic::RoundRect(c, {2, 2, 15, 12}, 4.5, red, true);
  pic::Line(c, 3, 35, 37, 25, 2.3, red, true);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const pic::Rgb p = c.Get(x, y);
      ASSERT_TRUE(pic::IsKey(p) || p == red) << x << "," << y;
    }
}

TEST(Canvas, OutlinedShapesAreClosedByTheirOutline) {
  pic::Canvas c(30, 30);
  const pic::Rgb fill{250, 240, 200};
  pic::OutlinedShape(
      c, {5, 5, 25, 25},
      [](double x, double y) { return (x - 15) * (x - 15) + (y - 15) * (y - 15) < 64; },
      [&](double, double) { return fill; }, pic::pal::kInk);
  // No fill pixel touches the key: the outline is all round.
  for (int y = 1; y < 29; ++y)
    for (int x = 1; x < 29; ++x) {
      if (!(c.Get(x, y) == fill)) continue;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          ASSERT_FALSE(pic::IsKey(c.Get(x + dx, y + dy)));
        }
      }
    }
}

TEST(Text, CaptionsUseTheGameFontAndItsMeasure) {
  ASSERT_TRUE(TestFont().Loaded());
  const char* text = "連珠規則 OK";
  EXPECT_EQ(std::strlen(text), 11u) << "literals are Big5";
  const pic::Extent e = pic::Measure(text, pic::Plain({0, 0, 0}));
  EXPECT_EQ(e.w, 88);
  EXPECT_EQ(e.h, 16);
  EXPECT_EQ(pic::Measure(text, pic::Plain({0, 0, 0}, 2)).w, 176);
  pic::Canvas c(100, 20);
  pic::DrawText(c, TestFont(), 2, 2, text, pic::Plain({10, 20, 30}));
  // Ink inside the measured box only, and some of it in each character cell.
  EXPECT_EQ(CountKey(c, {0, 0, 100, 2}), 200);
  EXPECT_EQ(CountKey(c, {90, 0, 100, 20}), 200);
  for (int cell = 0; cell < 4; ++cell)
    EXPECT_LT(CountKey(c, {2 + 16 * cell, 2, 18 + 16 * cell, 18}), 256) << cell;
}

TEST(Text, EnlargedOutlinedCaptionsStayInsideTheirBox) {
  pic::Canvas c(200, 60);
  const pic::TextStyle st = pic::HeadingStyle(2);
  const pic::Extent e = pic::Measure("棋力", st);
  pic::DrawText(c, TestFont(), 10, 10, "棋力", st);
  const pic::Rect box{10, 10, 10 + e.w, 10 + e.h};
  for (int y = 0; y < c.H(); ++y)
    for (int x = 0; x < c.W(); ++x) {
      if (!box.Contains(x, y)) {
        ASSERT_TRUE(pic::IsKey(c.Get(x, y))) << x << "," << y;
      }
    }
}

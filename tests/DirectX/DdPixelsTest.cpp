#include <gtest/gtest.h>

#include <functional>

#include "DirectDraw.h"

namespace {

constexpr uint16_t kBack = 0x1234;

uint16_t Rgb(int r, int g, int b) { return uint16_t(r << 10 | g << 5 | b); }

// A page that frees itself; Fill sets every pixel from a function of its position.
struct Page : ImagePage {
  Page(uint32_t w, uint32_t h, uint16_t v = 0) {
    AllocImagePage(this, w, h);
    for (size_t i = 0; i < size_t(w) * h; ++i) pixels[i] = v;
  }
  ~Page() { FreeImagePage(this); }
  uint16_t& at(int x, int y) { return pixels[size_t(y) * width + x]; }
};

// Source pixel (x, y) holds a distinct non-zero value, so every copied pixel shows its origin.
uint16_t Tag(int x, int y) { return uint16_t(1 + y * 256 + x); }

Page Tagged(int w, int h) {
  Page p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.at(x, y) = Tag(x, y);
  return p;
}

// Checks that exactly the destination rectangle `hit` came from the source, with (sx, sy) the
// source position of hit's top left, and that every other pixel still holds kBack.
void ExpectCopied(Page& dst, CRect hit, int sx, int sy) {
  int wrong = 0;
  for (int y = 0; y < int(dst.height); ++y)
    for (int x = 0; x < int(dst.width); ++x) {
      uint16_t want = hit.PtInRect({x, y}) ? Tag(sx + x - hit.left, sy + y - hit.top) : kBack;
      if (dst.at(x, y) != want && ++wrong < 5)
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") = " << dst.at(x, y) << ", want " << want;
    }
  EXPECT_EQ(wrong, 0);
}

}  // namespace

TEST(BltPage, ClipsAgainstEveryEdgeOfTheDestination) {
  CDirectDraw dd;
  Page src = Tagged(64, 64);
  {
    Page dst(640, 480, kBack);
    dd.BltPage(&dst, -10, 5, &src, CRect(0, 0, 64, 64), FALSE);
    ExpectCopied(dst, CRect(0, 5, 54, 69), 10, 0);
  }
  {
    Page dst(640, 480, kBack);
    dd.BltPage(&dst, 600, 450, &src, CRect(0, 0, 64, 64), FALSE);
    ExpectCopied(dst, CRect(600, 450, 640, 480), 0, 0);
  }
  {
    Page dst(640, 480, kBack);
    dd.BltPage(&dst, 3, -60, &src, CRect(8, 8, 24, 72 - 8), FALSE);
    ExpectCopied(dst, CRect(3, 0, 19, -60 + 48), 8, 8 + 60);
  }
  for (CPoint at : {CPoint(640, 0), CPoint(0, 480), CPoint(-64, 0), CPoint(0, -64),
                    CPoint(INT32_MAX, 0), CPoint(INT32_MIN, INT32_MIN)}) {
    Page dst(640, 480, kBack);
    dd.BltPage(&dst, at.x, at.y, &src, CRect(0, 0, 64, 64), TRUE);
    ExpectCopied(dst, CRect(), 0, 0);
  }
  Page dst(640, 480, kBack);
  dd.BltPage(&dst, 10, 10, &src, CRect(5, 5, 5, 9), FALSE);
  dd.BltPage(&dst, 10, 10, &src, CRect(9, 9, 5, 5), FALSE);
  ExpectCopied(dst, CRect(), 0, 0);
}

TEST(BltPage, ClipsAgainstTheSourceToo) {
  CDirectDraw dd;
  Page src = Tagged(20, 10);
  {
    // One column past the right edge and rows below the bottom: what exists is copied.
    Page dst(100, 100, kBack);
    dd.BltPage(&dst, 30, 40, &src, CRect(10, 5, 21, 30), FALSE);
    ExpectCopied(dst, CRect(30, 40, 40, 45), 10, 5);
  }
  {
    // A rectangle starting left of and above the source keeps its placement.
    Page dst(100, 100, kBack);
    dd.BltPage(&dst, 30, 40, &src, CRect(-4, -2, 6, 3), TRUE);
    ExpectCopied(dst, CRect(34, 42, 40, 45), 0, 0);
  }
  // An empty (failed or freed) picture draws nothing through any operation.
  ImagePage empty;
  Page dst(100, 100, kBack);
  dd.BltPage(&dst, 0, 0, &empty, CRect(0, 0, 50, 50), FALSE);
  dd.BltPage(&dst, 0, 0, &empty, CRect(-1, -1, -1, -1), TRUE);
  dd.BltBlend(&dst, 0, 0, &empty, CRect(0, 0, 50, 50));
  ImagePage sized{50, 50, nullptr};
  dd.BltPage(&dst, 0, 0, &sized, CRect(0, 0, 50, 50), FALSE);
  dd.BltPage(&empty, 0, 0, &src, CRect(0, 0, 5, 5), FALSE);
  ExpectCopied(dst, CRect(), 0, 0);
}

TEST(BltPage, WholeImageRuleLooksOnlyAtTheTop) {
  CDirectDraw dd;
  Page src = Tagged(30, 20);
  Page dst(100, 100, kBack);
  dd.BltPage(&dst, 7, 9, &src, CRect(5, -1, 9, 9), FALSE);
  ExpectCopied(dst, CRect(7, 9, 37, 29), 0, 0);
  // The blend has no such rule: top -1 is an ordinary rectangle, clipped to the source.
  Page dst2(100, 100, 0);
  dd.BltBlend(&dst2, 0, 0, &src, CRect(-1, -1, -1, -1));
  for (int i = 0; i < 100 * 100; ++i) ASSERT_EQ(dst2.pixels[i], 0);
}

TEST(BltPage, KeyedSkipsZeroOpaqueWritesIt) {
  CDirectDraw dd;
  Page src(4, 1);
  src.at(0, 0) = 0;
  src.at(1, 0) = 7;
  src.at(2, 0) = 0;
  src.at(3, 0) = 1;
  Page keyed(4, 1, kBack), opaque(4, 1, kBack);
  dd.BltPage(&keyed, 0, 0, &src, CRect(-1, -1, -1, -1), TRUE);
  dd.BltPage(&opaque, 0, 0, &src, CRect(-1, -1, -1, -1), FALSE);
  EXPECT_EQ(std::vector<uint16_t>(keyed.pixels, keyed.pixels + 4),
            (std::vector<uint16_t>{kBack, 7, kBack, 1}));
  EXPECT_EQ(std::vector<uint16_t>(opaque.pixels, opaque.pixels + 4),
            (std::vector<uint16_t>{0, 7, 0, 1}));
}

TEST(BltPage, CopyWithinOnePageIsSafe) {
  CDirectDraw dd;
  Page p = Tagged(40, 4);
  dd.BltPage(&p, 1, 0, &p, CRect(0, 0, 39, 4), FALSE);
  for (int x = 1; x < 40; ++x) ASSERT_EQ(p.at(x, 2), Tag(x - 1, 2));
}

TEST(BltBlend, ChannelMeansRoundedDownAndKeySkipped) {
  CDirectDraw dd;
  Page src(5, 1), dst(5, 1);
  uint16_t s[] = {0x7FFF, Rgb(31, 0, 1), 0, Rgb(3, 4, 5), Rgb(1, 1, 1)};
  uint16_t d[] = {0x0000, Rgb(0, 31, 2), kBack, Rgb(4, 5, 6), Rgb(0, 0, 0)};
  for (int i = 0; i < 5; ++i) src.at(i, 0) = s[i], dst.at(i, 0) = d[i];
  dd.BltBlend(&dst, 0, 0, &src, CRect(0, 0, 5, 1));
  EXPECT_EQ(dst.at(0, 0), 0x3DEF);
  EXPECT_EQ(dst.at(1, 0), Rgb(15, 15, 1));
  EXPECT_EQ(dst.at(2, 0), kBack);
  EXPECT_EQ(dst.at(3, 0), Rgb(3, 4, 5));
  EXPECT_EQ(dst.at(4, 0), Rgb(0, 0, 0));

  // Any pixel blended with itself stays what it was.
  Page all(32768, 1), same(32768, 1);
  for (int v = 0; v < 32768; ++v) all.at(v, 0) = same.at(v, 0) = uint16_t(v);
  dd.BltBlend(&same, 0, 0, &all, CRect(0, 0, 32768, 1));
  for (int v = 0; v < 32768; ++v) ASSERT_EQ(same.at(v, 0), v);
}

TEST(ShadeRect, TablesLevelsAndClipping) {
  CDirectDraw dd;
  dd.BuildLightenTable();
  dd.BuildDarkenTable();
  Page p(4, 2);
  auto reset = [&] {
    p.at(0, 0) = 0x7FFF, p.at(1, 0) = 0x0421, p.at(2, 0) = 0, p.at(3, 0) = Rgb(20, 10, 31);
    p.at(0, 1) = p.at(1, 1) = p.at(2, 1) = p.at(3, 1) = Rgb(1, 2, 3);
  };
  reset();
  dd.ShadeRect(&p, CRect(-100, -100, 1000, 1), 8, FALSE);
  EXPECT_EQ(p.at(0, 0), Rgb(23, 23, 23));
  EXPECT_EQ(p.at(1, 0), 0);  // near black darkens onto the key
  EXPECT_EQ(p.at(2, 0), 0);
  EXPECT_EQ(p.at(3, 0), Rgb(12, 2, 23));
  EXPECT_EQ(p.at(0, 1), Rgb(1, 2, 3));  // outside the rectangle

  reset();
  dd.ShadeRect(&p, CRect(0, 0, 4, 2), 8, TRUE);
  EXPECT_EQ(p.at(0, 0), 0x7FFF);
  EXPECT_EQ(p.at(1, 0), Rgb(9, 9, 9));
  EXPECT_EQ(p.at(2, 0), 0);  // the key is never lightened into a colour
  EXPECT_EQ(p.at(3, 0), Rgb(28, 18, 31));

  reset();
  dd.ShadeRect(&p, CRect(0, 1, 4, 2), 20, TRUE);
  EXPECT_EQ(p.at(0, 1), Rgb(16, 17, 18));
  for (int level : {0, -3}) {
    reset();
    dd.ShadeRect(&p, CRect(0, 0, 4, 2), level, FALSE);
    EXPECT_EQ(p.at(0, 0), 0x7FFF);
  }
  reset();
  dd.ShadeRect(&p, CRect(4, 0, 8, 2), 5, FALSE);
  dd.ShadeRect(&p, CRect(2, 2, 1, 1), 5, FALSE);
  EXPECT_EQ(p.at(3, 1), Rgb(1, 2, 3));
}

TEST(ShadeRect, TableEntriesForEveryValue) {
  CDirectDraw dd;
  dd.BuildLightenTable();
  dd.BuildDarkenTable();
  // Step 0 is the identity below bit 15; bit 15 itself is never carried.
  for (uint32_t p = 0; p < 65536; ++p) {
    ASSERT_EQ(dd.LightenTable()[p * 16], p & 0x7FFF);
    ASSERT_EQ(dd.DarkenTable()[p * 16], p & 0x7FFF);
  }
  EXPECT_EQ(dd.DarkenTable()[0xFFFF * 16 + 15], Rgb(16, 16, 16));
  EXPECT_EQ(dd.LightenTable()[Rgb(30, 0, 17) * 16 + 3], Rgb(31, 3, 20));
}

TEST(GrabRect, CornersAndMisses) {
  CDirectDraw dd;
  Page page = Tagged(640, 480);
  ImagePage out;
  EXPECT_TRUE(dd.GrabRect(&page, &out, CRect(-32, -32, 32, 32)));
  ASSERT_EQ(out.width, 64u);
  ASSERT_EQ(out.height, 64u);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      ASSERT_EQ(out.pixels[y * 64 + x], x >= 32 && y >= 32 ? Tag(x - 32, y - 32) : 0);

  // A grab into a page that already holds pixels replaces them (no leak, no double free).
  EXPECT_FALSE(dd.GrabRect(&page, &out, CRect(700, 0, 764, 64)));
  ASSERT_EQ(out.width, 64u);
  ASSERT_NE(out.pixels, nullptr);
  for (int i = 0; i < 64 * 64; ++i) ASSERT_EQ(out.pixels[i], 0);

  EXPECT_TRUE(dd.GrabRect(&page, &out, CRect(608, 448, 672, 512)));
  EXPECT_EQ(out.pixels[0], Tag(608, 448));
  EXPECT_EQ(out.pixels[31 * 64 + 31], Tag(639, 479));
  EXPECT_EQ(out.pixels[32 * 64 + 32], 0);

  // Restoring a grab puts back exactly what was there, also at the edges.
  Page copy = Tagged(640, 480);
  dd.BltPage(&page, 608, 448, &out, CRect(0, 0, 64, 64), FALSE);
  EXPECT_EQ(0, memcmp(copy.pixels, page.pixels, 640 * 480 * 2));

  ImagePage empty;
  EXPECT_FALSE(dd.GrabRect(&empty, &out, CRect(0, 0, 8, 8)));
  EXPECT_FALSE(dd.GrabRect(&page, &out, CRect(10, 10, 5, 5)));
  EXPECT_EQ(out.width, 0u);
  FreeImagePage(&out);
  FreeImagePage(&out);
  EXPECT_EQ(out.pixels, nullptr);
}

TEST(Tables, GlowDiamondAndBlendEntries) {
  CDirectDraw dd;
  dd.BuildGlowTable();
  dd.BuildBlendTable();
  const uint16_t* g = dd.GlowTable();
  EXPECT_EQ(g[0 * 64 + 0], 30 * 256 + 4);
  EXPECT_EQ(g[0 * 64 + 31], 31 * 256 + 3);
  EXPECT_EQ(g[0 * 64 + 34], 0);
  EXPECT_EQ(g[15 * 64 + 0], 0 * 256 + 64);
  EXPECT_EQ(g[15 * 64 + 63], 63 * 256 + 1);
  EXPECT_EQ(g[16 * 64 + 10], 10 * 256 + 54);
  EXPECT_EQ(g[31 * 64 + 5], 30 * 256 + 4);
  EXPECT_EQ(g[31 * 64 + 33], 33 * 256 + 1);
  for (int a = 0; a < 32; ++a)
    for (int b = 0; b < 32; ++b) {
      ASSERT_EQ(dd.Blend(a, b, 0), a);
      for (int t = 0; t < 32; ++t) ASSERT_EQ(dd.Blend(a, b, t), (a * 32 + (b - a) * t) / 32);
    }
}

TEST(FurtherOperations, FillsLinesAndSpecialCopies) {
  CDirectDraw dd;
  EXPECT_EQ(CDirectDraw::PackColor(255, 255, 255), 0x7FFF);
  EXPECT_EQ(CDirectDraw::PackColor(128, 128, 128), 0x3DEF);
  EXPECT_EQ(CDirectDraw::PackColor(0, 255, 16), Rgb(0, 31, 1));

  Page p(10, 10, kBack);
  dd.FillRect(&p, CRect(8, 8, 20, 20), 5);
  EXPECT_EQ(p.at(9, 9), 5);
  EXPECT_EQ(p.at(7, 9), kBack);
  dd.XorRect(&p, CRect(-5, -5, 20, 20), 5);
  EXPECT_EQ(p.at(9, 9), 0);
  EXPECT_EQ(p.at(0, 0), kBack ^ 5);

  // A line with one end off the page is clamped into it; both ends off draws nothing.
  Page l(10, 10, 0);
  dd.DrawLine(&l, 0, 0, 20, 0, 9);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(l.at(x, 0), 9);
  dd.DrawLine(&l, -5, 5, 50, 5, 9);
  EXPECT_EQ(l.at(0, 5), 0);
  dd.DrawLine(&l, 2, 2, 5, 8, 7);
  EXPECT_EQ(l.at(2, 2), 7);
  EXPECT_EQ(l.at(5, 8), 7);
  int count = 0;
  for (int i = 0; i < 100; ++i) count += l.pixels[i] == 7;
  EXPECT_EQ(count, 7);  // y-major: one pixel per row

  dd.BuildGlowTable();
  Page d(40, 40, 0);
  dd.FillDiamond(&d, -31, 0, 3);  // only the right half lands
  EXPECT_EQ(d.at(0, 0), 3);
  EXPECT_EQ(d.at(2, 0), 3);
  EXPECT_EQ(d.at(3, 0), 0);
  EXPECT_EQ(d.at(32, 15), 3);
  EXPECT_EQ(d.at(33, 15), 0);
  dd.FillDiamond(&d, 10, 30, 4);  // cut at the right and bottom: row 9 runs 22 to 61
  EXPECT_EQ(d.at(39, 39), 4);
  EXPECT_EQ(d.at(22, 39), 4);
  EXPECT_EQ(d.at(21, 39), 0);

  Page src(3, 1);
  src.at(0, 0) = 0x7FFF, src.at(1, 0) = Rgb(1, 0, 1), src.at(2, 0) = 0;
  Page r(3, 1, kBack);
  dd.BltRecolor(&r, 0, 0, &src, CRect(0, 0, 3, 1), 0x0011);
  EXPECT_EQ(r.at(0, 0), 0x7FFF);
  EXPECT_EQ(r.at(1, 0), 0x0011 | 0x0F00 | 0xF000);
  EXPECT_EQ(r.at(2, 0), kBack);
  Page s(3, 1, kBack);
  dd.BltSilhouette(&s, -1, 0, &src, CRect(0, 0, 3, 1), 6);
  EXPECT_EQ(s.at(0, 0), 6);
  EXPECT_EQ(s.at(1, 0), kBack);

  // Masks and markers of the wrong size draw nothing rather than read past them.
  Page small(1, 1, 0);
  dd.BltBehindMask(&s, 0, 0, &src, CRect(0, 0, 3, 1), &small, 0, FALSE);
  dd.BltMarked(&s, 0, 0, &src, CRect(0, 0, 3, 1), &small, 0);
  EXPECT_EQ(s.at(1, 0), kBack);
}

TEST(FurtherOperations, ShadeMapLightensUnderNonZeroLevels) {
  CDirectDraw dd;
  dd.BuildLightenTable();
  Page map(2, 1);
  map.at(0, 0) = 31, map.at(1, 0) = 0;
  ShadeMap levels;
  CDirectDraw::MakeShadeMap(&map, &levels);
  EXPECT_EQ(map.pixels, nullptr);
  ASSERT_EQ(levels.levels, (std::vector<uint8_t>{15, 0}));
  Page dst(3, 1, Rgb(1, 2, 3));
  dd.LightenByShadeMap(&dst, 2, 0, &levels);
  EXPECT_EQ(dst.at(2, 0), Rgb(16, 17, 18));
  EXPECT_EQ(dst.at(1, 0), Rgb(1, 2, 3));
}

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <utility>
#include <vector>

#include "BitFont.h"
#include "TempDir.h"

namespace {

using Pixels = std::set<std::pair<int, int>>;

const BitFont& Font() {
  const BitFont* f = BitFont::Default();
  if (!f) ADD_FAILURE() << BitFont::DefaultError();
  static BitFont empty;
  return f ? *f : empty;
}

Pixels Render(std::string_view text) {
  Pixels p;
  Font().ForEachPixel(text, [&](int x, int y) { p.insert({x, y}); });
  return p;
}

// A page with a guard band around it: drawing may touch only the inner width x height.
struct GuardedPage {
  static constexpr int kGuard = 24;
  static constexpr uint16_t kFill = 0x1234, kGuardValue = 0x4321;
  int width, height, pitch;
  std::vector<uint16_t> all;
  GuardedPage(int w, int h)
      : width(w),
        height(h),
        pitch(w + 2 * kGuard),
        all(size_t(pitch) * (h + 2 * kGuard), kGuardValue) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) at(x, y) = kFill;
  }
  uint16_t& at(int x, int y) { return all[size_t(y + kGuard) * pitch + x + kGuard]; }
  uint16_t* origin() { return &at(0, 0); }
  bool GuardIntact() const {
    for (int y = 0; y < height + 2 * kGuard; ++y)
      for (int x = 0; x < pitch; ++x) {
        bool inner = x >= kGuard && x < kGuard + width && y >= kGuard && y < kGuard + height;
        if (!inner && all[size_t(y) * pitch + x] != kGuardValue) return false;
      }
    return true;
  }
};

TEST(BitFont, WidthIsEightPixelsPerByteUpToNul) {
  EXPECT_EQ(BitFont::Width("PLAYER"), 48);
  EXPECT_EQ(BitFont::Width("確定"), 32);
  EXPECT_EQ(BitFont::Width("\xA4"), 8);
  EXPECT_EQ(BitFont::Width(std::string_view("ab\0cd", 5)), 16);
  EXPECT_EQ(BitFont::Width(""), 0);
}

TEST(BitFont, GlyphFileCoversAsciiAndTheGameTexts) {
  for (const char* text :
       {"請輸入姓名", "確定", "紀錄檔 (*.SAV)", "完成存檔!", "請將【磁碟片】放入磁碟機中!",
        "五子棋棋力證書申請  電腦鑑定棋力為[五級!]", "許功蓋", "Time:[0]"}) {
    for (size_t i = 0; text[i];) {
      bool dbcs = static_cast<uint8_t>(text[i]) >= 0x81;
      uint16_t code =
          dbcs ? uint16_t(uint8_t(text[i]) << 8 | uint8_t(text[i + 1])) : uint8_t(text[i]);
      EXPECT_NE(Font().Glyph(code), nullptr) << text << " at byte " << i;
      i += dbcs ? 2 : 1;
    }
  }
  EXPECT_EQ(Font().Glyph(0x00), nullptr);
  EXPECT_EQ(Font().Glyph(0xFA40), nullptr);  // user-defined area: no glyph
}

TEST(BitFont, DoubleByteGlyphsUseTheWholeCellAndFollowOneAnother) {
  Pixels one = Render("確");
  ASSERT_FALSE(one.empty());
  int maxX = 0;
  for (auto [x, y] : one) {
    maxX = std::max(maxX, x);
    EXPECT_LT(y, 16);
  }
  EXPECT_GE(maxX, 8) << "a Chinese glyph drawn in half a cell";
  // The second of two characters is the first moved 16 pixels right.
  Pixels two = Render("確確");
  Pixels shifted;
  for (auto [x, y] : one) shifted.insert({x + 16, y});
  Pixels expect = one;
  expect.insert(shifted.begin(), shifted.end());
  EXPECT_EQ(two, expect);
}

TEST(BitFont, StrayLeadBytesAndUnknownCodesAreBlanks) {
  Pixels a = Render("A");
  ASSERT_FALSE(a.empty());
  auto movedA = [&](int dx) {
    Pixels p;
    for (auto [x, y] : a) p.insert({x + dx, y});
    return p;
  };
  // 0xA4 followed by 'A' is the character 乙, not a blank; a lead before a space is stray.
  EXPECT_NE(Render("\xA4"
                   "A"),
            movedA(8));
  EXPECT_EQ(Render("\xA4 A"), movedA(16));
  EXPECT_EQ(Render("\xFA\x40"
                   "A"),
            movedA(16));
  EXPECT_EQ(Render("\x01\x80\xFF"
                   "A"),
            movedA(24));
  EXPECT_EQ(Render(std::string_view("A\0A", 3)), a);
}

TEST(BitFont, DrawsInTheColourOnATransparentBackground) {
  GuardedPage page(64, 32);
  Font().Draw555(page.origin(), page.pitch, CRect(0, 0, 64, 32), 3, 5, "Ab確",
                 ColorTo555(RGB(255, 255, 0)));
  Pixels expect = Render("Ab確");
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x)
      EXPECT_EQ(page.at(x, y), expect.count({x - 3, y - 5}) ? 0x7FE0 : GuardedPage::kFill)
          << x << "," << y;
  EXPECT_TRUE(page.GuardIntact());
}

TEST(BitFont, ClipsAtEveryEdgeWithoutTouchingOutsidePixels) {
  const std::string text = "確定 OK 紀錄";
  Pixels full = Render(text);
  const int w = 100, h = 40;
  for (auto [x, y] : std::vector<std::pair<int, int>>{{-20, -9},
                                                      {-200, 0},
                                                      {w - 10, h - 3},
                                                      {90, -15},
                                                      {-5, 30},
                                                      {0, h},
                                                      {w, 0},
                                                      {-BitFont::Width(text), 0},
                                                      {-3000, -3000},
                                                      {1 << 29, 1 << 29},
                                                      {-(1 << 29), 5}}) {
    GuardedPage page(w, h);
    CRect clip(0, 0, w, h);
    Font().Draw555(page.origin(), page.pitch, clip, x, y, text, 0x7FFF);
    EXPECT_TRUE(page.GuardIntact()) << "at " << x << "," << y;
    for (int py = 0; py < h; ++py)
      for (int px = 0; px < w; ++px)
        ASSERT_EQ(page.at(px, py) == 0x7FFF, full.count({px - x, py - y}) == 1) << px << "," << py;
  }
  // A clip smaller than the page: nothing outside it changes.
  GuardedPage page(w, h);
  Font().Draw555(page.origin(), page.pitch, CRect(10, 4, 30, 12), 0, 0, text, 0x7FFF);
  for (int py = 0; py < h; ++py)
    for (int px = 0; px < w; ++px)
      if (!CRect(10, 4, 30, 12).PtInRect({px, py})) {
        ASSERT_EQ(page.at(px, py), GuardedPage::kFill);
      }
  Font().Draw555(page.origin(), page.pitch, CRect(5, 5, 5, 20), 0, 0, text, 0x7FFF);
  Font().Draw555(nullptr, page.pitch, CRect(0, 0, w, h), 0, 0, text, 0x7FFF);
  EXPECT_TRUE(page.GuardIntact());
}

TEST(BitFont, ColoursReduceToFiveBitsPerChannel) {
  EXPECT_EQ(ColorTo555(RGB(255, 255, 0)), 0x7FE0);
  EXPECT_EQ(ColorTo555(RGB(1, 0, 0)), 0);
  EXPECT_EQ(ColorTo555(RGB(255, 255, 255)), 0x7FFF);
  EXPECT_EQ(ColorTo555(RGB(8, 16, 24)), (1 << 10) | (2 << 5) | 3);
}

TEST(BitFont, RejectsBadGlyphFilesAndKeepsWhatItHad) {
  TempDir dir;
  BitFont font;
  EXPECT_FALSE(font.Load(dir / "missing.fnt"));
  EXPECT_FALSE(font.IsLoaded());
  EXPECT_NE(font.Error().find("missing.fnt"), std::string::npos);

  std::ifstream in(kGlyphFileName, std::ios::binary);
  std::string good((std::istreambuf_iterator<char>(in)), {});
  ASSERT_GT(good.size(), 1000u);
  auto write = [&](const std::string& name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
    return dir / name;
  };
  ASSERT_TRUE(font.Load(write("good.fnt", good)));
  const uint8_t* before = font.Glyph('A');
  ASSERT_NE(before, nullptr);

  std::string swapped = good;
  std::swap(swapped[12], swapped[14]);  // first two codes out of order
  std::swap(swapped[13], swapped[15]);
  std::string hugeCount = good;
  hugeCount[11] = '\x7F';
  for (const std::string& bad : {std::string(), good.substr(0, 11), good.substr(0, good.size() - 1),
                                 good + "x", "XXXXXXXX" + good.substr(8), swapped, hugeCount}) {
    EXPECT_FALSE(font.Load(write("bad.fnt", bad)));
    EXPECT_FALSE(font.Error().empty());
    EXPECT_EQ(font.Glyph('A'), before);
  }
}

}  // namespace

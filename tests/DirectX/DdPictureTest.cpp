#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "DirectDraw.h"
#include "WinFile.h"

namespace {

namespace fs = std::filesystem;

struct Rgb8 {
  uint8_t r, g, b;
};

void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = uint8_t(x >> (8 * i));
}

// A 24-bit bottom-up BMP; rows[0] is the top row. `pad` extra bytes end every row beyond the
// usual four-byte alignment.
std::vector<uint8_t> Bmp(const std::vector<std::vector<Rgb8>>& rows, int pad = 0) {
  const int w = int(rows[0].size()), h = int(rows.size());
  const int stride = (w * 3 + 3) / 4 * 4 + pad;
  std::vector<uint8_t> v(54 + size_t(stride) * h, 0);
  v[0] = 'B', v[1] = 'M';
  Put32(v, 2, uint32_t(v.size()));
  Put32(v, 10, 54);
  Put32(v, 14, 40);
  Put32(v, 18, uint32_t(w));
  Put32(v, 22, uint32_t(h));
  v[26] = 1, v[28] = 24;
  for (int k = 0; k < h; ++k)
    for (int x = 0; x < w; ++x) {
      const Rgb8& c = rows[h - 1 - k][x];
      uint8_t* p = &v[54 + size_t(k) * stride + x * 3];
      p[0] = c.b, p[1] = c.g, p[2] = c.r;
    }
  return v;
}

std::vector<uint16_t> Pixels(const ImagePage& p) {
  return std::vector<uint16_t>(p.pixels, p.pixels + size_t(p.width) * p.height);
}

std::vector<std::string> messages;
void Capture(const char* text) { messages.push_back(text); }

class Picture : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/ddpicXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    fs::create_directory(dir / "img");
    messages.clear();
    old = SetDdMessageHook(Capture);
  }
  void TearDown() override {
    SetDdMessageHook(old);
    FreeImagePage(&page);
    fs::remove_all(dir);
  }
  void Write(const fs::path& p, const std::vector<uint8_t>& bytes) {
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  std::vector<uint8_t> Read(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
  }
  // The game spells paths Windows-style.
  std::string Game(const std::string& rel) { return dir.string() + "\\" + rel; }

  fs::path dir;
  ImagePage page;
  CDirectDraw dd;
  DdMessageHook old = nullptr;
};

}  // namespace

TEST_F(Picture, ColoursConvertWithGreenKeyAndBlackKeptOpaque) {
  std::vector<Rgb8> row = {{0, 255, 0},     {8, 255, 8},     {9, 255, 0}, {0, 0, 0}, {8, 8, 8},
                           {255, 255, 255}, {128, 128, 128}, {255, 0, 0}, {0, 0, 9}};
  Write(dir / "img" / "Colours.bmp", Bmp({row}));
  ASSERT_TRUE(dd.LoadImagePage(&page, Game("img\\Colours.bmp")));
  EXPECT_EQ(Pixels(page),
            (std::vector<uint16_t>{0, 0, 0x03E0 | 1 << 10, 1, 1, 0x7FFF, 0x3DEF, 0x7C00, 1}));
  EXPECT_TRUE(messages.empty());
}

TEST_F(Picture, RowsAreFlippedAndPaddingSkipped) {
  // 3 pixels wide: 9 bytes of pixels in a 12-byte row; more padding on top must be skipped too.
  for (int pad : {0, 4}) {
    std::vector<std::vector<Rgb8>> rows = {{{255, 0, 0}, {0, 0, 255}, {255, 255, 255}},
                                           {{0, 0, 0}, {0, 255, 0}, {128, 128, 128}}};
    std::string name = "img\\Pad" + std::to_string(pad) + ".bmp";
    Write(dir / "img" / ("Pad" + std::to_string(pad) + ".bmp"), Bmp(rows, pad));
    FreeImagePage(&page);
    ASSERT_TRUE(dd.LoadImagePage(&page, Game(name)));
    EXPECT_EQ(page.width, 3u);
    EXPECT_EQ(page.height, 2u);
    EXPECT_EQ(Pixels(page), (std::vector<uint16_t>{0x7C00, 0x001F, 0x7FFF, 1, 0, 0x3DEF}));
  }
}

TEST_F(Picture, CacheIsWrittenBesideAndPreferredWhileValid) {
  Write(dir / "img" / "Title.BMP", Bmp({{{255, 255, 255}, {0, 0, 0}}}));
  ASSERT_TRUE(dd.LoadImagePage(&page, Game("IMG\\Title.BMP")));
  const fs::path cache = dir / "img" / "title.img";
  ASSERT_TRUE(fs::exists(cache));
  EXPECT_EQ(Read(cache), (std::vector<uint8_t>{2, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0x7F, 1, 0}));
  // No temporary file is left beside the cache.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "img"), {}), 2);

  // A changed picture still loads from the cache; a removed one too.
  Write(dir / "img" / "Title.BMP", Bmp({{{255, 0, 0}, {255, 0, 0}}}));
  FreeImagePage(&page);
  ASSERT_TRUE(dd.LoadImagePage(&page, Game("IMG\\Title.BMP")));
  EXPECT_EQ(Pixels(page), (std::vector<uint16_t>{0x7FFF, 1}));
  fs::remove(dir / "img" / "Title.BMP");
  FreeImagePage(&page);
  ASSERT_TRUE(dd.LoadImagePage(&page, Game("IMG\\Title.BMP")));
  EXPECT_EQ(Pixels(page), (std::vector<uint16_t>{0x7FFF, 1}));
  EXPECT_TRUE(messages.empty());
}

TEST_F(Picture, DamagedCachesFallBackToThePictureAndAreRewritten) {
  Write(dir / "img" / "a.bmp", Bmp({{{255, 255, 255}, {0, 0, 255}}}));
  const fs::path cache = dir / "img" / "a.img";
  const std::vector<uint8_t> good = {2, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0x7F, 0x1F, 0};
  std::vector<std::vector<uint8_t>> bad = {
      {},                                                // empty
      {2, 0, 0},                                         // shorter than its sizes
      {2, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0x7F, 0x1F},        // one pixel byte short
      {2, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0x7F, 0x1F, 0, 0},  // one byte too long
      {0, 0, 0, 0x40, 0, 0, 0, 0x40, 1, 2, 3, 4},        // absurd sizes
      {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},  // sizes that overflow
      {0, 0, 0, 0, 0, 0, 0, 0},                          // no pixels
      {0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0},              // a huge width of no rows
      {0, 0, 0, 0, 2, 0, 0, 0},                          // rows of no pixels
  };
  // Sizes that agree with the file but are beyond any picture.
  std::vector<uint8_t> wide(8 + 2 * 4097, 0);
  wide[0] = 0x01, wide[1] = 0x10, wide[4] = 1;
  bad.push_back(wide);
  for (const auto& b : bad) {
    Write(cache, b);
    FreeImagePage(&page);
    ASSERT_TRUE(dd.LoadImagePage(&page, Game("img\\a.bmp")));
    EXPECT_EQ(Pixels(page), (std::vector<uint16_t>{0x7FFF, 0x001F}));
    EXPECT_EQ(Read(cache), good);
  }
}

TEST_F(Picture, MalformedPicturesAreRefusedSilentlyWithoutCache) {
  const std::vector<uint8_t> valid = Bmp({{{1, 2, 3}, {4, 5, 6}}, {{7, 8, 9}, {10, 11, 12}}});
  auto with = [&](size_t at, uint32_t v, int bytes = 4) {
    std::vector<uint8_t> b = valid;
    for (int i = 0; i < bytes; ++i) b[at + i] = uint8_t(v >> (8 * i));
    return b;
  };
  std::vector<std::vector<uint8_t>> bad = {
      {},
      {'B', 'M'},
      std::vector<uint8_t>(valid.begin(), valid.begin() + 33),
      with(0, 'M' | 'B' << 8, 2),  // not "BM"
      with(10, 0xFFFF),            // pixel data past the end
      with(10, uint32_t(valid.size())),
      with(18, 0),             // width 0
      with(18, 0x80000000),    // negative width
      with(22, 0),             // height 0: no division by zero
      with(22, uint32_t(-2)),  // top-down
      with(22, 0x7FFFFFFF),    // rows shorter than the width
      with(18, 0x7FFFFFFF),    // a width no file holds
      with(28, 32, 2),         // 32 bits per pixel
      with(28, 8, 2),
      with(30, 1),  // compressed
  };
  bad.push_back(Bmp(std::vector<std::vector<Rgb8>>(4097, {{1, 2, 3}})));  // taller than any picture
  // Rows cut short: the stride falls below three bytes per pixel.
  bad.push_back(std::vector<uint8_t>(valid.begin(), valid.end() - 7));
  int n = 0;
  for (const auto& b : bad) {
    SCOPED_TRACE(n);
    std::string name = "b" + std::to_string(n++) + ".bmp";
    Write(dir / "img" / name, b);
    page = ImagePage{7, 9, nullptr};
    EXPECT_FALSE(dd.LoadImagePage(&page, Game("img\\" + name)));
    EXPECT_EQ(page.width, 7u);  // left as it was
    EXPECT_EQ(page.height, 9u);
    EXPECT_FALSE(fs::exists(dir / "img" / ("b" + std::to_string(n - 1) + ".img")));
  }
  EXPECT_TRUE(messages.empty());
  page = ImagePage();
}

TEST_F(Picture, MissingPictureIsReportedWithItsPath) {
  page = ImagePage{3, 3, nullptr};
  EXPECT_FALSE(dd.LoadImagePage(&page, Game("img\\Gone.BMP")));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "No open " + Game("img\\Gone.BMP"));
  EXPECT_EQ(page.width, 3u);
  page = ImagePage();
}

TEST_F(Picture, PathWithoutBmpNeverGetsACache) {
  const std::vector<uint8_t> bytes = Bmp({{{255, 255, 255}}});
  Write(dir / "img" / "x.pic", bytes);
  ASSERT_TRUE(dd.LoadImagePage(&page, Game("img\\x.pic")));
  EXPECT_EQ(Pixels(page), (std::vector<uint16_t>{0x7FFF}));
  EXPECT_EQ(Read(dir / "img" / "x.pic"), bytes);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "img"), {}), 1);
}

TEST_F(Picture, CacheThatCannotBeWrittenStillLoadsThePicture) {
  Write(dir / "img" / "r.bmp", Bmp({{{0, 255, 0}}}));
  SetWriteLimitForTests(0);  // a full disk
  EXPECT_TRUE(dd.LoadImagePage(&page, Game("img\\r.bmp")));
  SetWriteLimitForTests(-1);
  EXPECT_EQ(Pixels(page), (std::vector<uint16_t>{0}));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "img"), {}), 1);  // no cache, no leftovers
}

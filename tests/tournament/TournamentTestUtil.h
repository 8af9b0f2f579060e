// Runs the tournament and ladder screens headless over a small host that does only what these
// screens need, with pictures made here: every pixel of a sprite area is distinct by position,
// so a sprite copied from the wrong place or to the wrong place shows up.
#pragma once
#include <sys/stat.h>

#include <fstream>

#include "../common/ScreenScript.h"

inline void ClickAndPump(int x, int y) {
  PlatformTest::Click(x, y);
  PumpAll();
}

inline void PressAndPump(int x, int y) {
  PlatformTest::MouseButton(VK_LBUTTON, true, x, y);
  PumpAll();
}

inline void ReleaseAndPump(int x, int y) {
  PlatformTest::MouseButton(VK_LBUTTON, false, x, y);
  PumpAll();
}

inline void MoveAndPump(int x, int y) {
  PlatformTest::MouseMove(x, y);
  PumpAll();
}

// Test input is given in page co-ordinates, which the full-screen view would scale; after
// checking a toggle the tests leave the view and keep the host's flag.
inline void LeaveFullScreenView(CTavexDlg& host) {
  host.directDraw.ChangeDisplayMode(host.directDraw.desktopWidth, host.directDraw.desktopHeight);
  PumpAll();
}

// Centres of the buttons the tests press.
constexpr CPoint kFullScreenButton(583, 11);
constexpr CPoint kCloseButton(625, 11);
constexpr CPoint kPlayButton(302, 441);
constexpr CPoint kAbandonButton(358, 441);
constexpr CPoint kContinueButton(322, 441);

// A 24-bit picture, bottom row first. The top 640 x 480 is a background without key pixels;
// below it every pixel depends on its position, and every ninth diagonal is the key green.
inline void WritePicture(const std::string& path, int height, int seed) {
  const int width = 640, stride = width * 3;
  std::vector<uint8_t> bits(size_t(stride) * height);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = bits.data() + size_t(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      uint8_t r, g, b;
      if (y < 480) {
        r = uint8_t(40 + (x / 8 + seed * 17) % 64);
        g = uint8_t(40 + (y / 8) % 48);
        b = uint8_t(90 + (x + y) % 40);
      } else if ((x + y) % 9 == 0) {
        r = 0, g = 255, b = 0;
      } else {
        r = uint8_t(60 + (x * 7 + y * 13 + seed * 31) % 190);
        g = uint8_t(30 + (x * 3 + y * 5) % 120);
        b = uint8_t(60 + (x * 11 + y * 3 + seed) % 190);
      }
      row[x * 3] = b, row[x * 3 + 1] = g, row[x * 3 + 2] = r;
    }
  }
  const uint32_t dataSize = uint32_t(bits.size()), fileSize = 54 + dataSize;
  uint8_t head[54] = {'B', 'M'};
  auto put32 = [&](int at, uint32_t v) { std::memcpy(head + at, &v, 4); };
  put32(2, fileSize);
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(width));
  put32(22, uint32_t(height));
  head[26] = 1;
  head[28] = 24;
  put32(34, dataSize);
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(head), sizeof head);
  f.write(reinterpret_cast<const char*>(bits.data()), std::streamsize(bits.size()));
}

// Only what these screens use of the host: the page, the roster and the cursors. The test's
// body runs in place of the main menu loop.
class TestHost : public CTavexDlg {
 public:
  std::function<void()> body;

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    if (!directDraw.InitDisplay(640, 480, this, FALSE)) {
      ADD_FAILURE() << "no display";
      EndDialog(0);
      return TRUE;
    }
    InitRoster();
    LoadCursors();
    CollapseWindow();
    if (body) body();
    directDraw.ReleaseDisplay();
    EndDialog(0);
    return TRUE;
  }
};

class TournamentScreenTest : public ScreenScriptTest {
 protected:
  std::function<void(CScreen*)> onOpen;
  int openings = 0;

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(EnterOwnDir("tournament", nullptr));
    // The font and the cursors are the game's; the pictures are this test's own.
    for (const char* shared : {"font16.fnt", "cursor"})
      ASSERT_EQ(symlink((gameDir + "/" + shared).c_str(), (dir + "/" + shared).c_str()), 0);
    mkdir((dir + "/img").c_str(), 0755);
    WritePicture(dir + "/img/gameTable.bmp", 528, 1);
    WritePicture(dir + "/img/GameTableWorld.bmp", 528, 2);
    WritePicture(dir + "/img/gamePoint.bmp", 545, 3);
    WritePicture(dir + "/img/GamePointWorld.bmp", 545, 4);
    WritePicture(dir + "/img/gamestart.bmp", 840, 5);
    ScreenScriptTest::SetUp();
  }

  void Run(TestHost& host, std::function<void()> body) {
    host.body = std::move(body);
    RunWatched([&] { host.DoModal(); });
    PumpAll();
  }

  void ScreenOpened(CScreen* screen, int) override {
    ++openings;
    if (onOpen) onOpen(screen);
  }

  static ImagePage Picture(TestHost& host, const char* name) {
    ImagePage p;
    host.directDraw.LoadImagePage(&p, name);
    return p;
  }

  static std::vector<uint16_t> Page(TestHost& host) {
    ImagePage page;
    host.directDraw.LockPage(&page, FALSE);
    std::vector<uint16_t> copy(page.pixels, page.pixels + size_t(page.width) * page.height);
    host.directDraw.UnlockPage(FALSE);
    return copy;
  }

  // Pixels of the sprite src of pic that are not where the page should show them at (x, y);
  // a keyed sprite's key pixels are not looked at.
  static int SpriteMismatches(TestHost& host, const ImagePage& pic, const CRect& src, int x, int y,
                              bool keyed = true) {
    const std::vector<uint16_t> page = Page(host);
    int bad = 0;
    for (int sy = src.top; sy < src.bottom; ++sy)
      for (int sx = src.left; sx < src.right; ++sx) {
        const uint16_t want = pic.pixels[size_t(sy) * pic.width + size_t(sx)];
        if (keyed && want == 0) continue;
        if (page[size_t(y + sy - src.top) * 640 + size_t(x + sx - src.left)] != want) ++bad;
      }
    return bad;
  }

  // Pixels of area that differ from the background of pic: 0 when nothing is drawn there.
  static int Changed(TestHost& host, const ImagePage& pic, const CRect& area) {
    const std::vector<uint16_t> page = Page(host);
    int bad = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x)
        if (page[size_t(y) * 640 + size_t(x)] != pic.pixels[size_t(y) * pic.width + size_t(x)])
          ++bad;
    return bad;
  }

  // Pixels of area that differ from the background of pic with the text drawn over it.
  static int TextMismatches(TestHost& host, const ImagePage& pic, const CRect& area,
                            const std::function<void(CDirectDraw&, HDC*)>& draw) {
    std::vector<uint16_t> expected(size_t(640) * 480);
    for (int y = 0; y < 480; ++y)
      std::memcpy(&expected[size_t(y) * 640], pic.pixels + size_t(y) * pic.width, 640 * 2);
    CDC dc;
    if (!dc.CreatePageDC(expected.data(), 640, 480)) return -1;
    HDC hdc = &dc;
    draw(host.directDraw, &hdc);
    const std::vector<uint16_t> page = Page(host);
    int bad = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x)
        if (page[size_t(y) * 640 + size_t(x)] != expected[size_t(y) * 640 + size_t(x)]) ++bad;
    return bad;
  }
};

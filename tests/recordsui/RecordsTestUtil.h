// Shared set-up of the records tests: each test works in a directory of its own (the game data
// linked in, its own "save", "top10.dat" and drives), with pictures of known content for the
// screens under test, and can run one of those screens inside the real host.
#pragma once
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <fstream>

#include "../common/ScreenScript.h"

namespace records_test {

inline void ClickAndPump(int x, int y) {
  PlatformTest::Click(x, y);
  PumpAll();
}

inline void TypeAndPump(const char* utf8) {
  PlatformTest::TypeText(utf8);
  PumpAll();
}

inline bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

inline std::vector<std::string> ListDir(const std::string& path) {
  std::vector<std::string> names;
  if (DIR* d = opendir(path.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string n = e->d_name;
      if (n != "." && n != "..") names.push_back(n);
    }
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A 24-bit picture whose every pixel depends on its place and on `seed`, never pure green (the
// key) nor black, so a copy from any rectangle can be told from a copy of any other.
inline void WritePicture(const std::string& path, int width, int height, int seed) {
  const int stride = (width * 3 + 3) & ~3;
  std::vector<uint8_t> file(54 + size_t(stride) * height, 0);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&file[at], &v, 4); };
  auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&file[at], &v, 2); };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, uint32_t(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(width));
  put32(22, uint32_t(height));
  put16(26, 1);
  put16(28, 24);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = &file[54 + size_t(stride) * (height - 1 - y)];
    for (int x = 0; x < width; ++x) {
      row[3 * x + 0] = uint8_t(8 * ((x + seed * 3) % 31) + 8);                    // blue
      row[3 * x + 1] = uint8_t(8 * ((y + seed * 5) % 29) + 8);                    // green
      row[3 * x + 2] = uint8_t(8 * (((x / 31) + (y / 29) * 7 + seed) % 30) + 8);  // red
    }
  }
  WriteBytes(path, file.data(), file.size());
}

class RecordsTest : public ScreenScriptTest {
 protected:
  // Runs inside the host once the main menu has opened; the menu is closed afterwards.
  std::function<void(CTavexDlg& host)> body;

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(EnterOwnDir("records", [](const std::string& name) {
      return name == "Sound.cfg" || name == "top10.dat" || name == "save" || name == "img" ||
             name == "Quillan.dat";
    }));
    // The pictures of the screens under test are made here; the rest are the game's own.
    mkdir((dir + "/img").c_str(), 0755);
    ASSERT_NO_FATAL_FAILURE(
        LinkEntries(gameDir + "/img", dir + "/img", [](const std::string& name) {
          std::string lower = name;
          for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
          return lower.rfind("gamemenu_0_1", 0) == 0 || lower.rfind("gamemenu_1_1", 0) == 0 ||
                 lower.rfind("gamemenu_2_1", 0) == 0 || lower.rfind("toplist", 0) == 0 ||
                 lower.rfind("license", 0) == 0;
        }));
    WritePicture(dir + "/img/GameMenu_0_1.bmp", 640, 528, 1);
    WritePicture(dir + "/img/GameMenu_1_1.bmp", 640, 528, 2);
    WritePicture(dir + "/img/GameMenu_2_1.bmp", 640, 528, 3);
    WritePicture(dir + "/img/toplist.bmp", 640, 542, 4);
    WritePicture(dir + "/img/License.bmp", 640, 1056, 5);
    mkdir((dir + "/save").c_str(), 0755);
    ScreenScriptTest::SetUp();
  }

  // Starts the program's host; `body` runs over its main menu, which then closes the program.
  void RunInHost(CTavexDlg& host) {
    hostRunning = &host;
    RunWatched([&] { host.DoModal(); });
    PumpAll();
    hostRunning = nullptr;
    EXPECT_TRUE(bodyRan) << "the main menu never opened";
  }

  // Runs at the end of the opening of every other screen (the ones under test).
  std::function<void(CScreen*)> onScreen;

  // Pixels in `area` of the presented page that differ from `expected` (a 640 x 480 page); the
  // software cursor and the area around it are left out.
  static int Mismatches(const std::vector<uint16_t>& expected, const CRect& area) {
    CPoint cursor;
    GetCursorPos(&cursor);
    if (CWnd* shown = PlatformTest::ShownWindow()) shown->ScreenToClient(&cursor);
    int bad = 0;
    for (int y = std::max(area.top, 0); y < std::min(area.bottom, 480); ++y)
      for (int x = std::max(area.left, 0); x < std::min(area.right, 640); ++x) {
        if (std::abs(x - cursor.x) <= 32 && std::abs(y - cursor.y) <= 32) continue;
        if (PlatformTest::PresentedPixel(x, y) != expected[size_t(y) * 640 + x]) ++bad;
      }
    return bad;
  }

  // The background of a picture (its top 640 x 480) as a page to draw expectations on.
  static std::vector<uint16_t> Background(const ImagePage& pic) {
    std::vector<uint16_t> page(640 * 480, 0);
    for (uint32_t y = 0; y < 480 && y < pic.height; ++y)
      for (uint32_t x = 0; x < 640 && x < pic.width; ++x)
        page[y * 640 + x] = pic.pixels[y * pic.width + x];
    return page;
  }

  // Copies a sprite of `pic` onto an expectation page, as the screens do (keyed or not).
  static void Sprite(std::vector<uint16_t>& page, const ImagePage& pic, const CRect& src, int x,
                     int y, bool keyed) {
    for (int sy = src.top; sy < src.bottom; ++sy)
      for (int sx = src.left; sx < src.right; ++sx) {
        const uint16_t v = pic.pixels[size_t(sy) * pic.width + size_t(sx)];
        if (keyed && v == 0) continue;
        page[size_t(y + sy - src.top) * 640 + size_t(x + sx - src.left)] = v;
      }
  }

  // Writes text onto an expectation page with the game's own font and shadow.
  static void Text(CTavexDlg& host, std::vector<uint16_t>& page, int x, int y, const char* big5,
                   COLORREF colour, COLORREF shadow) {
    CDC dc;
    dc.CreatePageDC(page.data(), 640, 480);
    HDC h = &dc;
    host.directDraw.TextOutShadow(&h, x, y, big5, colour, shadow);
  }

  // Moves the pointer out of the way, to a corner no screen here uses.
  static void ParkPointer() {
    PlatformTest::MouseMove(8, 470);
    PumpAll();
  }

  bool bodyRan = false;

 private:
  CTavexDlg* hostRunning = nullptr;

  void ScreenOpened(CScreen* screen, int) override {
    const UINT id = screen->GetTemplateId();
    if (id == IDD_DLG_TITAL) {
      ClickAndPump(300, 300);
    } else if (id == IDD_DLG_MAIN) {
      if (!bodyRan && body && hostRunning) {
        bodyRan = true;
        body(*hostRunning);
      }
      ClickAndPump(625, 11);  // the menu's close button ends the program
    } else if (onScreen) {
      onScreen(screen);
    }
  }
};

}  // namespace records_test

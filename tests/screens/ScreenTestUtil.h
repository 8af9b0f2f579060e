// Runs the real game screens headless: each test gets its own directory (symlinks to the game
// data, its own "Sound.cfg" and "top10.dat"), and drives the screens from the moment each one
// has opened.
#pragma once
#include <sys/stat.h>

#include <fstream>

#include "../common/ScreenScript.h"

// Injected input goes through SDL's own scaling of the full-screen view, so a page point is
// first turned into a point of the desktop-sized window there.
inline CPoint ToWindow(int x, int y) {
  if (!IsFullScreenView()) return CPoint(x, y);
  const CSize d = DesktopSize();
  const double scale = std::min(d.cx / 640.0, d.cy / 480.0);
  const double ox = (d.cx - 640 * scale) / 2, oy = (d.cy - 480 * scale) / 2;
  return CPoint(int(ox + (x + 0.5) * scale), int(oy + (y + 0.5) * scale));
}

inline void ClickAndPump(int x, int y) {
  const CPoint p = ToWindow(x, y);
  PlatformTest::Click(p.x, p.y);
  PumpAll();
}

class ScreenTest : public ScreenScriptTest {
 protected:
  // What each kind of screen does when it opens, by template number; the count says which
  // opening of that screen this is (0 the first).
  using Action = std::function<void(CScreen* screen, int count)>;
  std::map<UINT, Action> onOpen;

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(EnterOwnDir("screens", [](const std::string& name) {
      return name == "Sound.cfg" || name == "top10.dat" || name == "save";
    }));
    mkdir((dir + "/save").c_str(), 0755);
    ScreenScriptTest::SetUp();
  }

  // Runs the whole program's host dialog until it ends.
  void RunGame(CTavexDlg& host) {
    RunWatched([&] { host.DoModal(); });
    PumpAll();
  }

  // The page as presented now, against a sprite of a picture drawn at (x, y): every pixel that
  // is not the key must be there.
  // The software cursor is left out: it lies over whatever is under the pointer.
  static int SpriteMismatches(const ImagePage& pic, const CRect& src, int x, int y) {
    CPoint cursor;
    GetCursorPos(&cursor);
    if (CWnd* shown = PlatformTest::ShownWindow()) shown->ScreenToClient(&cursor);
    int bad = 0;
    for (int sy = src.top; sy < src.bottom; ++sy)
      for (int sx = src.left; sx < src.right; ++sx) {
        const uint16_t want = pic.pixels[size_t(sy) * pic.width + size_t(sx)];
        if (want == 0) continue;
        const int px = x + sx - src.left, py = y + sy - src.top;
        if (std::abs(px - cursor.x) <= 32 && std::abs(py - cursor.y) <= 32) continue;
        if (PlatformTest::PresentedPixel(x + sx - src.left, y + sy - src.top) != want) ++bad;
      }
    return bad;
  }

  void ScreenOpened(CScreen* screen, int count) override {
    const UINT id = screen->GetTemplateId();
    auto it = onOpen.find(id);
    if (it != onOpen.end()) {
      it->second(screen, count);
    } else if (id == IDD_DLG_TITAL) {
      ClickAndPump(300, 300);  // unless a test says otherwise, the title gives way at once
    }
  }
};

// Screen co-ordinates of the buttons the tests press (centres of their hit rectangles).
constexpr CPoint kTitleFullScreen(583, 11);
constexpr CPoint kTitleClose(625, 11);

// What the SDL window shows: the top visible window, presentations clipped to what is visible,
// text on the page, and the full-screen view.
#include <SDL.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "TestWindows.h"

namespace {

class DisplayTest : public PlatformTestBase {
 protected:
  std::vector<uint16_t> page = std::vector<uint16_t>(640 * 480, 0);
  BITMAPINFO info = PageInfo();

  void FillPage(uint16_t c) { std::fill(page.begin(), page.end(), c); }
  int Present(CWnd* w) { return PresentPage(w, page.data()); }
};

// Opens `d` at 640 x 480 and runs body in its OnInitDialog.
template <typename Body>
void Within(TestDlg& d, Body body, const CWnd* after = &CWnd::wndNoTopMost) {
  d.onInit = [&, after](TestDlg& w) {
    w.Place(192, 144, 640, 480, after);
    body(w);
    w.EndDialog(0);
  };
  d.DoModal();
}

TEST_F(DisplayTest, PresentationShowsOnlyWhereTheWindowIsVisible) {
  TestDlg screen, panel(&screen);
  Within(screen, [&](TestDlg& s) {
    EXPECT_EQ(PlatformTest::ShownWindow(), &s);
    FillPage(0x7C00);
    EXPECT_EQ(Present(&s), 480);
    EXPECT_EQ(PlatformTest::PresentedPixel(0, 0), 0x7C00);
    EXPECT_EQ(PlatformTest::PresentedPixel(639, 479), 0x7C00);
    Within(
        panel,
        [&](TestDlg& p) {
          // Covered: the screen's presentations (its timers keep running) show nothing.
          FillPage(0x001F);
          Present(&s);
          EXPECT_EQ(PlatformTest::PresentedPixel(320, 240), 0x7C00);
          EXPECT_EQ(PlatformTest::ShownWindow(), &p);
          Present(&p);
          EXPECT_EQ(PlatformTest::PresentedPixel(320, 240), 0x001F);
        },
        &CWnd::wndTopMost);
    // A rectangle of the page, to where it belongs.
    FillPage(0x03E0);
    CClientDC dc(&s);
    SetDIBitsToDevice(&dc, 10, 20, 5, 5, 10, 20, 0, 480, page.data(), &info, DIB_RGB_COLORS);
    EXPECT_EQ(PlatformTest::PresentedPixel(10, 20), 0x03E0);
    EXPECT_EQ(PlatformTest::PresentedPixel(14, 24), 0x03E0);
    EXPECT_EQ(PlatformTest::PresentedPixel(15, 24), 0x001F);
    EXPECT_EQ(PlatformTest::PresentedPixel(9, 20), 0x001F);
    // Hidden: nothing.
    s.ShowWindow(SW_HIDE);
    FillPage(0x7FFF);
    Present(&s);
    EXPECT_EQ(PlatformTest::PresentedPixel(320, 240), 0x001F);
  });
}

// Each present uploads only what changed: the window must still end up with every changed
// pixel, wherever the changes lie.
TEST_F(DisplayTest, TheWindowIsGivenEveryChangedPixel) {
  const struct {
    const char* what;
    std::vector<CRect> spots;
  } cases[] = {
      {"one pixel", {CRect(10, 20, 11, 21)}},
      {"a block in the bottom-right corner", {CRect(600, 400, 640, 480)}},
      {"spots far apart", {CRect(0, 5, 3, 6), CRect(630, 300, 631, 302)}},
  };
  TestDlg d;
  Within(d, [&](TestDlg& w) {
    FillPage(0x0010);
    Present(&w);
    PumpAll();
    for (const auto& c : cases) {
      for (const CRect& r : c.spots)
        for (int y = r.top; y < r.bottom; ++y)
          std::fill_n(page.begin() + y * 640 + r.left, r.Width(), 0x7C00);
      Present(&w);
      PumpAll();
      const uint16_t* shown = PlatformTest::UploadedPixels();
      ASSERT_NE(shown, nullptr);
      int missed = 0;
      for (size_t i = 0; i < page.size(); ++i) missed += shown[i] != page[i];
      EXPECT_EQ(missed, 0) << c.what;
    }
  });
}

// A window that may have lost its picture is given all of it again, once, though nothing in
// the picture changed. A restored window repaints; the full-screen view is drawn anew.
TEST_F(DisplayTest, AWindowThatMayHaveLostItsPictureIsGivenItAgain) {
  const struct {
    const char* what;
    std::function<void(TestDlg&)> lose;
  } cases[] = {
      {"exposed", [](TestDlg&) { PlatformTest::Exposed(); }},
      {"minimised and restored",
       [](TestDlg&) {
         PlatformTest::Minimized();
         PumpAll();
         PlatformTest::Exposed();
       }},
      {"switched to the full-screen view",
       [this](TestDlg& w) {
         ASSERT_TRUE(ApplyDisplayMode(640, 480, 16));
         Present(&w);
       }},
  };
  for (const auto& c : cases) {
    TestDlg d;
    d.onMessage = [this](TestDlg& w, const Seen& s) {
      if (s.message == WM_PAINT) Present(&w);
    };
    Within(d, [&](TestDlg& w) {
      FillPage(0x03E0);
      Present(&w);
      PumpAll();
      const unsigned before = PlatformTest::PresentCount();
      c.lose(w);
      PumpAll();
      EXPECT_EQ(PlatformTest::PresentCount() - before, 1u) << c.what;
    });
  }
}

TEST_F(DisplayTest, UnservedBitmapFormatsCopyNothing) {
  TestDlg d;
  Within(d, [&](TestDlg& w) {
    FillPage(0x1234);
    CClientDC dc(&w);
    BITMAPINFO bottomUp = info;
    bottomUp.bmiHeader.biHeight = 480;
    BITMAPINFO rgb565 = info;
    rgb565.bmiColors[0] = 0xF800;
    rgb565.bmiColors[1] = 0x07E0;
    EXPECT_EQ(SetDIBitsToDevice(&dc, 0, 0, 640, 480, 0, 0, 0, 480, page.data(), &bottomUp,
                                DIB_RGB_COLORS),
              0);
    EXPECT_EQ(
        SetDIBitsToDevice(&dc, 0, 0, 640, 480, 0, 0, 0, 480, page.data(), &rgb565, DIB_RGB_COLORS),
        0);
    EXPECT_EQ(
        SetDIBitsToDevice(&dc, 0, 0, 640, 240, 0, 0, 0, 240, page.data(), &info, DIB_RGB_COLORS),
        0);
    EXPECT_EQ(PlatformTest::PresentedPixels(), nullptr);
  });
}

TEST_F(DisplayTest, TheHostCollapsedToNothingIsNeverShown) {
  TestDlg host;
  Within(host, [&](TestDlg& h) {
    h.SetWindowText("Tavex");
    FillPage(0x0010);
    Present(&h);
    TestDlg screen(&h);
    Within(screen, [&](TestDlg& s) {
      // CollapseWindow: the host shrinks to 0 x 0 and would be on top, but shows nothing.
      h.SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_SHOWWINDOW);
      EXPECT_EQ(PlatformTest::ShownWindow(), &s);
      EXPECT_EQ(PlatformTest::ShownRect(), CRect(192, 144, 832, 624));
      EXPECT_EQ(CWnd::GetActiveWindow(), &s)
          << "a disabled owner is not activated by its placement";
      h.SetWindowPos(&CWnd::wndNoTopMost, 0, 0, 0, 0, SWP_SHOWWINDOW);
      // The screen's picture stays up between screens while the frame keeps its place.
      FillPage(0x0200);
      Present(&s);
      // TakeScreenPlace, then EndDialog: the host stands where the screen stood.
      h.SetWindowPos(&CWnd::wndNoTopMost, 192, 144, 640, 480, SWP_SHOWWINDOW);
      EXPECT_EQ(PlatformTest::ShownWindow(), &s) << "an owned window stays above its owner";
    });
    EXPECT_EQ(PlatformTest::ShownWindow(), &h);
    EXPECT_EQ(PlatformTest::PresentedPixel(5, 5), 0x0200) << "no flash of anything else";
    PumpAll();
    EXPECT_GE(h.Count(WM_PAINT), 1u) << "the uncovered host repaints";
    EXPECT_TRUE(PlatformTest::SdlWindowShown());
    // With nothing left to show the SDL window goes, but only once the program waits.
    h.SetWindowPos(&CWnd::wndNoTopMost, 0, 0, 0, 0, SWP_SHOWWINDOW);
    EXPECT_EQ(PlatformTest::ShownWindow(), nullptr);
    EXPECT_TRUE(PlatformTest::SdlWindowShown());
    PumpAll();
    EXPECT_FALSE(PlatformTest::SdlWindowShown());
  });
}

TEST_F(DisplayTest, TheMainWindowsIconShowsOverItsScreens) {
  const std::string path = testing::TempDir() + "icon_test.bmp";
  SDL_Surface* bmp = SDL_CreateRGBSurfaceWithFormat(0, 4, 4, 24, SDL_PIXELFORMAT_BGR24);
  ASSERT_EQ(SDL_SaveBMP(bmp, path.c_str()), 0);
  SDL_FreeSurface(bmp);
  EXPECT_EQ(LoadIconFromFile("img\\no_such_icon.bmp"), nullptr);
  HICON icon = LoadIconFromFile(path.c_str());
  ASSERT_NE(icon, nullptr);
  CWinApp app("Tavex");
  TestDlg host;
  app.m_pMainWnd = &host;
  Within(host, [&](TestDlg& h) {
    EXPECT_EQ(h.SetIcon(icon, TRUE), nullptr);
    TestDlg screen(&h);
    Within(screen, [&](TestDlg&) {
      PumpAll();
      EXPECT_EQ(PlatformTest::SdlWindowIcon(), icon);
    });
  });
  app.m_pMainWnd = nullptr;
}

// A FIFO in the icon's place is refused at once; one that waited is let go after two seconds.
TEST_F(DisplayTest, AnIconThatIsAFifoIsRefusedWithoutWaiting) {
  const std::string fifo = testing::TempDir() + "icon_fifo.bmp";
  unlink(fifo.c_str());
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::atomic<bool> done{false};
  HICON icon = nullptr;
  std::thread load([&] {
    icon = LoadIconFromFile(fifo.c_str());
    done = true;
  });
  for (int ms = 0; ms < 2000 && !done; ms += 10) usleep(10000);
  const bool waited = !done;
  for (; !done; usleep(10000)) close(open(fifo.c_str(), O_RDWR | O_NONBLOCK));
  load.join();
  EXPECT_FALSE(waited);
  EXPECT_EQ(icon, nullptr);
  unlink(fifo.c_str());
}

TEST_F(DisplayTest, SmallWindowOverAScreenIsDrawnInsideIt) {
  TestDlg screen, box(&screen);
  Within(screen, [&](TestDlg& s) {
    FillPage(0x7C00);
    Present(&s);
    Within(box, [&](TestDlg& b) {
      b.SetWindowPos(&CWnd::wndTop, 192 + 200, 144 + 100, 240, 120, SWP_SHOWWINDOW);
      EXPECT_EQ(PlatformTest::ShownRect(), CRect(192, 144, 832, 624));
      CClientDC dc(&b);
      dc.FillSolidRect(CRect(0, 0, 240, 120), RGB(255, 255, 255));
      EXPECT_EQ(PlatformTest::PresentedPixel(200, 100), 0x7FFF);
      EXPECT_EQ(PlatformTest::PresentedPixel(439, 219), 0x7FFF);
      EXPECT_EQ(PlatformTest::PresentedPixel(440, 219), 0x7C00);
      // The screen's presentation goes around the box.
      FillPage(0x001F);
      Present(&s);
      EXPECT_EQ(PlatformTest::PresentedPixel(199, 100), 0x001F);
      EXPECT_EQ(PlatformTest::PresentedPixel(200, 100), 0x7FFF);
    });
    PumpAll();
    EXPECT_GE(s.Count(WM_PAINT), 1u) << "the screen repaints where the box was";
  });
}

TEST_F(DisplayTest, TextLandsInThePageInTheColourReducedTo555) {
  CDC mem;
  ASSERT_TRUE(mem.CreatePageDC(page.data(), 640, 480));
  CFont font;
  EXPECT_FALSE(font.CreateFont(20, 10, 0, 0, 400, 0, 0, 0, 136, 1, 2, 2, 49, "Fixedsys"));
  ASSERT_TRUE(font.CreateFont(16, 8, 0, 0, 400, 0, 0, 0, 136, 1, 2, 2, 49, "Fixedsys"));
  mem.SelectObject(&font);
  mem.SetBkMode(TRANSPARENT);
  mem.SetTextColor(RGB(255, 255, 0));
  EXPECT_EQ(mem.GetTextExtent("五子棋 ok").cx, 3 * 16 + 3 * 8);

  auto inkIn = [&](const CRect& r) {
    int n = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x)
        if (page[y * 640 + x]) {
          EXPECT_TRUE(r.PtInRect(CPoint(x, y))) << x << "," << y;
          EXPECT_EQ(page[y * 640 + x], 0x7FE0);
          ++n;
        }
    return n;
  };
  mem.TextOut(100, 50, "五子棋");
  EXPECT_GT(inkIn(CRect(100, 50, 148, 66)), 20);

  // DT_CENTER: centred horizontally, top-aligned, clipped to the rectangle.
  FillPage(0);
  CRect r(74, 8, 178, 28);
  mem.DrawText("PLAYER", -1, &r, DT_CENTER);
  EXPECT_GT(inkIn(CRect(74 + (104 - 48) / 2, 8, 74 + (104 - 48) / 2 + 48, 24)), 10);
  FillPage(0);
  CRect narrow(10, 10, 30, 20);
  mem.DrawText("WWWWWWWW", -1, &narrow, DT_CENTER);
  EXPECT_GT(inkIn(narrow), 0);

  // Opaque background fills the cells with the background colour.
  FillPage(0);
  mem.SetBkMode(OPAQUE);
  mem.SetBkColor(RGB(8, 8, 8));
  mem.TextOut(0, 0, "  ");
  EXPECT_EQ(page[15 * 640 + 15], 0x0421);
  EXPECT_EQ(page[16 * 640 + 15], 0);
  EXPECT_EQ(page[15 * 640 + 16], 0);
}

TEST_F(DisplayTest, FullScreenViewAndBack) {
  CSize desk = DesktopSize();
  ASSERT_NE(desk.cx, 640);
  DisplayMode modes[3];
  int n = 0;
  while (n < 3 && EnumDisplayModes(n, &modes[n])) ++n;
  ASSERT_EQ(n, 2);
  EXPECT_EQ(modes[0].width, desk.cx);
  EXPECT_EQ(modes[1], (DisplayMode{640, 480, 16}));
  EXPECT_FALSE(TestDisplayMode(800, 600, 16));
  EXPECT_FALSE(ApplyDisplayMode(800, 600, 16));

  TestDlg d;
  Within(d, [&](TestDlg& w) {
    w.SetWindowPos(nullptr, 100, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    FillPage(0x7C00);
    Present(&w);
    PumpAll();
    EXPECT_EQ(PlatformTest::SdlWindowPosition(), CPoint(100, 60));

    ASSERT_TRUE(ApplyDisplayMode(640, 480, 16));
    EXPECT_TRUE(IsFullScreenView());
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 480);
    // CenterScreenWindow then finds the screen as wide as the window: top-most at (0, 0).
    w.SetWindowPos(&CWnd::wndTopMost, 0, 0, 640, 480, SWP_SHOWWINDOW);
    // The desktop-sized window shows the view scaled: its pixel (512, 384) is the view's middle.
    ASSERT_TRUE(desk.cx == 1024 && desk.cy == 768);
    w.seen.clear();
    PlatformTest::MouseMove(512, 384);
    PumpAll();
    CPoint p;
    GetCursorPos(&p);
    EXPECT_EQ(p, CPoint(320, 240)) << "view co-ordinates";
    ASSERT_EQ(w.Count(WM_MOUSEMOVE), 1u);
    EXPECT_EQ(w.seen.back().pt, CPoint(320, 240)) << "the move and the pointer agree";
    // Dragging does nothing in the full-screen view.
    PlatformTest::MouseButton(VK_LBUTTON, true, 320, 240);
    w.PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(320, 240));
    PlatformTest::MouseButton(VK_LBUTTON, false, 400, 300);
    PumpAll();
    CRect r;
    w.GetWindowRect(&r);
    EXPECT_EQ(r, CRect(0, 0, 640, 480));

    ASSERT_TRUE(ApplyDisplayMode(desk.cx, desk.cy, modes[0].bitsPerPixel));
    EXPECT_FALSE(IsFullScreenView());
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), desk.cx);
    w.SetWindowPos(&CWnd::wndNoTopMost, 100, 60, 640, 480, SWP_SHOWWINDOW);
    PumpAll();
    EXPECT_FALSE(PlatformTest::SdlWindowFullScreen());
    EXPECT_EQ(PlatformTest::SdlWindowPosition(), CPoint(100, 60));
  });
}

}  // namespace

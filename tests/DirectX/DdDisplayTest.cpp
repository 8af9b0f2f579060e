#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <utility>

#include "DirectDraw.h"
#include "Platform.h"
#include "StdDialogs.h"

namespace {

// A screen that runs a test body inside its initialisation, as the game's screens draw there.
class Screen : public CDialog {
 public:
  explicit Screen(std::function<void(Screen*)> body, CWnd* owner = nullptr)
      : CDialog(100, owner), body_(std::move(body)) {}
  BOOL OnInitDialog() override {
    body_(this);
    EndDialog(0);
    return TRUE;
  }

 private:
  std::function<void(Screen*)> body_;
};

void RunScreen(std::function<void(Screen*)> body) {
  Screen s(std::move(body));
  s.DoModal();
}

class Display : public ::testing::Test {
 protected:
  void SetUp() override {
    PlatformTest::Reset();
    PlatformTest::UseManualClock(true, 5000);
  }
  void TearDown() override {
    FreeImagePage(&strip);
    PlatformTest::Reset();
  }

  // A strip of `frames` 64 x 64 frames; frame f is filled with colour 0x100 + f, except its
  // top-left quarter, which is the transparent key.
  void MakeStrip(int frames, int height = 64, int width = -1) {
    AllocImagePage(&strip, uint32_t(width < 0 ? 64 * frames : width), uint32_t(height));
    for (uint32_t y = 0; y < strip.height; ++y)
      for (uint32_t x = 0; x < strip.width; ++x)
        strip.pixels[y * strip.width + x] = (x % 64 < 32 && y < 32) ? 0 : uint16_t(0x100 + x / 64);
  }
  // Puts the pointer at client point (x, y) of the screen.
  static void PointAt(CWnd* wnd, int x, int y) {
    CPoint p(x, y);
    wnd->ClientToScreen(&p);
    SetCursorPos(p.x, p.y);
  }
  static std::vector<uint16_t> Presented() {
    int w = 0, h = 0;
    const uint16_t* p = PlatformTest::PresentedPixels(&w, &h);
    return p ? std::vector<uint16_t>(p, p + size_t(w) * h) : std::vector<uint16_t>();
  }
  static void FillPattern(ImagePage& page) {
    for (uint32_t i = 0; i < page.width * page.height; ++i)
      page.pixels[i] = uint16_t(i % 30011 + 2);
  }
  // Opens the display on s with the page locked and patterned; returns the pattern.
  std::vector<uint16_t> PatternedPage(Screen* s, ImagePage& page) {
    EXPECT_TRUE(dd.InitDisplay(640, 480, s, FALSE));
    dd.LockPage(&page, FALSE);
    FillPattern(page);
    return std::vector<uint16_t>(page.pixels, page.pixels + size_t(page.width) * page.height);
  }

  CDirectDraw dd;
  ImagePage strip;
};

}  // namespace

TEST_F(Display, InitPlacesTheWindowAndMakesABlackPage) {
  RunScreen([&](Screen* s) {
    ASSERT_TRUE(dd.InitDisplay(640, 480, s, FALSE));
    EXPECT_EQ(dd.desktopWidth, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(dd.desktopHeight, GetSystemMetrics(SM_CYSCREEN));
    CRect r;
    s->GetWindowRect(&r);
    EXPECT_EQ(r.left, std::max((dd.desktopWidth - 640) / 2, 0));
    EXPECT_EQ(r.top, std::max((dd.desktopHeight - 480) / 2, 0));
    EXPECT_EQ(r.Width(), 640);
    EXPECT_TRUE(s->IsWindowVisible());
    ImagePage page;
    ASSERT_TRUE(dd.LockPage(&page, FALSE));
    ASSERT_EQ(page.width, 640u);
    ASSERT_EQ(page.height, 480u);
    for (uint32_t i = 0; i < 640 * 480; ++i) ASSERT_EQ(page.pixels[i], 0);
    dd.UnlockPage(FALSE);

    // The page keeps its size whatever the window does.
    s->SetWindowPos(&CWnd::wndTop, 0, 0, 800, 600, 0);
    dd.LockPage(&page, FALSE);
    EXPECT_EQ(page.width, 640u);
    dd.UnlockPage(FALSE);
    dd.ReleaseDisplay();
    dd.LockPage(&page, FALSE);
    EXPECT_EQ(page.pixels, nullptr);  // drawing after the release does nothing
  });
}

TEST_F(Display, MinusOneMeansTheDesktopSize) {
  RunScreen([&](Screen* s) {
    ASSERT_TRUE(dd.InitDisplay(-1, 480, s, FALSE));
    ImagePage page;
    dd.LockPage(&page, FALSE);
    EXPECT_EQ(int(page.width), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(int(page.height), GetSystemMetrics(SM_CYSCREEN));
    dd.UnlockPage(FALSE);
    dd.ReleaseDisplay();
  });
}

TEST_F(Display, FlipPresentsThePageWithTheCursorAndTakesItOutAgain) {
  MakeStrip(1);
  RunScreen([&](Screen* s) {
    ImagePage page;
    const std::vector<uint16_t> before = PatternedPage(s, page);
    dd.UnlockPage(FALSE);

    // Without a cursor the page itself is shown.
    CClientDC dc(s);
    dd.Flip(&dc);
    EXPECT_EQ(Presented(), before);

    // The frame is centred on the pointer and clipped at every edge (at the client's corner only
    // its lower right quarter lands); its key pixels show the page; the page never keeps it. A
    // pointer off the window draws nothing, not even the part of the frame that would reach in.
    dd.cursorPage = &strip;
    for (CPoint at : {CPoint(0, 0), CPoint(639, 479), CPoint(300, 200), CPoint(-31, 5),
                      CPoint(-33, -33), CPoint(700, 100)}) {
      SCOPED_TRACE(testing::Message() << at.x << "," << at.y);
      PointAt(s, at.x, at.y);
      dd.Flip(&dc);
      std::vector<uint16_t> shown = Presented();
      ASSERT_EQ(shown.size(), before.size());
      int changed = 0;
      for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
          int fx = x - at.x + 32, fy = y - at.y + 32;
          bool inFrame = fx >= 0 && fx < 64 && fy >= 0 && fy < 64;
          bool over = at.x >= 0 && at.x < 640 && at.y >= 0 && at.y < 480;
          bool drawn = over && inFrame && !(fx < 32 && fy < 32);
          uint16_t want = drawn ? 0x100 : before[y * 640 + x];
          if (shown[y * 640 + x] != want && ++changed < 4)
            ADD_FAILURE() << "presented (" << x << ", " << y << ")";
        }
      EXPECT_EQ(changed, 0);
      EXPECT_EQ(0, memcmp(page.pixels, before.data(), before.size() * 2)) << "cursor left in page";
    }
    dd.ReleaseDisplay();
  });
}

TEST_F(Display, TheCursorIsDrawnWhereThePointerIsOnThePageWhicheverWindowIsActive) {
  MakeStrip(1);
  RunScreen([&](Screen* s) {
    ImagePage page;
    const std::vector<uint16_t> before = PatternedPage(s, page);
    dd.UnlockPage(FALSE);
    dd.cursorPage = &strip;
    CRect r;
    s->GetWindowRect(&r);
    // A dialog of the page's window, active, its corner at (50, 40) of the page.
    Screen box(
        [&](Screen* b) {
          b->SetWindowPos(&CWnd::wndTop, r.left + 50, r.top + 40, 200, 100, SWP_SHOWWINDOW);
          b->SetActiveWindow();
          auto changedBesideBox = [&] {
            const std::vector<uint16_t> shown = Presented();
            int n = 0;
            for (int y = 0; y < 480; ++y)
              for (int x = 0; x < 640; ++x)
                n += !CRect(50, 40, 250, 140).PtInRect(CPoint(x, y)) &&
                     shown[y * 640 + x] != before[y * 640 + x];
            return n;
          };
          PointAt(s, 300, 300);
          CClientDC dc(s);
          dd.Flip(&dc);
          EXPECT_EQ(changedBesideBox(), 0) << "a cursor drawn on a page the dialog holds stays";
          s->EnableWindow(TRUE);
          dd.Flip(&dc);
          EXPECT_EQ(PlatformTest::PresentedPixel(300, 300), 0x100);
          EXPECT_EQ(PlatformTest::PresentedPixel(250, 260), before[260 * 640 + 250]);
        },
        s);
    box.DoModal();
    dd.ReleaseDisplay();
  });
}

TEST_F(Display, CopyFromADeviceContextTakesWhatItShows) {
  RunScreen([&](Screen* s) {
    ImagePage page;
    const std::vector<uint16_t> shown = PatternedPage(s, page);
    CClientDC dc(s);
    dd.Flip(&dc);
    std::fill_n(page.pixels, 640 * 480, uint16_t(0));
    dd.CopyFromDC(&dc);
    EXPECT_EQ(0, memcmp(page.pixels, shown.data(), shown.size() * 2));

    // Between pages: only SRCCOPY; what lies outside the source is left alone.
    uint16_t src[4 * 3], dst[5 * 4];
    for (int i = 0; i < 12; ++i) src[i] = uint16_t(100 + i);
    std::fill_n(dst, 20, uint16_t(7));
    CDC from, to;
    from.CreatePageDC(src, 4, 3);
    to.CreatePageDC(dst, 5, 4);
    EXPECT_FALSE(to.BitBlt(0, 0, 5, 4, &from, 0, 0, 0x00EE0086));
    EXPECT_TRUE(to.BitBlt(1, 2, 3, 3, &from, 2, 1, SRCCOPY));
    const uint16_t want[5 * 4] = {7, 7,   7,   7, 7,  //
                                  7, 7,   7,   7, 7,  //
                                  7, 106, 107, 7, 7,  //
                                  7, 110, 111, 7, 7};
    EXPECT_EQ(0, memcmp(dst, want, sizeof want));
    dd.ReleaseDisplay();
  });
}

TEST_F(Display, AStandardDialogFirstPutsBackWhatTheCursorCovered) {
  MakeStrip(1);
  RunScreen([&](Screen* s) {
    ImagePage page;
    const std::vector<uint16_t> before = PatternedPage(s, page);
    dd.cursorPage = &strip;
    PointAt(s, 60, 70);
    CClientDC dc(s);
    dd.Flip(&dc);
    ASSERT_EQ(PlatformTest::PresentedPixel(60, 70), 0x100);
    PlatformTest::Key(VK_RETURN, true);  // ends the box once it runs
    MessageBox(s, "OK");
    const std::vector<uint16_t> shown = Presented();
    ASSERT_EQ(shown.size(), before.size());
    int left = 0;
    for (int y = 0; y < 140; ++y)
      for (int x = 0; x < 130; ++x) left += shown[y * 640 + x] != before[y * 640 + x];
    EXPECT_EQ(left, 0) << "cursor pixels left on the screen";
    dd.ReleaseDisplay();
  });
}

TEST_F(Display, CursorFrameAdvancesAtMostOncePerFlipAfterMoreThanTheDelay) {
  MakeStrip(4);
  RunScreen([&](Screen* s) {
    ASSERT_TRUE(dd.InitDisplay(640, 480, s, FALSE));
    dd.cursorPage = &strip;
    PointAt(s, 100, 100);
    CClientDC dc(s);
    auto shownFrame = [&] {
      dd.Flip(&dc);
      return int(PlatformTest::PresentedPixel(100, 100)) - 0x100;
    };
    EXPECT_EQ(shownFrame(), 0);  // starts the clock
    PlatformTest::AdvanceClock(100);
    EXPECT_EQ(shownFrame(), 0);
    PlatformTest::AdvanceClock(1);
    EXPECT_EQ(shownFrame(), 1);
    EXPECT_EQ(dd.cursorFrame, 1);
    PlatformTest::AdvanceClock(5000);  // a long pause is still one step
    EXPECT_EQ(shownFrame(), 2);
    EXPECT_EQ(shownFrame(), 2);
    PlatformTest::AdvanceClock(101);
    EXPECT_EQ(shownFrame(), 3);
    PlatformTest::AdvanceClock(101);
    EXPECT_EQ(shownFrame(), 0);
    dd.ReleaseDisplay();
  });
}

TEST_F(Display, StripsWithoutAWholeFrameDrawNoCursor) {
  RunScreen([&](Screen* s) {
    ASSERT_TRUE(dd.InitDisplay(640, 480, s, FALSE));
    CClientDC dc(s);
    PointAt(s, 100, 100);
    MakeStrip(1, 64, 40);  // narrower than one frame
    dd.cursorPage = &strip;
    PlatformTest::AdvanceClock(1000);
    dd.Flip(&dc);
    PlatformTest::AdvanceClock(1000);
    dd.Flip(&dc);
    EXPECT_EQ(dd.cursorFrame, 0);
    EXPECT_EQ(PlatformTest::PresentedPixel(100, 100), 0);

    FreeImagePage(&strip);
    dd.Flip(&dc);  // a freed strip
    EXPECT_EQ(PlatformTest::PresentedPixel(100, 100), 0);

    MakeStrip(1, 40, 100);  // one frame, short: drawn as far as it goes
    PlatformTest::AdvanceClock(1000);
    dd.Flip(&dc);
    EXPECT_EQ(dd.cursorFrame, 0);
    EXPECT_EQ(PlatformTest::PresentedPixel(100, 100), 0x100);
    EXPECT_EQ(PlatformTest::PresentedPixel(100, 100 + 7), 0x100);
    EXPECT_EQ(PlatformTest::PresentedPixel(100, 100 + 8), 0);
    ImagePage page;
    dd.LockPage(&page, FALSE);
    EXPECT_EQ(page.pixels[100 * 640 + 100], 0);
    dd.ReleaseDisplay();
  });
}

TEST_F(Display, CenteringAndTheFullScreenView) {
  RunScreen([&](Screen* s) {
    ASSERT_TRUE(dd.InitDisplay(640, 480, s, FALSE));
    const int dw = dd.desktopWidth, dh = dd.desktopHeight;
    CRect r;
    dd.CenterScreenWindow(s, 320, 200);
    s->GetWindowRect(&r);
    EXPECT_EQ(r, CRect(std::max((dw - 320) / 2, 0), std::max((dh - 200) / 2, 0),
                       std::max((dw - 320) / 2, 0) + 320, std::max((dh - 200) / 2, 0) + 200));

    // A window larger than the screen is kept at the top left rather than pushed off it.
    dd.CenterScreenWindow(s, dw + 100, dh + 50);
    s->GetWindowRect(&r);
    EXPECT_EQ(r.TopLeft(), CPoint(0, 0));

    if (dw != 640 || dh != 480) {
      EXPECT_FALSE(dd.ChangeDisplayMode(123, 45));
      EXPECT_FALSE(IsFullScreenView());
      ASSERT_TRUE(dd.ChangeDisplayMode(640, 480));
      EXPECT_TRUE(IsFullScreenView());
      EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
      dd.CenterScreenWindow(s, 640, 480);
      s->GetWindowRect(&r);
      EXPECT_EQ(r, CRect(0, 0, 640, 480));
      ASSERT_TRUE(dd.ChangeDisplayMode(dw, dh));
      EXPECT_FALSE(IsFullScreenView());
      dd.CenterScreenWindow(s, 640, 480);
      s->GetWindowRect(&r);
      EXPECT_EQ(r.TopLeft(), CPoint((dw - 640) / 2, (dh - 480) / 2));

      // Ending in the full-screen view: the release leaves it.
      dd.ChangeDisplayMode(640, 480);
    }
    dd.ReleaseDisplay();
    EXPECT_FALSE(IsFullScreenView());
    EXPECT_EQ(DesktopSize().cx, dw);
  });
}

TEST_F(Display, TextLandsInThePageWithItsShadowOnePixelLower) {
  RunScreen([&](Screen* s) {
    ASSERT_TRUE(dd.InitDisplay(640, 480, s, FALSE));
    ImagePage page;
    dd.LockPage(&page, FALSE);
    auto clear = [&] { std::fill(page.pixels, page.pixels + 640 * 480, uint16_t(0x1234)); };
    auto marks = [&](uint16_t v) {
      std::set<std::pair<int, int>> at;
      for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
          if (page.pixels[y * 640 + x] == v) at.insert({x, y});
      return at;
    };
    HDC dc = nullptr;
    ASSERT_TRUE(dd.GetPageDC(&dc, FALSE));

    clear();
    dd.TextOutShadow(&dc, 10, 20, "Ab", RGB(255, 255, 0), 0);
    auto text = marks(0x7FE0);
    ASSERT_FALSE(text.empty()) << "no glyphs drawn (" << BitFont::DefaultError() << ")";
    EXPECT_EQ(marks(0x1234).size() + text.size(), 640u * 480u);  // no shadow
    for (auto [x, y] : text) {
      EXPECT_TRUE(x >= 10 && x < 26 && y >= 20 && y < 36);
    }

    // Shadow colour 1 is near black: the copy one row lower shows where the text does not.
    clear();
    dd.TextOutShadow(&dc, 10, 20, "Ab", RGB(255, 255, 0), 1);
    EXPECT_EQ(marks(0x7FE0), text);
    std::set<std::pair<int, int>> shadow;
    for (auto [x, y] : text)
      if (!text.count({x, y + 1})) shadow.insert({x, y + 1});
    EXPECT_EQ(marks(0), shadow);

    // Centred in the rectangle, shadow moved down with it.
    clear();
    dd.DrawTextInRect(&dc, "Ab", CRect(0, 100, 100, 120), DT_CENTER, RGB(255, 255, 0),
                      RGB(1, 0, 0));
    std::set<std::pair<int, int>> centred;
    for (auto [x, y] : text) centred.insert({x - 10 + 42, y - 20 + 100});
    EXPECT_EQ(marks(0x7FE0), centred);
    EXPECT_FALSE(marks(0).empty());

    // Big5 text: one 16-pixel cell per character.
    clear();
    dd.TextOutShadow(&dc, 0, 0, "\xA4\xA4", RGB(255, 255, 255), 0);
    auto big5 = marks(0x7FFF);
    ASSERT_FALSE(big5.empty());
    int maxX = 0;
    for (auto [x, y] : big5) maxX = std::max(maxX, x);
    EXPECT_GE(maxX, 8);
    EXPECT_LT(maxX, 16);
    dd.ReleasePageDC(&dc, FALSE);
    dd.UnlockPage(FALSE);
    dd.ReleaseDisplay();
  });
}

TEST_F(Display, KeepCursorAsksForAMouseMove) {
  RunScreen([&](Screen* s) {
    ASSERT_TRUE(dd.InitDisplay(640, 480, s, FALSE));
    PlatformTest::MouseMove(50, 60);
    // Look at the queue with bounded pumping: paints and the like are dispatched on the way.
    auto moveArrives = [&] {
      MSG msg;
      for (int i = 0; i < 200; ++i) {
        PlatformTest::AdvanceClock(20);
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) continue;
        if (msg.message == WM_MOUSEMOVE && msg.hwnd == s)
          return GET_X_LPARAM(msg.lParam) == 50 && GET_Y_LPARAM(msg.lParam) == 60;
        if (msg.message != WM_MOUSEMOVE) DispatchMessage(&msg);
      }
      return false;
    };
    moveArrives();  // whatever placing the pointer produced
    EXPECT_TRUE(dd.KeepCursor());
    EXPECT_TRUE(moveArrives());
    dd.ReleaseDisplay();
  });
}

TEST_F(Display, AScreenAtRestPresentsOnlyTheCursorsFrames) {
  MakeStrip(4);
  RunScreen([&](Screen* s) {
    ASSERT_TRUE(dd.InitDisplay(640, 480, s, FALSE));
    dd.cursorPage = &strip;
    PlatformTest::MouseMove(50, 60);
    // The screens' idiom: every mouse move presents the page and keeps the cursor moving.
    auto second = [&](int* moves) {
      for (int ms = 0; ms < 1000; ++ms) {
        PlatformTest::AdvanceClock(1);
        MSG msg;
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
          if (msg.message != WM_MOUSEMOVE) {
            DispatchMessage(&msg);
            continue;
          }
          ++*moves;
          CClientDC dc(s);
          dd.Flip(&dc);
          dd.KeepCursor();
        }
      }
    };
    int moves = 0;
    second(&moves);  // settles
    const unsigned before = PlatformTest::PresentCount();
    moves = 0;
    second(&moves);
    const unsigned presents = PlatformTest::PresentCount() - before;
    EXPECT_GE(presents, 9u) << "the cursor still animates";
    EXPECT_LE(presents, 10u);
    EXPECT_LE(moves, 10) << "redraws that could not change the picture";
    dd.ReleaseDisplay();
  });
}

TEST_F(Display, MissingPictureShowsTheMessageBoxAndGoesOn) {
  // A missing cursor strip: the box, then a run without a cursor sprite.
  RunScreen([&](Screen* s) {
    ASSERT_TRUE(dd.InitDisplay(640, 480, s, FALSE));
    PlatformTest::Key(VK_RETURN, true);  // ends the box once it runs
    PlatformTest::Key(VK_RETURN, false);
    ImagePage cursor;
    EXPECT_FALSE(dd.LoadImagePage(&cursor, "cursor\\no_such_cursor.bmp"));
    dd.cursorPage = &cursor;
    CClientDC dc(s);
    dd.Flip(&dc);
    EXPECT_EQ(dd.cursorFrame, 0);
    dd.ReleaseDisplay();
  });
}

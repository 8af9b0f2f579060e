// The pointer on a real X server, 1024 x 768, so the full-screen view is scaled by 1.6: where
// the player puts it is where the program sees it and takes a click, and the program never
// moves it elsewhere. The X server is the judge of where the pointer is; SDL's own idea of it
// goes stale when the window moves or changes size under a resting pointer. The pointer moves
// as a mouse moves it (XTEST), never by a warp, which SDL's global state does not follow.
#include <SDL.h>
#include <stdlib.h>

#include <functional>
#include <utility>
#include <vector>

#include "Display.h"
#include "TestWindows.h"
#include "XServer.h"

// SDL's X11 start-up opens a D-Bus connection that lives as long as the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

class RealPointerTest : public PlatformTestBase {
 public:
  static void Click() {
    server->Button(true);
    server->Button(false);
  }

 protected:
  static inline XServer* server = nullptr;

  static void SetUpTestSuite() {
    server = new XServer;
    if (!server->Running()) return;
    setenv("DISPLAY", server->Name().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
  }
  static void TearDownTestSuite() {
    PlatformTest::Reset();
    delete server;
    server = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(server->Running()) << "no Xvfb to run on (Debian package xvfb)";
    PlatformTestBase::SetUp();
  }

  static CPoint Physical() {
    CPoint p;
    server->Pointer(&p.x, &p.y);
    return p;
  }
  static void PutPointer(CPoint p) { server->MovePointer(p.x, p.y); }
  static CPoint Cursor() {
    CPoint p;
    GetCursorPos(&p);
    return p;
  }
  static CPoint ClientCursor(const CWnd& w) {
    CPoint p = Cursor();
    w.ScreenToClient(&p);
    return p;
  }
  using Path = std::vector<std::pair<int, int>>;
  // Where the dialog saw the left button go down and up.
  static std::vector<CPoint> ClicksAt(const TestDlg& w) {
    std::vector<CPoint> at;
    for (const Seen& s : w.seen)
      if (s.message == WM_LBUTTONDOWN || s.message == WM_LBUTTONUP) at.push_back(s.pt);
    return at;
  }
  // What every screen does after presenting.
  static void KeepCursor() {
    const CPoint p = Cursor();
    SetCursorPos(p.x, p.y);
  }
  // Messages for `ms` of real time, or until `done`; false when `done` never held.
  static bool Settle(int ms, const std::function<bool()>& done = nullptr) {
    for (int waited = 0; waited < ms; waited += 5) {
      PumpAll();
      if (done && done()) return true;
      SDL_Delay(5);
    }
    return !done;
  }
  static bool CursorComesTo(CPoint p) {
    return Settle(3000, [p] { return Cursor() == p; });
  }

  std::vector<uint16_t> page = std::vector<uint16_t>(640 * 480, 0x2222);
  void Redraw(CWnd* w) {
    PresentPage(w, page.data());
    KeepCursor();
  }
  void Within(TestDlg& d, CRect at, const std::function<void(TestDlg&)>& body) {
    d.onInit = [&, at](TestDlg& w) {
      w.Place(at.left, at.top, at.Width(), at.Height());
      Redraw(&w);
      Settle(200);
      body(w);
      w.EndDialog(0);
    };
    d.DoModal();
  }
};

// The player clicks again at once (a double-click on the full-screen button): the X server takes
// the second click when the window has grown to the display, before the pointer is moved over
// the button's scaled place.
int ClickWhenTheWindowCoversTheDisplay(void* clicked, SDL_Event* e) {
  if (e->type == SDL_WINDOWEVENT && e->window.event == SDL_WINDOWEVENT_SIZE_CHANGED &&
      e->window.data1 == 1024 && !*static_cast<bool*>(clicked)) {
    *static_cast<bool*>(clicked) = true;
    RealPointerTest::Click();
  }
  return 0;
}

// The full-screen button as a screen has it: the view switches, the screen centres itself,
// redraws and keeps the cursor moving. The pointer goes straight to the button's place in the
// new view, both ways, and a click meanwhile lands on the button.
TEST_F(RealPointerTest, SwitchingTheViewKeepsThePointerOverTheSamePointOfThePage) {
  DisplayMode desk;
  ASSERT_TRUE(EnumDisplayModes(0, &desk));
  ASSERT_TRUE(desk.width == 1024 && desk.height == 768);
  TestDlg d;
  Within(d, CRect(192, 144, 832, 624), [&](TestDlg& w) {
    PutPointer(CPoint(775, 155));
    ASSERT_TRUE(CursorComesTo(CPoint(775, 155)));
    server->WatchPointer();

    bool clicked = false;
    SDL_AddEventWatch(ClickWhenTheWindowCoversTheDisplay, &clicked);
    ASSERT_TRUE(ApplyDisplayMode(640, 480, 16));
    SDL_DelEventWatch(ClickWhenTheWindowCoversTheDisplay, &clicked);
    ASSERT_TRUE(clicked);
    w.SetWindowPos(&CWnd::wndTopMost, 0, 0, 640, 480, SWP_SHOWWINDOW);
    Redraw(&w);
    EXPECT_EQ(Cursor(), CPoint(583, 11)) << "the first picture of the view";
    Settle(300);
    KeepCursor();
    Settle(100);
    EXPECT_EQ(Physical(), CPoint(933, 18)) << "over page point (583, 11), scaled by 1.6";
    EXPECT_EQ(Cursor(), CPoint(583, 11));
    EXPECT_EQ(server->Path(), Path({{933, 18}}));
    EXPECT_EQ(ClicksAt(w), std::vector<CPoint>(2, CPoint(583, 11)))
        << "the click between the switch and the pointer's move";

    // Moved by the player, the pointer is seen at the view point under it, and stays put.
    const struct {
      CPoint put, seen;
    } rests[] = {{{701, 499}, {438, 311}}, {{0, 0}, {0, 0}}, {{1023, 767}, {639, 479}}};
    for (const auto& r : rests) {
      PutPointer(r.put);
      EXPECT_TRUE(CursorComesTo(r.seen)) << r.put.x << "," << r.put.y;
      for (int i = 0; i < 5; ++i) {
        Redraw(&w);
        Settle(20);
      }
      EXPECT_EQ(Physical(), r.put);
    }

    PutPointer(CPoint(933, 18));
    ASSERT_TRUE(CursorComesTo(CPoint(583, 11)));
    server->Path();
    ASSERT_TRUE(ApplyDisplayMode(desk.width, desk.height, desk.bitsPerPixel));
    w.SetWindowPos(&CWnd::wndNoTopMost, 192, 144, 640, 480, SWP_SHOWWINDOW);
    Redraw(&w);
    Settle(300);
    KeepCursor();
    Settle(100);
    EXPECT_EQ(Physical(), CPoint(775, 155));
    EXPECT_EQ(Cursor(), CPoint(775, 155));
    EXPECT_EQ(server->Path(), Path({{775, 155}})) << "not first over the page point unscaled";
  });
}

// A small dialog takes the window's place and leaves it again (the name entry between two
// screens), the pointer resting over it or beside it: the pointer never moved, so neither may the
// program's idea of it.
TEST_F(RealPointerTest, APointerAtRestIsSeenWhereItIsAfterTheWindowMovedUnderIt) {
  for (const CPoint rest : {CPoint(512, 400), CPoint(662, 444)}) {
    SCOPED_TRACE(testing::Message() << "resting at " << rest.x << "," << rest.y);
    TestDlg screen;
    Within(screen, CRect(192, 144, 832, 624), [&](TestDlg& s) {
      PutPointer(rest);
      ASSERT_TRUE(CursorComesTo(rest));
      s.ShowWindow(SW_HIDE);
      TestDlg box;
      Within(box, CRect(395, 358, 627, 408), [&](TestDlg& b) {
        EXPECT_EQ(PlatformTest::ShownWindow(), &b);
        EXPECT_EQ(Cursor(), rest) << "over the dialog";
      });
      s.ShowWindow(SW_SHOW);
      Redraw(&s);
      EXPECT_EQ(Cursor(), rest) << "the first picture of the screen";
      Settle(200);
      EXPECT_EQ(Cursor(), rest);
      EXPECT_EQ(Physical(), rest);
    });
  }
}

// The window manager moves the window under a resting pointer: the cursor and the next click are
// at the page point the pointer is now over, and the window stays where it was put until the
// program places it again.
TEST_F(RealPointerTest, AWindowMovedFromOutsideTakesTheNextClickWhereThePointerIs) {
  TestDlg d;
  Within(d, CRect(192, 144, 832, 624), [&](TestDlg& w) {
    PutPointer(CPoint(550, 507));
    ASSERT_TRUE(CursorComesTo(CPoint(550, 507)));
    server->MoveTopWindow(240, 168);
    Settle(100);
    Redraw(&w);
    EXPECT_EQ(ClientCursor(w), CPoint(310, 339));
    Click();
    ASSERT_TRUE(Settle(1000, [&] { return w.Count(WM_LBUTTONUP) == 1; }));
    EXPECT_EQ(ClicksAt(w), std::vector<CPoint>(2, CPoint(310, 339)));
    EXPECT_EQ(PlatformTest::SdlWindowPosition(), CPoint(240, 168));
    EXPECT_EQ(Physical(), CPoint(550, 507));

    w.SetWindowPos(nullptr, 192, 144, 640, 480, SWP_NOZORDER);  // the next screen's opening
    Redraw(&w);
    EXPECT_EQ(PlatformTest::SdlWindowPosition(), CPoint(192, 144)) << "centred again";
    EXPECT_EQ(ClientCursor(w), CPoint(358, 363));
  });
}

}  // namespace

// The queue: timers, where input goes, the synthetic mouse move, clicks and characters, key
// polling, dragging by the background, minimising.
#include "TestWindows.h"

namespace {

class QueueTest : public PlatformTestBase {};

// Runs body inside the OnInitDialog of a shown 640 x 480 dialog, the way the game loops run.
template <typename Body>
void Within(TestDlg& d, Body body, int x = 192, int y = 144) {
  d.onInit = [&, x, y](TestDlg& w) {
    w.Place(x, y);
    PumpAll();  // the first paint
    w.seen.clear();
    body(w);
    w.EndDialog(0);
  };
  d.DoModal();
}

TEST_F(QueueTest, TimersFireInDueOrderOnceEachAndStopWhenKilled) {
  PlatformTest::UseManualClock(true);
  TestDlg d;
  Within(d, [](TestDlg& w) {
    w.SetTimer(1, 100);
    w.SetTimer(2, 30);
    PlatformTest::AdvanceClock(29);
    EXPECT_EQ(PumpAll(), 0);
    PlatformTest::AdvanceClock(1);
    PumpAll();
    PlatformTest::AdvanceClock(500);  // long overdue: one tick each, earliest due first, no pile-up
    PumpAll();
    std::vector<WPARAM> ids;
    for (const auto& s : w.seen) ids.push_back(s.wParam);
    EXPECT_EQ(ids, (std::vector<WPARAM>{2, 2, 1}));

    // A killed timer's due tick is gone.
    w.seen.clear();
    PlatformTest::AdvanceClock(200);
    EXPECT_TRUE(w.KillTimer(1));
    EXPECT_FALSE(w.KillTimer(1));
    PumpAll();
    EXPECT_EQ(w.Messages(), (std::vector<UINT>{WM_TIMER}));
    EXPECT_EQ(w.seen[0].wParam, 2u);
    w.KillTimer(2);
  });
  // A destroyed window's timers go with it.
  PlatformTest::AdvanceClock(1000);
  EXPECT_EQ(PumpAll(), 0);
}

TEST_F(QueueTest, PostedAndInputComeBeforePaintAndTimers) {
  PlatformTest::UseManualClock(true);
  TestDlg d;
  Within(d, [](TestDlg& w) {
    w.SetTimer(7, 10);
    PlatformTest::AdvanceClock(10);
    w.Invalidate();
    w.PostMessage(WM_USER + 3);
    PlatformTest::MouseMove(5, 5);
    PumpAll();
    EXPECT_EQ(w.Messages(), (std::vector<UINT>{WM_USER + 3, WM_MOUSEMOVE, WM_PAINT, WM_TIMER}));
    w.KillTimer(7);
  });
}

TEST_F(QueueTest, MouseGoesToTheTopWindowInItsClientCoordinates) {
  TestDlg screen, panel(&screen);
  Within(screen, [&](TestDlg& s) {
    // Moves are coalesced; the press lands where the pointer is.
    PlatformTest::MouseMove(1, 1);
    PlatformTest::MouseMove(10, 20);
    PlatformTest::MouseButton(VK_LBUTTON, true, 10, 20);
    PlatformTest::MouseButton(VK_LBUTTON, false, 10, 20);
    PumpAll();
    EXPECT_EQ(s.Messages(), (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}));
    EXPECT_EQ(s.seen[0].pt, CPoint(10, 20));
    EXPECT_EQ(s.seen[1].wParam, UINT{MK_LBUTTON});
    EXPECT_EQ(s.seen[2].wParam, 0u);
    s.seen.clear();

    // A top-most panel over the screen takes the input; a press on its empty part is its own.
    Within(panel, [&](TestDlg& p) {
      p.SetWindowPos(&CWnd::wndTopMost, 192, 144, 640, 480, SWP_SHOWWINDOW);
      PlatformTest::Click(300, 400);
      PumpAll();
      EXPECT_EQ(p.Count(WM_LBUTTONDOWN), 1u);
      EXPECT_EQ(p.Count(WM_LBUTTONUP), 1u);
      EXPECT_EQ(s.Count(WM_LBUTTONDOWN), 0u);
      // The screen below is disabled by the panel's run: it gets nothing even when uncovered.
      p.ShowWindow(SW_HIDE);
      PlatformTest::Click(300, 400);
      PumpAll();
      EXPECT_EQ(s.Count(WM_LBUTTONDOWN), 0u);
    });
    // After the panel, the screen has the input again.
    PlatformTest::MouseButton(VK_RBUTTON, true, 3, 4);
    PumpAll();
    EXPECT_EQ(s.Count(WM_RBUTTONDOWN), 1u);
    EXPECT_EQ(s.seen.back().pt, CPoint(3, 4));
    EXPECT_EQ(s.seen.back().wParam, UINT{MK_RBUTTON});
    PlatformTest::MouseButton(VK_RBUTTON, false, 3, 4);
    PumpAll();
  });
}

TEST_F(QueueTest, DoubleClickIsTheSecondQuickPressNearTheFirst) {
  PlatformTest::UseManualClock(true);
  TestDlg d;
  Within(d, [](TestDlg& w) {
    auto press = [](int x, int y, uint32_t after) {
      PlatformTest::AdvanceClock(after);
      PlatformTest::Click(x, y);
      PumpAll();
    };
    press(50, 50, 1000);
    press(52, 48, 500);  // within 500 ms and 2 px: double click
    press(52, 48, 100);  // a third press starts over
    press(60, 48, 100);  // too far
    press(60, 48, 501);  // too late
    std::vector<UINT> downs;
    for (UINT m : w.Messages())
      if (m == WM_LBUTTONDOWN || m == WM_LBUTTONDBLCLK) downs.push_back(m);
    EXPECT_EQ(downs, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN,
                                        WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
  });
}

TEST_F(QueueTest, SettingTheCursorWhereItIsGivesPacedMouseMoves) {
  PlatformTest::UseManualClock(true);
  TestDlg d;
  Within(d, [](TestDlg& w) {
    PlatformTest::MouseMove(100, 200);
    PumpAll();
    w.seen.clear();
    CPoint p;
    GetCursorPos(&p);
    EXPECT_EQ(p, CPoint(192 + 100, 144 + 200));
    SetCursorPos(p.x, p.y);
    EXPECT_EQ(PumpAll(), 1);
    ASSERT_EQ(w.Messages(), (std::vector<UINT>{WM_MOUSEMOVE}));
    EXPECT_EQ(w.seen[0].pt, CPoint(100, 200));
    // Asking again at once: nothing before 10 ms have passed, and one move however often asked.
    PictureChangesAt(timeGetTime());
    SetCursorPos(p.x, p.y);
    SetCursorPos(p.x, p.y);
    EXPECT_EQ(PumpAll(), 0);
    PlatformTest::AdvanceClock(9);
    EXPECT_EQ(PumpAll(), 0);
    PlatformTest::AdvanceClock(1);
    EXPECT_EQ(PumpAll(), 1);
    EXPECT_EQ(PumpAll(), 0);
    // At rest the next move waits for the earliest change announced since, and without one for
    // input.
    SetCursorPos(p.x, p.y);
    PlatformTest::AdvanceClock(1000);
    EXPECT_EQ(PumpAll(), 0);
    PictureChangesAt(timeGetTime() + 50);
    PictureChangesAt(timeGetTime() + 80);
    PlatformTest::AdvanceClock(49);
    EXPECT_EQ(PumpAll(), 0);
    PlatformTest::AdvanceClock(1);
    EXPECT_EQ(PumpAll(), 1);
    SetCursorPos(p.x, p.y);
    PlatformTest::AdvanceClock(100);
    EXPECT_EQ(PumpAll(), 0) << "an announcement serves one move";
    PlatformTest::MouseMove(101, 200);
    EXPECT_EQ(PumpAll(), 2) << "input ends the rest: its move, then the one asked for";
    // Nothing while the pointer is outside the game's windows.
    PlatformTest::MouseLeave();
    PlatformTest::AdvanceClock(20);
    SetCursorPos(p.x, p.y);
    EXPECT_EQ(PumpAll(), 0);
  });
}

// On the real clock a loop that waits for messages wakes for what falls due, not at the end of
// its longest wait: a timer, and the animated cursor's move at the picture's next change.
TEST_F(QueueTest, WaitingForAMessageEndsWhenTheNextOneFallsDue) {
  const struct {
    const char* what;
    UINT due;
    std::function<void(TestDlg&)> ask;
  } cases[] = {
      {"a timer", WM_TIMER, [](TestDlg& w) { w.SetTimer(1, 50); }},
      {"the resting cursor's move at the next frame", WM_MOUSEMOVE,
       [](TestDlg&) {
         PlatformTest::MouseMove(100, 200);
         PumpAll();
         CPoint p;
         GetCursorPos(&p);
         SetCursorPos(p.x, p.y);
         PumpAll();  // the first move comes at once; at rest the next waits for the frame
         SetCursorPos(p.x, p.y);
         PictureChangesAt(timeGetTime() + 50);
       }},
  };
  for (const auto& c : cases) {
    TestDlg d;
    Within(d, [&](TestDlg& w) {
      c.ask(w);
      w.seen.clear();
      const DWORD start = timeGetTime();
      while (w.Count(c.due) == 0 && timeGetTime() - start < 5000)
        if (PumpAll() == 0) WaitForMessage(3000);
      EXPECT_LT(timeGetTime() - start, 1000u) << c.what;
      EXPECT_EQ(w.Count(c.due), 1u) << c.what;
    });
  }
}

TEST_F(QueueTest, TypedTextBecomesBig5Characters) {
  TestDlg d;
  Within(d, [](TestDlg& w) {
    PlatformTest::TypeText(reinterpret_cast<const char*>(u8"a中"));
    PlatformTest::Key(VK_BACK, true);
    PumpAll();
    std::vector<WPARAM> chars;
    for (const auto& s : w.seen)
      if (s.message == WM_CHAR) chars.push_back(s.wParam);
    EXPECT_EQ(chars, (std::vector<WPARAM>{'a', 0xA4, 0xA4, 8}));
    EXPECT_EQ(w.Count(WM_KEYDOWN), 1u);
  });
}

TEST_F(QueueTest, AsyncKeyStateSeesPressesWithoutDispatching) {
  TestDlg d;
  Within(d, [](TestDlg& w) {
    EXPECT_EQ(GetAsyncKeyState('Y'), 0);
    PlatformTest::Key('Y', true);
    EXPECT_EQ(GetAsyncKeyState('Y') & 0x8001, 0x8001);
    EXPECT_EQ(GetAsyncKeyState('Y') & 0xFFFF, 0x8000) << "the press counts once";
    PlatformTest::Key('Y', false);
    EXPECT_EQ(GetAsyncKeyState('Y'), 0);
    // A quick press and release between two polls is still seen.
    PlatformTest::Key('N', true);
    PlatformTest::Key('N', false);
    EXPECT_EQ(GetAsyncKeyState('N'), 1);
    PlatformTest::MouseButton(VK_LBUTTON, true, 5, 5);
    EXPECT_NE(GetAsyncKeyState(VK_LBUTTON), 0);
    PlatformTest::MouseButton(VK_LBUTTON, false, 5, 5);
    GetAsyncKeyState(VK_LBUTTON);
    EXPECT_EQ(GetAsyncKeyState(VK_LBUTTON), 0);
    EXPECT_EQ(w.seen.size(), 0u) << "polling dispatches nothing";
    PumpAll();
  });
}

TEST_F(QueueTest, PressOnTheBackgroundDragsTheWindowAndEatsTheRelease) {
  TestDlg d;
  Within(d, [](TestDlg& w) {
    PlatformTest::MouseButton(VK_LBUTTON, true, 300, 300);
    PumpAll();
    w.PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(300, 300));
    PlatformTest::MouseMove(330, 280);
    PlatformTest::MouseButton(VK_LBUTTON, false, 330, 280);
    PumpAll();
    CRect r;
    w.GetWindowRect(&r);
    EXPECT_EQ(r, CRect(222, 124, 862, 604));
    EXPECT_EQ(w.Count(WM_LBUTTONUP), 0u);
    EXPECT_EQ(GetAsyncKeyState(VK_LBUTTON) & 0x8000, 0);
  });
}

TEST_F(QueueTest, MinimisedOnlyWhenTheDisplaySaysSo) {
  TestDlg d;
  Within(d, [](TestDlg& w) {
    // Nothing minimises the window here (as without a window manager): it stays in play.
    w.PostMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    PumpAll();
    EXPECT_FALSE(w.IsIconic());
    PlatformTest::Click(5, 5);
    PumpAll();
    EXPECT_EQ(w.Count(WM_LBUTTONUP), 1u);

    PlatformTest::Minimized();
    PumpAll();
    EXPECT_TRUE(w.IsIconic());
    ASSERT_GE(w.Count(WM_SIZE), 1u);
    EXPECT_EQ(w.seen.back().message, WM_SIZE);
    EXPECT_EQ(w.seen.back().wParam, UINT{SIZE_MINIMIZED});
    PlatformTest::Exposed();
    PumpAll();
    EXPECT_FALSE(w.IsIconic());
    EXPECT_EQ(w.seen.back().message, WM_PAINT) << "restored windows repaint";
  });
}

TEST_F(QueueTest, CursorCounter) {
  EXPECT_EQ(ShowCursor(FALSE), -1);
  EXPECT_EQ(ShowCursor(FALSE), -2);
  EXPECT_EQ(ShowCursor(TRUE), -1);
  EXPECT_EQ(ShowCursor(TRUE), 0);
}

}  // namespace

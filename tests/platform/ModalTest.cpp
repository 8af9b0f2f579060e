// The modal protocol the screens rely on: runs that end inside OnInitDialog or inside pumps
// of their own, nested runs, the dialog manager, and the close request.
#include "TestWindows.h"

namespace {

constexpr UINT kPoke = WM_USER + 1;
constexpr UINT kQuit = WM_USER + 2;

class ModalTest : public PlatformTestBase {};

TEST_F(ModalTest, EndDialogInsideOnInitDialogSkipsTheLoop) {
  TestDlg dlg;
  dlg.onInit = [](TestDlg& d) {
    d.Place(10, 10);
    d.PostMessage(kPoke);  // would be dispatched if the loop ran
    d.EndDialog(5);
    d.EndDialog(0);  // called twice: the last value wins
  };
  EXPECT_EQ(dlg.DoModal(), 0);
  EXPECT_EQ(dlg.Count(kPoke), 0u);
  EXPECT_EQ(dlg.destroyed, 1);
  EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
  MSG m;
  EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) << "queued messages die with the window";
  // The same object runs again, as every screen does.
  dlg.onInit = [](TestDlg& d) { d.EndDialog(3); };
  EXPECT_EQ(dlg.DoModal(), 3);
  EXPECT_EQ(dlg.destroyed, 2);
}

TEST_F(ModalTest, EndDialogFromAHandlerInsideAnOwnPumpTakesEffectAfterThePump) {
  // The play screen's shape: the whole run is a loop inside OnInitDialog.
  TestDlg dlg;
  int stepsAfterEnd = 0;
  dlg.onMessage = [](TestDlg& d, const Seen& s) {
    if (s.message == kPoke) {
      d.EndDialog(9);
      EXPECT_FALSE(d.IsWindowVisible()) << "EndDialog hides at once";
    }
  };
  dlg.onInit = [&](TestDlg& d) {
    d.Place(0, 0);
    d.PostMessage(kPoke);
    d.PostMessage(kQuit);
    bool quit = false, ended = false;
    while (!quit) {
      MSG m;
      if (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
        quit = m.message == kQuit;
        TranslateMessage(&m);
        DispatchMessage(&m);
      }
      if (ended) ++stepsAfterEnd;
      ended = ended || d.Count(kPoke) > 0;
    }
  };
  EXPECT_EQ(dlg.DoModal(), 9);
  EXPECT_GE(stepsAfterEnd, 1) << "the pump above the modal loop went on after EndDialog";
  EXPECT_EQ(dlg.Count(kQuit), 1u);
}

TEST_F(ModalTest, NestedRunsEndTheRightDialog) {
  TestDlg outer;
  TestDlg inner(&outer);
  std::vector<std::string> order;
  outer.onInit = [&](TestDlg& d) {
    d.Place(100, 50);
    d.PostMessage(kPoke);
  };
  outer.onMessage = [&](TestDlg& d, const Seen& s) {
    if (s.message == kPoke) {
      order.push_back("outer handler starts");
      int r = inner.DoModal();
      order.push_back("inner returned " + std::to_string(r));
      EXPECT_TRUE(d.IsWindowEnabled()) << "the owner is enabled again";
    }
    if (s.message == kQuit) {
      order.push_back("outer ended from inside the inner loop");
      d.EndDialog(1);
    }
  };
  inner.onInit = [&](TestDlg& d) {
    d.Place(100, 50, 640, 480, &CWnd::wndTopMost);
    EXPECT_FALSE(outer.IsWindowEnabled()) << "the owner is disabled while the inner dialog runs";
    // The inner loop dispatches to every window: the outer one ends, the inner one goes on.
    outer.PostMessage(kQuit);
    d.PostMessage(kPoke);
  };
  inner.onMessage = [&](TestDlg& d, const Seen& s) {
    if (s.message == kPoke) {
      EXPECT_FALSE(outer.IsWindowVisible());
      order.push_back("inner still running");
      d.EndDialog(2);
    }
  };
  EXPECT_EQ(outer.DoModal(), 1);
  EXPECT_EQ(order, (std::vector<std::string>{"outer handler starts",
                                             "outer ended from inside the inner loop",
                                             "inner still running", "inner returned 2"}));
  EXPECT_EQ(inner.destroyed, 1);
  EXPECT_EQ(outer.destroyed, 1);
}

TEST_F(ModalTest, DialogManagerOnlyInTheFrameworkLoop) {
  // Enter and Escape end a dialog through OnOK / OnCancel in the framework loop...
  for (int vk : {VK_RETURN, VK_ESCAPE}) {
    TestDlg dlg;
    dlg.onInit = [&](TestDlg& d) {
      d.Place(0, 0);
      PlatformTest::Key(vk, true);
      PlatformTest::Key(vk, false);
    };
    EXPECT_EQ(dlg.DoModal(), vk == VK_RETURN ? IDOK : IDCANCEL);
    EXPECT_EQ(dlg.Count(WM_CHAR), 0u);
  }
  // ...while a pump of the dialog's own sees them as characters.
  TestDlg dlg;
  dlg.onInit = [](TestDlg& d) {
    d.Place(0, 0);
    PlatformTest::Key(VK_RETURN, true);
    PlatformTest::Key(VK_ESCAPE, true);
    PumpAll();
    d.EndDialog(0);
  };
  dlg.DoModal();
  std::vector<WPARAM> chars;
  for (const auto& s : dlg.seen)
    if (s.message == WM_CHAR) chars.push_back(s.wParam);
  EXPECT_EQ(chars, (std::vector<WPARAM>{13, 27}));
}

TEST_F(ModalTest, CloseRequestEndsThroughOnCancelUnlessItIsIgnored) {
  TestDlg dlg;
  dlg.onInit = [](TestDlg& d) {
    d.Place(0, 0);
    PlatformTest::CloseRequest();
  };
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.Count(WM_CLOSE), 1u);

  // A screen whose OnCancel does nothing stays open (the main menu and the title).
  TestDlg menu;
  menu.cancelIgnored = true;
  menu.onInit = [](TestDlg& d) {
    d.Place(0, 0);
    PlatformTest::CloseRequest();
    PumpAll();
    EXPECT_TRUE(d.IsWindowVisible());
    EXPECT_EQ(d.Count(WM_CLOSE), 1u);
    d.EndDialog(4);
  };
  EXPECT_EQ(menu.DoModal(), 4);
}

TEST_F(ModalTest, ApplicationRunsItsMainDialogAndEnds) {
  struct App : CWinApp {
    App() : CWinApp("Tavex") {}
    BOOL InitInstance() override {
      TestDlg host;
      m_pMainWnd = &host;
      host.onInit = [](TestDlg& d) {
        d.SetWindowText("Tavex");
        d.EndDialog(0);
      };
      host.DoModal();
      ran = true;
      return FALSE;
    }
    bool ran = false;
  } app;
  EXPECT_EQ(AfxGetApp(), &app);
  EXPECT_STREQ(app.m_pszAppName, "Tavex");
  char arg0[] = "test";
  char* argv[] = {arg0, nullptr};
  EXPECT_EQ(AfxWinMain(1, argv), 0);
  EXPECT_TRUE(app.ran);
}

}  // namespace

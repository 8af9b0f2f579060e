// The standard dialogs run modally over a screen, driven through the platform's input path.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "BitFont.h"
#include "Platform.h"
#include "StdDialogs.h"

namespace {

namespace fs = std::filesystem;

std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

void Press(int vk) {
  PlatformTest::Key(vk, true);
  PlatformTest::Key(vk, false);
}

// A 640 x 480 screen that runs `body` once it shows, as the game's screens run dialogs from
// their handlers.
class Screen : public CDialog {
 public:
  Screen() : CDialog(100) {}
  std::function<void(Screen&)> body;
  std::function<void(Screen&, UINT)> onTimer;
  BOOL OnInitDialog() override {
    SetWindowPos(&wndNoTopMost, 0, 0, 640, 480, SWP_SHOWWINDOW);
    SetActiveWindow();
    if (body) body(*this);
    EndDialog(0);
    return TRUE;
  }
  void OnTimer(UINT id) override {
    if (onTimer) onTimer(*this, id);
  }
  void OnPaint() override { CPaintDC dc(this); }
  BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
};

// Where a point of a dialog window lies in the picture the SDL window shows.
CPoint InFrame(CWnd& w, CPoint p) {
  CRect r, frame = PlatformTest::ShownRect();
  w.GetWindowRect(&r);
  return CPoint(r.left - frame.left + p.x, r.top - frame.top + p.y);
}

void ClickAt(CWnd& w, CPoint p) {
  CPoint f = InFrame(w, p);
  PlatformTest::Click(f.x, f.y);
}

// The game's name entry, as its dialog class is written over CInputDialog.
class NameEntry : public CInputDialog {
 public:
  explicit NameEntry(CWnd* parent) : CInputDialog(131, parent, "請輸入姓名", "確定") {}
  CString name = "HOST";
  std::function<void(NameEntry&)> onShown;

 protected:
  BOOL OnInitDialog() override {
    CInputDialog::OnInitDialog();
    GetEdit().SetWindowText(name);
    if (onShown) onShown(*this);
    return TRUE;
  }
  void OnOK() override {
    GetEdit().GetWindowText(name);
    if (name.IsEmpty()) name = "Player";
    CInputDialog::OnOK();
  }
  void OnCancel() override {
    name = "Player";
    CInputDialog::OnCancel();
  }
};

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PlatformTest::Reset();
    ASSERT_NE(BitFont::Default(), nullptr) << BitFont::DefaultError();
  }
  void TearDown() override { PlatformTest::Reset(); }

  // Runs a name entry over a screen with the given input and returns the stored name.
  std::string RunNameEntry(const std::function<void(NameEntry&)>& input, int* result = nullptr) {
    Screen screen;
    NameEntry entry(&screen);
    entry.onShown = input;
    screen.body = [&](Screen&) {
      int r = entry.DoModal();
      if (result) *result = r;
    };
    screen.DoModal();
    return entry.name.str();
  }
};

TEST_F(DialogTest, TypedNameReplacesTheOfferedOneAndEnterStoresIt) {
  int result = 0;
  std::string name = RunNameEntry(
      [](NameEntry&) {
        PlatformTest::TypeText(U8(u8"王小明").c_str());
        Press(VK_LEFT);
        Press(VK_BACK);                              // 小 goes as one character
        PlatformTest::TypeText(U8(u8"許").c_str());  // trail byte '\'
        Press(VK_RETURN);
      },
      &result);
  EXPECT_EQ(name, "王許明");
  EXPECT_EQ(result, IDOK);
}

TEST_F(DialogTest, EscapeAndTheCloseBoxCancel) {
  int result = 0;
  EXPECT_EQ(RunNameEntry(
                [](NameEntry&) {
                  PlatformTest::TypeText("Zed");
                  Press(VK_ESCAPE);
                },
                &result),
            "Player");
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(RunNameEntry(
                [](NameEntry& e) {
                  CRect r;
                  e.GetWindowRect(&r);
                  ClickAt(e, CPoint(r.Width() - 10, 10));
                },
                &result),
            "Player");
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(DialogTest, TheButtonTakesTheNameAndAnEmptyNameBecomesPlayer) {
  EXPECT_EQ(RunNameEntry([](NameEntry& e) {
              PlatformTest::TypeText("Ann");
              ClickAt(e, CStdDialog::At(180, 14, 181, 15).TopLeft());
            }),
            "Ann");
  EXPECT_EQ(RunNameEntry([](NameEntry&) {
              Press(VK_BACK);  // the offered name is selected: one Backspace clears it
              Press(VK_RETURN);
            }),
            "Player");
  // A click into the field drops the selection: typing then adds to the offered name.
  EXPECT_EQ(RunNameEntry([](NameEntry& e) {
              ClickAt(e, CStdDialog::At(120, 14, 121, 15).TopLeft());
              PlatformTest::TypeText("2");
              Press(VK_RETURN);
            }),
            "HOST2");
}

TEST_F(DialogTest, TheNameEntrySitsCentredOverItsScreenWithTheCursorShown) {
  ShowCursor(FALSE);  // the game hides the system cursor for good at start
  Screen screen;
  NameEntry entry(&screen);
  CRect placed;
  int countInside = -99;
  entry.onShown = [&](NameEntry& e) {
    e.GetWindowRect(&placed);
    countInside = ShowCursor(FALSE) + 1;
    ShowCursor(TRUE);
    Press(VK_RETURN);
  };
  screen.body = [&](Screen&) { entry.DoModal(); };
  screen.DoModal();
  EXPECT_GE(countInside, 0);
  EXPECT_EQ(ShowCursor(TRUE), 0) << "the counter is back where the game left it";
  EXPECT_EQ(placed.Width(), 230 + 2 * CStdDialog::kBorder);
  EXPECT_EQ(placed.Height(), 28 + 2 * CStdDialog::kBorder + CStdDialog::kCaption);
  EXPECT_EQ(placed.left, (640 - placed.Width()) / 2);
  EXPECT_EQ(placed.top, (480 - placed.Height()) / 2);
}

TEST_F(DialogTest, AMessageBoxShowsItsTextOverTheScreenAndEndsOnEnterEscapeOrSpace) {
  for (int key : {VK_RETURN, VK_ESCAPE, VK_SPACE}) {
    PlatformTest::Reset();
    ShowCursor(FALSE);
    Screen screen;
    int result = 0, countInside = -99;
    std::vector<uint16_t> shown;
    screen.onTimer = [&](Screen& s, UINT id) {
      // Dispatched by the box's own loop, after it has painted.
      s.KillTimer(id);
      const uint16_t* px = PlatformTest::PresentedPixels();
      if (px) shown.assign(px, px + 640 * 480);
      countInside = ShowCursor(FALSE) + 1;
      ShowCursor(TRUE);
      if (key == VK_SPACE)
        PlatformTest::TypeText(" ");  // the character, as SDL reports it
      else
        Press(key);
    };
    screen.body = [&](Screen& s) {
      s.SetTimer(1, 20);
      result = MessageBox(&s, "完成存檔!", "Tavex");
    };
    screen.DoModal();
    EXPECT_EQ(result, IDOK);
    EXPECT_GE(countInside, 0);
    EXPECT_EQ(ShowCursor(TRUE), 0);
    ASSERT_EQ(shown.size(), 640u * 480u);
    // The box is centred: its caption bar crosses the middle column, text lies below it.
    int navy = 0, black = 0;
    for (int y = 180; y < 300; ++y) {
      navy += shown[y * 640 + 320] == ColorTo555(RGB(0, 0, 128));
      for (int x = 240; x < 400; ++x) black += shown[y * 640 + x] == 0;
    }
    EXPECT_GT(navy, 10);
    EXPECT_GT(black, 40) << "no text drawn";
    EXPECT_EQ(shown[10 * 640 + 10], shown[470 * 640 + 630]) << "the box covers only the middle";
  }
}

TEST_F(DialogTest, AfxMessageBoxTakesTheApplicationName) {
  struct App : CWinApp {
    App() : CWinApp("Tavex") {}
  } app;
  Screen screen;
  app.m_pMainWnd = &screen;
  int result = 0;
  screen.body = [&](Screen&) {
    Press(VK_RETURN);
    result = AfxMessageBox("No open img\\x.bmp");
  };
  screen.DoModal();
  EXPECT_EQ(result, IDOK);
}

// ----- file dialog -------------------------------------------------------------------------------

class FileDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    std::string pattern = (fs::temp_directory_path() / "tavex-dlg-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    old_ = fs::current_path();
    fs::current_path(dir_);  // this test process only: the dialog lists the current directory
    for (const char* f : {"b.sav", "A.SAV", "c.txt", "Sub/x.SAV", "sub2/y.sav"}) {
      fs::create_directories(fs::path(f).parent_path().empty() ? "." : fs::path(f).parent_path());
      std::ofstream(f) << "x";
    }
    std::ofstream(U8(u8"棋局.SAV")) << "x";
  }
  void TearDown() override {
    fs::current_path(old_);
    fs::remove_all(dir_);
    DialogTest::TearDown();
  }

  std::string dir_;
  fs::path old_;
  const char* filter_ = "紀錄檔 (*.SAV)|*.SAV||";
};

// A file dialog that hands control to the test once it shows.
class TestFileDialog : public CFileDialog {
 public:
  TestFileDialog(bool open, const char* filter, std::function<void(CFileDialog&)> shown)
      : CFileDialog(open, nullptr, nullptr, OFN_HIDEREADONLY | OFN_NOCHANGEDIR, filter),
        shown_(std::move(shown)) {}
  std::string Run() {
    Screen screen;
    screen.body = [&](Screen&) { result = DoModal(); };
    screen.DoModal();
    return GetPathName().str();
  }
  int result = 0;
  std::vector<std::string> names;
  std::string dirAtCancel;

 protected:
  BOOL OnInitDialog() override {
    CFileDialog::OnInitDialog();
    for (const auto& e : Entries()) names.push_back(e.display);
    if (shown_) shown_(*this);
    return TRUE;
  }
  void OnCancel() override {
    dirAtCancel = Directory();
    CFileDialog::OnCancel();
  }

 private:
  std::function<void(CFileDialog&)> shown_;
};

TEST_F(FileDialogTest, ListsDirectoriesAndMatchingFilesWithoutRegardToCase) {
  TestFileDialog dlg(true, filter_, [](CFileDialog&) { Press(VK_ESCAPE); });
  EXPECT_EQ(dlg.Run(), "");
  EXPECT_EQ(dlg.result, IDCANCEL);
  std::vector<std::string> expect = {"[..]", "[Sub]", "[sub2]", "A.SAV", "b.sav", "棋局.SAV"};
  EXPECT_EQ(dlg.names, expect);
  EXPECT_EQ(dlg.FilterDescription(), "紀錄檔 (*.SAV)");
  EXPECT_EQ(dlg.FilterPatterns(), std::vector<std::string>{"*.SAV"});
}

TEST_F(FileDialogTest, TheFilterSplitsOnlyBetweenCharacters) {
  // 四 ends in the byte '|'.
  CFileDialog dlg(TRUE, nullptr, nullptr, 0, "四 (*.SAV;*.BAK)|*.SAV;*.bak||");
  EXPECT_EQ(dlg.FilterDescription(), "四 (*.SAV;*.BAK)");
  EXPECT_EQ(dlg.FilterPatterns(), (std::vector<std::string>{"*.SAV", "*.bak"}));
  CFileDialog none(TRUE);
  EXPECT_EQ(none.FilterPatterns(), std::vector<std::string>{"*"});
}

TEST_F(FileDialogTest, ArrowKeysPickAFileAndEnterChoosesIt) {
  TestFileDialog dlg(true, filter_, [](CFileDialog&) {
    for (int i = 0; i < 4; ++i) Press(VK_DOWN);  // [..] [Sub] [sub2] A.SAV
    Press(VK_DOWN);
    Press(VK_UP);
    Press(VK_RETURN);
  });
  EXPECT_EQ(dlg.Run(), "A.SAV");
  EXPECT_EQ(dlg.result, IDOK);
}

TEST_F(FileDialogTest, AChineseFileNameIsChosenAsItIsOnDisk) {
  TestFileDialog dlg(true, filter_, [](CFileDialog&) {
    for (int i = 0; i < 6; ++i) Press(VK_DOWN);
    Press(VK_RETURN);
  });
  EXPECT_EQ(dlg.Run(), U8(u8"棋局.SAV"));
}

TEST_F(FileDialogTest, DirectoriesOpenInsideTheDialogWithoutChangingDirectory) {
  TestFileDialog dlg(true, filter_, [](CFileDialog&) {
    PlatformTest::TypeText("SUB2");  // typed names of directories open them too, in any case
    Press(VK_RETURN);
    Press(VK_DOWN);
    Press(VK_DOWN);  // [..] y.sav
    Press(VK_RETURN);
  });
  EXPECT_EQ(dlg.Run(), "sub2/y.sav");
  TestFileDialog up(true, filter_, [](CFileDialog&) {
    PlatformTest::TypeText("sub2\\");
    Press(VK_RETURN);
    Press(VK_DOWN);
    Press(VK_RETURN);  // [..] with an empty name field
    Press(VK_DOWN);
    Press(VK_RETURN);  // [..] again: above the current directory
    Press(VK_ESCAPE);
  });
  EXPECT_EQ(up.Run(), "");
  EXPECT_EQ(up.dirAtCancel, "../");
}

TEST_F(FileDialogTest, SavingTakesATypedBig5NameAsAUtf8FileName) {
  TestFileDialog dlg(false, filter_, [](CFileDialog&) {
    PlatformTest::TypeText(U8(u8"新局").c_str());
    Press(VK_RETURN);
  });
  EXPECT_EQ(dlg.Run(), U8(u8"新局"));
  EXPECT_EQ(dlg.result, IDOK);
}

TEST_F(FileDialogTest, MouseSelectsRowsAndDoubleClickChooses) {
  TestFileDialog dlg(true, filter_, [](CFileDialog& d) {
    // Row i of the list starts 28 + 18 i below the client area's top.
    CPoint row4 = CStdDialog::At(40, 28 + 4 * 18 + 5, 41, 0).TopLeft();
    CPoint f = InFrame(d, row4);
    PlatformTest::Click(f.x, f.y);
    PlatformTest::Click(f.x, f.y);
  });
  EXPECT_EQ(dlg.Run(), "b.sav");
  TestFileDialog byButton(false, filter_, [](CFileDialog& d) {
    ClickAt(d, CStdDialog::At(40, 28 + 3 * 18 + 5, 41, 0).TopLeft());  // A.SAV into the name field
    ClickAt(d, CStdDialog::At(350, 228, 351, 0).TopLeft());            // 儲存
  });
  EXPECT_EQ(byButton.Run(), "A.SAV");
  TestFileDialog cancel(false, filter_, [](CFileDialog& d) {
    ClickAt(d, CStdDialog::At(350, 256, 351, 0).TopLeft());  // 取消
  });
  EXPECT_EQ(cancel.Run(), "");
  EXPECT_EQ(cancel.result, IDCANCEL);
}

TEST_F(FileDialogTest, AnUnmappedDriveIsReportedAndTheDialogStaysInItsFolder) {
  unsetenv("TAVEX_DRIVE_A");
  for (const char* typed : {"A:\\game.SAV", "a:\\"}) {
    TestFileDialog dlg(false, filter_, [&](CFileDialog&) {
      PlatformTest::TypeText("sub2\\");
      Press(VK_RETURN);
      PlatformTest::TypeText(typed);
      Press(VK_RETURN);
    });
    Screen screen;
    bool boxSeen = false;
    // A box over the dialog is closed; the dialog itself is cancelled once it is back on top.
    screen.onTimer = [&](Screen&, UINT) {
      CWnd* top = PlatformTest::ShownWindow();
      if (top != &dlg && top != &screen) {
        boxSeen = true;
        Press(VK_RETURN);
      } else if (top == &dlg) {
        Press(VK_ESCAPE);
      }
    };
    screen.body = [&](Screen& s) {
      s.SetTimer(1, 50);
      dlg.result = dlg.DoModal();
    };
    screen.DoModal();
    EXPECT_TRUE(boxSeen) << typed;
    EXPECT_EQ(dlg.result, IDCANCEL) << typed;
    EXPECT_EQ(dlg.dirAtCancel, "sub2/") << typed;
  }
  // A mapped drive gives the file on it, as it is spelled there.
  setenv("TAVEX_DRIVE_A", (dir_ + "/Sub").c_str(), 1);
  TestFileDialog mapped(true, filter_, [](CFileDialog&) {
    PlatformTest::TypeText("a:\\X.sav");
    Press(VK_RETURN);
  });
  EXPECT_EQ(mapped.Run(), dir_ + "/Sub/x.SAV");
  unsetenv("TAVEX_DRIVE_A");
}

TEST_F(FileDialogTest, ChooseGameFileFitsTheEngineHook) {
  Screen screen;
  bool ok = false;
  std::string path = "unchanged";
  screen.body = [&](Screen&) {
    PlatformTest::TypeText("game");
    Press(VK_RETURN);
    ok = ChooseGameFile(false, filter_, path);
  };
  screen.DoModal();
  EXPECT_TRUE(ok);
  EXPECT_EQ(path, "game");
  screen.body = [&](Screen&) {
    Press(VK_ESCAPE);
    ok = ChooseGameFile(true, filter_, path);
  };
  screen.DoModal();
  EXPECT_FALSE(ok);
  EXPECT_EQ(path, "game");
}

}  // namespace

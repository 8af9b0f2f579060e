// The program from start-up to the end: title, main menu, the ways out, close requests,
// the full-screen view across screens, and the single-instance guard.
#include <signal.h>
#include <sys/wait.h>

#include "AiEngine.h"
#include "DlgGameMenu.h"
#include "DlgHow.h"
#include "DlgMain.h"
#include "DlgTital.h"
#include "ScreenTestUtil.h"
#include "SysInfo.h"
#include "TavexApp.h"

namespace {

class FlowTest : public ScreenTest {};

bool engineTables() { return tableBuffers[0] != nullptr; }

std::vector<uint8_t> SoundCfg(int32_t effects, int32_t music) {
  std::vector<uint8_t> b(8);
  std::memcpy(b.data(), &effects, 4);
  std::memcpy(b.data() + 4, &music, 4);
  return b;
}

TEST_F(FlowTest, StartsHeadlessToTheMainMenuAndTheCloseButtonEndsTheProgram) {
  CTavexDlg host;
  bool titleShown = false;
  onOpen[IDD_DLG_TITAL] = [&](CScreen* s, int) {
    // The title shows its picture before the effects, the lists and the engine are loaded.
    titleShown = PlatformTest::ShownWindow() == s;
    EXPECT_EQ(host.soundEffects[EFFECT_CLICK].dataSize, 0u);
    EXPECT_EQ(engineTables(), false);
    ClickAndPump(300, 300);
  };
  onOpen[IDD_DLG_MAIN] = [&](CScreen* s, int) {
    EXPECT_EQ(PlatformTest::ShownWindow(), s);
    EXPECT_TRUE(engineTables()) << "the engine is ready by the time the menu shows";
    EXPECT_EQ(host.roster[25].level, 8);
    EXPECT_EQ(host.quitRequested, 0);
    ClickAndPump(kTitleClose.x, kTitleClose.y);
    EXPECT_EQ(s->exitRequested, 1);
  };
  RunGame(host);
  EXPECT_TRUE(titleShown);
  EXPECT_EQ(opened[IDD_DLG_TITAL], 1);
  EXPECT_EQ(opened[IDD_DLG_MAIN], 1);
  EXPECT_EQ(host.quitRequested, 1);
  EXPECT_EQ(host.dlgMain, nullptr) << "the screens are gone at the end";
  EXPECT_EQ(ReadBytes("Sound.cfg"), SoundCfg(1, 1)) << "the settings are written at a normal end";
  EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST_F(FlowTest, TheQuitItemEndsTheProgramAndEnterEscapeAndCloseRequestsDoNot) {
  CTavexDlg host;
  onOpen[IDD_DLG_MAIN] = [&](CScreen* s, int) {
    auto* menu = static_cast<CDlgMain*>(s);
    for (int vk : {VK_RETURN, VK_ESCAPE}) {
      PlatformTest::Key(vk, true);
      PlatformTest::Key(vk, false);
    }
    PlatformTest::CloseRequest();
    PumpAll();
    EXPECT_TRUE(menu->IsWindowVisible()) << "the main menu ignores Enter, Escape and Alt+F4";
    EXPECT_EQ(menu->exitRequested, 1) << "yet the close request is noted";
    ClickAndPump(205, 424);  // quit
    EXPECT_EQ(menu->result, MENU_QUIT);
  };
  RunGame(host);
  EXPECT_EQ(opened[IDD_DLG_MAIN], 1);
  EXPECT_EQ(host.quitRequested, 1);
  EXPECT_EQ(ReadBytes("Sound.cfg").size(), 8u);
}

TEST_F(FlowTest, CloseRequestEndsOnlyTheScreenWhileTheCloseButtonEndsTheProgram) {
  CTavexDlg host;
  int gameMenuResult = 99;
  onOpen[IDD_DLG_MAIN] = [&](CScreen*, int count) {
    if (count == 0) {
      ClickAndPump(440, 236);  // tournament A
    } else {
      EXPECT_EQ(host.quitRequested, 0)
          << "a close request on the game menu does not end the program";
      ClickAndPump(440, 330);  // the ladder
    }
  };
  onOpen[IDD_DLG_GAMEMENU] = [&](CScreen* s, int count) {
    auto* menu = static_cast<CDlgGameMenu*>(s);
    if (count == 0) {
      EXPECT_EQ(menu->gameKind, 0);
      PlatformTest::CloseRequest();
      PumpAll();
      gameMenuResult = menu->result;
      EXPECT_EQ(menu->exitRequested, 1);
    } else {
      EXPECT_EQ(menu->gameKind, 2);
      ClickAndPump(kTitleClose.x, kTitleClose.y);
    }
  };
  RunGame(host);
  EXPECT_EQ(gameMenuResult, -1);
  EXPECT_EQ(opened[IDD_DLG_MAIN], 2) << "the close button on the game menu skips the main menu";
  EXPECT_EQ(opened[IDD_DLG_GAMEMENU], 2);
  EXPECT_EQ(host.quitRequested, 1);
}

TEST_F(FlowTest, FullScreenOnOneScreenShowsOnTheNextAndTogglesBack) {
  CTavexDlg host;
  ImagePage how = LoadPicture(host, "img\\how.bmp");
  ImagePage menuPic = LoadPicture(host, "img\\main.bmp");
  ASSERT_NE(how.pixels, nullptr);
  onOpen[IDD_DLG_MAIN] = [&](CScreen* s, int count) {
    if (count == 0) {
      ClickAndPump(kTitleFullScreen.x, kTitleFullScreen.y);
      EXPECT_EQ(host.fullScreen, 1);
      EXPECT_TRUE(IsFullScreenView());
      EXPECT_TRUE(PlatformTest::SdlWindowFullScreen());
      EXPECT_EQ(SpriteMismatches(menuPic, CRect(587, 480, 604, 497), 575, 3), 0)
          << "the full-screen mark";
      ClickAndPump(440, 424);  // how to play
      EXPECT_EQ(static_cast<CDlgMain*>(s)->result, MENU_HOW_TO);
    } else {
      EXPECT_EQ(host.fullScreen, 0);
      EXPECT_FALSE(IsFullScreenView());
      ClickAndPump(kTitleClose.x, kTitleClose.y);
    }
  };
  onOpen[IDD_DLG_HOW] = [&](CScreen* s, int) {
    EXPECT_EQ(SpriteMismatches(how, CRect(144, 480, 161, 497), 575, 3), 0)
        << "the next screen shows the mark";
    auto* dlg = static_cast<CDlgHow*>(s);
    EXPECT_EQ(dlg->buttons[TITLE_FULLSCREEN].hoverSrc.left, 144)
        << "and presses as a full-screen button";
    ClickAndPump(kTitleFullScreen.x, kTitleFullScreen.y);
    EXPECT_EQ(host.fullScreen, 0);
    EXPECT_FALSE(IsFullScreenView());
    EXPECT_EQ(dlg->buttons[TITLE_FULLSCREEN].hoverSrc.left, 126);
    EXPECT_NE(SpriteMismatches(how, CRect(144, 480, 161, 497), 575, 3), 0) << "the mark is gone";
    ClickAndPump(321, 441);  // back
  };
  RunGame(host);
  EXPECT_EQ(opened[IDD_DLG_HOW], 1);
  FreeImagePage(&how);
  FreeImagePage(&menuPic);
}

TEST_F(FlowTest, TheTitleAnimatesBackAndForthOneFrameAtATime) {
  CTavexDlg host;
  ASSERT_TRUE(host.directDraw.InitDisplay(640, 480, nullptr, FALSE));
  CDlgTital title(&host);
  title.picture = LoadPicture(host, "img\\Tital.bmp");
  PlatformTest::UseManualClock(true, 5000);
  CDlgTital::titleFrame = 0;
  CDlgTital::titleForward = 1;
  CDlgTital::titleClockStarted = false;
  std::vector<int> shown;
  ImagePage page;
  for (int i = 0; i < 24; ++i) {
    title.Compose();
    host.directDraw.LockPage(&page, FALSE);
    // Which frame reached the page: compare one column of the animated strip.
    int match = -1;
    for (int f = 0; f < CDlgTital::kFrames && match < 0; ++f) {
      bool same = true;
      for (int y = 0; y < 360 && same; y += 7)
        for (int x = 0; x < 125 && same; x += 5)
          same = page.pixels[size_t(29 + y) * 640 + size_t(125 + x)] ==
                 title.picture.pixels[size_t(y) * title.picture.width + size_t(640 + 125 * f + x)];
      if (same) match = f;
    }
    shown.push_back(match);
    // Exactly 200 ms is not enough for a step; a long pause is worth one step only.
    PlatformTest::AdvanceClock(i == 0 ? 200 : (i == 1 ? 1 : 5000));
  }
  EXPECT_EQ(shown, (std::vector<int>{0,  0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9,
                                     10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 1}));
  PlatformTest::UseManualClock(false);
  host.directDraw.ReleaseDisplay();
}

// The lock the program takes is the one a second copy finds.
pid_t StartGame(const std::string& runtimeDir) {
  pid_t pid = fork();
  if (pid == 0) {
    setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    execl(TAVEX_EXE, TAVEX_EXE, static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

bool ExitsWithin(pid_t pid, int ms, int* status) {
  for (int waited = 0; waited < ms; waited += 20) {
    if (waitpid(pid, status, WNOHANG) == pid) return true;
    usleep(20000);
  }
  return false;
}

TEST_F(FlowTest, ASecondCopyEndsAtOnceAndSilently) {
  // Without the lock held the program starts and waits on its title...
  pid_t first = StartGame(dir);
  ASSERT_GT(first, 0);
  int status = 0;
  EXPECT_FALSE(ExitsWithin(first, 1500, &status)) << "the first copy should keep running";
  // ...and a second copy, while the first runs, ends at once with nothing written.
  pid_t second = StartGame(dir);
  EXPECT_TRUE(ExitsWithin(second, 5000, &status));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  kill(first, SIGKILL);
  waitpid(first, &status, 0);
  // A copy killed while running leaves nothing that would keep the next one out.
  InstanceLock lock;
  EXPECT_TRUE(lock.Acquire(kInstanceName));
  lock.Release();
  EXPECT_TRUE(ReadBytes("Sound.cfg").empty());
}

TEST_F(FlowTest, InitInstanceReturnsAtOnceWhileAnotherCopyHoldsTheLock) {
  InstanceLock other;
  ASSERT_TRUE(other.Acquire(kInstanceName));
  CTavexApp app;
  EXPECT_FALSE(app.InitInstance());
  EXPECT_EQ(PlatformTest::ShownWindow(), nullptr) << "no window at all";
  EXPECT_TRUE(opened.empty());
}

}  // namespace

// The free game from the main menu, played to a result by clicks on the real play screen; and a
// start-up whose engine tables are missing or short.
#include <fcntl.h>

#include "FlowsTestUtil.h"

namespace {

class FreeGameTest : public GameFlowTest {
 protected:
  void TearDown() override {
    CDlgChessAc::waitHook = nullptr;
    GameFlowTest::TearDown();
  }
  static inline std::function<void(CDlgChessAc&)> script;
  static void Hook(CDlgChessAc* s) {
    if (script) script(*s);
  }
};

CPoint CellCentre(int r, int c) { return CPoint(238 + 24 * c, 75 + 24 * r); }

TEST_F(FreeGameTest, AFreeGameFromTheMainMenuIsPlayedToItsEndAndLeadsBack) {
  CTavexDlg host;
  MainMenuRuns(at::kFreeGame);
  // Black builds a row on line 7, white answers on line 9; black's fifth stone wins.
  const std::vector<CPoint> stones = {CellCentre(7, 3), CellCentre(9, 3), CellCentre(7, 4),
                                      CellCentre(9, 4), CellCentre(7, 5), CellCentre(9, 5),
                                      CellCentre(7, 6), CellCentre(9, 6), CellCentre(7, 7)};
  size_t clicked = 0;
  bool overClicked = false, left = false;
  int finalResult = -2, finalStones = -1;
  onOpen[IDD_DLG_CHESSAC] = [&](CScreen* s, int) {
    auto* play = static_cast<CDlgChessAc*>(s);
    EXPECT_EQ(play->mode, GAME_FREE);
    EXPECT_EQ(host.chessData.sides[0].kind, PLAYER_HUMAN);
    EXPECT_EQ(host.chessData.sides[1].kind, PLAYER_HUMAN);
    EXPECT_EQ(host.chessData.moveIndex, 0);
    EXPECT_EQ(PlatformTest::ShownWindow(), s);
    Press(at::kStartGame);
    EXPECT_EQ(play->running, 1);
  };
  script = [&](CDlgChessAc& s) {
    if (s.result == -1 && s.running == 1) {
      if (clicked < stones.size() && host.chessData.moveIndex == int(clicked)) {
        PlatformTest::Click(stones[clicked].x, stones[clicked].y);
        ++clicked;
      }
      return;
    }
    if ((s.result == 0 || s.result == 1) && !overClicked) {
      overClicked = true;  // away with the winner picture
      PlatformTest::Click(178, 150);
      return;
    }
    if (s.result != -1 && s.running == 0 && s.busy == 0 && !left) {
      left = true;
      finalResult = s.result;
      finalStones = host.chessData.moveIndex;
      PlatformTest::Click(at::kLeaveGame.x, at::kLeaveGame.y);
    }
  };
  CDlgChessAc::waitHook = &FreeGameTest::Hook;
  RunGame(host);
  EXPECT_EQ(finalResult, 0) << "black's five wins";
  EXPECT_EQ(finalStones, 9);
  EXPECT_EQ(opened[IDD_DLG_CHESSAC], 1);
  EXPECT_EQ(opened[IDD_DLG_MAIN], 2) << "the main menu shows again after the game";
  EXPECT_EQ(host.quitRequested, 1);
  EXPECT_EQ(host.dlgChessAc, nullptr) << "every screen is gone at the end";
  EXPECT_EQ(host.dlgInput, nullptr);
  EXPECT_TRUE(messages.empty()) << messages.front();
}

// Without complete tables the computer cannot play: one message naming the file, no menu, and
// the program ends as it does normally.
TEST_F(FreeGameTest, AMissingOrShortTableIsNamedAndTheProgramEndsBeforeTheMenu) {
  for (int variant = 0; variant < 2; ++variant) {
    if (variant == 0) {
      ASSERT_EQ(unlink("jp543b.tab"), 0);  // the link to the real table
    } else {
      const int fd = open("jp543b.tab", O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ASSERT_GE(fd, 0);
      ASSERT_EQ(ftruncate(fd, 1048575), 0);
      close(fd);
    }
    messages.clear();
    opened.clear();
    CTavexDlg host;
    RunGame(host);
    EXPECT_EQ(opened[IDD_DLG_TITAL], 1);
    EXPECT_EQ(opened[IDD_DLG_MAIN], 0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "No open jp543b.tab");
    EXPECT_EQ(host.quitRequested, 1);
    EXPECT_EQ(host.dlgMain, nullptr);
    EXPECT_EQ(ReadBytes("Sound.cfg").size(), 8u);
    PlatformTest::Reset();
  }
}

}  // namespace

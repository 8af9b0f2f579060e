// The grading ladder through the whole program: a level passed and the next one begun, a first
// level failed, later levels failed or all passed with their certificate and top-ten place, and
// a quit in the middle of a level.
#include "FlowsTestUtil.h"

namespace {

class LadderFlowTest : public GameFlowTest {
 protected:
  struct Round {
    int level, gameIndex, score;
  };
  std::vector<Round> rounds;
  // What the ladder screen does at each showing: P play, A abandon.
  std::string ladderPresses;

  void SetUp() override {
    GameFlowTest::SetUp();
    onOpen[IDD_DLG_GAMESTART] = [this](CScreen* s, int n) {
      auto* start = static_cast<CDlgGameStart*>(s);
      rounds.push_back({start->level, start->gameIndex, start->host->standings[0].points});
      const char p = size_t(n) < ladderPresses.size() ? ladderPresses[size_t(n)] : 'A';
      Press(p == 'P' ? at::kPlay : at::kAbandon);
    };
    onOpen[IDD_DLG_GAMEMENU] = [](CScreen*, int) { Press(at::kContinue); };
    onOpen[CDlgGameSaveLoad::IDD] = [](CScreen*, int) { Press(at::kSlotConfirm); };
  }

  // A run saved before game `game` of `level`, with the earlier games' outcomes.
  static std::vector<uint8_t> SavedRun(int level, int game, const std::vector<int32_t>& outcomes,
                                       int32_t score) {
    Standing s[8] = {};
    s[0] = {-1, score};
    for (int i = 0; i < 4; ++i)
      s[i + 1] = {LadderOpponents[level][i], i < int(outcomes.size()) ? outcomes[size_t(i)] : 0};
    return LadderSlot(level, game, s);
  }
};

TEST_F(LadderFlowTest, ALevelPassedWithTwoWinsLeadsToTheNextLevel) {
  CTavexDlg host;
  MainMenuRuns(at::kLadder);
  onOpen[IDD_DLG_GAMEMENU] = [](CScreen* s, int) {
    EXPECT_EQ(static_cast<CDlgGameMenu*>(s)->gameKind, 2);
    Press(at::kNew);
  };
  outcomes = "WLWL";
  // Four games, then the summary, whose abandon does not end the ladder; then level 1 is left.
  ladderPresses = "PPPPAA";
  RunGame(host);

  ASSERT_EQ(rounds.size(), 6u);
  for (int g = 0; g < 4; ++g) {
    EXPECT_EQ(rounds[size_t(g)].level, 0);
    EXPECT_EQ(rounds[size_t(g)].gameIndex, g);
  }
  EXPECT_EQ(rounds[1].score, 2);
  EXPECT_EQ(rounds[4].gameIndex, LADDER_SUMMARY);
  EXPECT_EQ(rounds[4].score, 4);
  EXPECT_EQ(rounds[5].level, 1);
  EXPECT_EQ(rounds[5].gameIndex, 0);
  ASSERT_EQ(games.size(), 4u);
  for (int g = 0; g < 4; ++g) {
    EXPECT_EQ(games[size_t(g)].mode, GAME_LADDER);
    EXPECT_EQ(games[size_t(g)].opponent, LadderOpponents[0][g]);
    EXPECT_EQ(games[size_t(g)].blackKind, g % 2 == 0 ? PLAYER_ROSTER : PLAYER_HUMAN);
  }
  EXPECT_EQ(opened[CDlgCertificate::IDD], 0);
  // The slot holds level 1 before its first game, with the next level's opponents.
  const std::vector<uint8_t> slot = ReadBytes("save/00_02_00.sav");
  ASSERT_EQ(slot.size(), size_t(kLadderSlotBytes));
  int32_t level, game;
  Standing s[8];
  std::memcpy(&level, slot.data(), 4);
  std::memcpy(&game, slot.data() + 4, 4);
  std::memcpy(s, slot.data() + 8, 64);
  EXPECT_EQ(level, 1);
  EXPECT_EQ(game, 0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(s[i + 1].rosterIndex, LadderOpponents[1][i]);
}

TEST_F(LadderFlowTest, FailingTheFirstLevelDeletesTheSlotAndCertifiesNothing) {
  CTavexDlg host;
  MainMenuRuns(at::kLadder);
  onOpen[IDD_DLG_GAMEMENU] = [](CScreen*, int) { Press(at::kNew); };
  outcomes = "WDLL";  // 3 points: one short
  ladderPresses = "PPPPP";
  RunGame(host);
  ASSERT_EQ(rounds.size(), 5u);
  EXPECT_EQ(rounds[4].gameIndex, LADDER_SUMMARY);
  EXPECT_EQ(rounds[4].score, 3);
  EXPECT_FALSE(Exists("save/00_02_00.sav"));
  EXPECT_EQ(opened[CDlgCertificate::IDD], 0);
  EXPECT_FALSE(Exists("top10.dat"));
  EXPECT_EQ(opened[IDD_DLG_MAIN], 2);
}

// Levels continued from a slot at their last game: failing one certifies the level before it,
// passing the last certifies the top grade; either way the ladder list gets the grade.
TEST_F(LadderFlowTest, TheLastGameOfALevelDecidesTheCertificateAndTheTopTenGrade) {
  struct Case {
    int level;
    std::vector<int32_t> earlier;
    const char* last;
    int certified;
  };
  const Case cases[] = {
      {4, {LADDER_WON, LADDER_LOST, LADDER_LOST}, "L", 3},  // 2 points: failed
      {11, {LADDER_WON, LADDER_WON, LADDER_WON}, "D", 11},  // 7 points: all twelve passed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    int32_t score = 0;
    for (int32_t o : c.earlier) score += 2 - o;
    const std::vector<uint8_t> file = SavedRun(c.level, 3, c.earlier, score);
    WriteBytes("save/00_02_03.sav", file.data(), file.size());
    unlink("top10.dat");
    opened.clear();
    rounds.clear();
    games.clear();

    CTavexDlg host;
    MainMenuRuns(at::kLadder);
    onOpen[CDlgGameSaveLoad::IDD] = [](CScreen*, int) {
      Press(at::Slot(3));
      Press(at::kSlotConfirm);
    };
    outcomes = c.last;
    ladderPresses = "PP";
    int certified = -1;
    onOpen[CDlgCertificate::IDD] = [&](CScreen* s, int) {
      certified = static_cast<CDlgCertificate*>(s)->level;
      EXPECT_TRUE(Exists("save/00_02_03.sav")) << "the slot goes only once the grade is stored";
      Press(CPoint(320, 300));  // free-style: any click leaves
      PlatformTest::TypeText("Lin");
      PlatformTest::Key(VK_RETURN, true);
      PlatformTest::Key(VK_RETURN, false);
    };
    onOpen[CDlgTopList::IDD] = [&](CScreen* s, int) {
      EXPECT_EQ(static_cast<CDlgTopList*>(s)->freeStyleList, TOPLIST_LADDER);
      Press(at::kTopListBack);
    };
    RunGame(host);

    ASSERT_EQ(rounds.size(), 2u);
    EXPECT_EQ(rounds[0].level, c.level);
    EXPECT_EQ(rounds[0].gameIndex, 3);
    EXPECT_EQ(rounds[0].score, score);
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].opponent, LadderOpponents[c.level][3]);
    EXPECT_EQ(games[0].blackKind, PLAYER_HUMAN);
    EXPECT_EQ(certified, c.certified);
    const PlayerRecord e = TopTenEntry(ReadBytes("top10.dat"), 0, TOPLIST_LADDER, 0);
    EXPECT_STREQ(e.name, "Lin");
    EXPECT_EQ(e.score, uint32_t(c.certified + 1));
    PlatformTest::Reset();
  }
}

// A quit during a game still shows the level's summary; then the program
// ends, and the slot keeps the run even though the level counts as failed.
TEST_F(LadderFlowTest, AQuitDuringAGameShowsTheSummaryAndKeepsTheSlot) {
  CTavexDlg host;
  MainMenuRuns(at::kLadder, 3);
  onOpen[IDD_DLG_GAMEMENU] = [](CScreen*, int) { Press(at::kNew); };
  outcomes = "WQ";
  ladderPresses = "PPP";
  RunGame(host);
  ASSERT_EQ(rounds.size(), 3u);
  EXPECT_EQ(rounds[2].gameIndex, LADDER_SUMMARY);
  EXPECT_EQ(rounds[2].score, 2);
  EXPECT_EQ(host.quitRequested, 1);
  EXPECT_EQ(opened[IDD_DLG_MAIN], 1);
  EXPECT_EQ(opened[CDlgCertificate::IDD], 0);
  const std::vector<uint8_t> slot = ReadBytes("save/00_02_00.sav");
  ASSERT_EQ(slot.size(), size_t(kLadderSlotBytes));
  int32_t game;
  std::memcpy(&game, slot.data() + 4, 4);
  EXPECT_EQ(game, 1) << "saved before the game that was quit";
}

// Closing the program on the certificate keeps the grade: it is stored under the default name,
// and only then does the slot go.
TEST_F(LadderFlowTest, TheCloseButtonOnTheCertificateStoresTheGradeBeforeTheSlotGoes) {
  const std::vector<uint8_t> file = SavedRun(11, 3, {LADDER_WON, LADDER_WON, LADDER_WON}, 6);
  WriteBytes("save/00_02_00.sav", file.data(), file.size());
  CTavexDlg host;
  MainMenuRuns(at::kLadder, 3);
  outcomes = "W";
  ladderPresses = "PP";
  onOpen[CDlgCertificate::IDD] = [](CScreen*, int) { Press(kTitleClose); };
  RunGame(host);
  EXPECT_EQ(opened[CDlgCertificate::IDD], 1);
  ExpectStoredOnClose("save/00_02_00.sav", TOPLIST_LADDER, 12);
}

}  // namespace

// Tournaments through the whole program: a new one played a round and abandoned, one continued
// from its slot, one finished with its standings and a place in the top-ten lists.
#include "FlowsTestUtil.h"

namespace {

class TournamentFlowTest : public GameFlowTest {
 protected:
  // Rounds before `round` decided, in a pattern that differs by cell; the person's games as given.
  static void FillRounds(uint8_t (&m)[8][8], int rounds, uint8_t personResult) {
    std::memset(m, 0, sizeof m);
    for (int r = 0; r < rounds; ++r)
      for (int p = 0; p < 8; ++p) {
        const int q = roundSchedule[p][r];
        if (p > q) continue;
        const uint8_t code = p == 0 ? personResult : uint8_t((p + r) % 3 + 1);
        m[p][q] = code;
        m[q][p] = MirrorResult(code);
      }
  }
  static constexpr Standing kFieldB[8] = {{-1, 0}, {20, 0}, {1, 0},  {6, 0},
                                          {5, 0},  {7, 0},  {29, 0}, {25, 0}};
};

// The person's first game won, then drawn: the table records it for both sides and counts it.
TEST_F(TournamentFlowTest, ANewTournamentPlaysARoundWonOrDrawnThenIsAbandonedAtTheTable) {
  struct Case {
    const char* outcome;
    int slot;
    uint8_t person, opponent;  // the cells of the person's game, the person's row first
    int32_t points;
  };
  for (const Case& c : {Case{"W", 1, MATCH_WON, MATCH_LOST, 2},
                        Case{"D", 2, MATCH_DRAW, MATCH_DRAW, 1}}) {
    SCOPED_TRACE(c.outcome);
    opened.clear();
    games.clear();
    CTavexDlg host;
    MainMenuRuns(at::kTournamentA);
    outcomes = c.outcome;
    onOpen[IDD_DLG_GAMEMENU] = [&](CScreen* s, int) {
      EXPECT_EQ(static_cast<CDlgGameMenu*>(s)->gameKind, 0);
      Press(at::kNew);
    };
    onOpen[CDlgGameSaveLoad::IDD] = [&](CScreen* s, int) {
      EXPECT_EQ(static_cast<CDlgGameSaveLoad*>(s)->saveKind, SAVE_TOURNAMENT_A);
      EXPECT_EQ(host.standings[0].rosterIndex, -1) << "the field is drawn before the slots show";
      Press(at::Slot(c.slot));
      Press(at::kSlotConfirm);
    };
    std::vector<int> rounds;
    onOpen[IDD_DLG_GAMETABLE] = [&](CScreen* s, int n) {
      auto* table = static_cast<CDlgGameTable*>(s);
      rounds.push_back(table->round);
      EXPECT_EQ(table->tournamentKind, 0);
      if (n == 0) {
        EXPECT_EQ(host.resultMatrix[0][1], MATCH_PENDING);
        EXPECT_EQ(host.resultMatrix[2][3], MATCH_PENDING);
        EXPECT_EQ(host.resultMatrix[0][2], MATCH_NONE);
        Press(at::kPlay);
      } else {
        EXPECT_EQ(host.resultMatrix[0][1], c.person);
        EXPECT_EQ(host.resultMatrix[1][0], c.opponent);
        EXPECT_EQ(host.standings[0].points, c.points);
        for (int p = 0; p < 8; ++p) {
          const uint8_t code = host.resultMatrix[p][roundSchedule[p][0]];
          EXPECT_TRUE(code >= MATCH_WON && code <= MATCH_DRAW)
              << "every game of round 0 is decided";
          EXPECT_EQ(host.resultMatrix[p][roundSchedule[p][1]], MATCH_PENDING);
        }
        Press(at::kAbandon);
      }
    };
    Standing field[8];
    onOpen[IDD_DLG_CHESSAC] = [&](CScreen* s, int n) {
      std::memcpy(field, host.standings, sizeof field);
      PlayScripted(static_cast<CDlgChessAc*>(s), n);
    };
    RunGame(host);

    EXPECT_EQ(rounds, (std::vector<int>{0, 1}));
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].mode, GAME_TOURNAMENT_A);
    EXPECT_EQ(games[0].blackKind, PLAYER_ROSTER) << "the opponent has black in even rounds";
    EXPECT_EQ(games[0].whiteKind, PLAYER_HUMAN);
    EXPECT_EQ(games[0].opponent, field[1].rosterIndex);
    EXPECT_EQ(opened[IDD_DLG_GAMEPOINT], 0);
    EXPECT_EQ(opened[IDD_DLG_MAIN], 2);

    // The slot holds the state before round 1's game.
    const std::vector<uint8_t> slot = ReadBytes("save/00_00_0" + std::to_string(c.slot) + ".sav");
    ASSERT_EQ(slot.size(), size_t(kTournamentSlotBytes));
    int32_t round;
    std::memcpy(&round, slot.data(), 4);
    EXPECT_EQ(round, 1);
    Standing saved[8];
    std::memcpy(saved, slot.data() + 4, 64);
    for (int p = 0; p < 8; ++p) EXPECT_EQ(saved[p].rosterIndex, field[p].rosterIndex);
    EXPECT_EQ(slot[68 + 0 * 8 + 1], c.person);
    EXPECT_EQ(slot[68 + 1 * 8 + 0], c.opponent);
    EXPECT_EQ(slot[68 + 0 * 8 + 2], MATCH_PENDING);
    EXPECT_FALSE(Exists("save/00_00_00.sav"));
    PlatformTest::Reset();
  }
}

TEST_F(TournamentFlowTest, BackReadsNoSlotAndAContinuedTournamentResumesAtItsRound) {
  uint8_t matrix[8][8];
  FillRounds(matrix, 3, MATCH_DRAW);
  const std::vector<uint8_t> file = TournamentSlot(3, kFieldB, matrix);
  WriteBytes("save/00_01_02.sav", file.data(), file.size());

  CTavexDlg host;
  MainMenuRuns(at::kTournamentB, 2);
  outcomes = "B";
  onOpen[CDlgGameSaveLoad::IDD] = [&](CScreen*, int) {
    Press(at::Slot(2));
    Press(at::kSlotConfirm);
  };
  onOpen[IDD_DLG_GAMETABLE] = [&](CScreen* s, int n) {
    auto* table = static_cast<CDlgGameTable*>(s);
    EXPECT_EQ(table->tournamentKind, 1);
    if (n == 0) {
      EXPECT_EQ(table->round, 3);
      for (int p = 0; p < 8; ++p) {
        EXPECT_EQ(host.standings[p].rosterIndex, kFieldB[p].rosterIndex);
        EXPECT_EQ(host.standings[p].points, RowPoints(matrix[p]))
            << "points follow the restored results";
        for (int r = 0; r < 3; ++r)
          EXPECT_EQ(host.resultMatrix[p][roundSchedule[p][r]], matrix[p][roundSchedule[p][r]]);
        EXPECT_EQ(host.resultMatrix[p][roundSchedule[p][3]], MATCH_PENDING);
      }
      Press(at::kPlay);
    } else {
      EXPECT_EQ(table->round, 4);
      EXPECT_EQ(host.resultMatrix[0][roundSchedule[0][3]], MATCH_LOST)
          << "a game broken off is lost";
      Press(at::kAbandon);
    }
  };
  int gameMenus = 0;
  onOpen[IDD_DLG_GAMEMENU] = [&](CScreen*, int n) {
    if (n == 0) {
      Press(at::kBack);
      EXPECT_EQ(ReadBytes("save/00_01_02.sav"), file);
      EXPECT_EQ(host.standings[1].rosterIndex, 0) << "back draws no field";
    } else {
      Press(at::kContinue);
    }
    ++gameMenus;
  };
  RunGame(host);

  EXPECT_EQ(gameMenus, 2);
  EXPECT_EQ(opened[CDlgGameSaveLoad::IDD], 1) << "back shows no slots";
  ASSERT_EQ(games.size(), 1u);
  EXPECT_EQ(games[0].mode, GAME_TOURNAMENT_B);
  EXPECT_EQ(games[0].blackKind, PLAYER_HUMAN) << "the person has black in odd rounds";
  EXPECT_EQ(games[0].opponent, kFieldB[4].rosterIndex);
  const std::vector<uint8_t> slot = ReadBytes("save/00_01_02.sav");
  ASSERT_EQ(slot.size(), size_t(kTournamentSlotBytes));
  int32_t round;
  std::memcpy(&round, slot.data(), 4);
  EXPECT_EQ(round, 4);
}

// The seventh game played: the final table, the standings, the name of the new entry.
TEST_F(TournamentFlowTest, AFinishedTournamentShowsTheStandingsAndNamesItsTopTenPlace) {
  uint8_t matrix[8][8];
  FillRounds(matrix, 6, MATCH_WON);
  const std::vector<uint8_t> file = TournamentSlot(6, kFieldB, matrix);
  WriteBytes("save/01_01_00.sav", file.data(), file.size());

  CTavexDlg host;
  MainMenuRuns(at::kTournamentB, 1, true);
  outcomes = "W";
  onOpen[IDD_DLG_GAMEMENU] = [&](CScreen*, int) { Press(at::kContinue); };
  onOpen[CDlgGameSaveLoad::IDD] = [&](CScreen*, int) { Press(at::kSlotConfirm); };
  std::vector<int> rounds;
  onOpen[IDD_DLG_GAMETABLE] = [&](CScreen* s, int) {
    rounds.push_back(static_cast<CDlgGameTable*>(s)->round);
    Press(at::kPlay);
  };
  onOpen[IDD_DLG_GAMEPOINT] = [&](CScreen* s, int) {
    EXPECT_EQ(static_cast<CDlgGamePoint*>(s)->tournamentKind, 1);
    EXPECT_EQ(host.standings[0].points, 14) << "the final table counted the last game";
    EXPECT_TRUE(Exists("save/01_01_00.sav")) << "the slot goes only after the standings";
    Press(at::kContinueStandings);
    // Typed into the name entry that follows.
    PlatformTest::TypeText("Mei");
    PlatformTest::Key(VK_RETURN, true);
    PlatformTest::Key(VK_RETURN, false);
  };
  onOpen[CDlgTopList::IDD] = [&](CScreen* s, int) {
    auto* list = static_cast<CDlgTopList*>(s);
    EXPECT_EQ(list->renjuList, TOPLIST_TOURNAMENT_B) << "the Renju column shows tournament B";
    EXPECT_STREQ(TopTenEntry(ReadBytes("top10.dat"), 1, TOPLIST_TOURNAMENT_B, 0).name, "Player")
        << "stored before the slot went; the name is written after the list";
    Press(at::kTopListBack);
  };
  RunGame(host);

  EXPECT_EQ(rounds, (std::vector<int>{6, 7}));
  EXPECT_EQ(opened[IDD_DLG_GAMEPOINT], 1);
  EXPECT_EQ(opened[CDlgTopList::IDD], 1);
  EXPECT_FALSE(Exists("save/01_01_00.sav"));
  const std::vector<uint8_t> top = ReadBytes("top10.dat");
  ASSERT_EQ(top.size(), 3360u);
  const PlayerRecord e = TopTenEntry(top, 1, TOPLIST_TOURNAMENT_B, 0);
  EXPECT_STREQ(e.name, "Mei");
  EXPECT_EQ(e.score, 14u);
  EXPECT_EQ(e.newMark, 1);
  EXPECT_EQ(TopTenEntry(top, 1, TOPLIST_TOURNAMENT_B, 1).newMark, 0);
  EXPECT_EQ(TopTenEntry(top, 0, TOPLIST_TOURNAMENT_B, 0).newMark, 0)
      << "free-style lists untouched";
}

TEST_F(TournamentFlowTest, NoPlaceWonAsksNoNameAndWritesNoFile) {
  uint8_t matrix[8][8];
  FillRounds(matrix, 6, MATCH_LOST);
  const std::vector<uint8_t> file = TournamentSlot(6, kFieldB, matrix);
  WriteBytes("save/00_00_00.sav", file.data(), file.size());
  // Ten better entries in the free-style tournament A list.
  std::vector<uint8_t> top(3360, 0);
  for (int i = 0; i < 10; ++i) {
    PlayerRecord r{};
    std::strcpy(r.name, "Ace");
    r.score = 20;
    r.newMark = 1;
    std::memcpy(top.data() + 56 * i, &r, sizeof r);
  }
  WriteBytes("top10.dat", top.data(), top.size());

  CTavexDlg host;
  MainMenuRuns(at::kTournamentA);
  outcomes = "L";
  onOpen[IDD_DLG_GAMEMENU] = [&](CScreen*, int) { Press(at::kContinue); };
  onOpen[CDlgGameSaveLoad::IDD] = [&](CScreen*, int) { Press(at::kSlotConfirm); };
  onOpen[IDD_DLG_GAMEPOINT] = [&](CScreen*, int) { Press(at::kContinueStandings); };
  onOpen[IDD_DLG_GAMETABLE] = [&](CScreen* s, int n) {
    if (n == 0) {
      Press(at::kPlay);
    } else {
      EXPECT_EQ(static_cast<CDlgGameTable*>(s)->round, 7);
      Press(at::kAbandon);  // the final table's choice is not read
    }
  };
  RunGame(host);
  EXPECT_EQ(opened[IDD_DLG_GAMEPOINT], 1);
  EXPECT_EQ(opened[CDlgTopList::IDD], 0);
  EXPECT_FALSE(Exists("save/00_00_00.sav"));
  EXPECT_EQ(ReadBytes("top10.dat"), top);
}

// Closing the program on the final table or the standings: nothing more shows, and the
// result is stored under the default name before the slot goes, so nothing replays the last game.
TEST_F(TournamentFlowTest, TheCloseButtonOnAnEndScreenStoresTheResultAndEndsTheRun) {
  uint8_t matrix[8][8];
  FillRounds(matrix, 6, MATCH_WON);
  const std::vector<uint8_t> file = TournamentSlot(6, kFieldB, matrix);
  for (const bool onStandings : {false, true}) {
    SCOPED_TRACE(onStandings ? "standings" : "final table");
    WriteBytes("save/00_00_00.sav", file.data(), file.size());
    unlink("top10.dat");
    opened.clear();

    CTavexDlg host;
    MainMenuRuns(at::kTournamentA, 3);
    outcomes = "W";
    onOpen[IDD_DLG_GAMEMENU] = [&](CScreen*, int) { Press(at::kContinue); };
    onOpen[CDlgGameSaveLoad::IDD] = [&](CScreen*, int) { Press(at::kSlotConfirm); };
    onOpen[IDD_DLG_GAMETABLE] = [&](CScreen*, int n) {
      Press(n == 1 && !onStandings ? kTitleClose : at::kPlay);
    };
    onOpen[IDD_DLG_GAMEPOINT] = [&](CScreen*, int) { Press(kTitleClose); };
    RunGame(host);
    EXPECT_EQ(opened[IDD_DLG_GAMETABLE], 2);
    EXPECT_EQ(opened[IDD_DLG_GAMEPOINT], onStandings ? 1 : 0);
    ExpectStoredOnClose("save/00_00_00.sav", TOPLIST_TOURNAMENT_A, 14);
    PlatformTest::Reset();
  }
}

}  // namespace

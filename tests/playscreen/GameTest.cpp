// Whole games on the play screen, driven by clicks and keys through the window system.
#include "PlayTestUtil.h"

namespace {

class PlayGameTest : public PlayTest {};

// Clicks the given cells in turn, each once the one before it stands on the board.
struct CellClicker {
  std::vector<CPoint> cells;
  int posted = -1;
  bool Next(CDlgChessAc& s, int moveIndex) {
    if (s.running != 1 || s.result != -1 || s.busy) return false;
    const int k = moveIndex - baseIndex;
    if (k < 0 || k >= int(cells.size()) || k <= posted) return false;
    posted = k;
    Click(cells[size_t(k)]);
    return true;
  }
  int baseIndex = 0;
};

// A human's weak move: the first empty cell from the top left.
int FirstEmpty(const CChessData& data) {
  for (int r = 0; r < 15; ++r)
    for (int c = 0; c < 15; ++c)
      if (data.board[CellAt(r, c)] == CELL_EMPTY) return CellAt(r, c);
  return -1;
}

TEST_F(PlayGameTest, TwoPeopleClickAGameToAFiveAndBlackWins) {
  PlayHost host;
  bool started = false;
  CellClicker clicks;
  // Black builds row 7 from column 3; white answers on row 0, never in line.
  clicks.cells = {CellPoint(7, 3), CellPoint(0, 0), CellPoint(7, 4),
                  CellPoint(0, 2), CellPoint(7, 5), CellPoint(0, 4),
                  CellPoint(7, 6), CellPoint(0, 6), CellPoint(7, 7)};
  int occupiedTried = 0;
  script = [&](CDlgChessAc& s) {
    const CChessData& d = host.chessData;
    if (!started) {
      started = true;
      Click(kStart);
      return;
    }
    if (FinishWhenOver(s)) return;
    // A press on an occupied cell is no move: white tries black's stone first.
    if (d.moveIndex == 1 && occupiedTried == 0 && s.running) {
      occupiedTried = 1;
      Click(CellPoint(7, 3));
      return;
    }
    if (d.moveIndex == 1 && occupiedTried == 1) {
      occupiedTried = 2;
      return;  // one step for the occupied press to be handled
    }
    clicks.Next(s, d.moveIndex);
  };
  Run(host);
  EXPECT_EQ(host.finalResult, 0);
  EXPECT_EQ(host.chessData.moveIndex, 0) << "leaving clears the record";
  EXPECT_EQ(gameStones, 0);
}

TEST_F(PlayGameTest, PersonAgainstComputerEndsWithAResultUnderBothRuleSets) {
  for (int rules : {RULES_FREESTYLE, RULES_RENJU}) {
    SCOPED_TRACE(rules);
    PlayHost host;
    host.rules = rules;
    // The computer plays black, so the person (white) never meets a foul question.
    PlayerRecord computer = ComputerSide(1);
    host.black = &computer;
    bool started = false;
    int postedAt = -1;
    gameOverClicked = leavePosted = false;
    int stonesAtEnd = -1;
    script = [&](CDlgChessAc& s) {
      CChessData& d = host.chessData;
      if (!started) {
        started = true;
        Click(kStart);
        return;
      }
      if (s.result != -1 && stonesAtEnd < 0) {
        stonesAtEnd = d.moveIndex;
        EXPECT_TRUE(EngineInStep(d));
      }
      if (FinishWhenOver(s)) return;
      if (s.running && !s.busy && (d.moveIndex & 1) == 1 && postedAt < d.moveIndex) {
        postedAt = d.moveIndex;
        Click(CellPoint(FirstEmpty(d)));
      }
    };
    Run(host);
    EXPECT_NE(host.finalResult, -1);
    EXPECT_GE(stonesAtEnd, 9) << "a five takes at least nine stones";
  }
}

TEST_F(PlayGameTest, ComputerAgainstComputerSetByTheKindButtonsPlaysToTheEnd) {
  PlayHost host;
  int phase = 0;
  std::vector<int> cells;
  script = [&](CDlgChessAc& s) {
    CChessData& d = host.chessData;
    switch (phase) {
      case 0:  // human -> roster opponent -> computer, for both sides
        for (int i = 0; i < 2; ++i) Click(kKindBlack), Click(kKindWhite);
        ++phase;
        return;
      case 1:
        Step("both sides COMPUTER after two presses on each kind button");
        if (d.sides[0].kind != PLAYER_COMPUTER || d.sides[1].kind != PLAYER_COMPUTER) return;
        EXPECT_STREQ(d.sides[0].name, "COMPUTER");
        EXPECT_EQ(d.sides[1].level, 0);
        Click(kStart);
        ++phase;
        return;
      default: break;
    }
    if (s.result != -1 && cells.empty()) {
      for (int i = 0; i < d.moveIndex; ++i) cells.push_back(d.moves[i].cell);
      EXPECT_TRUE(EngineInStep(d));
    }
    FinishWhenOver(s);
  };
  Run(host);
  ASSERT_NE(host.finalResult, -1);
  // Every stone stood on its own empty cell of the playing area.
  std::vector<bool> seen(BOARD_BYTES);
  for (int c : cells) {
    ASSERT_TRUE(c >= 128 && c < 128 + 15 * 32 && (c & 31) < 15) << c;
    EXPECT_FALSE(seen[size_t(c)]);
    seen[size_t(c)] = true;
  }
}

// Black's (7, 7) makes two open threes: row 7 and column 7.
const std::vector<CPoint> kDoubleThreeGame = {CellPoint(7, 5),  CellPoint(0, 0),   CellPoint(7, 6),
                                              CellPoint(14, 0), CellPoint(5, 7),   CellPoint(0, 14),
                                              CellPoint(6, 7),  CellPoint(14, 14), CellPoint(7, 7)};

TEST_F(PlayGameTest, RenjuDoubleThreeAnsweredNoTakesTheStoneBackAndTheGameGoesOn) {
  PlayHost host;
  host.rules = RULES_RENJU;
  bool started = false, answered = false, editTried = false, stopPosted = false;
  bool restarted = false;
  int stepsStopped = 0;
  CellClicker clicks;
  clicks.cells = kDoubleThreeGame;
  CString question;
  script = [&](CDlgChessAc& s) {
    CChessData& d = host.chessData;
    if (!started) {
      started = true;
      Click(kStart);
      return;
    }
    if (s.busy && !answered && s.statusText.GetLength() > 0) {
      question = s.statusText;
      if (!editTried) {
        // Stop, then take back: the question holds the record, so take back does nothing.
        editTried = true;
        Click(kStart);
        Click(kTakeBack);
        return;
      }
      // Some steps for the take back press to arrive and be turned away.
      if (s.running || ++stepsStopped < 20) return;
      EXPECT_EQ(d.moveIndex, 9);
      answered = true;
      Step("the foul stone taken back after N");
      PlatformTest::Key('N', true);
      PlatformTest::Key('N', false);
      return;
    }
    // Once: a second press before the first arrives would stop the game again.
    if (answered && !restarted && d.moveIndex == 8 && s.running == 0 && !s.busy) {
      restarted = true;
      EXPECT_EQ(d.board[CellAt(7, 7)], CELL_EMPTY);
      EXPECT_TRUE(EngineInStep(d));
      EXPECT_EQ(s.result, -1);
      // The game goes on: start again and play elsewhere.
      Click(kStart);
      clicks.cells[8] = CellPoint(3, 3);
      clicks.posted = 7;
      return;
    }
    if (answered && d.moveIndex == 9 && d.board[CellAt(3, 3)] == CELL_BLACK) {
      if (!stopPosted) {
        EXPECT_TRUE(EngineInStep(d));
        stopPosted = true;
        Click(kStart);
      }
      if (!s.running) LeaveOnce();
      return;
    }
    clicks.Next(s, d.moveIndex);
  };
  Run(host);
  EXPECT_EQ(question, CString("[雙活三] 違反連珠規則,確定要下該子嗎？(Y/N)"));
  EXPECT_TRUE(answered);
  EXPECT_EQ(host.finalResult, -1);
}

TEST_F(PlayGameTest, RenjuDoubleThreeAnsweredYesLosesTheGameForBlack) {
  PlayHost host;
  host.rules = RULES_RENJU;
  bool started = false, answered = false;
  CellClicker clicks;
  clicks.cells = kDoubleThreeGame;
  script = [&](CDlgChessAc& s) {
    CChessData& d = host.chessData;
    if (!started) {
      started = true;
      Click(kStart);
      return;
    }
    if (s.busy && !answered && s.statusText.GetLength() > 0) {
      answered = true;
      Step("the game lost for black after Y");
      PlatformTest::Key('Y', true);
      PlatformTest::Key('Y', false);
      return;
    }
    if (FinishWhenOver(s)) return;
    clicks.Next(s, d.moveIndex);
  };
  Run(host);
  EXPECT_TRUE(answered);
  EXPECT_EQ(host.finalResult, 1) << "white wins";
}

TEST_F(PlayGameTest, StopDuringAThinkPlacesNoStoneAndEditingWaitsForTheThinkToEnd) {
  EngineHost::Beep = [](unsigned, unsigned) { usleep(400000); };
  PlayHost host;
  PlayerRecord strong = ComputerSide(8);
  host.white = &strong;
  int phase = 0;
  script = [&](CDlgChessAc& s) {
    CChessData& d = host.chessData;
    switch (phase) {
      case 0:
        Click(kStart);
        ++phase;
        break;
      case 1:
        if (!s.running) break;
        // The stone, then stop and new game: both arrive while white thinks.
        // Off the centre, so that white searches instead of answering from the opening rules.
        // The right press beeps inside the search, long enough for the next timer tick.
        Click(CellPoint(5, 5));
        Click(kStart);
        Click(kNewGame);
        PlatformTest::MouseButton(VK_RBUTTON, true, kNeutral.x, kNeutral.y);
        PlatformTest::MouseButton(VK_RBUTTON, false, kNeutral.x, kNeutral.y);
        ++phase;
        break;
      case 2:
        if (s.running || s.busy) break;
        EXPECT_EQ(d.moveIndex, 1) << "no white stone, and the new game was not taken";
        EXPECT_EQ(d.board[CellAt(5, 5)], CELL_BLACK);
        EXPECT_EQ(StonesOnBoard(d), 1);
        EXPECT_TRUE(EngineInStep(d));
        // Now stopped and idle, new game works.
        Click(kNewGame);
        ++phase;
        break;
      case 3:
        if (d.moveIndex != 0) break;
        EXPECT_TRUE(EngineInStep(d));
        LeaveOnce();
        break;
    }
  };
  Run(host);
  EngineHost::Beep = [](unsigned, unsigned) {};
  EXPECT_EQ(phase, 3);
  EXPECT_EQ(debugClicks, 1u);
}

TEST_F(PlayGameTest, TakeBackAndForwardKeepTheEngineInStep) {
  PlayHost host;
  bool started = false;
  CellClicker clicks;
  clicks.cells = {CellPoint(7, 7), CellPoint(7, 8), CellPoint(8, 7), CellPoint(8, 8),
                  CellPoint(9, 9)};
  int phase = 0;
  script = [&](CDlgChessAc& s) {
    CChessData& d = host.chessData;
    if (!started) {
      started = true;
      Click(kStart);
      return;
    }
    if (phase == 0 && d.moveIndex == 5) {
      Click(kStart);  // stop
      phase = 1;
      return;
    }
    if (phase == 1 && !s.running) {
      Click(kTakeBack);
      Click(kTakeBack);
      phase = 2;
      return;
    }
    if (phase == 2 && d.moveIndex == 3) {
      EXPECT_EQ(d.board[CellAt(9, 9)], CELL_EMPTY);
      EXPECT_EQ(d.board[CellAt(8, 8)], CELL_EMPTY);
      EXPECT_TRUE(EngineInStep(d));
      Click(kForward);
      phase = 3;
      return;
    }
    if (phase == 3 && d.moveIndex == 4) {
      EXPECT_EQ(d.board[CellAt(8, 8)], CELL_WHITE);
      EXPECT_TRUE(EngineInStep(d));
      EXPECT_TRUE(d.moves[4].used) << "the taken-back stone is still recorded";
      // Start drops the record after the position.
      Click(kStart);
      phase = 4;
      return;
    }
    if (phase == 4 && s.running) {
      EXPECT_FALSE(d.moves[4].used);
      Click(kStart);
      phase = 5;
      return;
    }
    if (phase == 5 && !s.running) {
      LeaveOnce();
      return;
    }
    if (phase == 0) clicks.Next(s, d.moveIndex);
  };
  Run(host);
  EXPECT_EQ(phase, 5);
}

// A threat's note speaks of the stone that made it: taking that stone back or starting anew
// clears it.
TEST_F(PlayGameTest, TakeBackAndNewGameClearTheThreatNote) {
  for (const CPoint button : {kTakeBack, kNewGame}) {
    leavePosted = false;
    PlayHost host;
    bool started = false;
    CellClicker clicks;
    clicks.cells = {CellPoint(7, 3), CellPoint(0, 0), CellPoint(7, 4), CellPoint(0, 2),
                    CellPoint(7, 5)};
    int phase = 0;
    script = [&](CDlgChessAc& s) {
      if (!started) {
        started = true;
        Click(kStart);
      } else if (phase == 0 && host.chessData.moveIndex == 5) {
        EXPECT_STREQ(s.statusText, "[活三]");
        Click(kStart);  // stop
        phase = 1;
      } else if (phase == 1 && !s.running) {
        Click(button);
        phase = 2;
      } else if (phase == 2 && host.chessData.moveIndex < 5) {
        EXPECT_STREQ(s.statusText, "");
        LeaveOnce();
        phase = 3;
      } else if (phase == 0) {
        clicks.Next(s, host.chessData.moveIndex);
      }
    };
    Run(host);
    EXPECT_EQ(phase, 3);
    PlatformTest::Reset();
  }
}

TEST_F(PlayGameTest, TakeBackAfterAWonGameClearsTheResultAndTheGameCanGoOn) {
  PlayHost host;
  bool started = false;
  CellClicker clicks;
  clicks.cells = {CellPoint(7, 3), CellPoint(0, 0), CellPoint(7, 4),
                  CellPoint(0, 2), CellPoint(7, 5), CellPoint(0, 4),
                  CellPoint(7, 6), CellPoint(0, 6), CellPoint(7, 7)};
  int phase = 0;
  script = [&](CDlgChessAc& s) {
    CChessData& d = host.chessData;
    if (!started) {
      started = true;
      Click(kStart);
      return;
    }
    if (phase == 0 && s.result == 0) {
      if (!gameOverClicked) {
        gameOverClicked = true;
        Click(kNeutral);
        return;
      }
      Click(kTakeBack);
      phase = 1;
      return;
    }
    if (phase == 1 && s.result == -1) {
      EXPECT_EQ(d.moveIndex, 8);
      EXPECT_TRUE(EngineInStep(d));
      Click(kStart);  // the start button takes a finished game back up
      phase = 2;
      return;
    }
    if (phase == 2 && s.running) {
      Click(CellPoint(7, 2));  // black wins at the other end
      phase = 3;
      return;
    }
    if (phase == 3) {
      FinishWhenOver(s);
      return;
    }
    if (phase == 0) clicks.Next(s, d.moveIndex);
  };
  Run(host);
  EXPECT_EQ(host.finalResult, 0);
}

TEST_F(PlayGameTest, ClocksChargeOnlyTheSideToMove) {
  PlatformTest::UseManualClock(true, 100000);
  PlayHost host;
  int phase = 0;
  script = [&](CDlgChessAc& s) {
    CChessData& d = host.chessData;
    s.lastBlinkTick = timeGetTime();  // no blinking under the hand-driven clock
    switch (phase) {
      case 0:
        PlatformTest::AdvanceClock(5000);  // before the start nothing is charged
        Click(kStart);
        ++phase;
        break;
      case 1:
        if (!s.running) break;
        EXPECT_EQ(d.sides[0].clock, 0);
        PlatformTest::AdvanceClock(1500);
        ++phase;
        break;
      case 2:
        EXPECT_EQ(d.sides[0].clock, 1500);
        EXPECT_EQ(d.sides[1].clock, 0);
        Click(CellPoint(7, 7));
        ++phase;
        break;
      case 3:
        if (d.moveIndex != 1) break;
        EXPECT_EQ(d.moves[0].clock, 1500) << "the mover's clock goes into the record";
        PlatformTest::AdvanceClock(2500);
        ++phase;
        break;
      case 4:
        EXPECT_EQ(d.sides[0].clock, 1500);
        EXPECT_EQ(d.sides[1].clock, 2500);
        // Less than a second is not charged yet.
        PlatformTest::AdvanceClock(900);
        ++phase;
        break;
      case 5:
        EXPECT_EQ(d.sides[1].clock, 2500);
        Click(kStart);  // stop
        ++phase;
        break;
      case 6:
        if (s.running) break;
        PlatformTest::AdvanceClock(10000);  // a stopped game keeps both clocks
        ++phase;
        break;
      case 7:
        EXPECT_EQ(d.sides[1].clock, 2500);
        // A clock loaded from a record can stand just below the top: it stops there.
        d.sides[1].clock = INT32_MAX - 500;
        Click(kStart);
        ++phase;
        break;
      case 8:
        if (!s.running) break;
        PlatformTest::AdvanceClock(1500);
        ++phase;
        break;
      case 9:
        EXPECT_EQ(d.sides[1].clock, INT32_MAX);
        Click(kStart);  // stop
        ++phase;
        break;
      case 10:
        if (!s.running) LeaveOnce();
        break;
    }
  };
  Run(host);
  EXPECT_EQ(phase, 10);
}

TEST_F(PlayGameTest, SavedGameLoadsAndReplaysWithTheEngineInStep) {
  const std::string path = dir + "/game.SAV";
  EngineHost::ChooseFile = [](bool forOpen, const char*, std::string& p) {
    p = forOpen ? "game.SAV" : "game";  // the ".SAV" is added on save
    return true;
  };
  PlayHost host;
  bool started = false;
  CellClicker clicks;
  clicks.cells = {CellPoint(7, 7), CellPoint(6, 8), CellPoint(8, 6), CellPoint(5, 9)};
  int phase = 0;
  std::vector<uint8_t> boardBefore;
  script = [&](CDlgChessAc& s) {
    CChessData& d = host.chessData;
    if (!started) {
      started = true;
      Click(kStart);
      return;
    }
    if (phase == 0 && d.moveIndex == 4) {
      Click(kStart);
      phase = 1;
      return;
    }
    if (phase == 1 && !s.running) {
      boardBefore.assign(d.board, d.board + BOARD_BYTES);
      Click(kSave);
      Click(kNewGame);
      phase = 2;
      return;
    }
    if (phase == 2 && d.moveIndex == 0) {
      EXPECT_EQ(StonesOnBoard(d), 0);
      Click(kLoad);
      phase = 3;
      return;
    }
    if (phase == 3 && d.moveIndex == 4) {
      EXPECT_EQ(std::vector<uint8_t>(d.board, d.board + BOARD_BYTES), boardBefore);
      EXPECT_TRUE(EngineInStep(d));
      LeaveOnce();
      return;
    }
    if (phase == 0) clicks.Next(s, d.moveIndex);
  };
  Run(host);
  EXPECT_EQ(phase, 3);
  std::ifstream f(path, std::ios::binary | std::ios::ate);
  EXPECT_EQ(int(f.tellg()), SAVE_FILE_BYTES);
}

void WriteSave(const std::string& path, const std::vector<MoveRecord>& records) {
  std::vector<uint8_t> bytes(SAVE_FILE_BYTES, 0);
  std::memcpy(bytes.data(), records.data(), records.size() * sizeof(MoveRecord));
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TEST_F(PlayGameTest, DamagedSaveFilesNeverCorruptTheBoard) {
  static std::string chosen;
  EngineHost::ChooseFile = [](bool, const char*, std::string& p) {
    p = chosen;
    return true;
  };
  // Each file has three good stones before its fault.
  const std::vector<MoveRecord> good = {
      {1, 100, CellAt(7, 7)}, {1, 200, CellAt(7, 8)}, {1, 300, CellAt(8, 8)}};
  std::vector<std::vector<MoveRecord>> files;
  for (int bad : {0, 9999, CellAt(3, 15), -5, CellAt(7, 7)}) {
    files.push_back(good);
    files.back().push_back({1, 400, bad});
    files.back().push_back({1, 500, CellAt(1, 1)});
  }
  for (size_t i = 0; i < files.size(); ++i)
    WriteSave(dir + "/bad" + std::to_string(i) + ".SAV", files[i]);
  // A short file after a longer game: only its own stones.
  WriteSave(dir + "/short.SAV", {good[0]});

  PlayHost host;
  size_t next = 0;
  bool waiting = false;
  std::vector<int> replayed;
  script = [&](CDlgChessAc& s) {
    CChessData& d = host.chessData;
    if (waiting) {
      // The load ran in the step that dispatched its release.
      if (s.busy || d.moveIndex == 0) return;
      replayed.push_back(d.moveIndex);
      EXPECT_TRUE(EngineInStep(d));
      EXPECT_EQ(StonesOnBoard(d), d.moveIndex);
      for (int k = 0; k < BOARD_BYTES; ++k) {
        const bool playing = k >= 128 && k < 128 + 15 * 32 && (k & 31) < 15;
        if (!playing) {
          EXPECT_EQ(d.board[k], CELL_BORDER) << k;
        }
      }
      waiting = false;
      Click(kNewGame);
      return;
    }
    if (d.moveIndex != 0) return;
    if (next < files.size() + 1) {
      chosen = next < files.size() ? "bad" + std::to_string(next) + ".SAV" : "short.SAV";
      ++next;
      waiting = true;
      Click(kLoad);
      return;
    }
    LeaveOnce();
  };
  Run(host);
  EXPECT_EQ(replayed, (std::vector<int>{3, 3, 3, 3, 3, 1}));
}

TEST_F(PlayGameTest, KindsPortraitsAndSlidersFollowThePanel) {
  PlayHost host;
  int phase = 0;
  script = [&](CDlgChessAc& s) {
    CChessData& d = host.chessData;
    switch (phase) {
      case 0:
        Click(kKindBlack);  // human -> roster opponent 0
        ++phase;
        break;
      case 1:
        if (d.sides[0].kind != PLAYER_ROSTER) break;
        EXPECT_EQ(d.sides[0].rosterId, 0);
        EXPECT_STREQ(d.sides[0].name, host.roster[0].name);
        EXPECT_EQ(d.sides[0].stoneCode, CELL_BLACK);
        Click(kPortraitBlack);  // the next in the stepping order is 3
        ++phase;
        break;
      case 2:
        if (d.sides[0].rosterId != 3) break;
        EXPECT_EQ(d.sides[0].level, host.roster[3].level);
        EXPECT_EQ(d.sides[0].style, host.roster[3].style);
        // A slider press on a roster side moves nothing.
        Click(CPoint(160, 76));
        ++phase;
        break;
      case 3:
        EXPECT_EQ(d.sides[0].style, host.roster[3].style);
        Click(kKindBlack);  // -> computer, level 0, style 0
        ++phase;
        break;
      case 4:
        if (d.sides[0].kind != PLAYER_COMPUTER) break;
        EXPECT_EQ(d.sides[0].level, 0);
        EXPECT_EQ(d.sides[0].style, 0);
        // A click on the track sets the value; beyond the track it clamps to 8.
        Click(CPoint(94 + 40, 123));
        ++phase;
        break;
      case 5:
        if (d.sides[0].level != 40 * 8 / 65) break;
        EXPECT_EQ(s.sliders[1].dest.left, 94 + (40 * 8 / 65) * 65 / 8);
        PlatformTest::MouseButton(VK_LBUTTON, true, 100, 76);
        ++phase;
        break;
      case 6:
        // Inside the drag: the pointer runs past the end of the track, then lets go.
        if (s.sliders[0].state != 1) break;
        PlatformTest::MouseMove(300, 76);
        ++phase;
        break;
      case 7:
        if (s.sliders[0].dest.left != 94 + 65) break;
        PlatformTest::MouseButton(VK_LBUTTON, false, 300, 76);
        ++phase;
        break;
      case 8:
        if (d.sides[0].style != 8) break;
        Click(kSwap);
        ++phase;
        break;
      case 9:
        if (d.sides[1].kind != PLAYER_COMPUTER) break;
        EXPECT_EQ(d.sides[1].style, 8) << "the settings travel with the side";
        EXPECT_EQ(d.sides[1].stoneCode, CELL_WHITE);
        EXPECT_STREQ(d.sides[0].name, "PLAYER 1");
        EXPECT_EQ(d.sides[0].kind, PLAYER_HUMAN);
        Click(kKindBlack);
        ++phase;
        break;
      case 10:
        if (d.sides[0].kind != PLAYER_ROSTER) break;
        LeaveOnce();
        break;
    }
  };
  Run(host);
  EXPECT_EQ(phase, 10);
  EXPECT_EQ(CDlgChessAc::RosterOrderAt((CDlgChessAc::RosterOrderIndex(25) + 1) % 30), 0);
  EXPECT_EQ(CDlgChessAc::RosterOrderIndex(99), 0);
}

TEST_F(PlayGameTest, EditingButtonsDoNothingOutsideTheFreeGame) {
  PlayHost host;
  host.mode = GAME_LADDER;
  PlayerRecord opponent{};
  int phase = 0;
  script = [&](CDlgChessAc&) {
    CChessData& d = host.chessData;
    switch (phase) {
      case 0:
        opponent = d.sides[1];
        Click(kKindBlack);
        Click(kSwap);
        ++phase;
        break;
      case 1: ++phase; break;
      default:
        EXPECT_EQ(d.sides[0].kind, PLAYER_HUMAN);
        EXPECT_STREQ(d.sides[1].name, opponent.name);
        LeaveOnce();
        break;
    }
  };
  Run(host);
  EXPECT_EQ(host.finalResult, -1);
}

TEST_F(PlayGameTest, HiddenPhraseMakesTheComputerPlayRandomCells) {
  PlayHost host;
  PlayerRecord strong = ComputerSide(8);
  host.white = &strong;
  int phase = 0;
  CellClicker clicks;
  clicks.cells = {CellPoint(0, 0), CPoint(), CellPoint(0, 1), CPoint(), CellPoint(1, 0)};
  std::vector<int> answers;
  script = [&](CDlgChessAc& s) {
    CChessData& d = host.chessData;
    switch (phase) {
      case 0:
        PlatformTest::TypeText("xx");  // off a block boundary the phrase is not seen
        PlatformTest::TypeText("Blue Kite Up");
        ++phase;
        return;
      case 1:
        if (s.HiddenMode) ADD_FAILURE() << "phrase off the boundary counted";
        PlatformTest::TypeText("0123456789");  // completes the block
        PlatformTest::TypeText("Blue Kite Up");
        ++phase;
        return;
      case 2:
        if (!s.HiddenMode) return;
        Click(kStart);
        ++phase;
        return;
      case 3:
        if (d.moveIndex < 6) break;
        Click(kStart);
        ++phase;
        return;
      case 4:
        if (s.running) return;
        EXPECT_TRUE(EngineInStep(d));
        for (int i = 1; i < 6; i += 2) answers.push_back(d.moves[i].cell);
        LeaveOnce();
        ++phase;
        return;
      default: return;
    }
    clicks.Next(s, d.moveIndex);
  };
  Run(host);
  EXPECT_EQ(phase, 5);
  ASSERT_EQ(answers.size(), 3u);
  // A search answers next to the stones in the corner; random cells do not stay there.
  int far = 0;
  for (int cell : answers) {
    const int r = (cell - 128) / 32, c = (cell - 128) % 32;
    if (r > 3 || c > 3) ++far;
  }
  EXPECT_GT(far, 0);
}

TEST_F(PlayGameTest, StartOnAFullBoardIsADraw) {
  // Stripes two wide in every direction: no five anywhere, 113 black and 112 white stones.
  std::vector<int> blacks, whites;
  for (int r = 0; r < 15; ++r)
    for (int c = 0; c < 15; ++c) ((c + 2 * r) % 4 < 2 ? blacks : whites).push_back(CellAt(r, c));
  ASSERT_EQ(blacks.size(), 113u);
  std::vector<MoveRecord> records;
  for (size_t i = 0; i < 225; ++i)
    records.push_back({1, int32_t(i * 10), i % 2 == 0 ? blacks[i / 2] : whites[i / 2]});
  std::vector<uint8_t> bytes(SAVE_FILE_BYTES);
  std::memcpy(bytes.data(), records.data(), bytes.size());
  std::ofstream("full.SAV", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), SAVE_FILE_BYTES);
  EngineHost::ChooseFile = [](bool, const char*, std::string& p) {
    p = "full.SAV";
    return true;
  };
  PlayHost host;
  PlayerRecord computer = ComputerSide(0);
  host.white = &computer;
  int phase = 0;
  script = [&](CDlgChessAc& s) {
    CChessData& d = host.chessData;
    switch (phase) {
      case 0:
        Click(kLoad);
        ++phase;
        break;
      case 1:
        if (d.moveIndex != 225) break;
        EXPECT_TRUE(EngineInStep(d));
        Click(kStart);
        ++phase;
        break;
      case 2:
        if (s.result == -1) break;
        EXPECT_EQ(s.result, 2);
        EXPECT_EQ(s.running, 0);
        EXPECT_EQ(d.moveIndex, 225);
        LeaveOnce();
        break;
    }
  };
  Run(host);
  EXPECT_EQ(host.finalResult, 2);
}

}  // namespace

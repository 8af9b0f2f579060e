// Whole games on the play screen, driven by clicks and keys through the window system.
#include "PlayTestUtil.h"

namespace {

using S = CDlgChessAc;

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

// Black builds row 7 from column 3; white answers on row 0, never in line.
const std::vector<CPoint> kRowFiveGame = {CellPoint(7, 3), CellPoint(0, 0), CellPoint(7, 4),
                                          CellPoint(0, 2), CellPoint(7, 5), CellPoint(0, 4),
                                          CellPoint(7, 6), CellPoint(0, 6), CellPoint(7, 7)};

TEST_F(PlayGameTest, TwoPeopleClickAGameToAFiveAndBlackWins) {
  PlayHost host;
  CellClicker clicks;
  clicks.cells = kRowFiveGame;
  const CChessData& d = host.chessData;
  auto next = [&](S& s) { clicks.Next(s, d.moveIndex); };
  Steps({PressStart(),
         // A press on an occupied cell is no move: white tries black's stone first.
         {"black's first stone", [&](S& s) { return d.moveIndex == 1 && s.running; },
          [](S&) { Click(CellPoint(7, 3)); }, next},
         {"the press on the occupied cell handled", nullptr, nullptr},
         {"black's five", [](S& s) { return s.result != -1; }, nullptr, next},
         Finish()});
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
    int postedAt = -1;
    gameOverClicked = leavePosted = false;
    int stonesAtEnd = -1;
    CChessData& d = host.chessData;
    Steps(
        {PressStart(),
         {"a result, the person playing the first empty cell", [](S& s) { return s.result != -1; },
          [&](S&) {
            stonesAtEnd = d.moveIndex;
            EXPECT_TRUE(EngineInStep(d));
          },
          [&](S& s) {
            if (s.running && !s.busy && (d.moveIndex & 1) == 1 && postedAt < d.moveIndex) {
              postedAt = d.moveIndex;
              Click(CellPoint(FirstEmpty(d)));
            }
          }},
         Finish()});
    Run(host);
    EXPECT_NE(host.finalResult, -1);
    EXPECT_GE(stonesAtEnd, 9) << "a five takes at least nine stones";
  }
}

TEST_F(PlayGameTest, ComputerAgainstComputerSetByTheKindButtonsPlaysToTheEnd) {
  PlayHost host;
  std::vector<int> cells;
  CChessData& d = host.chessData;
  Steps({{"the screen to open", nullptr,
          [](S&) {  // human -> roster opponent -> computer, for both sides
            for (int i = 0; i < 2; ++i) Click(kKindBlack), Click(kKindWhite);
          }},
         {"both sides COMPUTER after two presses on each kind button",
          [&](S&) {
            return d.sides[0].kind == PLAYER_COMPUTER && d.sides[1].kind == PLAYER_COMPUTER;
          },
          [&](S&) {
            EXPECT_STREQ(d.sides[0].name, "COMPUTER");
            EXPECT_EQ(d.sides[1].level, 0);
            Click(kStart);
          }},
         {"the computers' game to end", [](S& s) { return s.result != -1; },
          [&](S&) {
            for (int i = 0; i < d.moveIndex; ++i) cells.push_back(d.moves[i].cell);
            EXPECT_TRUE(EngineInStep(d));
          }},
         Finish()});
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
  bool answered = false;
  int stepsStopped = 0;
  CellClicker clicks;
  clicks.cells = kDoubleThreeGame;
  CString question;
  CChessData& d = host.chessData;
  auto next = [&](S& s) { clicks.Next(s, d.moveIndex); };
  auto asked = [](S& s) { return s.busy && s.statusText.GetLength() > 0; };
  Steps({PressStart(),
         // Stop, then take back: the question holds the record, so take back does nothing.
         {"the double-three question", asked,
          [](S&) {
            Click(kStart);
            Click(kTakeBack);
          },
          next},
         // Some steps for the take back press to arrive and be turned away.
         {"the game stopped under the question",
          [&](S& s) { return asked(s) && !s.running && ++stepsStopped >= 20; },
          [&](S& s) {
            question = s.statusText;
            EXPECT_EQ(d.moveIndex, 9);
            answered = true;
            PlatformTest::Key('N', true);
            PlatformTest::Key('N', false);
          }},
         {"the foul stone taken back after N",
          [&](S& s) { return d.moveIndex == 8 && s.running == 0 && !s.busy; },
          [&](S& s) {
            EXPECT_EQ(d.board[CellAt(7, 7)], CELL_EMPTY);
            EXPECT_TRUE(EngineInStep(d));
            EXPECT_EQ(s.result, -1);
            // The game goes on: start again and play elsewhere.
            Click(kStart);
            clicks.cells[8] = CellPoint(3, 3);
            clicks.posted = 7;
          }},
         {"black's stone on 3,3",
          [&](S&) { return d.moveIndex == 9 && d.board[CellAt(3, 3)] == CELL_BLACK; },
          [&](S&) {
            EXPECT_TRUE(EngineInStep(d));
            Click(kStart);
          },
          next},
         {"the game stopped", [](S& s) { return !s.running; }, [this](S&) { LeaveOnce(); }}});
  Run(host);
  EXPECT_EQ(question, CString("[雙活三] 違反連珠規則,確定要下該子嗎？(Y/N)"));
  EXPECT_TRUE(answered);
  EXPECT_EQ(host.finalResult, -1);
}

TEST_F(PlayGameTest, RenjuDoubleThreeAnsweredYesLosesTheGameForBlack) {
  PlayHost host;
  host.rules = RULES_RENJU;
  bool answered = false;
  CellClicker clicks;
  clicks.cells = kDoubleThreeGame;
  Steps({PressStart(),
         {"the double-three question", [](S& s) { return s.busy && s.statusText.GetLength() > 0; },
          [&](S&) {
            answered = true;
            PlatformTest::Key('Y', true);
            PlatformTest::Key('Y', false);
          },
          [&](S& s) { clicks.Next(s, host.chessData.moveIndex); }},
         Finish("the game lost for black after Y")});
  Run(host);
  EXPECT_TRUE(answered);
  EXPECT_EQ(host.finalResult, 1) << "white wins";
}

TEST_F(PlayGameTest, StopDuringAThinkPlacesNoStoneAndEditingWaitsForTheThinkToEnd) {
  EngineHost::Beep = [](unsigned, unsigned) { usleep(400000); };
  PlayHost host;
  PlayerRecord strong = ComputerSide(8);
  host.white = &strong;
  CChessData& d = host.chessData;
  Steps({PressStart(),
         // The stone, then stop and new game: both arrive while white thinks.
         // Off the centre, so that white searches instead of answering from the opening rules.
         // The right press beeps inside the search, long enough for the next timer tick.
         {"the game running", [](S& s) { return s.running != 0; },
          [](S&) {
            Click(CellPoint(5, 5));
            Click(kStart);
            Click(kNewGame);
            PlatformTest::MouseButton(VK_RBUTTON, true, kNeutral.x, kNeutral.y);
            PlatformTest::MouseButton(VK_RBUTTON, false, kNeutral.x, kNeutral.y);
          }},
         {"white's think stopped", [](S& s) { return !s.running && !s.busy; },
          [&](S&) {
            EXPECT_EQ(d.moveIndex, 1) << "no white stone, and the new game was not taken";
            EXPECT_EQ(d.board[CellAt(5, 5)], CELL_BLACK);
            EXPECT_EQ(StonesOnBoard(d), 1);
            EXPECT_TRUE(EngineInStep(d));
            // Now stopped and idle, new game works.
            Click(kNewGame);
          }},
         {"the new game", [&](S&) { return d.moveIndex == 0; },
          [&](S&) {
            EXPECT_TRUE(EngineInStep(d));
            LeaveOnce();
          }}});
  Run(host);
  EngineHost::Beep = [](unsigned, unsigned) {};
  EXPECT_TRUE(steps.Finished());
  EXPECT_EQ(debugClicks, 1u);
}

TEST_F(PlayGameTest, TakeBackAndForwardKeepTheEngineInStep) {
  PlayHost host;
  CellClicker clicks;
  clicks.cells = {CellPoint(7, 7), CellPoint(7, 8), CellPoint(8, 7), CellPoint(8, 8),
                  CellPoint(9, 9)};
  CChessData& d = host.chessData;
  auto stopped = [](S& s) { return !s.running; };
  Steps({PressStart(),
         {"five stones", [&](S&) { return d.moveIndex == 5; }, [](S&) { Click(kStart); },
          [&](S& s) { clicks.Next(s, d.moveIndex); }},
         {"the game stopped", stopped,
          [](S&) {
            Click(kTakeBack);
            Click(kTakeBack);
          }},
         {"two stones taken back", [&](S&) { return d.moveIndex == 3; },
          [&](S&) {
            EXPECT_EQ(d.board[CellAt(9, 9)], CELL_EMPTY);
            EXPECT_EQ(d.board[CellAt(8, 8)], CELL_EMPTY);
            EXPECT_TRUE(EngineInStep(d));
            Click(kForward);
          }},
         {"one stone forward", [&](S&) { return d.moveIndex == 4; },
          [&](S&) {
            EXPECT_EQ(d.board[CellAt(8, 8)], CELL_WHITE);
            EXPECT_TRUE(EngineInStep(d));
            EXPECT_TRUE(d.moves[4].used) << "the taken-back stone is still recorded";
            // Start drops the record after the position.
            Click(kStart);
          }},
         {"the game running again", [](S& s) { return s.running != 0; },
          [&](S&) {
            EXPECT_FALSE(d.moves[4].used);
            Click(kStart);
          }},
         {"the game stopped again", stopped, [this](S&) { LeaveOnce(); }}});
  Run(host);
  EXPECT_TRUE(steps.Finished());
}

// A threat's note speaks of the stone that made it: taking that stone back or starting anew
// clears it.
TEST_F(PlayGameTest, TakeBackAndNewGameClearTheThreatNote) {
  for (const CPoint button : {kTakeBack, kNewGame}) {
    leavePosted = false;
    PlayHost host;
    CellClicker clicks;
    clicks.cells = {CellPoint(7, 3), CellPoint(0, 0), CellPoint(7, 4), CellPoint(0, 2),
                    CellPoint(7, 5)};
    const CChessData& d = host.chessData;
    Steps({PressStart(),
           {"the open three", [&](S&) { return d.moveIndex == 5; },
            [](S& s) {
              EXPECT_STREQ(s.statusText, "[活三]");
              Click(kStart);  // stop
            },
            [&](S& s) { clicks.Next(s, d.moveIndex); }},
           {"the game stopped", [](S& s) { return !s.running; }, [button](S&) { Click(button); }},
           {"a stone gone", [&](S&) { return d.moveIndex < 5; },
            [this](S& s) {
              EXPECT_STREQ(s.statusText, "");
              LeaveOnce();
            }}});
    Run(host);
    EXPECT_TRUE(steps.Finished());
    PlatformTest::Reset();
  }
}

TEST_F(PlayGameTest, TakeBackAfterAWonGameClearsTheResultAndTheGameCanGoOn) {
  PlayHost host;
  CellClicker clicks;
  clicks.cells = kRowFiveGame;
  CChessData& d = host.chessData;
  Steps({PressStart(),
         {"black's five", [](S& s) { return s.result == 0; },
          [this](S&) {
            gameOverClicked = true;
            Click(kNeutral);
          },
          [&](S& s) { clicks.Next(s, d.moveIndex); }},
         {"a wait after the game-over display", nullptr, [](S&) { Click(kTakeBack); }},
         {"the result cleared by take back", [](S& s) { return s.result == -1; },
          [&](S&) {
            EXPECT_EQ(d.moveIndex, 8);
            EXPECT_TRUE(EngineInStep(d));
            Click(kStart);  // the start button takes a finished game back up
          }},
         {"the game running again", [](S& s) { return s.running != 0; },
          [](S&) { Click(CellPoint(7, 2)); }},  // black wins at the other end
         Finish("black's five at the other end")});
  Run(host);
  EXPECT_EQ(host.finalResult, 0);
}

TEST_F(PlayGameTest, ClocksChargeOnlyTheSideToMove) {
  PlatformTest::UseManualClock(true, 100000);
  PlayHost host;
  CChessData& d = host.chessData;
  auto running = [](S& s) { return s.running != 0; };
  auto stopped = [](S& s) { return !s.running; };
  Steps({{"the screen to open", nullptr,
          [](S&) {
            PlatformTest::AdvanceClock(5000);  // before the start nothing is charged
            Click(kStart);
          }},
         {"the game running", running,
          [&](S&) {
            EXPECT_EQ(d.sides[0].clock, 0);
            PlatformTest::AdvanceClock(1500);
          }},
         {"a wait after 1.5 s", nullptr,
          [&](S&) {
            EXPECT_EQ(d.sides[0].clock, 1500);
            EXPECT_EQ(d.sides[1].clock, 0);
            Click(CellPoint(7, 7));
          }},
         {"black's stone", [&](S&) { return d.moveIndex == 1; },
          [&](S&) {
            EXPECT_EQ(d.moves[0].clock, 1500) << "the mover's clock goes into the record";
            PlatformTest::AdvanceClock(2500);
          }},
         {"a wait after 2.5 s", nullptr,
          [&](S&) {
            EXPECT_EQ(d.sides[0].clock, 1500);
            EXPECT_EQ(d.sides[1].clock, 2500);
            // Less than a second is not charged yet.
            PlatformTest::AdvanceClock(900);
          }},
         {"a wait after 0.9 s", nullptr,
          [&](S&) {
            EXPECT_EQ(d.sides[1].clock, 2500);
            Click(kStart);  // stop
          }},
         {"the game stopped", stopped,
          [](S&) { PlatformTest::AdvanceClock(10000); }},  // a stopped game keeps both clocks
         {"a wait after 10 s stopped", nullptr,
          [&](S&) {
            EXPECT_EQ(d.sides[1].clock, 2500);
            // A clock loaded from a record can stand just below the top: it stops there.
            d.sides[1].clock = INT32_MAX - 500;
            Click(kStart);
          }},
         {"the game running again", running, [](S&) { PlatformTest::AdvanceClock(1500); }},
         {"a wait after 1.5 s more", nullptr,
          [&](S&) {
            EXPECT_EQ(d.sides[1].clock, INT32_MAX);
            Click(kStart);  // stop
          }},
         {"the game stopped again", stopped, [this](S&) { LeaveOnce(); }}});
  auto run = script;
  script = [run](S& s) {
    s.lastBlinkTick = timeGetTime();  // no blinking under the hand-driven clock
    run(s);
  };
  Run(host);
  EXPECT_TRUE(steps.Finished());
}

TEST_F(PlayGameTest, SavedGameLoadsAndReplaysWithTheEngineInStep) {
  const std::string path = dir + "/game.SAV";
  EngineHost::ChooseFile = [](bool forOpen, const char*, std::string& p) {
    p = forOpen ? "game.SAV" : "game";  // the ".SAV" is added on save
    return true;
  };
  PlayHost host;
  CellClicker clicks;
  clicks.cells = {CellPoint(7, 7), CellPoint(6, 8), CellPoint(8, 6), CellPoint(5, 9)};
  std::vector<uint8_t> boardBefore;
  CChessData& d = host.chessData;
  Steps({PressStart(),
         {"four stones", [&](S&) { return d.moveIndex == 4; }, [](S&) { Click(kStart); },
          [&](S& s) { clicks.Next(s, d.moveIndex); }},
         {"the game stopped", [](S& s) { return !s.running; },
          [&](S&) {
            boardBefore.assign(d.board, d.board + BOARD_BYTES);
            Click(kSave);
            Click(kNewGame);
          }},
         {"the board cleared", [&](S&) { return d.moveIndex == 0; },
          [&](S&) {
            EXPECT_EQ(StonesOnBoard(d), 0);
            Click(kLoad);
          }},
         {"the saved game loaded", [&](S&) { return d.moveIndex == 4; },
          [&](S&) {
            EXPECT_EQ(std::vector<uint8_t>(d.board, d.board + BOARD_BYTES), boardBefore);
            EXPECT_TRUE(EngineInStep(d));
            LeaveOnce();
          }}});
  Run(host);
  EXPECT_TRUE(steps.Finished());
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
  std::vector<int> replayed;
  CChessData& d = host.chessData;
  auto empty = [&](S&) { return d.moveIndex == 0; };
  std::vector<PlayStep> list;
  for (size_t i = 0; i <= files.size(); ++i) {
    const std::string name = i < files.size() ? "bad" + std::to_string(i) + ".SAV" : "short.SAV";
    list.push_back({"an empty board", empty, [=](S&) {
                      chosen = name;
                      Click(kLoad);
                    }});
    // The load ran in the step that dispatched its release.
    list.push_back({name + " loaded", [&](S& s) { return !s.busy && d.moveIndex != 0; },
                    [&](S&) {
                      replayed.push_back(d.moveIndex);
                      EXPECT_TRUE(EngineInStep(d));
                      EXPECT_EQ(StonesOnBoard(d), d.moveIndex);
                      for (int k = 0; k < BOARD_BYTES; ++k) {
                        const bool playing = k >= 128 && k < 128 + 15 * 32 && (k & 31) < 15;
                        if (!playing) {
                          EXPECT_EQ(d.board[k], CELL_BORDER) << k;
                        }
                      }
                      Click(kNewGame);
                    }});
  }
  list.push_back({"an empty board at the end", empty, [this](S&) { LeaveOnce(); }});
  Steps(std::move(list));
  Run(host);
  EXPECT_EQ(replayed, (std::vector<int>{3, 3, 3, 3, 3, 1}));
}

TEST_F(PlayGameTest, KindsPortraitsAndSlidersFollowThePanel) {
  PlayHost host;
  CChessData& d = host.chessData;
  Steps({{"the screen to open", nullptr,
          [](S&) { Click(kKindBlack); }},  // human -> roster opponent 0
         {"black a roster opponent", [&](S&) { return d.sides[0].kind == PLAYER_ROSTER; },
          [&](S&) {
            EXPECT_EQ(d.sides[0].rosterId, 0);
            EXPECT_STREQ(d.sides[0].name, host.roster[0].name);
            EXPECT_EQ(d.sides[0].stoneCode, CELL_BLACK);
            Click(kPortraitBlack);  // the next in the stepping order is 3
          }},
         {"roster opponent 3 on black", [&](S&) { return d.sides[0].rosterId == 3; },
          [&](S&) {
            EXPECT_EQ(d.sides[0].level, host.roster[3].level);
            EXPECT_EQ(d.sides[0].style, host.roster[3].style);
            // A slider press on a roster side moves nothing.
            Click(CPoint(160, 76));
          }},
         {"a wait after the slider press", nullptr,
          [&](S&) {
            EXPECT_EQ(d.sides[0].style, host.roster[3].style);
            Click(kKindBlack);  // -> computer, level 0, style 0
          }},
         {"black the computer", [&](S&) { return d.sides[0].kind == PLAYER_COMPUTER; },
          [&](S&) {
            EXPECT_EQ(d.sides[0].level, 0);
            EXPECT_EQ(d.sides[0].style, 0);
            // A click on the track sets the value; beyond the track it clamps to 8.
            Click(CPoint(94 + 40, 123));
          }},
         {"the level set by the track click", [&](S&) { return d.sides[0].level == 40 * 8 / 65; },
          [](S& s) {
            EXPECT_EQ(s.sliders[1].dest.left, 94 + (40 * 8 / 65) * 65 / 8);
            PlatformTest::MouseButton(VK_LBUTTON, true, 100, 76);
          }},
         // Inside the drag: the pointer runs past the end of the track, then lets go.
         {"the style slider dragged", [](S& s) { return s.sliders[0].state == 1; },
          [](S&) { PlatformTest::MouseMove(300, 76); }},
         {"the slider at the end of its track",
          [](S& s) { return s.sliders[0].dest.left == 94 + 65; },
          [](S&) { PlatformTest::MouseButton(VK_LBUTTON, false, 300, 76); }},
         {"style 8", [&](S&) { return d.sides[0].style == 8; }, [](S&) { Click(kSwap); }},
         {"the computer on white after the swap",
          [&](S&) { return d.sides[1].kind == PLAYER_COMPUTER; },
          [&](S&) {
            EXPECT_EQ(d.sides[1].style, 8) << "the settings travel with the side";
            EXPECT_EQ(d.sides[1].stoneCode, CELL_WHITE);
            EXPECT_STREQ(d.sides[0].name, "PLAYER 1");
            EXPECT_EQ(d.sides[0].kind, PLAYER_HUMAN);
            Click(kKindBlack);
          }},
         {"black a roster opponent again", [&](S&) { return d.sides[0].kind == PLAYER_ROSTER; },
          [this](S&) { LeaveOnce(); }}});
  Run(host);
  EXPECT_TRUE(steps.Finished());
  EXPECT_EQ(CDlgChessAc::RosterOrderAt((CDlgChessAc::RosterOrderIndex(25) + 1) % 30), 0);
  EXPECT_EQ(CDlgChessAc::RosterOrderIndex(99), 0);
}

TEST_F(PlayGameTest, EditingButtonsDoNothingOutsideTheFreeGame) {
  PlayHost host;
  host.mode = GAME_LADDER;
  PlayerRecord opponent{};
  CChessData& d = host.chessData;
  Steps({{"the screen to open", nullptr,
          [&](S&) {
            opponent = d.sides[1];
            Click(kKindBlack);
            Click(kSwap);
          }},
         {"the presses handled", nullptr, nullptr},
         {"a wait after the presses", nullptr, [&](S&) {
            EXPECT_EQ(d.sides[0].kind, PLAYER_HUMAN);
            EXPECT_STREQ(d.sides[1].name, opponent.name);
            LeaveOnce();
          }}});
  Run(host);
  EXPECT_EQ(host.finalResult, -1);
}

TEST_F(PlayGameTest, HiddenPhraseMakesTheComputerPlayRandomCells) {
  PlayHost host;
  PlayerRecord strong = ComputerSide(8);
  host.white = &strong;
  CellClicker clicks;
  clicks.cells = {CellPoint(0, 0), CPoint(), CellPoint(0, 1), CPoint(), CellPoint(1, 0)};
  std::vector<int> answers;
  CChessData& d = host.chessData;
  Steps({{"the screen to open", nullptr,
          [](S&) {
            PlatformTest::TypeText("xx");  // off a block boundary the phrase is not seen
            PlatformTest::TypeText("Blue Kite Up");
          }},
         {"the phrase off the boundary typed", nullptr,
          [](S& s) {
            if (s.HiddenMode) ADD_FAILURE() << "phrase off the boundary counted";
            PlatformTest::TypeText("0123456789");  // completes the block
            PlatformTest::TypeText("Blue Kite Up");
          }},
         {"the hidden mode", [](S& s) { return s.HiddenMode != 0; }, [](S&) { Click(kStart); }},
         {"six stones", [&](S&) { return d.moveIndex >= 6; }, [](S&) { Click(kStart); },
          [&](S& s) { clicks.Next(s, d.moveIndex); }},
         {"the game stopped", [](S& s) { return !s.running; },
          [&](S&) {
            EXPECT_TRUE(EngineInStep(d));
            for (int i = 1; i < 6; i += 2) answers.push_back(d.moves[i].cell);
            LeaveOnce();
          }}});
  Run(host);
  EXPECT_TRUE(steps.Finished());
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
  CChessData& d = host.chessData;
  Steps({{"the screen to open", nullptr, [](S&) { Click(kLoad); }},
         {"the full board loaded", [&](S&) { return d.moveIndex == 225; },
          [&](S&) {
            EXPECT_TRUE(EngineInStep(d));
            Click(kStart);
          }},
         {"a result", [](S& s) { return s.result != -1; },
          [&](S& s) {
            EXPECT_EQ(s.result, 2);
            EXPECT_EQ(s.running, 0);
            EXPECT_EQ(d.moveIndex, 225);
            LeaveOnce();
          }}});
  Run(host);
  EXPECT_EQ(host.finalResult, 2);
}

}  // namespace

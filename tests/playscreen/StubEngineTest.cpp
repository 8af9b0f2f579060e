// The computer's answers scripted: this program supplies its own think entry in place of the
// engine's, so a test decides exactly which cell the computer gives back.
#include "PlayTestUtil.h"

namespace {
std::vector<int> answers;
size_t nextAnswer = 0;
}  // namespace

// The think entry's module, replaced whole.
uint32_t debugClicks;
void AiAddStyleWeights(int32_t*, int32_t*, int) {}
void CountDebugClick() { ++debugClicks; }
int AiThink(int, int, int, int, int* info, int* score) {
  *info = 0;
  *score = 0;
  if (nextAnswer < answers.size()) return answers[nextAnswer++];
  for (int r = 0; r < 15; ++r)
    for (int c = 0; c < 15; ++c)
      if (gameBoard[CellAt(r, c)] == CELL_EMPTY) return CellAt(r, c);
  return 0;
}

namespace {

class PlayStubEngineTest : public PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    answers.clear();
    nextAnswer = 0;
  }
};

TEST_F(PlayStubEngineTest, AComputerFoulLosesAtOnce) {
  answers = {CellAt(7, 5), CellAt(7, 6), CellAt(5, 7), CellAt(6, 7), CellAt(7, 7)};
  PlayHost host;
  host.rules = RULES_RENJU;
  PlayerRecord computer = ComputerSide(3);
  host.black = &computer;
  const std::vector<CPoint> replies = {CellPoint(0, 0), CellPoint(14, 0), CellPoint(0, 14),
                                       CellPoint(14, 14)};
  int posted = -1;
  std::string statusAtEnd = "unset";
  CChessData& d = host.chessData;
  Steps({PressStart(),
         {"black's foul", [](CDlgChessAc& s) { return s.result != -1; },
          [&](CDlgChessAc& s) {
            statusAtEnd = s.statusText.str();
            EXPECT_EQ(d.moveIndex, 9);
            EXPECT_EQ(d.board[CellAt(7, 7)], CELL_BLACK);
            EXPECT_TRUE(EngineInStep(d));
          },
          [&](CDlgChessAc& s) {
            const int k = d.moveIndex / 2;
            if (s.running && (d.moveIndex & 1) && k > posted && k < int(replies.size())) {
              posted = k;
              Click(replies[size_t(k)]);
            }
          }},
         Finish()});
  Run(host);
  EXPECT_EQ(host.finalResult, 1) << "white wins by black's foul";
  EXPECT_EQ(statusAtEnd, "");
}

TEST_F(PlayStubEngineTest, AnAnswerThatIsNoFreeCellBecomesARandomFreeCell) {
  // No move (0), an occupied cell, a cell off the board, then a cell of the frame.
  answers = {0, CellAt(7, 7), 9999, CellAt(3, 15)};
  PlayHost host;
  PlayerRecord computer = ComputerSide(0);
  host.black = &computer;
  int posted = -1;
  bool checked = false;
  CChessData& d = host.chessData;
  // Black's four answers have been placed; white is to move.
  Steps({PressStart(),
         {"black's fourth answer", [&](CDlgChessAc&) { return d.moveIndex == 7; },
          [&](CDlgChessAc&) {
            checked = true;
            EXPECT_EQ(nextAnswer, 4u);
            EXPECT_TRUE(EngineInStep(d));
            EXPECT_EQ(StonesOnBoard(d), 7);
            for (int i = 0; i < 7; ++i) {
              const int c = d.moves[i].cell;
              EXPECT_TRUE(c >= 128 && c < 128 + 15 * 32 && (c & 31) < 15) << c;
            }
            for (int k = 0; k < BOARD_BYTES; ++k) {
              const bool playing = k >= 128 && k < 128 + 15 * 32 && (k & 31) < 15;
              if (!playing) {
                EXPECT_EQ(d.board[k], CELL_BORDER) << k;
              }
            }
            Click(kStart);
          },
          [&](CDlgChessAc& s) {
            // The second answer names the cell of black's first stone.
            if (d.moveIndex == 1) answers[1] = d.moves[0].cell;
            if (s.running && (d.moveIndex & 1) && d.moveIndex > posted) {
              posted = d.moveIndex;
              for (int cell = CellAt(14, 14); cell >= CellAt(0, 0); --cell)
                if ((cell & 31) < 15 && d.board[cell] == CELL_EMPTY) {
                  Click(CellPoint(cell));
                  break;
                }
            }
          }},
         {"the game stopped", [](CDlgChessAc& s) { return !s.running; },
          [this](CDlgChessAc&) { LeaveOnce(); }}});
  Run(host);
  EXPECT_TRUE(checked);
}

// Under Renju rules a computer black without an answer plays a cell that is no foul, and with
// none left the game is a draw. Three cells are free: (11,8) is legal, (9,7) and (8,6) are
// overlines; white's answer takes (9,7).
TEST_F(PlayStubEngineTest, WithoutAnAnswerRenjuBlackPlaysOnlyLegalCellsOrDraws) {
  const char* const rows[15] = {"XXOOXXOOXXOOOXO", "OOXXOOXXOOXXOOO", "XXOOXXOOXXOOXXO",
                                "OOXXOOXXOOXXOOX", "XXOOXXOOXXOOXXO", "OOXXOOXXOOXXOOX",
                                "XXOXXXOOOXOOXXO", "OOXXOXXXOOXXOOX", "XXOOXX.XXXOOXXO",
                                "OOXOXOX.OOXXOOX", "XXOOOXXOXXOOXXO", "OOXXOXOX.OXXOOX",
                                "OXOOXXOOXXOOXXO", "OOXXOOXXOOXXOOX", "XXOOXXOOXXOOXXO"};
  std::vector<int> blacks, whites;
  for (int r = 0; r < 15; ++r)
    for (int c = 0; c < 15; ++c)
      if (rows[r][c] != '.') (rows[r][c] == 'X' ? blacks : whites).push_back(CellAt(r, c));
  ASSERT_EQ(blacks.size(), 111u);
  ASSERT_EQ(whites.size(), 111u);
  std::vector<MoveRecord> records(MOVE_RECORDS, MoveRecord{0, 0, 0});
  for (size_t i = 0; i < 222; ++i) records[i] = {1, 0, i % 2 == 0 ? blacks[i / 2] : whites[i / 2]};
  std::ofstream("foul.SAV", std::ios::binary)
      .write(reinterpret_cast<const char*>(records.data()), SAVE_FILE_BYTES);
  EngineHost::ChooseFile = [](bool, const char*, std::string& p) {
    p = "foul.SAV";
    return true;
  };
  answers = {0, CellAt(9, 7), 0};
  PlayHost host;
  host.rules = RULES_RENJU;
  PlayerRecord computer = ComputerSide(0);
  host.black = host.white = &computer;
  CChessData& d = host.chessData;
  Steps({{"the screen to open", nullptr, [](CDlgChessAc&) { Click(kLoad); }},
         {"the saved board", [&](CDlgChessAc&) { return d.moveIndex == 222; },
          [](CDlgChessAc&) { Click(kStart); }},
         {"a result", [](CDlgChessAc& s) { return s.result != -1; },
          [&](CDlgChessAc& s) {
            EXPECT_EQ(s.result, 2);
            EXPECT_EQ(d.moveIndex, 224);
            EXPECT_EQ(d.board[CellAt(11, 8)], CELL_BLACK);
            EXPECT_EQ(d.board[CellAt(8, 6)], CELL_EMPTY);
            EXPECT_TRUE(EngineInStep(d));
          }},
         Finish("the drawn game left")});
  Run(host);
  EXPECT_EQ(steps.done, 3u);
  EXPECT_EQ(host.finalResult, 2);
}

}  // namespace

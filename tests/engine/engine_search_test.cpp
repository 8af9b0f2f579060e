// Tests on the generated tables: tactics, the stopping rules of iterative deepening, the
// abort flag, the pump, and the bounds of the ply tables.
#include <cstdlib>

#include "EngineHost.h"
#include "EngineTestUtil.h"

using namespace enginetest;

namespace {

class Search : public GeneratedTables {
 protected:
  void TearDown() override {
    EngineHost::PumpMessage = savedPump;
    GeneratedTables::TearDown();
  }
  void (*savedPump)() = EngineHost::PumpMessage;

  int Think(int level, int* score = nullptr) {
    int info, s;
    int cell = AiThink(level, 1, 4, 1, &info, &s);
    if (score) *score = s;
    return cell;
  }
  static void SetLimits(int depth, int nodes) { SetSearchLimits(depth, nodes); }
  // True when no white stone on an empty cell would make an open four (or a five).
  static bool WhiteHasNoOpenFour() {
    for (int r = 0; r < 15; ++r)
      for (int c = 0; c < 15; ++c) {
        int x = Cell(r, c);
        if (engineBoard[x] != CELL_EMPTY) continue;
        uint8_t f = MakeMoveWhite(x);
        UnmakeMoveWhite();
        if (f & (THREAT_OPEN_FOUR | THREAT_FIVE)) return false;
      }
    return true;
  }
};

TEST_F(Search, PlaysItsFivePoint) {
  Diagram d = ParseDiagram({"..OXXXX........", "....O.O........"}, 7);
  for (int rules : {RULES_FREESTYLE, RULES_RENJU}) {
    AiSetRules(rules);
    ASSERT_TRUE(PlayDiagram(d, true, {Cell(7, 6)}));
    const int n = gameStones;
    for (int level : {0, 4, 8}) {
      int score;
      EXPECT_EQ(Think(level, &score), Cell(7, 7)) << "level " << level;
      EXPECT_EQ(score, 10000 - 4 * n);
      EXPECT_EQ(searchIterations, 1);  // a won score ends the deepening
    }
  }
}

TEST_F(Search, BlocksAFour) {
  Diagram d = ParseDiagram({"...X.X.........", "..XOOOO........", "...X..........."}, 6);
  for (int rules : {RULES_FREESTYLE, RULES_RENJU}) {
    AiSetRules(rules);
    ASSERT_TRUE(PlayDiagram(d, true, {Cell(7, 6)}));
    for (int level : {0, 3, 8}) EXPECT_EQ(Think(level), Cell(7, 7)) << "level " << level;
  }
}

TEST_F(Search, AnswersAnOpenThree) {
  Diagram d =
      ParseDiagram({"........X......", "...............", "..X............", "...............",
                    ".....OOO.......", "...............", "...........X..."},
                   3);
  for (int rules : {RULES_FREESTYLE, RULES_RENJU}) {
    AiSetRules(rules);
    for (int level : {0, 2, 4}) {
      ASSERT_TRUE(PlayDiagram(d, true, {Cell(7, 7)}));
      int cell = Think(level);
      ASSERT_GT(cell, 0);
      AiPlayMove(cell);
      EXPECT_TRUE(WhiteHasNoOpenFour())
          << "rules " << rules << " level " << level << " played " << cell;
    }
  }
}

// A free-style position where black wins by five fours in a row (found in self-play):
//   row 5 .......O.OO....
//   row 6 ........O......
//   row 7 .......X.O.....
//   row 8 ......X.X.X....
//   row 9 .....X...X.....
//   row10 ........X.O....
//   row11 .......O.......
TEST_F(Search, WinsAForcedLineOfFours) {
  const std::vector<int> moves = {359, 328, 390, 295, 392, 361, 394,
                                  298, 425, 458, 456, 487, 421, 297};
  for (int level : {0, 3}) {
    AiReset();
    for (int c : moves) AiPlayMove(c);
    int score;
    int cell = Think(level, &score);
    EXPECT_GT(score, 5000);
    // Black keeps making fours, white (at full strength) can only block, and black wins.
    bool won = false;
    for (int move = 0; move < 12 && !won; ++move) {
      uint32_t f = AiPlayMove(cell);
      ASSERT_TRUE(f & (THREAT_FOUR | THREAT_OPEN_FOUR | THREAT_FIVE))
          << "black's move " << cell << " flags " << f;
      if (f & THREAT_FIVE) {
        won = true;
        break;
      }
      int reply = Think(8);
      ASSERT_GT(reply, 0);
      ASSERT_FALSE(AiPlayMove(reply) & THREAT_FIVE);
      cell = Think(level, &score);
      ASSERT_GT(score, 5000);
    }
    EXPECT_TRUE(won) << "level " << level;
  }
}

TEST_F(Search, RenjuBlackAvoidsADoubleThree) {
  // (7,6) makes two open threes: a fork in free-style, a foul under Renju.
  Diagram d = ParseDiagram({"......X........", "......X........", "....XX.........", "",
                            "..O........O...", "", ".....O..O......"},
                           5);
  const int fork = Cell(7, 6);
  AiSetRules(RULES_RENJU);
  ASSERT_TRUE(PlayDiagram(d, true));
  EXPECT_TRUE(MakeMoveBlack(fork) & FOUL_DOUBLE_THREE);
  UnmakeMoveBlack();
  for (int level : {0, 3, 6}) {
    int cell = Think(level);
    ASSERT_GT(cell, 0);
    EXPECT_NE(cell, fork);
    EXPECT_EQ(MakeMoveBlack(cell) & 0x70, 0);
    UnmakeMoveBlack();
  }
  AiSetRules(RULES_FREESTYLE);
  ASSERT_TRUE(PlayDiagram(d, true));
  int score;
  Think(4, &score);
  EXPECT_GT(score, 5000);  // the fork wins in free-style
}

// ---- iterative deepening ------------------------------------------------------------------

const std::vector<int> kQuiet = {359, 328, 361, 326, 329, 358};

TEST_F(Search, DeepensOnePlyAnIterationUpToTheTarget) {
  AiReset();
  for (int c : kQuiet) AiPlayMove(c);
  SetLimits(7, 1 << 30);
  int cell = SearchRoot();
  EXPECT_GT(cell, 0);
  EXPECT_EQ(searchIterations, 5);  // depth limits 3, 4, 5, 6, 7
  EXPECT_EQ(depthLimit, 8);
  EXPECT_EQ(targetDepth, 7);
  // The quiet depth follows the depth limit from 5 plies behind.
  EXPECT_EQ(quietDepth, 4);
  EXPECT_EQ(cell, pvTable[0][0]);
  EXPECT_LT(std::abs(searchScore), 5000);
}

TEST_F(Search, NodeLimitIsTestedBetweenIterations) {
  AiReset();
  for (int c : kQuiet) AiPlayMove(c);
  SetLimits(9, 0);
  EXPECT_GT(SearchRoot(), 0);
  EXPECT_EQ(searchIterations, 1);
  EXPECT_EQ(depthLimit, 4);
  // A budget the first iterations stay under.
  AiReset();
  for (int c : kQuiet) AiPlayMove(c);
  SetLimits(5, 1 << 30);
  SearchRoot();
  uint32_t threeIterations = nodeCount;
  AiReset();
  for (int c : kQuiet) AiPlayMove(c);
  SetLimits(9, static_cast<int>(threeIterations) - 1);
  SearchRoot();
  EXPECT_LE(searchIterations, 3);
  EXPECT_GE(searchIterations, 2);
}

TEST_F(Search, AFourToAnswerRunsOneIteration) {
  // White's last stone made a four: AiThink asks for 2 plies, so one iteration runs.
  Diagram d = ParseDiagram({"..XOOOO........"}, 7);
  ASSERT_TRUE(PlayDiagram(d, true, {Cell(7, 6)}));
  ASSERT_TRUE(PlySave[gameStones - 1].flags & THREAT_FOUR);
  debugClicks = 8;
  int info, score;
  EXPECT_EQ(AiThink(8, 1, 4, 1, &info, &score), Cell(7, 7));
  EXPECT_EQ(searchIterations, 1);
  // info = nodes x 10 + the depth reached past 3 plies (4 after one iteration).
  EXPECT_EQ(info, static_cast<int>(nodeCount * 10 + (depthLimit - 3)));
  debugClicks = 0;
}

TEST_F(Search, NoCandidateReturnsZero) {
  AiReset();
  SetLimits(5, 1 << 30);
  EXPECT_EQ(SearchRoot(), 0);
}

// ---- abort, pump, bounds ----------------------------------------------------------------

int pumps;
void CountingPump() {
  ++pumps;
  EXPECT_EQ(aiSearching, 1);
}
void AbortingPump() {
  ++pumps;
  abortSearch = 1;
}

TEST_F(Search, PumpsEvery8192Nodes) {
  AiReset();
  for (int c : kQuiet) AiPlayMove(c);
  pumps = 0;
  EngineHost::PumpMessage = CountingPump;
  SetLimits(8, 1 << 30);
  SearchRoot();
  EXPECT_GT(nodeCount, 8192u);
  EXPECT_EQ(pumps, static_cast<int>(nodeCount / 8192));
  EXPECT_EQ(aiSearching, 0);
}

TEST_F(Search, AbortMakesSearchRootReturnMinusOne) {
  AiReset();
  for (int c : kQuiet) AiPlayMove(c);
  EngineSnapshot before = EngineSnapshot::Take();
  pumps = 0;
  EngineHost::PumpMessage = AbortingPump;
  SetLimits(8, 1 << 30);
  searchScore = 12345;
  EXPECT_EQ(SearchRoot(), -1);
  EXPECT_EQ(pumps, 1);
  EXPECT_EQ(nodeCount, 8192u);  // every node after the flag returned at once
  EXPECT_EQ(searchScore, 12345);
  EXPECT_EQ(engineStones, static_cast<int>(kQuiet.size()));
  EXPECT_EQ(before.board, EngineSnapshot::Take().board);

  // Through AiThink: -1, the previous score, and the engine back on the played position.
  int info, score;
  EXPECT_EQ(AiThink(8, 1, 4, 1, &info, &score), -1);
  EXPECT_EQ(score, 12345);
  EngineSnapshot after = EngineSnapshot::Take();
  AiReset();
  for (int c : kQuiet) AiPlayMove(c);
  EngineSnapshot replayed = EngineSnapshot::Take();
  after.depth = replayed.depth;
  after.quiet = replayed.quiet;
  EXPECT_EQ(after, replayed);
}

TEST_F(Search, AbortFlagIsClearedBySearchRoot) {
  AiReset();
  for (int c : kQuiet) AiPlayMove(c);
  abortSearch = 1;
  SetLimits(5, 1 << 30);
  EXPECT_GT(SearchRoot(), 0);
}

// a node at ply 63 is a leaf, whatever the depth limit.
TEST_F(Search, PlyTablesAreBounded) {
  AiReset();
  for (int c : kQuiet) AiPlayMove(c);
  SetLimits(200, 1 << 30);
  quietDepth = 200;
  killerFirst[MAX_PLY - 1] = killerSecond[MAX_PLY - 1] = 0;
  pvTable[MAX_PLY - 1][0] = 77;
  searchPly = MAX_PLY - 1;
  followPv = 0;
  EXPECT_EQ(SearchBlack(-5000, 5000), runningScore);
  EXPECT_EQ(pvTable[MAX_PLY - 1][0], 0);
  EXPECT_EQ(killerFirst[MAX_PLY - 1], 0);
  searchPly = MAX_PLY - 2;
  int v = SearchBlack(-5000, 5000);
  EXPECT_LT(std::abs(v), 5000);
  searchPly = 0;
}

// with one stone on the board the answer rule's walk must not read before stone 0.
TEST_F(Search, OneStoneOffCentre) {
  for (int rules : {RULES_FREESTYLE, RULES_RENJU}) {
    AiSetRules(rules);
    AiReset();
    AiPlayMove(Cell(3, 4));
    int cell = Think(3);
    ASSERT_GT(cell, 0);
    EXPECT_EQ(gameBoard[cell], CELL_EMPTY);
    EXPECT_EQ(gameStones, 1);
  }
}

}  // namespace

// Tests on the generated tables: opening rules, limits and bias, the replay, the
// statistics value and the debug click.
#include <algorithm>
#include <cstdlib>
#include <set>

#include "EngineHost.h"
#include "EngineTestUtil.h"

using namespace enginetest;

namespace {

class Think : public GeneratedTables {
 protected:
  int Run(int level, int style = 4, int* info = nullptr, int* score = nullptr) {
    int i = -7, s = -7;
    int cell = AiThink(level, 1, style, 1, &i, &s);
    if (info) *info = i;
    if (score) *score = s;
    return cell;
  }
  static void Play(const std::vector<int>& moves) {
    AiReset();
    for (int c : moves) AiPlayMove(c);
  }
};

TEST_F(Think, EmptyBoardTakesTheCentreWithoutSearching) {
  nodeCount = 777;
  int info, score;
  EXPECT_EQ(Run(8, 4, &info, &score), CENTRE_CELL);
  EXPECT_EQ(info, 0);
  EXPECT_EQ(score, 0);
  EXPECT_EQ(nodeCount, 777u);
}

TEST_F(Think, SecondStoneAboveTheCentre) {
  std::set<int> seen;
  for (int rules : {RULES_FREESTYLE, RULES_RENJU}) {
    AiSetRules(rules);
    Play({CENTRE_CELL});
    for (int i = 0; i < 60; ++i) {
      int c = Run(5);
      ASSERT_TRUE(c == 327 || c == 328) << c;
      seen.insert(c);
    }
  }
  EXPECT_EQ(seen.size(), 2u);
}

TEST_F(Think, FreeStyleThirdStoneBesideOneOfTheTwo) {
  for (int second : {326, 327, 328, 358, 360, 390, 391, 392}) {
    Play({CENTRE_CELL, second});
    for (int i = 0; i < 30; ++i) {
      int c = Run(8);
      ASSERT_EQ(gameBoard[c], CELL_EMPTY);
      auto beside = [&](int s) {
        return std::abs((c & 31) - (s & 31)) <= 1 && std::abs(c / 32 - s / 32) <= 1;
      };
      ASSERT_TRUE(beside(CENTRE_CELL) || beside(second)) << c;
    }
  }
  // A second stone that is not a neighbour of the centre: the search decides.
  Play({CENTRE_CELL, Cell(3, 3)});
  nodeCount = 0;
  int c = Run(0);
  EXPECT_EQ(gameBoard[c], CELL_EMPTY);
  EXPECT_GT(nodeCount, 0u);
}

TEST_F(Think, RenjuAsksTheBookInstead) {
  AiSetRules(RULES_RENJU);
  Play({CENTRE_CELL, 328, 361});  // a standard opening
  nodeCount = 0;
  int info, score;
  int c = Run(8, 4, &info, &score);
  ASSERT_GT(c, 0);
  EXPECT_EQ(gameBoard[c], CELL_EMPTY);
  EXPECT_EQ(score, 0);
  EXPECT_EQ(nodeCount, 0u) << "expected a book move";
}

// The book generator searches positions the book already answers, with limits of its own.
TEST_F(Think, SearchPositionSkipsTheBookAndTakesTheGivenLimits) {
  AiSetRules(RULES_RENJU);
  Play({CENTRE_CELL, 328, 361});
  nodeCount = 0;
  int score = -7;
  int c = AiSearchPosition(6, 123456, 4, &score);
  EXPECT_GT(nodeCount, 0u) << "expected a search, not the book";
  EXPECT_EQ(targetDepth, 6);
  EXPECT_EQ(nodeLimit, 123456);
  EXPECT_EQ(score, searchScore);
  EXPECT_EQ(gameStones, 3);
  EXPECT_EQ(gameBoard[c], CELL_EMPTY);
}

TEST_F(Think, FirstStoneOffCentreIsSearched) {
  Play({Cell(6, 6)});
  nodeCount = 0;
  int c = Run(1);
  EXPECT_GT(nodeCount, 0u);
  EXPECT_EQ(gameBoard[c], CELL_EMPTY);
}

TEST_F(Think, LimitsComeFromTheLevel) {
  const std::vector<int> moves = {359, 328, 361, 326, 329, 358, 390, 393};
  for (int level : {0, 1, 2}) {
    Play(moves);
    Run(level);
    EXPECT_EQ(targetDepth, level + 5);
    EXPECT_EQ(nodeLimit, level * level * 50000 + 20000);
    // Deepening ran to the target unless the node budget or a decisive score ended it.
    if (searchIterations < level + 3) {
      EXPECT_GT(static_cast<int64_t>(nodeCount), nodeLimit);
    }
  }
}

TEST(Levels, ALevelOutsideTheRangeCountsAsTheNearestOne) {
  EXPECT_EQ(LevelNodeLimit(1000), LevelNodeLimit(THINK_LEVEL_MAX));
  EXPECT_EQ(LevelDepth(1000), LevelDepth(THINK_LEVEL_MAX));
  EXPECT_EQ(LevelNodeLimit(-3), LevelNodeLimit(0));
  EXPECT_EQ(LevelDepth(-3), LevelDepth(0));
}

TEST_F(Think, LeavesTheEngineOnThePlayedPosition) {
  const std::vector<int> moves = {359, 328, 361, 326, 329, 358, 390, 393, 423, 327};
  for (int rules : {RULES_FREESTYLE, RULES_RENJU}) {
    AiSetRules(rules);
    Play(moves);
    std::vector<uint8_t> board(gameBoard, gameBoard + BOARD_BYTES);
    int c = Run(3);
    ASSERT_GT(c, 0);
    EngineSnapshot after = EngineSnapshot::Take();
    EXPECT_EQ(gameStones, static_cast<int>(moves.size()));
    EXPECT_TRUE(std::equal(board.begin(), board.end(), gameBoard));
    Play(moves);
    EngineSnapshot replayed = EngineSnapshot::Take();
    after.depth = replayed.depth;
    after.quiet = replayed.quiet;
    EXPECT_EQ(after, replayed);
  }
}

TEST_F(Think, StyleBiasesTheRoot) {
  const std::vector<int> moves = {359, 328, 361, 326, 329, 358, 390};  // white to move
  Play(moves);
  // A white three on the board: its three points are black's threats for white's root.
  std::vector<int> near(nearListWhite.cells, nearListWhite.end);
  std::vector<int> threes(threeListBlack.cells, threeListBlack.end);
  Run(0, 8);  // w = +8, negated for white
  for (int c : near) {
    int expect = -8;
    for (int t : threes) expect += t == c ? 8 : 0;
    if (pointFlagsBlack[c] & (POINT_FOUR | POINT_OPEN_FOUR)) continue;  // several lists
    EXPECT_EQ(rootBias[c], expect) << c;
  }
  Play(moves);
  Run(0, 4);
  for (int r = 0; r < 15; ++r)
    for (int c = 0; c < 15; ++c) EXPECT_EQ(rootBias[Cell(r, c)], 0);
}

TEST_F(Think, AddStyleWeightsNegatesForWhite) {
  Play({359});
  int32_t cells[] = {300, 301, 300};
  for (int8_t& b : rootBias) b = 0;
  AiAddStyleWeights(cells + 3, cells, 5);
  EXPECT_EQ(rootBias[300], -10);
  EXPECT_EQ(rootBias[301], -5);
  Play({});
  AiAddStyleWeights(cells + 2, cells, 5);
  EXPECT_EQ(rootBias[300], -5);
  EXPECT_EQ(rootBias[301], 0);
}

unsigned beeps, beepFrequency, beepDuration;
void RecordBeep(unsigned f, unsigned d) {
  ++beeps;
  beepFrequency = f;
  beepDuration = d;
}

TEST_F(Think, StatisticsFromTheEighthDebugClick) {
  auto savedBeep = EngineHost::Beep;
  EngineHost::Beep = RecordBeep;
  debugClicks = 0;
  beeps = 0;
  const std::vector<int> moves = {359, 328, 361, 326};
  for (int click = 1; click <= 17; ++click) {
    CountDebugClick();
    EXPECT_EQ(beeps, static_cast<unsigned>(click));
    EXPECT_EQ(beepFrequency, 1000u);
    EXPECT_EQ(beepDuration, 1500u);
    Play(moves);
    int info, score;
    Run(0, 4, &info, &score);
    bool on = click >= 8 && click <= 15;
    if (on) {
      EXPECT_EQ(info, static_cast<int>(nodeCount * 10 + (depthLimit - 3))) << click;
      EXPECT_NE(info, 0);
    } else {
      EXPECT_EQ(info, 0) << click;
    }
    EXPECT_EQ(score, searchScore);
  }
  EngineHost::Beep = savedBeep;
  debugClicks = 0;
}

}  // namespace

// Rules of the search that decide which moves it looks at and how it deepens, each shown on a
// small position where breaking the rule changes what the search does.
#include <algorithm>

#include "EngineTestUtil.h"

using namespace enginetest;

namespace {

constexpr int kNoMove = -30000;
const std::vector<int> kQuiet = {359, 328, 361, 326, 329, 358};

void Play(const std::vector<int>& moves) {
  AiReset();
  for (int c : moves) AiPlayMove(c);
}

// Cells where a stone of the given colour would make a four or more.
std::vector<int> FourPoints(bool black) {
  std::vector<int> cells;
  for (int r = 0; r < 15; ++r)
    for (int c = 0; c < 15; ++c) {
      const int x = Cell(r, c);
      if (engineBoard[x] != CELL_EMPTY) continue;
      const uint8_t f = black ? MakeMoveBlack(x) : MakeMoveWhite(x);
      black ? UnmakeMoveBlack() : UnmakeMoveWhite();
      if (f & (THREAT_FOUR | THREAT_OPEN_FOUR | THREAT_FIVE)) cells.push_back(x);
    }
  return cells;
}

// A node searched directly, one ply from the leaves, with the quiet budget of a fresh think.
int SearchFrontier(int alpha, int beta) {
  SetSearchLimits(0, 1 << 30);
  searchPly = 0;
  followPv = 0;
  nodeCount = 0;
  return SearchBlack(alpha, beta);
}

class SearchRules : public GeneratedTables {};

// The think entry searches with the level's limits: the same search SearchRoot makes with them.
TEST_F(SearchRules, ThinkSearchesWithTheLimitsOfItsLevel) {
  for (int level : {0, 1, 2}) {
    Play(kQuiet);
    int info, score;
    const int cell = AiThink(level, 1, 4, 1, &info, &score);
    const uint32_t nodes = nodeCount;
    Play(kQuiet);
    SetSearchLimits(LevelDepth(level), LevelNodeLimit(level));
    EXPECT_EQ(SearchRoot(), cell) << "level " << level;
    EXPECT_EQ(nodeCount, nodes) << "level " << level;
  }
}

// The next iteration searches 50 either side of the score the last one found.
TEST_F(SearchRules, AspirationWindowIsFiftyAroundThePreviousScore) {
  Play(kQuiet);
  SetSearchLimits(3, 1 << 30);
  SearchRoot();
  const int first = searchScore;
  Play(kQuiet);
  SetSearchLimits(4, 1 << 30);
  SearchRoot();
  EXPECT_EQ(searchIterations, 2);
  EXPECT_EQ(rootAlpha, first - 50);
  EXPECT_EQ(rootBeta, first + 50);
}

// Among equal moves the previous iteration's choice stays: with one stone in the centre, white's
// eight symmetric answers score alike, and deeper iterations keep the first one found.
TEST_F(SearchRules, DeeperIterationsKeepThePreviousBestAmongEquals) {
  Play({CENTRE_CELL});
  SetSearchLimits(3, 1 << 30);
  const int first = SearchRoot();
  const int firstScore = searchScore;
  for (int depth : {4, 6}) {
    Play({CENTRE_CELL});
    SetSearchLimits(depth, 1 << 30);
    EXPECT_EQ(SearchRoot(), first) << "depth " << depth;
    EXPECT_EQ(searchScore, firstScore + 8) << "the kept move carries the side to move's nudge";
  }
}

// A move that cuts off twice at a ply becomes the first killer there.
TEST_F(SearchRules, SecondKillerThatCutsBecomesTheFirst) {
  Play(kQuiet);
  for (int p = 0; p < MAX_PLY; ++p) killerFirst[p] = killerSecond[p] = 0;
  SearchFrontier(kNoMove, kNoMove + 1);  // every move cuts: the first one tried
  const int m = killerSecond[0];
  ASSERT_NE(m, 0);
  EXPECT_EQ(killerFirst[0], 0);
  SearchFrontier(kNoMove, kNoMove + 1);  // the killers come first: m cuts again
  EXPECT_EQ(killerFirst[0], m);
  EXPECT_EQ(killerSecond[0], 0);
}

// A quiet node whose standing score reaches beta looks at no move, not even its fours.
TEST_F(SearchRules, QuietNodeStandsPatAtBeta) {
  Diagram d = ParseDiagram({"...............", "....XXX........", "...O.....O....."}, 6);
  ASSERT_TRUE(PlayDiagram(d, true));
  ASSERT_FALSE(FourPoints(true).empty());
  SetSearchLimits(0, 1 << 30);
  quietDepth = 0;
  searchPly = 0;
  followPv = 0;
  nodeCount = 0;
  EXPECT_EQ(SearchBlack(runningScore - 1, runningScore), runningScore);
  EXPECT_EQ(nodeCount, 1u);
}

// Black's open four was blocked at one end: the other end wins at once, whichever of the two
// five points the block took. Inside the search nothing compacts the lists, so the open one may
// be the older entry; a win found a ply on would score one stone less.
TEST_F(SearchRules, EitherOfTheTwoNewestFivePointsWins) {
  Diagram d = ParseDiagram({".....XXXX......", "..O........O..."}, 7);
  for (int blocked : {Cell(7, 4), Cell(7, 9)}) {
    const int open = blocked == Cell(7, 4) ? Cell(7, 9) : Cell(7, 4);
    d.white.push_back(blocked);
    ASSERT_TRUE(PlayDiagram(d, true, {Cell(7, 8), blocked}));
    d.white.pop_back();
    EXPECT_EQ(SearchFrontier(-5000, 5000), 10000 - 4 * engineStones) << "blocked " << blocked;
    EXPECT_EQ(pvTable[0][0], open);
  }
}

// ... but only those two: with both taken, an older free five point is not played at once.
// Black's edge four lists (3,4) first, then the open four its two ends, which white takes.
TEST_F(SearchRules, FivePointBelowTheTwoNewestIsNotPlayedAtOnce) {
  Diagram d = ParseDiagram({"XXXX...........", "", "", "", "....OXXXXO....."}, 3);
  d.black.push_back(Cell(12, 12));  // so that white takes both ends after the open four
  ASSERT_TRUE(PlayDiagram(d, true, {Cell(12, 12), Cell(7, 4), Cell(7, 9)}));
  ASSERT_EQ(fiveListBlack.end - fiveListBlack.cells, 3);
  ASSERT_EQ(fiveListBlack.cells[0], Cell(3, 4));
  EXPECT_LT(SearchFrontier(-5000, 5000), 10000 - 4 * engineStones);
  EXPECT_GT(nodeCount, 1u);
}

// White made a live three, black a four, white blocked it: the three still stands, so black
// must answer it (or make a four) and looks at nothing else.
TEST_F(SearchRules, ThreeLeftStandingUnderAFourIsAnswered) {
  Diagram d = ParseDiagram({"...........O...", "...........X...", "...........X...",
                            "...........X...", "...........X...", "...........O...",
                            ".....OOO.......", "...............", "..XX..........."},
                           1);
  ASSERT_TRUE(PlayDiagram(d, true, {Cell(7, 7), Cell(5, 11), Cell(6, 11)}));
  ASSERT_TRUE(PlySave[gameStones - 3].flags & THREAT_THREE);
  ASSERT_TRUE(PlySave[gameStones - 2].flags & THREAT_FOUR);
  std::vector<int> answers = FourPoints(false);
  for (int x : FourPoints(true)) answers.push_back(x);
  SearchFrontier(-5000, 5000);
  EXPECT_LE(nodeCount, 1 + answers.size());
  EXPECT_NE(std::find(answers.begin(), answers.end(), pvTable[0][0]), answers.end());
}

}  // namespace

// Tournament bookkeeping without a window: the schedule, the simulated games, the result matrix
// and its points, the order of the final standings, and the look-ups into the roster.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <utility>

#include "ChessData.h"
#include "DlgGamePoint.h"
#include "DlgGameTable.h"
#include "EngineHost.h"
#include "TavexDlg.h"

namespace {

// The random source's clock held still, so a seed decides every draw.
class ScoringTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedClock = EngineHost::Milliseconds;
    EngineHost::Milliseconds = [] { return uint32_t(0); };
    host.InitRoster();
    host.PickOpponents(0);
  }
  void TearDown() override { EngineHost::Milliseconds = savedClock; }

  // Gives participant p a roster entry of the wanted level.
  void SetLevel(int p, int level) {
    for (int k = 0; k < ROSTER_SIZE; ++k)
      if (host.roster[k].level == level) {
        host.standings[p].rosterIndex = k;
        return;
      }
    FAIL() << "no roster entry of level " << level;
  }

  uint32_t (*savedClock)() = nullptr;
  CTavexDlg host;
  CDlgGameTable table{&host};
};

TEST_F(ScoringTest, EveryRoundPairsEveryoneAndEveryPairMeetsExactlyOnce) {
  std::set<std::pair<int, int>> met;
  for (int r = 0; r < TOURNAMENT_ROUNDS; ++r) {
    for (int p = 0; p < TOURNAMENT_PLAYERS; ++p) {
      const int q = roundSchedule[p][r];
      ASSERT_LT(q, TOURNAMENT_PLAYERS);
      EXPECT_NE(q, p);
      EXPECT_EQ(roundSchedule[q][r], p) << "round " << r << " pairs both ways";
      if (p < q) {
        EXPECT_TRUE(met.insert({p, q}).second) << p << " meets " << q << " twice";
      }
    }
    EXPECT_EQ(roundSchedule[0][r], r + 1) << "the human meets participant r + 1 in round r";
  }
  EXPECT_EQ(met.size(), 28u);
}

TEST_F(ScoringTest, APairingIsADrawFirstThenAWinWeightedByLevelWithTwoExtraForTheOpponent) {
  // For each pair of levels, the first draw decides a draw with bound 2|sp - sq| + 10, the second
  // a win of p when below sp out of sp + sq + 2.
  const std::pair<int, int> levels[] = {{0, 0}, {8, 0}, {0, 8}, {4, 4}, {7, 3}, {1, 6}};
  table.round = 0;  // participant 2 meets 3
  for (auto [sp, sq] : levels) {
    SetLevel(2, sp);
    SetLevel(3, sq);
    for (uint32_t seed = 1; seed < 400; ++seed) {
      SeedRandom(seed);
      const int drawRoll = RuntimeRand() % (2 * std::abs(sp - sq) + 10);
      const int winRoll = RuntimeRand() % (sp + sq + 2);
      const int want = drawRoll == 0 ? 2 : winRoll < sp ? 0 : 1;
      SeedRandom(seed);
      ASSERT_EQ(table.SimulatePairing(2), want)
          << "levels " << sp << ", " << sq << " seed " << seed;
    }
  }
}

TEST_F(ScoringTest, TwoLevelZeroOpponentsDrawOneInTenAndTheLowerNumberedNeverWins) {
  SetLevel(2, 0);
  SetLevel(3, 0);
  table.round = 0;
  int draws = 0, wins = 0;
  const int games = 20000;
  for (int i = 0; i < games; ++i) {
    SeedRandom(uint32_t(i * 7919 + 13));
    const int r = table.SimulatePairing(2);
    draws += r == 2;
    wins += r == 0;
  }
  EXPECT_EQ(wins, 0);
  EXPECT_NEAR(double(draws) / games, 0.1, 0.01);
}

TEST_F(ScoringTest, TheStrongerSideWinsAsOftenAsTheLevelsSay) {
  SetLevel(2, 8);
  SetLevel(3, 0);
  table.round = 0;
  int draws = 0, wins = 0;
  const int games = 20000;
  for (int i = 0; i < games; ++i) {
    SeedRandom(uint32_t(i * 104729 + 7));
    const int r = table.SimulatePairing(2);
    draws += r == 2;
    wins += r == 0;
  }
  // A draw 1 in 26; otherwise 8 in 10.
  EXPECT_NEAR(double(draws) / games, 1.0 / 26, 0.01);
  EXPECT_NEAR(double(wins) / games, 25.0 / 26 * 0.8, 0.015);
}

TEST_F(ScoringTest, RecordingARoundDecidesEachPendingPairingOnceMirroredAndEntersTheHumansGame) {
  table.round = 0;
  table.MarkRoundPending();
  for (int p = 0; p < TOURNAMENT_PLAYERS; ++p)
    EXPECT_EQ(host.resultMatrix[p][roundSchedule[p][0]], MATCH_PENDING);
  SeedRandom(99);
  table.RecordResult(MATCH_WON);
  EXPECT_EQ(host.resultMatrix[0][1], MATCH_WON);
  EXPECT_EQ(host.resultMatrix[1][0], MATCH_LOST);
  for (auto [p, q] : {std::pair{2, 3}, {4, 5}, {6, 7}}) {
    const uint8_t code = host.resultMatrix[p][q];
    EXPECT_TRUE(code >= MATCH_WON && code <= MATCH_DRAW) << p << "," << q;
    EXPECT_EQ(host.resultMatrix[q][p], MirrorResult(code));
  }
  // Nothing outside the round's eight cells.
  int touched = 0;
  for (int p = 0; p < TOURNAMENT_PLAYERS; ++p)
    for (int q = 0; q < TOURNAMENT_PLAYERS; ++q) touched += host.resultMatrix[p][q] != MATCH_NONE;
  EXPECT_EQ(touched, 8);

  // Recorded from the lower-numbered side: the same seed gives participant 2 the same game.
  const uint8_t first = host.resultMatrix[2][3];
  std::memset(host.resultMatrix, 0, sizeof host.resultMatrix);
  table.MarkRoundPending();
  SeedRandom(99);
  table.RecordResult(MATCH_DRAW);
  EXPECT_EQ(host.resultMatrix[2][3], first);
  // Entered in participant 2's row as 2's own game.
  SeedRandom(99);
  const uint8_t code[] = {MATCH_WON, MATCH_LOST, MATCH_DRAW};
  EXPECT_EQ(first, code[table.SimulatePairing(2)]);
  EXPECT_EQ(host.resultMatrix[0][1], MATCH_DRAW);
  EXPECT_EQ(host.resultMatrix[1][0], MATCH_DRAW);
}

TEST_F(ScoringTest, OnlyPendingCellsAreDecided) {
  // A matrix cleared after the table was drawn has nothing pending: only the human's game goes in.
  table.round = 3;
  host.resultMatrix[1][5] = MATCH_WON;
  host.resultMatrix[5][1] = MATCH_LOST;
  table.RecordResult(MATCH_LOST);
  EXPECT_EQ(host.resultMatrix[0][4], MATCH_LOST);
  EXPECT_EQ(host.resultMatrix[4][0], MATCH_WON);
  EXPECT_EQ(host.resultMatrix[1][5], MATCH_WON);
  EXPECT_EQ(host.resultMatrix[5][1], MATCH_LOST);
  EXPECT_EQ(host.resultMatrix[2][7], MATCH_NONE);
  EXPECT_EQ(host.resultMatrix[3][6], MATCH_NONE);
}

TEST_F(ScoringTest, ARoundOutsideTheScheduleChangesNothing) {
  for (int round : {-1, 7, 8, -100, 1 << 20}) {
    table.round = round;
    table.MarkRoundPending();
    table.RecordResult(MATCH_WON);
    uint8_t zero[8][8] = {};
    EXPECT_EQ(std::memcmp(host.resultMatrix, zero, sizeof zero), 0) << "round " << round;
  }
}

TEST_F(ScoringTest, AWholeTournamentFillsTheMatrixMirroredAndHandsOutTwoPointsAGame) {
  SeedRandom(2024);
  for (int r = 0; r < TOURNAMENT_ROUNDS; ++r) {
    table.round = r;
    table.MarkRoundPending();
    table.RecordResult(r % 2 ? MATCH_WON : MATCH_DRAW);
  }
  int total = 0;
  for (int p = 0; p < TOURNAMENT_PLAYERS; ++p) {
    for (int q = 0; q < TOURNAMENT_PLAYERS; ++q) {
      const uint8_t code = host.resultMatrix[p][q];
      if (p == q) {
        EXPECT_EQ(code, MATCH_NONE);
        continue;
      }
      EXPECT_TRUE(code >= MATCH_WON && code <= MATCH_DRAW) << p << "," << q;
      EXPECT_EQ(host.resultMatrix[q][p], MirrorResult(code));
    }
    const int32_t points = RowPoints(host.resultMatrix[p]);
    EXPECT_LE(points, 14);
    total += points;
  }
  EXPECT_EQ(total, 56) << "28 games, two points each";
  EXPECT_EQ(RowPoints(host.resultMatrix[0]), 3 * 2 + 4 * 1);
}

TEST_F(ScoringTest, PointsCountWinsTwiceAndDrawsOnceAndNothingElse) {
  const uint8_t row[8] = {MATCH_NONE,    MATCH_WON, MATCH_LOST, MATCH_DRAW,
                          MATCH_PENDING, MATCH_WON, 9,          255};
  EXPECT_EQ(RowPoints(row), 5);
  EXPECT_EQ(MirrorResult(MATCH_WON), MATCH_LOST);
  EXPECT_EQ(MirrorResult(MATCH_LOST), MATCH_WON);
  EXPECT_EQ(MirrorResult(MATCH_DRAW), MATCH_DRAW);
  EXPECT_EQ(MirrorResult(MATCH_PENDING), MATCH_PENDING);
}

std::vector<int> OrderOf(const std::vector<int32_t>& points) {
  Standing s[8];
  for (int i = 0; i < 8; ++i) s[i] = {i, points[size_t(i)]};
  SortByPoints(s);
  std::vector<int> order;
  for (auto& e : s) order.push_back(e.rosterIndex);
  return order;
}

TEST(StandingsOrder, HighestFirstWithTheSelectionOrderAmongEqualScores) {
  EXPECT_EQ(OrderOf({4, 6, 6, 2, 8, 0, 6, 4}), (std::vector<int>{4, 2, 6, 1, 7, 0, 3, 5}));
  // Equal scores put participant 0, the human, last.
  EXPECT_EQ(OrderOf({5, 5, 5, 5, 5, 5, 5, 5}), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 0}));
  EXPECT_EQ(OrderOf({14, 0, 0, 0, 0, 0, 0, 0})[0], 0);
  // Signed: a negative score from a damaged save sorts below zero.
  const std::vector<int> order = OrderOf({-3, 1, 0, 2, 0, 0, 0, 0});
  EXPECT_EQ(order.front(), 3);
  EXPECT_EQ(order.back(), 0);
}

TEST(RosterLookUp, NamesStayInsideTheirFieldAndUnknownEntriesHaveNoneAndLevelZero) {
  CTavexDlg host;
  host.InitRoster();
  EXPECT_EQ(RosterName(&host, 25), CString(host.roster[25].name));
  EXPECT_EQ(RosterLevel(&host, 25), 8);
  std::memset(host.roster[3].name, 'A', sizeof host.roster[3].name);  // no terminating zero
  EXPECT_EQ(RosterName(&host, 3).GetLength(), 20);
  for (int bad : {-1, 30, 1000, -2147483647 - 1}) {
    EXPECT_TRUE(RosterName(&host, bad).IsEmpty());
    EXPECT_EQ(RosterLevel(&host, bad), 0);
  }
}

}  // namespace

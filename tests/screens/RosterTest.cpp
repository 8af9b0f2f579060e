// The thirty opponents and the fields drawn from them.
#include <set>

#include "Big5.h"
#include "Roster.h"
#include "ScreenTestUtil.h"

namespace {

TEST(RosterTest, LevelsStylesAndNamesAsTheGameNeedsThem) {
  CTavexDlg host;
  host.InitRoster();
  const int levels[ROSTER_SIZE] = {0, 4, 1, 0, 3, 5, 5, 7, 6, 1, 2, 5, 0, 2, 3,
                                   5, 2, 0, 7, 1, 4, 2, 4, 6, 3, 8, 1, 4, 3, 6};
  const int styles[ROSTER_SIZE] = {0, 0, 0, 3, 0, 0, 3, 0, 0, 3, 0, 6, 6, 3, 3,
                                   8, 6, 8, 8, 6, 3, 8, 6, 4, 6, 4, 8, 8, 8, 8};
  std::set<std::string> names;
  for (int i = 0; i < ROSTER_SIZE; ++i) {
    const PlayerRecord& p = host.roster[i];
    EXPECT_EQ(p.stoneCode, 255);
    EXPECT_EQ(p.kind, PLAYER_ROSTER);
    EXPECT_EQ(p.rosterId, i);
    EXPECT_EQ(p.level, levels[i]) << i;
    EXPECT_EQ(p.style, styles[i]) << i;
    EXPECT_EQ(p.clock, 0);
    EXPECT_EQ(p.score, 0u);
    EXPECT_EQ(p.newMark, 0);
    // Two to four Big5 characters, terminated inside the field.
    const size_t len = strnlen(p.name, sizeof p.name);
    ASSERT_LT(len, sizeof p.name);
    const std::u32string chars = Big5ToUcs(std::string_view(p.name, len));
    EXPECT_GE(chars.size(), 2u) << i;
    EXPECT_LE(chars.size(), 4u) << i;
    EXPECT_EQ(len, chars.size() * 2) << "every character double-byte: " << i;
    EXPECT_EQ(chars.find(U'\uFFFD'), std::u32string::npos) << i;
    names.insert(p.name);
  }
  EXPECT_EQ(names.size(), size_t(ROSTER_SIZE)) << "every opponent has a name of its own";
}

class PickTest : public ::testing::Test {
 protected:
  CTavexDlg host;
  void ExpectCleanStart(int lastEntry) {
    EXPECT_EQ(host.standings[0].rosterIndex, -1);
    for (const Standing& s : host.standings) EXPECT_EQ(s.points, 0);
    for (int i = lastEntry + 1; i < 8; ++i) EXPECT_EQ(host.standings[i].rosterIndex, 0);
  }
};

TEST_F(PickTest, TournamentsDrawSevenDifferentOpponentsFromTheirRows) {
  std::set<int> seenFirstA;
  for (int round = 0; round < 200; ++round) {
    for (Standing& s : host.standings) s = Standing{77, 77};  // leftovers must go
    host.PickOpponents(0);
    ExpectCleanStart(7);
    std::set<int> field;
    for (int i = 0; i < 7; ++i) {
      const int r = host.standings[i + 1].rosterIndex;
      const int* row = TournamentAChoices[i];
      EXPECT_TRUE(r == row[0] || r == row[1] || r == row[2]) << "place " << i + 1 << " drew " << r;
      field.insert(r);
    }
    EXPECT_EQ(field.size(), 7u);
    EXPECT_EQ(host.standings[7].rosterIndex, 27);
    seenFirstA.insert(host.standings[1].rosterIndex);

    host.PickOpponents(1);
    ExpectCleanStart(7);
    field.clear();
    for (int i = 0; i < 7; ++i) {
      const int r = host.standings[i + 1].rosterIndex;
      EXPECT_TRUE(r == TournamentBChoices[i][0] || r == TournamentBChoices[i][1]);
      field.insert(r);
    }
    EXPECT_EQ(field.size(), 7u);
    EXPECT_EQ(host.standings[7].rosterIndex, 25);
  }
  EXPECT_EQ(seenFirstA, (std::set<int>{17, 3, 0})) << "every candidate can be drawn";
}

TEST_F(PickTest, EveryLadderLevelPlaysItsFourOpponents) {
  host.InitRoster();
  EXPECT_EQ(LADDER_LEVELS, 12);
  const int expect[12][4] = {{17, 3, 0, 12},   {0, 12, 26, 19}, {26, 19, 9, 2},  {9, 2, 16, 21},
                             {16, 21, 13, 10}, {13, 10, 4, 24}, {4, 24, 14, 28}, {14, 28, 27, 20},
                             {27, 20, 22, 1},  {11, 6, 15, 5},  {8, 23, 29, 18}, {29, 18, 7, 25}};
  int previousTop = -1;
  for (int mode = 2; mode <= 13; ++mode) {
    host.PickOpponents(mode);
    ExpectCleanStart(4);
    int top = 0;
    for (int g = 0; g < 4; ++g) {
      EXPECT_EQ(host.standings[g + 1].rosterIndex, expect[mode - 2][g])
          << "mode " << mode << " game " << g;
      top = std::max(top, host.roster[host.standings[g + 1].rosterIndex].level);
    }
    EXPECT_GE(top, previousTop) << "the levels never get weaker";
    previousTop = top;
  }
  EXPECT_EQ(previousTop, 8);
}

}  // namespace

// Threat flags and Renju fouls of the generated tables on known positions.
#include <algorithm>

#include "EngineTestUtil.h"

using namespace enginetest;

namespace {

struct FlagCase {
  const char* name;
  std::vector<std::string> rows;  // board rows 3..11; '*' is the stone played
  uint8_t freestyle, renju;       // expected flags of the stone
};

// 'X' black, 'O' white. The mover is the colour named by the test.
const FlagCase kBlackCases[] = {
    {"open three",
     {"...............", "...............", "...............", "...............",
      "....XX*........"},
     THREAT_THREE,
     THREAT_THREE},
    {"split three", {"", "", "", "", "...X.X*........"}, THREAT_THREE, THREAT_THREE},
    {"closed four", {"", "", "", "", "..OXXX*........"}, THREAT_FOUR, THREAT_FOUR},
    {"open four", {"", "", "", "", "...XXX*........"}, THREAT_OPEN_FOUR, THREAT_OPEN_FOUR},
    {"five", {"", "", "", "", "..XXXX*........"}, THREAT_FIVE, THREAT_FIVE},
    {"overline", {"", "", "", "", "..XXX*XX......."}, THREAT_FIVE, FOUL_OVERLINE},
    // Only one completion makes exactly five for Renju black: a four, not an open four.
    {"four open only to an overline",
     {"", "", "", "", "...XXX*.X......"},
     THREAT_OPEN_FOUR,
     THREAT_FOUR},
    {"double three",
     {"", "", "......X........", "......X........", "....XX*........"},
     THREAT_THREE,
     THREAT_THREE | FOUL_DOUBLE_THREE},
    {"double split three",
     {"", "", "......X........", "...............", "...X.X*........", "......X........"},
     THREAT_THREE,
     THREAT_THREE | FOUL_DOUBLE_THREE},
    {"double four",
     {"......O........", "......X........", "......X........", "......X........",
      "..OXXX*........"},
     THREAT_FOUR,
     THREAT_FOUR | FOUL_DOUBLE_FOUR},
    {"four three",
     {"", "", "......X........", "......X........", "..OXXX*........"},
     THREAT_FOUR | THREAT_THREE,
     THREAT_FOUR | THREAT_THREE},
    {"three blocked on one side is no three", {"", "", "", "", "...OXX*........"}, 0, 0},
};

class Flags : public GeneratedTables {
 protected:
  // Makes the diagram's stones, then the mover's stone on '*'; returns its flags.
  uint8_t Play(const std::vector<std::string>& rows, bool blackMoves, int rules) {
    AiSetRules(rules);
    Diagram d = ParseDiagram(rows, 3);
    EXPECT_NE(d.target, 0);
    MakeDiagram(d);
    return blackMoves ? MakeMoveBlack(d.target) : MakeMoveWhite(d.target);
  }
  // The same position with the colours exchanged.
  static std::vector<std::string> Swapped(std::vector<std::string> rows) {
    for (auto& r : rows)
      for (char& ch : r) ch = ch == 'X' ? 'O' : ch == 'O' ? 'X' : ch;
    return rows;
  }
};

TEST_F(Flags, BlackShapesInBothRuleSets) {
  for (const FlagCase& k : kBlackCases) {
    EXPECT_EQ(Play(k.rows, true, RULES_FREESTYLE), k.freestyle) << k.name << ", free-style";
    EXPECT_EQ(Play(k.rows, true, RULES_RENJU), k.renju) << k.name << ", Renju";
  }
}

TEST_F(Flags, WhiteIsNeverFouled) {
  for (const FlagCase& k : kBlackCases) {
    for (int rules : {RULES_FREESTYLE, RULES_RENJU}) {
      // White plays by the free-style table in both rule sets.
      EXPECT_EQ(Play(Swapped(k.rows), false, rules), k.freestyle)
          << k.name << " for white, rules " << rules;
    }
  }
}

// Exactly five is never a foul, whatever else the stone makes.
TEST_F(Flags, FiveWithADoubleFourCountsAsFive) {
  const std::vector<std::string> rows = {"......O...O....", "......X..X.....", "......X.X......",
                                         "......XX.......", "..XXXX*........"};
  uint8_t f = Play(rows, true, RULES_RENJU);
  EXPECT_EQ(f, THREAT_FIVE | THREAT_FOUR);
  f = Play(rows, true, RULES_FREESTYLE);
  EXPECT_EQ(f, THREAT_FIVE | THREAT_FOUR);
}

// X.XXX.X: two five points in one line is a double four for Renju black. In free-style it is
// simply a four with two five points.
TEST_F(Flags, DoubleFourInOneLine) {
  const std::vector<std::string> rows = {"", "", "", "", "..X.X*X.X......"};
  EXPECT_EQ(Play(rows, true, RULES_RENJU), FOUL_DOUBLE_FOUR);
  uint8_t free = Play(rows, true, RULES_FREESTYLE);
  EXPECT_TRUE(free & (THREAT_FOUR | THREAT_OPEN_FOUR));
  EXPECT_FALSE(free & 0x70);
  EXPECT_EQ(Play(Swapped(rows), false, RULES_RENJU), free);
}

TEST_F(Flags, OpenFourListsBothFivePoints) {
  Play({"", "", "", "", "...XXX*........"}, true, RULES_FREESTYLE);
  std::vector<int> five(fiveListBlack.cells, fiveListBlack.end);
  EXPECT_EQ(five, (std::vector<int>{Cell(7, 7), Cell(7, 2)}));
  EXPECT_EQ(PlySave[engineStones - 1].flags, THREAT_OPEN_FOUR);
}

TEST_F(Flags, ThreePushesOpenFourPoints) {
  Play({"", "", "", "", "....XX*........"}, true, RULES_FREESTYLE);
  std::vector<int> open(openFourListBlack.cells, openFourListBlack.end);
  std::sort(open.begin(), open.end());
  EXPECT_EQ(open, (std::vector<int>{Cell(7, 3), Cell(7, 7)}));
}

TEST_F(Flags, ProbesOnRealShapes) {
  for (int rules : {RULES_FREESTYLE, RULES_RENJU}) {
    AiSetRules(rules);
    MakeDiagram(ParseDiagram({"......X........", "......X........", "....XX.X......"}, 5));
    EXPECT_EQ(ProbeThreatBlack(Cell(7, 6)), PROBE_OPEN_FOUR);  // open four and a three
    EXPECT_EQ(ProbeThreatBlack(Cell(7, 3)), PROBE_NONE);       // a four only
    EXPECT_EQ(ProbeThreatBlack(Cell(4, 6)), PROBE_NONE);       // a three only
    EXPECT_EQ(ProbeThreatWhite(Cell(7, 6)), PROBE_NONE);
    MakeDiagram(
        ParseDiagram({"......X........", "......X........", "......X........", "......X........",
                      "...............", "...............", "..XXX..........", ".....X.........",
                      ".....X.........", ".....X........."},
                     3));
    EXPECT_EQ(ProbeThreatBlack(Cell(7, 6)), PROBE_BEYOND);  // five
    EXPECT_EQ(ProbeThreatBlack(Cell(2, 6)), PROBE_BEYOND);  // five
    EXPECT_EQ(ProbeThreatBlack(Cell(9, 5)), PROBE_BEYOND);  // two (open) fours
    EXPECT_EQ(ProbeThreatBlack(Cell(9, 6)), PROBE_NONE);
  }
}

}  // namespace

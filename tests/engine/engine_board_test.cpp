// Tests on hand-made tables: loading, the rule switch, the line index, probes.
#include <sys/stat.h>

#include <cstring>

#include "EngineTestUtil.h"

using namespace enginetest;

namespace {

// Each table file starts with its own number, so the selection can be seen.
void NumberedFill(int t, uint8_t* b) {
  std::memset(b, 0, TABLE_BYTES);
  b[0] = static_cast<uint8_t>(0x10 + t);
}

class ZeroTables : public ::testing::Test {
 protected:
  static std::string dir;
  static void SetUpTestSuite() { dir = WriteTableDir(NumberedFill); }
  static void TearDownTestSuite() { RemoveTableDir(dir); }
  void SetUp() override {
    ASSERT_TRUE(AiInitFrom(dir.c_str()));
    AiReset();
  }
  void TearDown() override { AiFree(); }
  static uint8_t* PatternBlack() { return const_cast<uint8_t*>(patternTableBlack); }
  static uint8_t* PatternWhite() { return const_cast<uint8_t*>(patternTableWhite); }
};
std::string ZeroTables::dir;

TEST_F(ZeroTables, InitLeavesEveryBoardFrameUntilReset) {
  AiFree();
  ASSERT_TRUE(AiInitFrom(dir.c_str()));
  for (int i = 0; i < BOARD_BYTES; ++i) {
    ASSERT_EQ(engineBoard[i], CELL_BORDER);
    ASSERT_EQ(gameBoard[i], CELL_BORDER);
    ASSERT_EQ(pointFlagsBlack[i], 0xFF);
    ASSERT_EQ(pointFlagsWhite[i], 0xFF);
  }
  EXPECT_EQ(engineRules, RULES_FREESTYLE);
  AiReset();
  for (int i = 0; i < BOARD_BYTES; ++i) {
    bool inside = i >= 128 && i < 608 && (i & 31) < 15;
    ASSERT_EQ(engineBoard[i], inside ? CELL_EMPTY : CELL_BORDER) << i;
    ASSERT_EQ(pointFlagsBlack[i], inside ? 0 : 0xFF) << i;
  }
}

TEST_F(ZeroTables, RulesSelectTheTables) {
  // File order: evaljpblk, evaljpwht, evalsimple, jp543b, Sim543b.
  auto first = [](const uint8_t* t) { return t[0] - 0x10; };
  EXPECT_EQ(first(evalTableBlack), 2);
  EXPECT_EQ(first(evalTableWhite), 2);
  EXPECT_EQ(first(patternTableBlack), 4);
  EXPECT_EQ(first(patternTableWhite), 4);
  AiSetRules(RULES_RENJU);
  EXPECT_EQ(engineRules, RULES_RENJU);
  EXPECT_EQ(first(evalTableBlack), 0);
  EXPECT_EQ(first(evalTableWhite), 1);
  EXPECT_EQ(first(patternTableBlack), 3);
  EXPECT_EQ(first(patternTableWhite), 4);
  AiSetRules(RULES_FREESTYLE);
  EXPECT_EQ(first(evalTableBlack), 2);
  EXPECT_EQ(first(patternTableBlack), 4);
  // Any other value: free-style tables, the value kept.
  AiSetRules(7);
  EXPECT_EQ(engineRules, 7);
  EXPECT_EQ(first(patternTableBlack), 4);
  EXPECT_EQ(first(evalTableWhite), 2);
}

TEST_F(ZeroTables, SetRulesKeepsThePosition) {
  AiPlayMove(CENTRE_CELL);
  AiPlayMove(Cell(6, 7));
  EngineSnapshot before = EngineSnapshot::Take();
  AiSetRules(RULES_RENJU);
  EXPECT_EQ(EngineSnapshot::Take(), before);
}

TEST_F(ZeroTables, LineIndexColourViews) {
  const int c = CENTRE_CELL;
  MakeMoveBlack(c - 1);
  MakeMoveBlack(c + 1);
  EXPECT_EQ(LineIndexBlack(c, 1), 0xF00u);
  EXPECT_EQ(LineIndexWhite(c, 1), 0xA00u);
  AiReset();
  MakeMoveWhite(c - 1);
  MakeMoveWhite(c + 1);
  EXPECT_EQ(LineIndexWhite(c, 1), 0xF00u);
  EXPECT_EQ(LineIndexBlack(c, 1), 0xA00u);
  // Digit order: c-5d is the most significant, c+5d the least.
  AiReset();
  MakeMoveBlack(c - 5 * 32);
  EXPECT_EQ(LineIndexBlack(c, 32), 3u << 18);
  MakeMoveWhite(c + 5 * 32);
  EXPECT_EQ(LineIndexBlack(c, 32), (3u << 18) | 2u);
  EXPECT_EQ(LineIndexBlack(c, 1), 0u);
}

// Every cell of the playing area in every direction reads, past the 736 bytes, the border
// code; inside, the cell's own code.
TEST_F(ZeroTables, LineIndexReadsBorderOutsideTheBoard) {
  TestRng rng(7);
  for (int i = 0; i < 60; ++i) {
    int c = Cell(rng.Below(15), rng.Below(15));
    if (engineBoard[c] != CELL_EMPTY) continue;
    if (i & 1)
      MakeMoveWhite(c);
    else
      MakeMoveBlack(c);
  }
  for (int row = 0; row < 15; ++row)
    for (int col = 0; col < 15; ++col) {
      int c = Cell(row, col);
      for (int d : {32, 1, 33, 31}) {
        uint32_t expect = 0;
        for (int k : {-5, -4, -3, -2, -1, 1, 2, 3, 4, 5}) {
          int x = c + k * d;
          uint32_t code = (x < 0 || x >= BOARD_BYTES) ? 1u : (engineBoard[x] & 3u);
          expect = expect * 4 + code;
        }
        ASSERT_EQ(LineIndexBlack(c, d), expect) << "cell " << c << " step " << d;
      }
    }
  // A corner with nothing near: border codes on the frame side only.
  AiReset();
  EXPECT_EQ(LineIndexBlack(Cell(7, 0), 1), 0x55400u);
  EXPECT_EQ(LineIndexBlack(Cell(7, 14), 1), 0x00155u);
  EXPECT_EQ(LineIndexBlack(Cell(0, 0), 32), 0x55400u);
  EXPECT_EQ(LineIndexBlack(Cell(14, 14), 33), 0x00155u);
  EXPECT_EQ(LineIndexBlack(CENTRE_CELL, 33), 0u);
}

TEST_F(ZeroTables, ProbeCountsFoursAndThrees) {
  const int c = CENTRE_CELL;
  auto setLines = [&](uint8_t v, uint8_t h, uint8_t dr, uint8_t dl) {
    uint8_t* t = PatternBlack();
    std::memset(t, 0, TABLE_BYTES);
    // An empty neighbourhood has index 0 in every direction: give each direction its own
    // index by a stone five cells out on the c+d side, a distinct pattern per direction.
    t[LineIndexBlack(c, 32)] = v;
    t[LineIndexBlack(c, 1)] = h;
    t[LineIndexBlack(c, 33)] = dr;
    t[LineIndexBlack(c, 31)] = dl;
  };
  MakeMoveBlack(c + 5 * 32);  // vertical: 0x3
  MakeMoveWhite(c + 5 * 1);   // horizontal: 0x2
  MakeMoveBlack(c + 4 * 33);  // down-right: 0xC
  MakeMoveWhite(c + 4 * 31);  // down-left: 0x8
  ASSERT_EQ(LineIndexBlack(c, 32), 3u);
  ASSERT_EQ(LineIndexBlack(c, 1), 2u);
  ASSERT_EQ(LineIndexBlack(c, 33), 0xCu);
  ASSERT_EQ(LineIndexBlack(c, 31), 8u);

  setLines(0xA0, 0x20, 0, 0);
  EXPECT_EQ(ProbeThreatBlack(c), PROBE_OPEN_FOUR);
  setLines(0xA0, 0x81, 0, 0);
  EXPECT_EQ(ProbeThreatBlack(c), PROBE_BEYOND);
  setLines(0x80, 0x80, 0xA0, 0x1F);  // 0x80 counts nothing in a probe
  EXPECT_EQ(ProbeThreatBlack(c), PROBE_OPEN_FOUR);
  setLines(0x40, 0x7F, 0, 0);
  EXPECT_EQ(ProbeThreatBlack(c), PROBE_BEYOND);
  setLines(0x40, 0x9F, 0, 0);
  EXPECT_EQ(ProbeThreatBlack(c), PROBE_NONE);
  setLines(0, 0, 0, 0xA1);
  EXPECT_EQ(ProbeThreatBlack(c), PROBE_BEYOND);
  setLines(0xC0, 0, 0, 0);
  EXPECT_EQ(ProbeThreatBlack(c), PROBE_BEYOND);
  setLines(0, 0, 0, 0);
  EXPECT_EQ(ProbeThreatBlack(c), PROBE_NONE);

  // White looks through its own table with the colours exchanged.
  uint8_t* w = PatternWhite();
  w[LineIndexWhite(c, 33)] = 0xA0;
  EXPECT_EQ(LineIndexWhite(c, 33), 0x8u);
  EXPECT_EQ(ProbeThreatWhite(c), PROBE_OPEN_FOUR);
  // The probe changes nothing.
  EngineSnapshot before = EngineSnapshot::Take();
  ProbeThreatBlack(c);
  ProbeThreatWhite(c);
  EXPECT_EQ(EngineSnapshot::Take(), before);
}

// ---- table files are checked ----------------------------------------------------------

class TableFiles : public ::testing::Test {
 protected:
  std::string dir;
  void SetUp() override { dir = WriteTableDir(NumberedFill); }
  void TearDown() override {
    AiFree();
    RemoveTableDir(dir);
  }
  void ExpectFailsOn(const char* name) {
    EXPECT_FALSE(AiInitFrom(dir.c_str()));
    ASSERT_NE(aiLoadFailure, nullptr);
    EXPECT_STREQ(aiLoadFailure, name);
    for (uint8_t* b : tableBuffers) EXPECT_EQ(b, nullptr);
    EXPECT_EQ(patternTableBlack, nullptr);
  }
};

TEST_F(TableFiles, FiveGoodFilesLoad) {
  EXPECT_TRUE(AiInitFrom(dir.c_str()));
  EXPECT_EQ(aiLoadFailure, nullptr);
  for (uint8_t* b : tableBuffers) EXPECT_NE(b, nullptr);
}

TEST_F(TableFiles, MissingFileFails) {
  std::remove((dir + "/jp543b.tab").c_str());
  ExpectFailsOn("jp543b.tab");
}

TEST_F(TableFiles, ShortFileFails) {
  ASSERT_EQ(truncate((dir + "/evalsimple.tab").c_str(), TABLE_BYTES - 1), 0);
  ExpectFailsOn("evalsimple.tab");
}

TEST_F(TableFiles, LongFileFails) {
  ASSERT_EQ(truncate((dir + "/Sim543b.tab").c_str(), TABLE_BYTES + 1), 0);
  ExpectFailsOn("Sim543b.tab");
}

TEST_F(TableFiles, UnreadableFileFails) {
  std::string path = dir + "/evaljpwht.tab";
  std::remove(path.c_str());
  ASSERT_EQ(mkdir(path.c_str(), 0700), 0);  // opens, but cannot be read
  ExpectFailsOn("evaljpwht.tab");
  rmdir(path.c_str());
}

TEST_F(TableFiles, DamagedTablesAndChecksumFilesFail) {
  const std::string sums = dir + "/" + TABLE_SUM_FILE;
  std::vector<uint8_t> table(TABLE_BYTES, 0);
  table[0] = 0x13;
  table[TABLE_BYTES - 1] = 0x81;  // one byte changed, size kept
  WriteFile(dir + "/jp543b.tab", table.data(), table.size());
  ExpectFailsOn("jp543b.tab");
  table[TABLE_BYTES - 1] = 0;
  WriteFile(dir + "/jp543b.tab", table.data(), table.size());
  ASSERT_TRUE(AiInitFrom(dir.c_str()));

  std::string text;
  for (int t = 0; t < TABLE_COUNT - 1; ++t)  // no line for Sim543b.tab
    text += TableSumLine(tableFileNames[t], tableBuffers[t], TABLE_BYTES);
  WriteFile(sums, text.data(), text.size());
  ExpectFailsOn(TABLE_SUM_FILE);
  std::remove(sums.c_str());
  ExpectFailsOn(TABLE_SUM_FILE);
}

TEST_F(TableFiles, AFailureAfterASuccessKeepsNoOldTable) {
  ASSERT_TRUE(AiInitFrom(dir.c_str()));
  std::remove((dir + "/evaljpblk.tab").c_str());
  ExpectFailsOn("evaljpblk.tab");
}

}  // namespace

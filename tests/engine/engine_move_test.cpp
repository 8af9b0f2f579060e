// Tests on hand-made and random tables: what a make records, flags and pushes, and that
// its unmake restores everything.
#include <algorithm>
#include <cstring>

#include "EngineHost.h"
#include "EngineTestUtil.h"

using namespace enginetest;

namespace {

class MoveTables : public ::testing::Test {
 protected:
  static std::string dir;
  static void SetUpTestSuite() {
    dir = WriteTableDir([](int, uint8_t* b) { std::memset(b, 40, TABLE_BYTES); });
  }
  static void TearDownTestSuite() { RemoveTableDir(dir); }
  void SetUp() override {
    ASSERT_TRUE(AiInitFrom(dir.c_str()));
    AiReset();
    quietBudgetBlack = quietBudgetWhite = 2;
  }
  void TearDown() override { AiFree(); }
  static uint8_t* Pattern(int t) { return tableBuffers[t]; }
  static uint8_t* PatternBlack() { return const_cast<uint8_t*>(patternTableBlack); }
  static void ClearPatterns() {
    std::memset(tableBuffers[3], 0, TABLE_BYTES);
    std::memset(tableBuffers[4], 0, TABLE_BYTES);
  }
  // Gives the four lines of a black stone on c the classes v, h, dr, dl (black's table).
  // Stones that give the four lines through c distinct indexes.
  static void SpreadLines(int c) {
    MakeMoveBlack(c + 5 * 32);
    MakeMoveWhite(c + 5);
    MakeMoveBlack(c + 4 * 33);
    MakeMoveWhite(c + 4 * 31);
  }
  static void SetLines(int c, uint8_t v, uint8_t h, uint8_t dr, uint8_t dl) {
    uint8_t* t = PatternBlack();
    t[LineIndexBlack(c, 32)] = v;
    t[LineIndexBlack(c, 1)] = h;
    t[LineIndexBlack(c, 33)] = dr;
    t[LineIndexBlack(c, 31)] = dl;
  }
};
std::string MoveTables::dir;

std::vector<int> ListOf(const CandidateList& l) {
  const int32_t* b = l.cells;
  const int32_t* e = l.end;
  return std::vector<int>(b, e);
}

TEST_F(MoveTables, FirstStoneNearCellsInOrder) {
  ClearPatterns();
  EXPECT_EQ(AiPlayMove(CENTRE_CELL), 0u);
  EXPECT_EQ(gameBoard[CENTRE_CELL], CELL_BLACK);
  EXPECT_EQ(engineBoard[CENTRE_CELL], CELL_BLACK);
  EXPECT_EQ(ListOf(nearListBlack), (std::vector<int>{391, 423, 327, 295, 360, 361, 358, 357, 392,
                                                     425, 326, 293, 390, 421, 328, 297}));
  EXPECT_TRUE(ListOf(nearListWhite).empty());
  EXPECT_EQ(pointFlagsBlack[CENTRE_CELL], POINT_TAKEN);
  EXPECT_EQ(pointFlagsWhite[CENTRE_CELL], POINT_TAKEN);
  EXPECT_EQ(pointFlagsBlack[391], POINT_NEAR);
  EXPECT_EQ(engineStones, 1);
  EXPECT_EQ(gameStones, 1);
  // The running score sums e - 40 over the four lines (all 40 here).
  EXPECT_EQ(runningScore, 0);
  // The second game stone is white.
  AiPlayMove(Cell(6, 7));
  EXPECT_EQ(gameBoard[Cell(6, 7)], CELL_WHITE);
  EXPECT_EQ(engineBoard[Cell(6, 7)], CELL_WHITE);
  EXPECT_EQ(nearListWhite.end - nearListWhite.cells, 15);  // 359 is taken
}

TEST_F(MoveTables, EvaluationAddsForBlackSubtractsForWhite) {
  ClearPatterns();
  std::memset(tableBuffers[2], 45, TABLE_BYTES);  // evalsimple: +5 per line
  AiPlayMove(CENTRE_CELL);
  EXPECT_EQ(runningScore, 20);
  AiPlayMove(Cell(0, 0));
  EXPECT_EQ(runningScore, 0);
  AiSetRules(RULES_RENJU);  // evaljpblk 40, evaljpwht 40
  AiPlayMove(Cell(3, 3));
  EXPECT_EQ(runningScore, 0);
}

TEST_F(MoveTables, FlagsAndFoulsByRuleSet) {
  ClearPatterns();
  const int c = CENTRE_CELL;
  SpreadLines(c);
  struct Case {
    uint8_t v, h, dr, dl;
    uint8_t freestyle, renju;
  } cases[] = {
      {0x20, 0x7F, 0, 0, THREAT_THREE, THREAT_THREE | FOUL_DOUBLE_THREE},
      {0xA1, 0x20, 0, 0, THREAT_FOUR | THREAT_THREE,
       THREAT_FOUR | THREAT_THREE | FOUL_DOUBLE_THREE},
      {0xA1, 0x20, 0x81, 0, THREAT_FOUR | THREAT_THREE,
       THREAT_FOUR | THREAT_THREE | FOUL_DOUBLE_THREE | FOUL_DOUBLE_FOUR},
      {0xA0, 0x81, 0, 0, THREAT_OPEN_FOUR | THREAT_FOUR,
       THREAT_OPEN_FOUR | THREAT_FOUR | FOUL_DOUBLE_FOUR},
      {0xC0, 0x81, 0x80, 0, THREAT_FIVE | THREAT_FOUR, THREAT_FIVE | THREAT_FOUR},  // five: no foul
      {0, 0xC1, 0, 0, FOUL_OVERLINE, FOUL_OVERLINE},
      {0x80, 0x1F, 0x60, 0, THREAT_FOUR | THREAT_THREE, THREAT_FOUR | THREAT_THREE},
      {0x9F, 0, 0, 0, THREAT_FOUR, THREAT_FOUR},
  };
  for (const Case& k : cases) {
    for (int rules : {RULES_FREESTYLE, RULES_RENJU}) {
      AiSetRules(rules);
      ClearPatterns();
      SetLines(c, k.v, k.h, k.dr, k.dl);
      // Every three gets a playable straight-four cell beside c, so the exact judge keeps it.
      for (int d : {32, 1, 33, 31}) {
        uint32_t i = LineIndexBlack(c, d);
        uint8_t p = PatternBlack()[i];
        if ((p < 0x80 && (p & 0x60)) || (p > 0xA0 && p < 0xC0))
          PatternBlack()[i | (3u << 8)] = 0xA0;
      }
      int depth = depthLimit = 5, quiet = quietDepth = 2;
      uint8_t f = MakeMoveBlack(c);
      EXPECT_EQ(f, rules ? k.renju : k.freestyle)
          << std::hex << int(k.v) << " " << int(k.h) << " " << int(k.dr) << " rules " << rules;
      EXPECT_EQ(PlySave[engineStones - 1].flags, f);
      bool four = f & (THREAT_FOUR | THREAT_OPEN_FOUR);
      EXPECT_EQ(depthLimit, depth + four);
      EXPECT_EQ(quietDepth, quiet + four);
      UnmakeMoveBlack();
      EXPECT_EQ(depthLimit, depth);
      EXPECT_EQ(quietDepth, quiet);
    }
  }
  // White is never fouled, in either rule set.
  for (int rules : {RULES_FREESTYLE, RULES_RENJU}) {
    AiSetRules(rules);
    ClearPatterns();
    uint8_t* t = const_cast<uint8_t*>(patternTableWhite);
    t[LineIndexWhite(c, 32)] = 0xA1;
    t[LineIndexWhite(c, 1)] = 0x81;
    t[LineIndexWhite(c, 33)] = 0x40;
    EXPECT_EQ(MakeMoveWhite(c), THREAT_FOUR | THREAT_THREE);
    UnmakeMoveWhite();
  }
}

// Five points are found through the mover's stones; a found five point reads as blocked for
// the rest of the line; the point search pushes three, four and open-four points by rank.
TEST_F(MoveTables, PointSearchPushesByClass) {
  ClearPatterns();
  const int c = CENTRE_CELL;
  // Black: c-1 and c+1 (horizontal), then c.
  MakeMoveBlack(c - 1);
  MakeMoveBlack(c + 1);
  uint8_t* t = PatternBlack();
  uint32_t i = LineIndexBlack(c, 1);  // 0xF00
  ASSERT_EQ(i, 0xF00u);
  t[i] = 0x81;                             // a four
  t[i | (3u << 6)] = 0xC0;                 // c+2 makes five
  t[(i | (2u << 6)) | (3u << 12)] = 0xC0;  // c-2 makes five only if c+2 were blocked
  t[(i | (2u << 6)) | (3u << 4)] = 0xA0;   // with c+2 blocked: c+3 an open-four point
  t[(i | (2u << 6)) | (3u << 14)] = 0x40;  // and c-3 a three point
  int nearBefore = static_cast<int>(nearListBlack.end - nearListBlack.cells);
  uint8_t f = MakeMoveBlack(c);
  EXPECT_EQ(f, THREAT_FOUR);
  EXPECT_EQ(ListOf(fiveListBlack), (std::vector<int>{c + 2, c - 2}));
  EXPECT_EQ(pointFlagsBlack[c + 2] & POINT_FIVE, POINT_FIVE);
  // c+2 and c-2 are five points, so the point search tests beyond... nothing: the first cell
  // on each side is a five point and never enters the lower lists.
  EXPECT_TRUE(ListOf(openFourListBlack).empty());
  EXPECT_TRUE(ListOf(threeListBlack).empty());
  // A four (0x81) still pushes the line's near cells, skipping cells already listed.
  EXPECT_GT(nearListBlack.end - nearListBlack.cells, nearBefore);
  UnmakeMoveBlack();
  EXPECT_TRUE(ListOf(fiveListBlack).empty());
  EXPECT_EQ(pointFlagsBlack[c + 2], POINT_NEAR);
  EXPECT_EQ(pointFlagsBlack[c - 2], POINT_NEAR);

  // Without the five points: the first empty cell on each side and the next one beyond it.
  ClearPatterns();
  MakeMoveBlack(c + 3);  // X X c X . X  on the plus side: c+1, c+3
  i = LineIndexBlack(c, 1);
  t[i] = 0x20;               // a three
  t[i | (3u << 6)] = 0xA0;   // c+2: open four point
  t[i | (3u << 2)] = 0x81;   // c+4: four point (beyond c+3)
  t[i | (3u << 12)] = 0x60;  // c-2: three point
  t[i | (3u << 14)] = 0x1F;  // c-3: nothing
  f = MakeMoveBlack(c);
  EXPECT_EQ(f, THREAT_THREE);
  EXPECT_EQ(ListOf(openFourListBlack), (std::vector<int>{c + 2}));
  EXPECT_EQ(ListOf(fourListBlack), (std::vector<int>{c + 4}));
  EXPECT_EQ(ListOf(threeListBlack), (std::vector<int>{c - 2}));
  EXPECT_TRUE(ListOf(fiveListBlack).empty());
  EXPECT_EQ(pointFlagsBlack[c + 2], POINT_NEAR | POINT_OPEN_FOUR);
  UnmakeMoveBlack();
  EXPECT_EQ(pointFlagsBlack[c + 2], POINT_NEAR);
}

TEST_F(MoveTables, NegativeQuietBudgetPushesNoNearCells) {
  ClearPatterns();
  const int c = CENTRE_CELL;
  MakeMoveBlack(c - 1);
  uint32_t i = LineIndexBlack(c, 1);
  PatternBlack()[i] = 0x20;
  PatternBlack()[i | (3u << 8)] = 0x81;  // c+1 a four point
  quietBudgetBlack = -1;
  auto nearBefore = ListOf(nearListBlack);
  EXPECT_EQ(MakeMoveBlack(c), THREAT_THREE);
  EXPECT_EQ(ListOf(nearListBlack), nearBefore);
  EXPECT_EQ(ListOf(fourListBlack), (std::vector<int>{c + 1}));
}

TEST_F(MoveTables, OpenFourAndFiveLinesPushNoNearCells) {
  ClearPatterns();
  const int c = CENTRE_CELL;
  SpreadLines(c);
  SetLines(c, 0xA0, 0xC0, 0xC1, 0);
  auto before = ListOf(nearListBlack);
  EXPECT_EQ(MakeMoveBlack(c), THREAT_OPEN_FOUR | THREAT_FIVE | FOUL_OVERLINE);
  // Only the down-left line (class 0) pushes near cells.
  auto after = ListOf(nearListBlack);
  ASSERT_EQ(after.size(), before.size() + 4);
  EXPECT_EQ(std::vector<int>(after.begin() + before.size(), after.end()),
            (std::vector<int>{c + 31, c + 62, c - 31, c - 62}));
}

// ---- make/unmake over random games ---------------------------------------------------------

void RandomFill(int t, uint8_t* b) {
  TestRng rng(100 + t);
  for (int i = 0; i < TABLE_BYTES; ++i) {
    uint32_t r = rng.Next();
    if (t < 3) {
      b[i] = static_cast<uint8_t>(20 + r % 41);
    } else {
      // Mostly weak classes, with every class reachable.
      uint32_t k = r % 16;
      b[i] = k < 5    ? 0
             : k < 9  ? (r >> 8) % 0x20
             : k < 12 ? 0x20 + (r >> 8) % 0x60
                      : static_cast<uint8_t>(r >> 8);
    }
  }
}

class RandomTables : public ::testing::Test {
 protected:
  static std::string dir;
  static void SetUpTestSuite() { dir = WriteTableDir(RandomFill); }
  static void TearDownTestSuite() { RemoveTableDir(dir); }
  void SetUp() override { ASSERT_TRUE(AiInitFrom(dir.c_str())); }
  void TearDown() override { AiFree(); }
};
std::string RandomTables::dir;

// Every listed cell carries its list's bit and stands on the list once; every playing cell
// with a list bit is on that list.
void CheckListInvariants() {
  struct L {
    CandidateList* list;
    uint8_t* flags;
    uint8_t bit;
  } lists[] = {{&nearListBlack, pointFlagsBlack, POINT_NEAR},
               {&threeListBlack, pointFlagsBlack, POINT_THREE},
               {&fourListBlack, pointFlagsBlack, POINT_FOUR},
               {&openFourListBlack, pointFlagsBlack, POINT_OPEN_FOUR},
               {&fiveListBlack, pointFlagsBlack, POINT_FIVE},
               {&nearListWhite, pointFlagsWhite, POINT_NEAR},
               {&threeListWhite, pointFlagsWhite, POINT_THREE},
               {&fourListWhite, pointFlagsWhite, POINT_FOUR},
               {&openFourListWhite, pointFlagsWhite, POINT_OPEN_FOUR},
               {&fiveListWhite, pointFlagsWhite, POINT_FIVE}};
  for (const L& l : lists) {
    std::vector<int> count(BOARD_BYTES, 0);
    for (int32_t* q = l.list->cells; q < l.list->end; ++q) {
      ASSERT_TRUE(*q >= 128 && *q < 608 && (*q & 31) < 15) << *q;
      ASSERT_TRUE(l.flags[*q] & l.bit);
      ASSERT_EQ(++count[*q], 1);
    }
    for (int r = 0; r < 15; ++r)
      for (int c = 0; c < 15; ++c)
        ASSERT_EQ(count[CellAt(r, c)], (l.flags[CellAt(r, c)] & l.bit) ? 1 : 0);
  }
}

void Explore(TestRng& rng, int depth, int& makes) {
  if (depth == 0 || engineStones >= 225) return;
  int width = 1 + rng.Below(3);
  for (int w = 0; w < width; ++w) {
    int cell;
    do {
      cell = CellAt(rng.Below(15), rng.Below(15));
    } while (engineBoard[cell] != CELL_EMPTY);
    quietBudgetBlack = rng.Below(4) - 1;
    quietBudgetWhite = rng.Below(4) - 1;
    depthLimit = rng.Below(10);
    quietDepth = rng.Below(10);
    EngineSnapshot before = EngineSnapshot::Take();
    bool black = rng.Below(2);
    uint8_t f = black ? MakeMoveBlack(cell) : MakeMoveWhite(cell);
    ++makes;
    ASSERT_EQ(PlySave[engineStones - 1].flags, f);
    ASSERT_EQ(PlySave[engineStones - 1].cell, cell);
    if (!black || !engineRules) {
      ASSERT_EQ(f & (FOUL_DOUBLE_THREE | FOUL_DOUBLE_FOUR), 0);
    }
    CheckListInvariants();
    Explore(rng, depth - 1, makes);
    if (black)
      UnmakeMoveBlack();
    else
      UnmakeMoveWhite();
    ASSERT_EQ(EngineSnapshot::Take(), before) << "cell " << cell << " depth " << depth;
  }
}

TEST_F(RandomTables, MakeUnmakeRestoresEverything) {
  TestRng rng(1);
  int makes = 0;
  for (int rules : {RULES_FREESTYLE, RULES_RENJU}) {
    AiSetRules(rules);
    for (int game = 0; game < 12; ++game) {
      AiReset();
      // A game of random length, then a tree of makes and unmakes on top of it.
      int stones = rng.Below(150);
      for (int s = 0; s < stones; ++s) {
        int cell;
        do {
          cell = CellAt(rng.Below(15), rng.Below(15));
        } while (gameBoard[cell] != CELL_EMPTY);
        AiPlayMove(cell);
      }
      Explore(rng, 5, makes);
    }
  }
  EXPECT_GT(makes, 1000);
}

TEST_F(RandomTables, TakeBackUndoesPlayMove) {
  TestRng rng(2);
  AiReset();
  std::vector<EngineSnapshot> history;
  std::vector<std::vector<uint8_t>> boards;
  for (int s = 0; s < 225; ++s) {
    history.push_back(EngineSnapshot::Take());
    boards.emplace_back(gameBoard, gameBoard + BOARD_BYTES);
    int cell;
    do {
      cell = CellAt(rng.Below(15), rng.Below(15));
    } while (gameBoard[cell] != CELL_EMPTY);
    uint32_t f = AiPlayMove(cell);
    EXPECT_EQ(f, PlySave[s].flags);
    EXPECT_EQ(gameBoard[cell], (s & 1) ? CELL_WHITE : CELL_BLACK);
    EXPECT_EQ(lastGameCell, cell);
  }
  for (int s = 224; s >= 0; --s) {
    AiTakeBack();
    ASSERT_EQ(gameStones, s);
    // The search's depth values are saved and restored per stone; the rest must match exactly.
    EngineSnapshot now = EngineSnapshot::Take();
    ASSERT_EQ(now, history[s]) << s;
    ASSERT_TRUE(std::equal(gameBoard, gameBoard + BOARD_BYTES, boards[s].begin())) << s;
  }
}

// Tables that flag fours and fives almost anywhere drive the search through every rule (also
// the answer walk back to the first stones); it must stay on the board and in its tables.
int pumps;
void AbortAfterThreePumps() {
  if (++pumps >= 3) abortSearch = 1;
}

TEST_F(RandomTables, SearchAndThinkStayInBounds) {
  // With fours everywhere the four extension runs the search to ply 63; the pump stops it.
  auto savedPump = EngineHost::PumpMessage;
  EngineHost::PumpMessage = AbortAfterThreePumps;
  TestRng rng(3);
  for (int rules : {RULES_FREESTYLE, RULES_RENJU}) {
    AiSetRules(rules);
    for (int game = 0; game < 20; ++game) {
      AiReset();
      int stones = 1 + rng.Below(game < 5 ? 3 : 60);
      std::vector<int> moves;
      for (int s = 0; s < stones; ++s) {
        int cell;
        do {
          cell = CellAt(rng.Below(15), rng.Below(15));
        } while (gameBoard[cell] != CELL_EMPTY);
        AiPlayMove(cell);
        moves.push_back(cell);
      }
      std::vector<uint8_t> board(engineBoardStore, engineBoardStore + sizeof engineBoardStore);
      int info, score;
      pumps = 0;
      int cell = AiThink(game % 3, 1, 4 * (game % 3), 1, &info, &score);
      ASSERT_TRUE(cell <= 0 || (cell >= 128 && cell < 608 && (cell & 31) < 15)) << cell;
      if (cell > 0) {
        EXPECT_EQ(gameBoard[cell], CELL_EMPTY);
      }
      EXPECT_EQ(gameStones, stones);
      EXPECT_TRUE(std::equal(board.begin(), board.end(), engineBoardStore));
    }
  }
  EngineHost::PumpMessage = savedPump;
}

// Damaged tables that make every move a four: the extensions never let an iteration end, and
// only the node ceiling ends the think, with a move on an empty cell.
void AbortAfterTwiceTheCeiling() {
  if (++pumps > 2 * int(NodeCeiling(20000) / 8192)) abortSearch = 1;
}

TEST(DamagedTables, ThinkEndsAtTheNodeCeilingWithAMove) {
  const std::string dir = WriteTableDir([](int, uint8_t* b) { std::memset(b, 0x81, TABLE_BYTES); });
  ASSERT_TRUE(AiInitFrom(dir.c_str()));
  auto savedPump = EngineHost::PumpMessage;
  EngineHost::PumpMessage = AbortAfterTwiceTheCeiling;
  pumps = 0;
  AiReset();
  AiPlayMove(Cell(3, 3));  // off the centre: no opening rule, the search decides
  int info, score;
  const int cell = AiThink(0, 1, 4, 1, &info, &score);
  ASSERT_TRUE(cell >= 128 && cell < 608 && (cell & 31) < 15) << cell;
  EXPECT_EQ(gameBoard[cell], CELL_EMPTY);
  EXPECT_GE(nodeCount, NodeCeiling(nodeLimit));
  EXPECT_LT(nodeCount, NodeCeiling(nodeLimit) + 8192);
  EngineHost::PumpMessage = savedPump;
  AiFree();
  RemoveTableDir(dir);
}

TEST_F(RandomTables, ResetKeepsRulesAndStartsWithBlack) {
  AiSetRules(RULES_RENJU);
  AiReset();
  AiPlayMove(CENTRE_CELL);
  AiPlayMove(Cell(1, 1));
  depthLimit = 9;
  quietBudgetBlack = 5;
  AiReset();
  EXPECT_EQ(engineRules, RULES_RENJU);
  EXPECT_EQ(patternTableBlack, tableBuffers[3]);
  EXPECT_EQ(depthLimit, 9);
  EXPECT_EQ(quietBudgetBlack, 5);
  EXPECT_EQ(engineStones, 0);
  EXPECT_EQ(gameStones, 0);
  EXPECT_EQ(runningScore, 0);
  for (CandidateList* l : EngineSnapshot::AllLists()) EXPECT_EQ(l->end, l->cells);
  AiPlayMove(Cell(1, 1));
  EXPECT_EQ(gameBoard[Cell(1, 1)], CELL_BLACK);
}

}  // namespace

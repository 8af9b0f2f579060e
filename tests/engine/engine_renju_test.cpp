// Renju fouls of black: the engine's flags against a reference judge written straight from the
// rules, by scanning whole lines of a plain board (no tables), and on hand positions.
#include "EngineTestUtil.h"

using namespace enginetest;

namespace {

constexpr uint8_t kFouls = FOUL_DOUBLE_THREE | FOUL_DOUBLE_FOUR | FOUL_OVERLINE;
constexpr int kDirs[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};

// A 15 x 15 board: 0 empty, 1 black, 2 white.
struct RefBoard {
  int cell[15][15] = {};
  bool Black(int r, int c) const { return r >= 0 && r < 15 && c >= 0 && c < 15 && cell[r][c] == 1; }
  bool Empty(int r, int c) const { return r >= 0 && r < 15 && c >= 0 && c < 15 && cell[r][c] == 0; }

  // The black run through (r, c) along (dr, dc): its ends as steps from (r, c).
  void Run(int r, int c, int dr, int dc, int& lo, int& hi) const {
    lo = hi = 0;
    while (Black(r + (lo - 1) * dr, c + (lo - 1) * dc)) --lo;
    while (Black(r + (hi + 1) * dr, c + (hi + 1) * dc)) ++hi;
  }
  int RunLength(int r, int c, int dr, int dc) const {
    int lo, hi;
    Run(r, c, dr, dc, lo, hi);
    return hi - lo + 1;
  }
  // Whether a black stone on the empty cell t steps away makes the run through (r, c) exactly five.
  bool FiveWith(int r, int c, int dr, int dc, int t) {
    int& x = cell[r + t * dr][c + t * dc];
    x = 1;
    bool five = RunLength(r, c, dr, dc) == 5;
    x = 0;
    return five;
  }

  // Flags of the black stone standing on (r, c): THREAT_FIVE alone for a five, else its fouls.
  // `exact` false counts a three without asking whether its straight-four cell is playable.
  uint8_t Judge(int r, int c, bool exact = true) {
    for (auto [dr, dc] : kDirs)
      if (RunLength(r, c, dr, dc) == 5) return THREAT_FIVE;
    uint8_t flags = 0;
    int fours = 0, threes = 0;
    for (auto [dr, dc] : kDirs) {
      int lo, hi;
      Run(r, c, dr, dc, lo, hi);
      if (hi - lo + 1 >= 6) {
        flags |= FOUL_OVERLINE;
        continue;
      }
      int fives = 0;
      for (int t = -14; t <= 14; ++t)
        if (Empty(r + t * dr, c + t * dc) && FiveWith(r, c, dr, dc, t)) ++fives;
      fours += (fives == 2 && hi - lo + 1 == 4) ? 1 : fives;  // a straight four is one four
      threes += Three(r, c, dr, dc, exact);
    }
    if (fours >= 2) flags |= FOUL_DOUBLE_FOUR;
    if (threes >= 2) flags |= FOUL_DOUBLE_THREE;
    return flags;
  }

  // Some empty cell of the line makes a straight four through (r, c), and a stone there is
  // neither a foul nor a five.
  bool Three(int r, int c, int dr, int dc, bool exact) {
    for (int t = -14; t <= 14; ++t) {
      const int er = r + t * dr, ec = c + t * dc;
      if (!Empty(er, ec)) continue;
      cell[er][ec] = 1;
      int lo, hi;
      Run(r, c, dr, dc, lo, hi);
      bool straight = hi - lo + 1 == 4 && lo <= t && t <= hi &&
                      Empty(r + (lo - 1) * dr, c + (lo - 1) * dc) &&
                      Empty(r + (hi + 1) * dr, c + (hi + 1) * dc) &&
                      FiveWith(r, c, dr, dc, lo - 1) && FiveWith(r, c, dr, dc, hi + 1);
      bool counts = straight && (!exact || Judge(er, ec) == 0);
      cell[er][ec] = 0;
      if (counts) return true;
    }
    return false;
  }
};

// The engine's flags for a black stone on the cell, made and unmade.
uint8_t EngineFlags(int cell) {
  uint8_t f = MakeMoveBlack(cell);
  UnmakeMoveBlack();
  return f;
}

class Renju : public GeneratedTables {
 protected:
  void SetUp() override {
    GeneratedTables::SetUp();
    AiSetRules(RULES_RENJU);
    quietBudgetBlack = quietBudgetWhite = 2;
  }
  // Makes the diagram's stones on the engine and the reference board.
  void Set(const Diagram& d) {
    MakeDiagram(d);
    ref = RefBoard();
    for (int c : d.black) ref.cell[(c - 128) / 32][c & 31] = 1;
    for (int c : d.white) ref.cell[(c - 128) / 32][c & 31] = 2;
  }
  uint8_t RefFlags(int cell) {
    const int r = (cell - 128) / 32, c = cell & 31;
    ref.cell[r][c] = 1;
    uint8_t f = ref.Judge(r, c);
    ref.cell[r][c] = 0;
    return f;
  }
  RefBoard ref;
};

// Random positions around the centre, no five on the board: every empty cell's flags from the
// make and from RenjuFouls against the reference.
TEST_F(Renju, FlagsMatchReferenceOnRandomPositions) {
  TestRng rng(8);
  int cells = 0, threesNotPlayable = 0, fouls[3] = {};
  for (int position = 0; position < 1000; ++position) {
    Diagram d;
    RefBoard b;
    const int stones = 10 + rng.Below(51);
    for (int n = 0; n < stones; ++n) {
      int r, c;
      do r = 2 + rng.Below(11), c = 2 + rng.Below(11);
      while (b.cell[r][c]);
      const int colour = 1 + (n & 1);
      b.cell[r][c] = colour;
      bool five = false;
      for (auto [dr, dc] : kDirs) {
        int k = 1, len = 1;
        while (r + k * dr >= 0 && r + k * dr < 15 && c + k * dc >= 0 && c + k * dc < 15 &&
               b.cell[r + k * dr][c + k * dc] == colour)
          ++k, ++len;
        for (k = 1; r - k * dr >= 0 && r - k * dr < 15 && c - k * dc >= 0 && c - k * dc < 15 &&
                    b.cell[r - k * dr][c - k * dc] == colour;
             ++k)
          ++len;
        five |= len >= 5;
      }
      if (five) {
        b.cell[r][c] = 0;
        continue;
      }
      (colour == 1 ? d.black : d.white).push_back(Cell(r, c));
    }
    Set(d);
    const EngineSnapshot before = EngineSnapshot::Take();
    for (int r = 0; r < 15; ++r)
      for (int c = 0; c < 15; ++c) {
        if (ref.cell[r][c]) continue;
        const int cell = Cell(r, c);
        const uint8_t want = RefFlags(cell) & kFouls;
        const uint8_t got = EngineFlags(cell);
        ASSERT_EQ(got & kFouls, want) << "position " << position << " cell " << r << "," << c
                                      << " flags " << std::hex << int(got);
        ASSERT_EQ(RenjuFouls(cell), want) << "position " << position << " cell " << r << "," << c;
        ++cells;
        for (int i = 0; i < 3; ++i) fouls[i] += (want >> (4 + i)) & 1;
        if (!(want & FOUL_DOUBLE_THREE)) {
          ref.cell[r][c] = 1;
          threesNotPlayable += (ref.Judge(r, c, false) & FOUL_DOUBLE_THREE) != 0;
          ref.cell[r][c] = 0;
        }
      }
    ASSERT_TRUE(EngineSnapshot::Take() == before) << "position " << position;
  }
  // The positions must reach every rule, the unplayable straight-four cell included.
  EXPECT_GT(cells, 100000);
  EXPECT_GT(threesNotPlayable, 50);
  for (int n : fouls) EXPECT_GT(n, 20);
}

struct HandCase {
  const char* name;
  std::vector<std::string> rows;  // board rows 0..; '*' is black's stone
  uint8_t flags;                  // expected foul flags (and THREAT_FIVE where it wins)
};

// Black's '*' at row 7 column 7 makes two split threes, (7,5)-(7,8) needing (7,6) and
// (5,7)-(8,7) needing (6,7); the cases add stones that make (7,6) unplayable, or not.
const HandCase kHandCases[] = {
    {"five beside an overline wins",
     {"", "", "", "", "......X", "......X", "......X", "..XXXX*", "......X", "......X"},
     THREAT_FIVE},
    {"XX.XX.XX is a double four", {"", "", "", "", "", "", "", "..XX.*X.XX"}, FOUL_DOUBLE_FOUR},
    {"two threes",
     {"", "", "", "", "", ".......X", "", ".....X.*X", ".......X"},
     FOUL_DOUBLE_THREE},
    {"straight-four cell is an overline",
     {"", "", "", "", "", "......XX", "......X", ".....X.*X", "......XX", "......X", "......X"},
     0},
    {"straight-four cell makes five elsewhere",
     {"", "", "", "", "", ".......X", "", ".....X.*X", "......XX", "......X", "......X", "......X"},
     0},
    {"straight-four cell is a double four",
     {"", "", "", "", "", ".......X", "", ".....X.*X", ".......X", "......X", "......X", "......X"},
     0},
    // (7,6) would make threes in column 6 (needing (8,6)) and on its diagonal.
    {"straight-four cell is a double three",
     {"", "", "", "", "", ".......X", "", ".....X.*X", ".......X", "......X.X", "......X"},
     0},
    // ... but (8,6) is an overline in row 8, so (7,6) makes one three and is playable.
    {"two levels deep",
     {"", "", "", "", "", ".......X", "", ".....X.*X", "..XXXX.X", "......X.X", "......X"},
     FOUL_DOUBLE_THREE},
    // Row 7's three needs (7,5), which makes threes in column 5 (needing (5,5)) and on its
    // diagonal; (5,5) is itself a double three, so (7,5) makes one three and is playable.
    {"three levels deep",
     {"", "", "", "", ".....XX", "...XX....X", "....XX..X", "....X.X*"},
     FOUL_DOUBLE_THREE},
};

TEST_F(Renju, HandPositions) {
  for (const HandCase& k : kHandCases) {
    Diagram d = ParseDiagram(k.rows);
    Set(d);
    const uint8_t mask = kFouls | THREAT_FIVE;
    EXPECT_EQ(EngineFlags(d.target) & mask, k.flags) << k.name;
    EXPECT_EQ(RefFlags(d.target) & mask, k.flags) << k.name << " (reference)";
    EXPECT_EQ(RenjuFouls(d.target), k.flags & kFouls) << k.name << " (RenjuFouls)";
  }
}

}  // namespace

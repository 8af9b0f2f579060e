// Renju fouls of black judged exactly. The line-local pattern bytes are exact for one line; what
// they cannot see is whether the cell that turns a three into a straight four is itself playable,
// which takes a look at that cell's other lines and, for a double three there, recursion.
// The judge only probes: it puts a stone on engineBoard and takes it off again, and touches
// nothing else of the engine.
#include "AiEngine.h"

namespace {
constexpr int kSteps[4] = {32, 1, 33, 31};

// A line in which one more stone can make a straight four through the stone (0xA1-0xBF: a four
// with a three, which a make also counts as a three).
inline bool ThreeClass(uint8_t p) {
  return p < PATTERN_PLAIN_FOUR ? (p & PATTERN_THREE_BITS) != 0
                                : p > PATTERN_OPEN_FOUR && p < PATTERN_FIVE;
}

// Bit position of the line-index digit k steps from the cell (k = -5..5, not 0).
inline int DigitShift(int k) { return k < 0 ? 8 - 2 * k : 10 - 2 * k; }

bool DoubleThreeOnBoard(int cell);

// FOUL_* flags of a black stone on the empty cell, or THREAT_FIVE alone when it makes five
// (never a foul, whatever else it makes).
uint8_t Judge(int cell) {
  const uint8_t* table = patternTableBlack;
  uint8_t flags = 0;
  int fours = 0, threes = 0;
  for (int d : kSteps) {
    uint8_t p = table[LineIndexBlack(cell, d)];
    if (p == PATTERN_FIVE) return THREAT_FIVE;
    if (p > PATTERN_FIVE)
      flags |= p == PATTERN_DOUBLE_FOUR_LINE ? FOUL_DOUBLE_FOUR : FOUL_OVERLINE;
    else if (p >= PATTERN_PLAIN_FOUR)
      ++fours;
    threes += ThreeClass(p);
  }
  if (fours > 1) flags |= FOUL_DOUBLE_FOUR;
  if (threes > 1) {
    engineBoard[cell] = CELL_BLACK;
    if (DoubleThreeOnBoard(cell)) flags |= FOUL_DOUBLE_THREE;
    engineBoard[cell] = CELL_EMPTY;
  }
  return flags;
}

// A line is a three when some empty cell of it makes a straight four through the stone and a
// black stone there would be neither a foul nor a five (a five elsewhere is a win, not a three).
// The straight four's run holds both stones, so that cell is at most three steps away.
bool DoubleThreeOnBoard(int cell) {
  const uint8_t* table = patternTableBlack;
  int threes = 0;
  for (int d : kSteps) {
    const uint32_t i = LineIndexBlack(cell, d);
    if (!ThreeClass(table[i])) continue;
    for (int k = -3; k <= 3; ++k) {
      const int sh = DigitShift(k);
      if (k == 0 || ((i >> sh) & 3) != 0 || table[i | (3u << sh)] != PATTERN_OPEN_FOUR) continue;
      if (Judge(cell + k * d) == 0) {
        if (++threes == 2) return true;
        break;
      }
    }
  }
  return false;
}
}  // namespace

bool RenjuDoubleThree(int cell) { return DoubleThreeOnBoard(cell); }

uint8_t RenjuFouls(int cell) {
  return Judge(cell) & (FOUL_DOUBLE_THREE | FOUL_DOUBLE_FOUR | FOUL_OVERLINE);
}

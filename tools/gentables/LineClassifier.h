// Line classifier behind the five pattern and evaluation tables.
//
// A table is indexed by a 20-bit line index: the two-bit codes of the ten
// neighbours of a cell along one direction, c-5d in bits 19-18 down to c-d in
// bits 11-10, then c+d in bits 9-8 down to c+5d in bits 1-0. The looking side
// stands on c; its own stones are code 3 in every table.
#pragma once

#include <cstdint>
#include <vector>

#include "EvalParams.h"
#include "PatternClasses.h"

namespace gentables {

constexpr std::uint32_t kLineIndexCount = 1u << 20;
constexpr int kReach = 5;

// Two-bit cell codes in the looking side's view.
enum : int { kEmpty = 0, kBorder = 1, kOpponent = 2, kOwn = 3 };

// Pattern classes: the engine's values (PatternClasses.h says what each means).
enum : std::uint8_t {
  kNothing = PATTERN_NOTHING,
  kTwo = PATTERN_TWO,
  kClosedThree = PATTERN_CLOSED_THREE,
  kSplitThree = PATTERN_SPLIT_THREE,
  kOpenThree = PATTERN_OPEN_THREE,
  kPlainFour = PATTERN_PLAIN_FOUR,
  kFour = PATTERN_FOUR,
  kOpenFour = PATTERN_OPEN_FOUR,
  kFive = PATTERN_FIVE,
  kOverline = PATTERN_OVERLINE,
  kDoubleFourInLine = PATTERN_DOUBLE_FOUR_LINE,
};

// How many stones in a row make five.
enum class FiveRule {
  FiveOrMore,   // free-style, and white under Renju
  ExactlyFive,  // Renju black: six or more is an overline
};

constexpr int DigitShift(int k) { return k < 0 ? 8 - 2 * k : 10 - 2 * k; }

constexpr int CellAt(std::uint32_t index, int k) { return (index >> DigitShift(k)) & 3; }

constexpr std::uint32_t WithCell(std::uint32_t index, int k, int code) {
  return (index & ~(3u << DigitShift(k))) | (std::uint32_t(code) << DigitShift(k));
}

// The index as the other side sees it: codes 2 and 3 exchanged.
constexpr std::uint32_t SwapSides(std::uint32_t index) { return index ^ ((index >> 1) & 0x55555u); }

// Whether a board can produce the index: beyond a border cell every cell on
// that side is border too.
bool IsReachable(std::uint32_t index);

// Class of every line index under one rule; unreachable indexes get kNothing.
std::vector<std::uint8_t> BuildPatternTable(FiveRule rule);

// Evaluation bytes (40 neutral) for a side playing by ownRule against an
// opponent playing by opponentRule, given both sides' pattern tables; without
// weights, the baseline ones.
std::vector<std::uint8_t> BuildEvalTable(FiveRule ownRule,
                                         const std::vector<std::uint8_t>& ownPatterns,
                                         FiveRule opponentRule,
                                         const std::vector<std::uint8_t>& opponentPatterns,
                                         const EvalWeights& weights);
std::vector<std::uint8_t> BuildEvalTable(FiveRule ownRule,
                                         const std::vector<std::uint8_t>& ownPatterns,
                                         FiveRule opponentRule,
                                         const std::vector<std::uint8_t>& opponentPatterns);

}  // namespace gentables

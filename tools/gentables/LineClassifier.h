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

namespace gentables {

constexpr std::uint32_t kLineIndexCount = 1u << 20;
constexpr int kReach = 5;

// Two-bit cell codes in the looking side's view.
enum : int { kEmpty = 0, kBorder = 1, kOpponent = 2, kOwn = 3 };

// Pattern classes. The engine reads them by range: 0x01-0x1F no threat (its
// points are searched), 0x20-0x7F three, 0x80 four with nothing else to
// search, 0x81-0x9F four, 0xA0 open four, 0xC0 five, 0xC1 and above overline.
enum : std::uint8_t {
  kNothing = 0x00,
  kTwo = 0x01,          // one more stone makes a three
  kClosedThree = 0x02,  // one more stone makes a four, never an open one
  kSplitThree = 0x20,   // exactly one cell makes an open four
  kOpenThree = 0x40,    // two or more cells make an open four
  kPlainFour = 0x80,
  kFour = 0x81,  // the line keeps points worth searching once the five point is blocked
  kOpenFour = 0xA0,
  kFive = 0xC0,
  kOverline = 0xC1,
  // Two separate five points in one line (X.XXX.X, XX.XX.XX) for Renju black.
  // The make counts at most one four per line, so a four class could never
  // raise the double-four foul here; an overline class does: the make flags a
  // foul, the search scores the move as lost and the probe stops at it.
  kDoubleFourInLine = 0xC2,
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
constexpr std::uint32_t SwapSides(std::uint32_t index) {
  return index ^ ((index >> 1) & 0x55555u);
}

// Whether a board can produce the index: beyond a border cell every cell on
// that side is border too.
bool IsReachable(std::uint32_t index);

// Class of every line index under one rule; unreachable indexes get kNothing.
std::vector<std::uint8_t> BuildPatternTable(FiveRule rule);

// Evaluation bytes (40 neutral) for a side playing by ownRule against an
// opponent playing by opponentRule, given both sides' pattern tables; without
// weights, the baseline ones.
std::vector<std::uint8_t> BuildEvalTable(FiveRule ownRule, const std::vector<std::uint8_t>& ownPatterns,
                                         FiveRule opponentRule,
                                         const std::vector<std::uint8_t>& opponentPatterns,
                                         const EvalWeights& weights);
std::vector<std::uint8_t> BuildEvalTable(FiveRule ownRule, const std::vector<std::uint8_t>& ownPatterns,
                                         FiveRule opponentRule,
                                         const std::vector<std::uint8_t>& opponentPatterns);

}  // namespace gentables

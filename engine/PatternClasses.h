// Pattern classes: the byte a pattern table holds for a line through the cell of the side that
// stands on it. The engine reads them by range: below 0x20 no threat (the line's points are
// still searched), 0x20-0x7F a three, 0x80 a four with nothing else to search, 0x81-0x9F a four,
// 0xA0 an open four, 0xA1-0xBF a four with a three, 0xC0 five, above it overline.
// The table generator writes the same values.
#pragma once
#include <cstdint>

constexpr uint8_t PATTERN_NOTHING = 0x00;
constexpr uint8_t PATTERN_TWO = 0x01;           // one more stone makes a three
constexpr uint8_t PATTERN_CLOSED_THREE = 0x02;  // one more stone makes a four, never an open one
constexpr uint8_t PATTERN_SPLIT_THREE = 0x20;   // exactly one cell makes an open four
constexpr uint8_t PATTERN_OPEN_THREE = 0x40;    // two or more cells make an open four
constexpr uint8_t PATTERN_THREE_BITS = PATTERN_SPLIT_THREE | PATTERN_OPEN_THREE;
constexpr uint8_t PATTERN_PLAIN_FOUR = 0x80;
// A four whose line keeps points worth searching once its five point is blocked.
constexpr uint8_t PATTERN_FOUR = 0x81;
constexpr uint8_t PATTERN_OPEN_FOUR = 0xA0;
constexpr uint8_t PATTERN_FIVE = 0xC0;
constexpr uint8_t PATTERN_OVERLINE = 0xC1;
// Two separate five points in one line (X.XXX.X, XX.XX.XX) for Renju black. The make counts at
// most one four per line, so a four class could never raise the double-four foul here; an
// overline class does: the make flags a foul, the search scores the move as lost and the probe
// stops at it.
constexpr uint8_t PATTERN_DOUBLE_FOUR_LINE = 0xC2;

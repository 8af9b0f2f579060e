// The computer player: one engine per process, fixed static state, reached through plain
// functions. Nothing here allocates except AiInit's five tables.
#pragma once
#include <cstdint>

#include "PatternClasses.h"

// Cell codes: the two-bit code repeated in all four bit pairs of the byte.
constexpr uint8_t CELL_EMPTY = 0x00;
constexpr uint8_t CELL_BORDER = 0x55;
constexpr uint8_t CELL_WHITE = 0xAA;
constexpr uint8_t CELL_BLACK = 0xFF;

constexpr int BOARD_BYTES = 736;  // 23 rows of 32
constexpr int CENTRE_CELL = 359;
constexpr int TABLE_BYTES = 1 << 20;
inline constexpr int CellAt(int row, int col) { return 128 + 32 * row + col; }
// Inside the 15 x 15 playing area: not the frame, not past the board.
inline constexpr bool IsPlayingCell(int cell) {
  return cell >= CellAt(0, 0) && cell <= CellAt(14, 14) && (cell & 31) < 15;
}

constexpr int RULES_FREESTYLE = 0;
constexpr int RULES_RENJU = 1;

// ThreatFlags: the byte a make (and AiPlayMove) answers with.
constexpr uint8_t THREAT_THREE = 0x01;
constexpr uint8_t THREAT_FOUR = 0x02;
constexpr uint8_t THREAT_OPEN_FOUR = 0x04;
constexpr uint8_t THREAT_FIVE = 0x08;
constexpr uint8_t THREAT_ANY = THREAT_THREE | THREAT_FOUR | THREAT_OPEN_FOUR | THREAT_FIVE;
constexpr uint8_t FOUL_DOUBLE_THREE = 0x10;
constexpr uint8_t FOUL_DOUBLE_FOUR = 0x20;
constexpr uint8_t FOUL_OVERLINE = 0x40;

// Point flags (pointFlagsBlack / pointFlagsWhite); frame cells hold 0xFF.
constexpr uint8_t POINT_NEAR = 0x01;
constexpr uint8_t POINT_THREE = 0x02;
constexpr uint8_t POINT_FOUR = 0x04;
constexpr uint8_t POINT_OPEN_FOUR = 0x08;
constexpr uint8_t POINT_FIVE = 0x10;
constexpr uint8_t POINT_TAKEN = 0x20;
// A point's class and every stronger one: a point held at one is not pushed onto a weaker list.
constexpr uint8_t POINT_OPEN_FOUR_UP = POINT_OPEN_FOUR | POINT_FIVE;
constexpr uint8_t POINT_FOUR_UP = POINT_FOUR | POINT_OPEN_FOUR_UP;
constexpr uint8_t POINT_THREE_UP = POINT_THREE | POINT_FOUR_UP;
constexpr uint8_t POINT_LISTED = POINT_NEAR | POINT_THREE_UP;  // on some candidate list

enum ProbeResult { PROBE_NONE, PROBE_OPEN_FOUR, PROBE_BEYOND };

constexpr int MODE_QUIET = -1;
constexpr int MODE_FULL = 0;
constexpr int MODE_ANSWER = 1;

constexpr int MAX_PLY = 64;  // rows of pvTable and killer slots; a node at ply 63 is a leaf

// A stack of cells; a cell stands on it at most once (guarded by its point-flag bit).
struct CandidateList {
  int32_t* end;
  int32_t cells[BOARD_BYTES];
};

struct PlySaveRecord {
  int32_t cell;
  int32_t score;
  uint32_t flags;
  int32_t depthLimit;
  int32_t quietDepth;
  int32_t* nearEnd;
  int32_t* threeEnd;
  int32_t* fourEnd;
  int32_t* openFourEnd;
  int32_t* fiveEnd;
};

// ---- boards, tables, rule set -------------------------------------------------
// engineBoard lies inside a larger array of border bytes, so a line index reaching past the
// 736 bytes reads the border code. gameBoard is the plain 736-byte board.
constexpr int BOARD_MARGIN = 192;  // > 5 x 33, the farthest reach of a line index
extern uint8_t engineBoardStore[BOARD_MARGIN + BOARD_BYTES + BOARD_MARGIN];
inline uint8_t* const engineBoard = engineBoardStore + BOARD_MARGIN;  // 736 bytes
extern uint8_t gameBoard[BOARD_BYTES];
extern uint8_t pointFlagsBlack[BOARD_BYTES];
extern uint8_t pointFlagsWhite[BOARD_BYTES];

// The five buffers in file order: evaljpblk, evaljpwht, evalsimple, jp543b, Sim543b.
constexpr int TABLE_COUNT = 5;
extern const char* const tableFileNames[TABLE_COUNT];
extern uint8_t* tableBuffers[TABLE_COUNT];
extern const uint8_t* evalTableBlack;
extern const uint8_t* evalTableWhite;
extern const uint8_t* patternTableBlack;
extern const uint8_t* patternTableWhite;
extern int32_t engineRules;

// Allocates and reads the five tables from the current directory, selects free-style and sets
// up the book. Returns false when a table could not be allocated or read exactly, or does not
// match its line in TABLE_SUM_FILE (TableSums.h): then no table is kept, aiLoadFailure names
// the file (the table, or the checksum file), and no other engine operation may be called.
bool AiInit();
// The same, reading the tables from `dir` (tests, tools); the book still comes from the
// current directory.
bool AiInitFrom(const char* dir);
extern const char* aiLoadFailure;
void AiFree();
void AiSetRules(int rules);

// Line index of cell along step: the ten cells c-5d..c-d, c+d..c+5d as base-4
// digits, c-5d most significant. Each cell byte repeats its code in all four bit pairs, so a
// digit is taken by masking the pair that falls at its place: ten reads, no loop, no branch.
inline uint32_t LineIndexBlack(int cell, int step) {
  const uint8_t* b = engineBoardStore + BOARD_MARGIN + cell;
  uint32_t hi = (b[-4 * step] & 0x03u) | (b[-5 * step] & 0x0Cu);
  uint32_t mid =
      (b[step] & 0x03u) | (b[-step] & 0x0Cu) | (b[-2 * step] & 0x30u) | (b[-3 * step] & 0xC0u);
  uint32_t lo =
      (b[5 * step] & 0x03u) | (b[4 * step] & 0x0Cu) | (b[3 * step] & 0x30u) | (b[2 * step] & 0xC0u);
  return (hi << 16) | (mid << 8) | lo;
}
// White's view: codes 2 and 3 exchanged in every digit (low bit ^= high bit).
inline uint32_t ColourSwap(uint32_t index) { return index ^ ((index >> 1) & 0x55555u); }
inline uint32_t LineIndexWhite(int cell, int step) {
  return ColourSwap(LineIndexBlack(cell, step));
}
ProbeResult ProbeThreatBlack(int cell);
ProbeResult ProbeThreatWhite(int cell);

// ---- making and unmaking moves ------------------------------------------------
extern CandidateList nearListBlack, threeListBlack, fourListBlack, openFourListBlack, fiveListBlack;
extern CandidateList nearListWhite, threeListWhite, fourListWhite, openFourListWhite, fiveListWhite;
extern int32_t engineStones;
extern int32_t gameStones;
extern int32_t lastGameCell;
extern int32_t runningScore;
extern int32_t depthLimit;
extern int32_t quietDepth;
extern int32_t quietBudgetBlack;
extern int32_t quietBudgetWhite;
extern uint8_t fourCount;
extern uint8_t threeCount;
extern uint8_t moveFlags;
extern PlySaveRecord PlySave[225];

uint8_t MakeMoveBlack(int cell);
uint8_t MakeMoveWhite(int cell);
void UnmakeMoveBlack();
void UnmakeMoveWhite();
uint8_t ApplyGameMove();
void UnmakeLastMove();
void AiReset();
uint32_t AiPlayMove(int cell);
void AiTakeBack();

// ---- Renju fouls, judged exactly -------------------------------------------------
// Whether the black stone standing on cell makes two or more threes under the Renju rules: a
// three counts only when its straight-four cell is itself playable and makes no five.
bool RenjuDoubleThree(int cell);
// The FOUL_* flags a black stone on the empty cell would get under the Renju rules; 0 for a
// legal move (a five always is). Both read engineBoard and patternTableBlack (the Renju
// tables must be selected) and leave every engine structure as they found it.
uint8_t RenjuFouls(int cell);

// ---- search -------------------------------------------------------------------
extern int32_t searchPly;
extern int32_t pvTable[MAX_PLY][MAX_PLY];
extern int32_t killerFirst[MAX_PLY];
extern int32_t killerSecond[MAX_PLY];
extern uint32_t nodeCount;
extern int32_t nodeLimit;
extern uint8_t abortSearch;
extern int32_t followPv;
extern int32_t targetDepth;
extern int32_t rootAlpha;
extern int32_t rootBeta;
extern int32_t searchScore;
extern int8_t rootBias[BOARD_BYTES];
// Set while SearchRoot runs: a handler dispatched from the search's pump must not call into
// the engine; debug builds assert it at every entry point.
extern uint8_t aiSearching;
// Iterations completed by the last SearchRoot (for tests and the benchmark).
extern int32_t searchIterations;

// The most nodes a think may search, from its node limit: far above what the real tables ever
// need, but damaged ones can make every move a four, and the four extensions then never let an
// iteration end.
inline uint32_t NodeCeiling(int32_t nodeLimit) {
  const int64_t ceiling = 64 * static_cast<int64_t>(nodeLimit > 0 ? nodeLimit : 1);
  return static_cast<uint32_t>(ceiling < (int64_t{1} << 31) ? ceiling : int64_t{1} << 31);
}
// nodeCeiling: reached at a pump step, it stops the search, which then returns the move of the
// last completed iteration (or the best root move of the first one so far) instead of -1.
int SearchRoot(uint32_t nodeCeiling = UINT32_MAX);
// A search score beyond this (either sign) is a won or lost position; deepening stops there.
constexpr int SCORE_DECISIVE = 5000;
int SearchBlack(int alpha, int beta);
int SearchWhite(int alpha, int beta);
void CompactCandidates(CandidateList& list);
void AiPumpMessages();

// ---- think entry --------------------------------------------------------------
// A think's limits by level, 0 to 8. A level outside that (a damaged saved game) counts as the
// nearest one, so the node limit cannot overflow.
constexpr int THINK_LEVEL_MAX = 8;
inline constexpr int ClampThinkLevel(int level) {
  return level < 0 ? 0 : level > THINK_LEVEL_MAX ? THINK_LEVEL_MAX : level;
}
inline constexpr int LevelDepth(int level) { return ClampThinkLevel(level) + 5; }
inline constexpr int32_t LevelNodeLimit(int level) {
  const int l = ClampThinkLevel(level);
  return l * l * 50000 + 20000;
}
extern uint32_t debugClicks;
int AiThink(int level, int p2, int style, int p4, int* info, int* score);
// A think's search alone, without the opening rules or the book: to depth plies (two after a
// four) and the node limit, tested between iterations under the NodeCeiling. Leaves the engine
// on the played position; *score = searchScore. Returns as SearchRoot does.
int AiSearchPosition(int depth, int32_t nodes, int style, int* score);
void AiAddStyleWeights(int32_t* listEnd, int32_t* listStart, int weight);
void CountDebugClick();

// The game record as the screens see it: board, moves with clocks, the two sides, the rule set
// and the top-ten lists; plus the game's random numbers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One placed stone; also the on-disk layout inside a ".SAV" file (little-endian).
struct MoveRecord {
  int32_t used;   // 1 = holds a move, 0 = end of the recorded game
  int32_t clock;  // the mover's clock in ms when the stone was placed
  int32_t cell;
};
static_assert(sizeof(MoveRecord) == 12);

constexpr int PLAYER_HUMAN = 0;
constexpr int PLAYER_ROSTER = 1;
constexpr int PLAYER_COMPUTER = 2;

constexpr int TOPLIST_TOURNAMENT_A = 0;
constexpr int TOPLIST_TOURNAMENT_B = 1;
constexpr int TOPLIST_LADDER = 2;

constexpr int MOVE_RECORDS = 225;
constexpr int SAVE_FILE_BYTES = MOVE_RECORDS * 12;
constexpr int TOPTEN_PLACES = 10;

// A side of a game, a roster opponent or a top-ten entry; also the on-disk layout of a top-ten
// entry in "top10.dat" (little-endian).
struct PlayerRecord {
  int32_t stoneCode;  // CELL_BLACK or CELL_WHITE
  int32_t kind;       // PLAYER_HUMAN, PLAYER_ROSTER, PLAYER_COMPUTER
  int32_t rosterId;
  int32_t level;
  int32_t style;
  int32_t clock;  // ms used
  int32_t reserved;
  uint32_t score;   // top-ten points
  char name[20];    // zero-terminated, Big5 allowed
  uint8_t newMark;  // 0 empty place, 1 filled place, 255 while being inserted
  uint8_t tail[3];
};
static_assert(sizeof(PlayerRecord) == 56);

struct BoardPoint {
  int32_t x, y;
};

// The runtime's generator: state = state * 214013 + 2531011, result bits 16..30.
void SeedRandom(uint32_t seed);
uint16_t RuntimeRand();
// (millisecond clock + next generator value) mod n; 0..n-1.
uint16_t Random(uint16_t n);

class CChessData {
 public:
  CChessData();
  virtual ~CChessData();

  uint8_t* cmpTable = nullptr;  // only for the comparison-table probes; nothing fills it
  PlayerRecord topTen[2][3][TOPTEN_PLACES];
  std::vector<BoardPoint> markPoints;
  std::vector<BoardPoint> linePoints;  // never filled; the play screen reads its size
  int32_t moveIndex;
  int32_t ruleSet;
  MoveRecord moves[MOVE_RECORDS];
  PlayerRecord sides[2];
  uint8_t board[736];

  void ClearBoard();
  void SetCell(int cell, uint8_t code);
  void ClearMoves();
  void TruncateMoves(int from);
  void StepBack(int withEngine);
  void StepForward(int withEngine);
  int RandomEmptyCell();
  // A random cell the side to move may play; under Renju rules black's fouls are left out
  // (judged by the engine, which must hold this position). -1 when there is none.
  int RandomLegalCell();

  // Through the host's file dialog; a cancelled dialog is a failed load / no save.
  int LoadGameFile();
  void SaveGameFile();
  // The same on a chosen path. Saving applies the ".SAV" name rule and returns whether the
  // file was written.
  int LoadGameFile(const std::string& path);
  bool SaveGameFile(const std::string& path);
  // The name a save goes to: ".SAV" appended when no '.' stands in the last five characters.
  static std::string SaveFileName(const std::string& chosen);

  int InsertTopTen(PlayerRecord* entry, PlayerRecord* list);

  // Nothing in the game calls these.
  void SetCellXY(int x, int y, uint8_t code);
  int8_t GetCellXY(int x, int y);
  int IsBoardEmpty();
  void PumpOneMessage();
  int ProbeCmpTable(int cell);
  int CheckFoulCmp(int cell);
};

// Filter text of the ".SAV" file dialogs.
extern const char* const SAVE_FILE_FILTER;

// The game record and the game's random numbers.
#include "ChessData.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "AiEngine.h"
#include "EngineHost.h"
#include "SafeFile.h"

const char* const SAVE_FILE_FILTER = "紀錄檔 (*.SAV)|*.SAV||";

// ---- Random numbers ----------------------------------------------------------------------
namespace {
uint32_t randState = 1;  // the runtime's state before any seeding
}

void SeedRandom(uint32_t seed) { randState = seed; }

uint16_t RuntimeRand() {
  randState = randState * 214013u + 2531011u;
  return static_cast<uint16_t>((randState >> 16) & 0x7FFF);
}

uint16_t Random(uint16_t n) {
  uint32_t sum = EngineHost::Milliseconds() + RuntimeRand();
  return n == 0 ? 0 : static_cast<uint16_t>(sum % n);
}

// ---- Helpers -----------------------------------------------------------------------------
namespace {
void PutLe32(uint8_t* p, uint32_t v) {
  for (int k = 0; k < 4; ++k) p[k] = static_cast<uint8_t>(v >> (8 * k));
}

int32_t GetLe32(const uint8_t* p) {
  return static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24);
}

// The ten cells around cell along step as base-4 digits (c-5d most significant); positions
// off the array read as border.
uint32_t BoardLineIndex(const uint8_t* board, int cell, int step, bool whiteView) {
  uint32_t index = 0;
  for (int k = -5; k <= 5; ++k) {
    if (k == 0) continue;
    int p = cell + k * step;
    uint32_t code = (p >= 0 && p < 736) ? (board[p] & 3u) : 1u;
    index = index << 2 | code;
  }
  return whiteView ? index ^ ((index >> 1) & 0x55555u) : index;
}

const int kDirections[4] = {32, 1, 33, 31};
}  // namespace

// ---- Construction ------------------------------------------------------------------------
CChessData::CChessData() {
  std::memset(topTen, 0, sizeof topTen);
  std::memset(sides, 0, sizeof sides);
  moveIndex = 0;
  ruleSet = 0;
  sides[0].stoneCode = CELL_BLACK;
  sides[0].kind = PLAYER_HUMAN;
  sides[0].level = 0;
  std::strcpy(sides[0].name, "PLAYER 1");
  sides[1].stoneCode = CELL_WHITE;
  sides[1].kind = PLAYER_HUMAN;
  sides[1].level = 0;
  std::strcpy(sides[1].name, "PLAYER 2");
  ClearBoard();
  ClearMoves();
}

CChessData::~CChessData() = default;

// ---- Board and move list -----------------------------------------------------------------
void CChessData::ClearBoard() {
  std::memset(board, CELL_BORDER, sizeof board);
  for (int row = 0; row < 15; ++row) std::memset(board + 128 + 32 * row, CELL_EMPTY, 15);
}

void CChessData::SetCell(int cell, uint8_t code) { board[cell] = code; }

void CChessData::ClearMoves() { std::memset(moves, 0, sizeof moves); }

void CChessData::TruncateMoves(int from) {
  from = std::clamp(from, 0, MOVE_RECORDS);
  std::memset(moves + from, 0, (MOVE_RECORDS - from) * sizeof(MoveRecord));
}

void CChessData::StepBack(int withEngine) {
  if (moveIndex < 1) {
    if (withEngine) sides[0].clock = 0;
    return;
  }
  int i = --moveIndex;
  const MoveRecord& record = moves[i];
  if (!record.used) return;
  if (IsPlayingCell(record.cell)) board[record.cell] = CELL_EMPTY;
  if (withEngine) {
    // The side that did not make the removed stone gets back the clock of its last stone.
    if (i & 1)
      sides[0].clock = moves[i - 1].clock;
    else
      sides[1].clock = i == 0 ? 0 : moves[i - 1].clock;
    AiTakeBack();
  }
}

void CChessData::StepForward(int withEngine) {
  int i = moveIndex;
  if (i < 0 || i >= MOVE_RECORDS || !moves[i].used) return;
  const MoveRecord& record = moves[i];
  // A record that cannot be a stone here ends the game, as a record that is not used does.
  if (!IsPlayingCell(record.cell) || board[record.cell] != CELL_EMPTY) return;
  board[record.cell] = (i & 1) ? CELL_WHITE : CELL_BLACK;
  if (withEngine) {
    sides[i & 1].clock = record.clock;
    AiPlayMove(record.cell);
  }
  moveIndex = i + 1;
}

int CChessData::RandomEmptyCell() {
  bool anyEmpty = false;
  for (int row = 0; row < 15 && !anyEmpty; ++row)
    for (int col = 0; col < 15; ++col) anyEmpty |= board[128 + 32 * row + col] == CELL_EMPTY;
  if (!anyEmpty) return -1;  // a full board has no move; drawing would never end
  for (;;) {
    int col = Random(15);
    int row = Random(15);
    int cell = 128 + 32 * row + col;
    if (board[cell] == CELL_EMPTY) return cell;
  }
}

int CChessData::RandomLegalCell() {
  if (engineRules != RULES_RENJU || (moveIndex & 1)) return RandomEmptyCell();
  int legal[MOVE_RECORDS];
  int count = 0;
  for (int row = 0; row < 15; ++row)
    for (int col = 0; col < 15; ++col) {
      const int cell = 128 + 32 * row + col;
      if (board[cell] == CELL_EMPTY && !RenjuFouls(cell)) legal[count++] = cell;
    }
  return count ? legal[Random(uint16_t(count))] : -1;
}

// ---- Game-record files -------------------------------------------------------------------
int CChessData::LoadGameFile() {
  std::string path;
  if (!EngineHost::ChooseFile(true, SAVE_FILE_FILTER, path)) return 0;
  return LoadGameFile(path);
}

int CChessData::LoadGameFile(const std::string& path) {
  FILE* f = OpenRegularStream(path.c_str());
  if (!f) return 0;
  uint8_t raw[SAVE_FILE_BYTES];
  size_t got = std::fread(raw, 1, sizeof raw, f);
  bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return 0;

  // The file is foreign data: it ends at the first record that is not a fresh playing cell,
  // and nothing of the previous game survives behind it.
  moveIndex = 0;
  ClearMoves();
  bool taken[736] = {};
  int whole = static_cast<int>(got / 12);
  for (int i = 0; i < whole; ++i) {
    const uint8_t* p = raw + 12 * i;
    MoveRecord record{GetLe32(p), GetLe32(p + 4), GetLe32(p + 8)};
    if (!record.used || !IsPlayingCell(record.cell) || taken[record.cell]) break;
    taken[record.cell] = true;
    moves[i] = record;
  }
  AiReset();
  return 1;
}

std::string CChessData::SaveFileName(const std::string& chosen) {
  size_t from = chosen.size() > 5 ? chosen.size() - 5 : 0;
  return chosen.find('.', from) == std::string::npos ? chosen + ".SAV" : chosen;
}

void CChessData::SaveGameFile() {
  std::string path;
  if (!EngineHost::ChooseFile(false, SAVE_FILE_FILTER, path)) return;
  SaveGameFile(path);
}

bool CChessData::SaveGameFile(const std::string& path) {
  uint8_t raw[SAVE_FILE_BYTES];
  for (int i = 0; i < MOVE_RECORDS; ++i) {
    PutLe32(raw + 12 * i, static_cast<uint32_t>(moves[i].used));
    PutLe32(raw + 12 * i + 4, static_cast<uint32_t>(moves[i].clock));
    PutLe32(raw + 12 * i + 8, static_cast<uint32_t>(moves[i].cell));
  }
  return WriteFileAtomically(SaveFileName(path), raw, sizeof raw);
}

// ---- Top ten -----------------------------------------------------------------------------
int CChessData::InsertTopTen(PlayerRecord* entry, PlayerRecord* list) {
  PlayerRecord work[TOPTEN_PLACES + 1];
  std::memcpy(work, list, TOPTEN_PLACES * sizeof(PlayerRecord));
  work[TOPTEN_PLACES] = *entry;
  work[TOPTEN_PLACES].newMark = 0xFF;
  std::memset(work[TOPTEN_PLACES].tail, 0xFF, sizeof work[TOPTEN_PLACES].tail);

  // The new entry is followed by its position, not by its mark: a damaged list may carry 255
  // in an old entry. Stable, so on equal scores the old entries stay ahead.
  int order[TOPTEN_PLACES + 1];
  for (int i = 0; i <= TOPTEN_PLACES; ++i) order[i] = i;
  std::stable_sort(order, order + TOPTEN_PLACES + 1,
                   [&](int a, int b) { return work[a].score > work[b].score; });

  int place = 0;
  for (int i = 0; i < TOPTEN_PLACES; ++i) {
    list[i] = work[order[i]];
    if (order[i] == TOPTEN_PLACES) {
      list[i].newMark = 1;
      place = i + 1;
    }
  }
  return place;
}

// ---- Operations nothing calls ------------------------------------------------------------
void CChessData::SetCellXY(int x, int y, uint8_t code) { board[128 + x + 32 * y] = code; }

int8_t CChessData::GetCellXY(int x, int y) { return static_cast<int8_t>(board[128 + x + 32 * y]); }

int CChessData::IsBoardEmpty() {
  for (int row = 0; row < 15; ++row)
    for (int col = 0; col < 15; ++col)
      if (board[128 + 32 * row + col] != CELL_EMPTY) return 0;
  return 1;
}

void CChessData::PumpOneMessage() { EngineHost::PumpMessage(); }

int CChessData::ProbeCmpTable(int cell) {
  if (!cmpTable || !IsPlayingCell(cell)) return 0;
  bool white = moveIndex & 1;
  for (int d : kDirections) {
    switch (cmpTable[BoardLineIndex(board, cell, d, white)]) {
      case 1: return 1;
      case 4: return 3;
      case 8: return 4;
      case 16: return 5;
      default: break;
    }
  }
  return 0;
}

int CChessData::CheckFoulCmp(int cell) {
  if (!cmpTable || !IsPlayingCell(cell)) return 0;
  bool white = moveIndex & 1;
  bool renjuBlack = ruleSet == 1 && !white;
  bool five = false;
  int eights = 0, sixteens = 0;
  for (int d : kDirections) {
    uint8_t v = cmpTable[BoardLineIndex(board, cell, d, white)];
    if (v == 2) {
      if (white && ruleSet == 1) return 1;
      five = true;
    } else if (v == 1 || v == 32) {
      if (renjuBlack) return -1;
    } else if (v == 8) {
      ++eights;
    } else if (v == 16) {
      ++sixteens;
    }
  }
  if (renjuBlack && (eights >= 2 || sixteens >= 2)) return -1;
  return five ? 1 : 0;
}

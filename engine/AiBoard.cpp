// The engine's boards, the five pattern tables, the rule switch and the one-cell
// threat probes.
#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "SafeFile.h"
#include "AiEngine.h"
#include "Book.h"
#include "TableSums.h"

// ---- Engine state (static for the whole run; filled by AiInit) -----------------------------
uint8_t engineBoardStore[BOARD_MARGIN + BOARD_BYTES + BOARD_MARGIN];
uint8_t gameBoard[BOARD_BYTES];
uint8_t pointFlagsBlack[BOARD_BYTES];
uint8_t pointFlagsWhite[BOARD_BYTES];

const char* const tableFileNames[TABLE_COUNT] = {"evaljpblk.tab", "evaljpwht.tab", "evalsimple.tab",
                                                 "jp543b.tab", "Sim543b.tab"};
uint8_t* tableBuffers[TABLE_COUNT];
const uint8_t* evalTableBlack;
const uint8_t* evalTableWhite;
const uint8_t* patternTableBlack;
const uint8_t* patternTableWhite;
int32_t engineRules;
const char* aiLoadFailure;

namespace {
enum { EVAL_JP_BLACK, EVAL_JP_WHITE, EVAL_SIMPLE, PATTERN_JP_BLACK, PATTERN_SIMPLE };

void ReleaseTables() {
  for (int t = TABLE_COUNT - 1; t >= 0; --t) {
    std::free(tableBuffers[t]);
    tableBuffers[t] = nullptr;
  }
  evalTableBlack = evalTableWhite = patternTableBlack = patternTableWhite = nullptr;
}

// Exactly TABLE_BYTES and not one more: a short or long file is not a table.
bool ReadTable(const char* path, uint8_t* buffer) {
  FILE* f = OpenRegularStream(path);
  if (!f) return false;
  bool ok = std::fread(buffer, 1, TABLE_BYTES, f) == static_cast<size_t>(TABLE_BYTES) &&
            std::fgetc(f) == EOF && !std::ferror(f);
  std::fclose(f);
  return ok;
}
// Each table against its line in the checksum file; the name of the first file that fails, or
// null. A table without a line, like a missing or unreadable checksum file, fails on that file.
const char* CheckTableSums(const char* sumPath) {
  uint64_t sums[TABLE_COUNT] = {};
  bool listed[TABLE_COUNT] = {};
  FILE* f = OpenRegularStream(sumPath);
  if (!f) return TABLE_SUM_FILE;
  char line[128], name[64];
  uint64_t sum;
  while (std::fgets(line, sizeof line, f))
    if (std::sscanf(line, "%16" SCNx64 " %63s", &sum, name) == 2)
      for (int t = 0; t < TABLE_COUNT; ++t)
        if (!std::strcmp(name, tableFileNames[t])) {
          sums[t] = sum;
          listed[t] = true;
        }
  std::fclose(f);
  for (int t = 0; t < TABLE_COUNT; ++t) {
    if (!listed[t]) return TABLE_SUM_FILE;
    if (TableChecksum(tableBuffers[t], TABLE_BYTES) != sums[t]) return tableFileNames[t];
  }
  return nullptr;
}

void TablePath(char (&path)[4096], const char* dir, const char* name) {
  if (dir && *dir)
    std::snprintf(path, sizeof path, "%s/%s", dir, name);
  else
    std::snprintf(path, sizeof path, "%s", name);
}
}  // namespace

bool AiInitFrom(const char* dir) {
  assert(!aiSearching);
  // Step 1: every engine board is frame throughout until AiReset.
  std::memset(engineBoardStore, CELL_BORDER, sizeof engineBoardStore);
  std::memset(gameBoard, CELL_BORDER, sizeof gameBoard);
  std::memset(pointFlagsBlack, 0xFF, sizeof pointFlagsBlack);
  std::memset(pointFlagsWhite, 0xFF, sizeof pointFlagsWhite);
  aiLoadFailure = nullptr;
  ReleaseTables();

  // Steps 2 and 3, checked: a table that cannot be had leaves no table at all.
  for (int t = 0; t < TABLE_COUNT; ++t) {
    tableBuffers[t] = static_cast<uint8_t*>(std::malloc(TABLE_BYTES));
    if (!tableBuffers[t]) {
      aiLoadFailure = tableFileNames[t];
      ReleaseTables();
      return false;
    }
  }
  char path[4096];
  for (int t = 0; t < TABLE_COUNT; ++t) {
    TablePath(path, dir, tableFileNames[t]);
    if (!ReadTable(path, tableBuffers[t])) {
      aiLoadFailure = tableFileNames[t];
      ReleaseTables();
      return false;
    }
  }
  // A damaged table of the right size would make nonsense of every shape, and can keep a
  // search from ever ending: it counts as missing.
  TablePath(path, dir, TABLE_SUM_FILE);
  if ((aiLoadFailure = CheckTableSums(path))) {
    ReleaseTables();
    return false;
  }

  AiSetRules(RULES_FREESTYLE);
  BuildQuinaryIndex();
  LoadBookIndex();
  return true;
}

bool AiInit() { return AiInitFrom(nullptr); }

void AiFree() {
  assert(!aiSearching);
  ReleaseTables();
}

void AiSetRules(int rules) {
  assert(!aiSearching);
  engineRules = rules;
  if (!tableBuffers[PATTERN_SIMPLE]) return;  // no tables (failed AiInit): nothing to select
  if (rules == RULES_RENJU) {
    evalTableBlack = tableBuffers[EVAL_JP_BLACK];
    evalTableWhite = tableBuffers[EVAL_JP_WHITE];
    patternTableBlack = tableBuffers[PATTERN_JP_BLACK];
  } else {
    evalTableBlack = tableBuffers[EVAL_SIMPLE];
    evalTableWhite = tableBuffers[EVAL_SIMPLE];
    patternTableBlack = tableBuffers[PATTERN_SIMPLE];
  }
  patternTableWhite = tableBuffers[PATTERN_SIMPLE];
}

namespace {
constexpr int kSteps[4] = {32, 1, 33, 31};

// Fours and threes a stone on the empty cell would make; anything stronger than one open four
// (a five, an overline, a four with a three, two fours or two threes) ends as PROBE_BEYOND.
template <bool Black>
ProbeResult Probe(int cell) {
  const uint8_t* table = Black ? patternTableBlack : patternTableWhite;
  int fours = 0, threes = 0;
  bool openFour = false;
  for (int step : kSteps) {
    uint8_t p = table[Black ? LineIndexBlack(cell, step) : LineIndexWhite(cell, step)];
    if (p > PATTERN_OPEN_FOUR) return PROBE_BEYOND;
    if (p > PATTERN_PLAIN_FOUR) {
      ++fours;
      if (p == PATTERN_OPEN_FOUR) openFour = true;
    } else if (p & PATTERN_THREE_BITS) {
      ++threes;
    }
  }
  if (fours > 1 || threes > 1) return PROBE_BEYOND;
  return openFour ? PROBE_OPEN_FOUR : PROBE_NONE;
}
}  // namespace

ProbeResult ProbeThreatBlack(int cell) { return Probe<true>(cell); }
ProbeResult ProbeThreatWhite(int cell) { return Probe<false>(cell); }

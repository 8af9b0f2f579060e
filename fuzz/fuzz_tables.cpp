// Pattern and evaluation tables of any content, with a checksum file that matches them, loaded
// by the engine's own reader and searched on. Input: rule set, a few stones, then bytes tiled
// over the five tables.
#include <algorithm>

#include "FuzzEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::EnterOwnDir();
  if (size < 2) return 0;
  const int rules = data[0] & 1;
  const int stones = data[1] % 8;
  if (size < size_t(2 + stones)) return 0;
  const uint8_t* moves = data + 2;
  const uint8_t* fill = moves + stones;
  const size_t fillSize = size - 2 - stones;
  static std::vector<uint8_t> table(TABLE_BYTES);
  std::string sums;
  for (int t = 0; t < TABLE_COUNT; ++t) {
    // The fill, turned by 7 t, repeated: one period, then doubling copies.
    size_t done = std::min<size_t>(fillSize, TABLE_BYTES);
    for (size_t i = 0; i < done; ++i) table[i] = fill[(i + 7 * t) % fillSize];
    if (!fillSize) std::fill(table.begin(), table.end(), 0);
    for (; done && done < table.size(); done *= 2)
      std::memcpy(table.data() + done, table.data(), std::min(done, table.size() - done));
    fuzz::WriteFile(tableFileNames[t], table.data(), table.size());
    sums += TableSumLine(tableFileNames[t], table.data(), table.size());
  }
  fuzz::WriteFile(TABLE_SUM_FILE, reinterpret_cast<const uint8_t*>(sums.data()), sums.size());
  if (!AiInitFrom(".")) std::abort();
  AiSetRules(rules);
  AiReset();
  for (int s = 0; s < stones; ++s) {
    const int cell = CellAt(moves[s] % 225 / 15, moves[s] % 15);
    if (gameBoard[cell] == CELL_EMPTY) AiPlayMove(cell);
  }
  fuzz::StopSearchesEarly(2);  // some 16000 nodes: every table is read on the way
  int info, score;
  const int cell = AiThink(0, 1, 4, 1, &info, &score);
  if (cell > 0 && gameBoard[cell] != CELL_EMPTY) std::abort();
  while (gameStones > 0) AiTakeBack();
  return 0;
}

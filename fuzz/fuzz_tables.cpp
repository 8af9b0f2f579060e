// Pattern and evaluation tables: the engine on tables of any content (what the checksum file
// keeps from the game). Input: rule set, a few stones, then bytes tiled over the five tables.
#include "FuzzEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InitEngine();
  if (size < 2) return 0;
  const int rules = data[0] & 1;
  const int stones = data[1] % 8;
  if (size < size_t(2 + stones)) return 0;
  const uint8_t* moves = data + 2;
  const uint8_t* fill = moves + stones;
  const size_t fillSize = size - 2 - stones;
  for (int t = 0; t < TABLE_COUNT; ++t)
    for (int i = 0; i < TABLE_BYTES; ++i)
      tableBuffers[t][i] = fillSize ? fill[(i + 7 * t) % fillSize] : 0;
  AiSetRules(rules);
  AiReset();
  for (int s = 0; s < stones; ++s) {
    const int cell = CellAt(moves[s] % 225 / 15, moves[s] % 15);
    if (gameBoard[cell] == CELL_EMPTY) AiPlayMove(cell);
  }
  fuzz::StopSearchesEarly(16);
  int info, score;
  const int cell = AiThink(0, 1, 4, 1, &info, &score);
  if (cell > 0 && gameBoard[cell] != CELL_EMPTY) std::abort();
  while (gameStones > 0) AiTakeBack();
  return 0;
}

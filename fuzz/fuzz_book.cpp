// The opening book: "book.ndx" and "book.rec" of any content, asked under Renju rules after a
// few stones. Input: two bytes of index length, a stone count and stones, the index, the records.
#include "Book.h"
#include "FuzzEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InitEngine();
  if (size < 3) return 0;
  const int stones = data[2] % 6;
  if (size < size_t(3 + stones)) return 0;
  const uint8_t* moves = data + 3;
  const uint8_t* files = moves + stones;
  const size_t filesSize = size - 3 - stones;
  const size_t indexSize = (data[0] | data[1] << 8) % (filesSize + 1);
  fuzz::WriteFile("book.ndx", files, indexSize);
  fuzz::WriteFile("book.rec", files + indexSize, filesSize - indexSize);
  LoadBookIndex();
  AiSetRules(RULES_RENJU);
  AiReset();
  AiPlayMove(CENTRE_CELL);  // the book's positions start on the centre
  for (int s = 0; s < stones; ++s) {
    const int cell = CellAt(moves[s] % 225 / 15, moves[s] % 15);
    if (gameBoard[cell] == CELL_EMPTY) AiPlayMove(cell);
  }
  int cell = 0, extra = 0;
  BookLookup(&cell, &extra);
  fuzz::StopSearchesEarly(4);
  int info, score;
  cell = AiThink(0, 1, 4, 1, &info, &score);
  if (cell > 0 && gameBoard[cell] != CELL_EMPTY) std::abort();
  return 0;
}

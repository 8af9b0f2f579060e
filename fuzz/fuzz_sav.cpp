// Game records (".SAV"): loaded and replayed into the engine, stone by stone, and taken back,
// as the play screen's load does.
#include "ChessData.h"
#include "FuzzEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InitEngine();
  fuzz::WriteFile("game.SAV", data, size);
  static CChessData record;
  if (!record.LoadGameFile("game.SAV")) return 0;
  record.ClearBoard();
  // The loaded moves are a game: each on a cell that is still empty when its turn comes.
  for (int i = 0; i < MOVE_RECORDS && record.moves[record.moveIndex].used; ++i) {
    if (gameBoard[record.moves[record.moveIndex].cell] != CELL_EMPTY) std::abort();
    record.StepForward(1);
  }
  if (gameStones != record.moveIndex) std::abort();
  while (record.moveIndex > 0) record.StepBack(1);
  return 0;
}

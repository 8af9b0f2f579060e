// The think entry. Opening rules for the first stones, the book under Renju rules,
// otherwise the search with limits from the level and a root bias from the style; then the
// engine is rebuilt by replaying the game, because the search leaves its lists changed.
#include <cassert>
#include <initializer_list>

#include "AiEngine.h"
#include "EngineHost.h"

#include "Book.h"
#include "ChessData.h"

uint32_t debugClicks;

void AiAddStyleWeights(int32_t* listEnd, int32_t* listStart, int weight) {
  if (gameStones & 1) weight = -weight;
  for (int32_t* q = listStart; q < listEnd; ++q)
    rootBias[*q] = static_cast<int8_t>(rootBias[*q] + weight);
}

void CountDebugClick() {
  ++debugClicks;
  EngineHost::Beep(1000, 1500);
}

namespace {
bool IsCentreNeighbour(int cell) {
  const int d = cell - CENTRE_CELL;
  for (int step : {1, 31, 32, 33})
    if (d == step || d == -step) return true;
  return false;
}
}  // namespace

int AiSearchPosition(int depth, int32_t nodes, int style, int* score) {
  assert(!aiSearching);
  const int n = gameStones;
  const bool whiteToMove = n & 1;
  // Step 5: the side to move may go one quiet move further than the other.
  quietBudgetBlack = whiteToMove ? 0 : 1;
  quietBudgetWhite = whiteToMove ? 1 : 0;
  // Step 6: one iteration when the last stone made a four.
  const bool afterFour = n > 0 && (PlySave[n - 1].flags & (THREAT_FOUR | THREAT_OPEN_FOUR));
  depthLimit = afterFour ? 2 : depth;
  quietDepth = 2;
  rootAlpha = -5000;
  rootBeta = 5000;
  nodeLimit = nodes;
  // Step 7: the style's root bias.
  for (int row = 0; row < 15; ++row)
    for (int col = 0; col < 15; ++col) rootBias[CellAt(row, col)] = 0;
  const int w = 2 * style - 8;
  if (!whiteToMove) {
    AiAddStyleWeights(nearListBlack.end, nearListBlack.cells, w);
    AiAddStyleWeights(openFourListWhite.end, openFourListWhite.cells, -w);
    AiAddStyleWeights(fourListWhite.end, fourListWhite.cells, -w);
    AiAddStyleWeights(threeListWhite.end, threeListWhite.cells, -w);
  } else {
    AiAddStyleWeights(nearListWhite.end, nearListWhite.cells, w);
    AiAddStyleWeights(openFourListBlack.end, openFourListBlack.cells, -w);
    AiAddStyleWeights(fourListBlack.end, fourListBlack.cells, -w);
    AiAddStyleWeights(threeListBlack.end, threeListBlack.cells, -w);
  }
  // Step 8, bounded: a think always ends, whatever the tables hold.
  const int cell = SearchRoot(NodeCeiling(nodeLimit));
  // Step 9: rebuild the played position.
  AiReset();
  for (int i = 0; i < n; ++i) AiPlayMove(PlySave[i].cell);
  *score = searchScore;
  return cell;
}

int AiThink(int level, int /*p2*/, int style, int /*p4*/, int* info, int* score) {
  assert(!aiSearching);
  // Steps 1-2: no statistics or score yet; the first stone takes the centre.
  *info = 0;
  *score = 0;
  const int n = gameStones;
  if (n == 0) return CENTRE_CELL;
  // Step 3: the fixed openings after a centre stone.
  if (PlySave[0].cell == CENTRE_CELL) {
    if (n == 1) return CENTRE_CELL - 32 + Random(2);  // above the centre or up-right of it
    if (n == 2 && engineRules == RULES_FREESTYLE && IsCentreNeighbour(PlySave[1].cell)) {
      for (;;) {
        int s = Random(2);
        int dc = Random(3) - 1;
        int dr = Random(3) - 1;
        int c = PlySave[s].cell + dc + 32 * dr;
        if (gameBoard[c] == CELL_EMPTY) return c;
      }
    }
  }
  // Step 4: the book, whose move must still be an empty cell of the board.
  if (engineRules == RULES_RENJU) {
    int cell = 0, extra = 0;
    if (BookLookup(&cell, &extra) > 0 && IsPlayingCell(cell) && gameBoard[cell] == CELL_EMPTY)
      return cell;
  }
  // Steps 5-9: the search with the level's limits.
  const int cell = AiSearchPosition(LevelDepth(level), LevelNodeLimit(level), style, score);
  // Step 10: the statistics value while the debug clicks ask for it, and the score.
  *info = (debugClicks & 8) ? static_cast<int>(nodeCount * 10 + (depthLimit - 3)) : 0;
  return cell;
}

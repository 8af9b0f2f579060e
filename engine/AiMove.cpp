// Making and unmaking moves, and the game's play-move, take-back and reset.
// A make looks at the four lines through the new stone only; an unmake restores exactly what
// its make changed from the stone's PlySave record.
#include <cassert>
#include <initializer_list>

#include "AiEngine.h"

CandidateList nearListBlack, threeListBlack, fourListBlack, openFourListBlack, fiveListBlack;
CandidateList nearListWhite, threeListWhite, fourListWhite, openFourListWhite, fiveListWhite;
int32_t engineStones;
int32_t gameStones;
int32_t lastGameCell;
int32_t runningScore;
int32_t depthLimit;
int32_t quietDepth;
int32_t quietBudgetBlack;
int32_t quietBudgetWhite;
uint8_t fourCount;
uint8_t threeCount;
uint8_t moveFlags;
PlySaveRecord PlySave[225];

namespace {
constexpr int kSteps[4] = {32, 1, 33, 31};

inline void Push(CandidateList& list, uint8_t* flags, int cell, uint8_t bit) {
  flags[cell] |= bit;
  *list.end++ = cell;
}

inline void Truncate(CandidateList& list, int32_t* end, uint8_t* flags, uint8_t bit) {
  while (list.end > end) flags[*--list.end] &= static_cast<uint8_t>(~bit);
}

// One colour's view of the make: its stone code, tables, flags, lists and budget.
template <bool Black>
struct Mover {
  static constexpr uint8_t stone = Black ? CELL_BLACK : CELL_WHITE;
  const uint8_t* board = engineBoardStore + BOARD_MARGIN;
  const uint8_t* pattern = Black ? patternTableBlack : patternTableWhite;
  uint8_t* own = Black ? pointFlagsBlack : pointFlagsWhite;
  CandidateList& nearList = Black ? nearListBlack : nearListWhite;
  CandidateList& threeList = Black ? threeListBlack : threeListWhite;
  CandidateList& fourList = Black ? fourListBlack : fourListWhite;
  CandidateList& openFourList = Black ? openFourListBlack : openFourListWhite;
  CandidateList& fiveList = Black ? fiveListBlack : fiveListWhite;

  // Bit position of the digit k steps from c, on the c+d side (plus) or the c-d side.
  static int Shift(bool plus, int k) { return plus ? 10 - 2 * k : 8 + 2 * k; }

  // First cell from c along s that is not the mover's stone, at most five steps; 0 if none.
  int WalkOwn(int c, int s, int fromK, int& k) const {
    int x = c + fromK * s;
    k = fromK;
    while (k <= 5 && board[x] == stone) x += s, ++k;
    return k <= 5 ? x : 0;
  }

  void FiveSearch(int c, int s, bool plus, uint32_t& i) {
    int k;
    int x = WalkOwn(c, s, 1, k);
    if (!x || (own[x] & (POINT_TAKEN | POINT_FIVE))) return;
    int sh = Shift(plus, k);
    if (pattern[i | (3u << sh)] != PATTERN_FIVE) return;
    Push(fiveList, own, x, POINT_FIVE);
    // The rest of this line's work sees the new five point as blocked.
    i = (i & ~(3u << sh)) | (2u << sh);
  }

  void TestPoint(int x, int sh, uint32_t i) {
    if (own[x] & POINT_FIVE) return;
    uint8_t q = pattern[i | (3u << sh)];
    if (q < PATTERN_PLAIN_FOUR) {
      if ((q & PATTERN_THREE_BITS) && !(own[x] & POINT_THREE_UP))
        Push(threeList, own, x, POINT_THREE);
    } else if (q == PATTERN_OPEN_FOUR) {
      if (!(own[x] & POINT_OPEN_FOUR_UP)) Push(openFourList, own, x, POINT_OPEN_FOUR);
    } else if (!(own[x] & POINT_FOUR_UP)) {
      Push(fourList, own, x, POINT_FOUR);
    }
  }

  void PointSearch(int c, int s, bool plus, uint32_t i) {
    int k;
    int x = WalkOwn(c, s, 1, k);
    if (!x || board[x] != CELL_EMPTY) return;
    TestPoint(x, Shift(plus, k), i);
    int k2;
    int y = WalkOwn(c, s, k + 1, k2);
    if (y && board[y] == CELL_EMPTY) TestPoint(y, Shift(plus, k2), i);
  }

  void NearCells(int c, int d) {
    const int cells[4] = {c + d, c + 2 * d, c - d, c - 2 * d};
    for (int x : cells)
      if (own[x] == 0) Push(nearList, own, x, POINT_NEAR);
  }

  uint8_t Make(int c) {
    const int n = engineStones;
    assert(IsPlayingCell(c) && engineBoard[c] == CELL_EMPTY && n >= 0 && n < 225);
    PlySaveRecord& save = PlySave[n];
    // Steps 1-3: record what the unmake restores, and put the stone down.
    save.cell = c;
    save.score = runningScore;
    save.depthLimit = depthLimit;
    save.quietDepth = quietDepth;
    pointFlagsBlack[c] |= POINT_TAKEN;
    pointFlagsWhite[c] |= POINT_TAKEN;
    engineBoard[c] = stone;
    save.nearEnd = nearList.end;
    save.threeEnd = threeList.end;
    save.fourEnd = fourList.end;
    save.openFourEnd = openFourList.end;
    save.fiveEnd = fiveList.end;
    // Step 4: no fours or threes yet; near cells only while the mover's quiet budget lasts.
    fourCount = threeCount = moveFlags = 0;
    const uint8_t* eval = Black ? evalTableBlack : evalTableWhite;
    const bool pushNear = (Black ? quietBudgetBlack : quietBudgetWhite) >= 0;
    // Step 5: the line work, vertical, horizontal, down-right, down-left.
    for (int d : kSteps) {
      uint32_t i = Black ? LineIndexBlack(c, d) : LineIndexWhite(c, d);
      int e = eval[i] - 40;
      runningScore += Black ? e : -e;
      uint8_t p = pattern[i];
      if (p != 0) {
        if (p >= PATTERN_FIVE) {
          const bool doubleFour = Black && engineRules && p == PATTERN_DOUBLE_FOUR_LINE;
          moveFlags |= p == PATTERN_FIVE ? THREAT_FIVE
                       : doubleFour      ? FOUL_DOUBLE_FOUR
                                         : FOUL_OVERLINE;
          continue;
        }
        if (p >= PATTERN_PLAIN_FOUR) {
          moveFlags |= p == PATTERN_OPEN_FOUR ? THREAT_OPEN_FOUR : THREAT_FOUR;
          ++fourCount;
          FiveSearch(c, d, true, i);
          FiveSearch(c, -d, false, i);
          if (p == PATTERN_OPEN_FOUR) continue;
        }
        if (p != PATTERN_PLAIN_FOUR) {
          if (p & PATTERN_THREE_BITS) {
            moveFlags |= THREAT_THREE;
            ++threeCount;
          }
          PointSearch(c, d, true, i);
          PointSearch(c, -d, false, i);
        }
      }
      if (pushNear) NearCells(c, d);
    }
    // Step 6: black's fouls under Renju rules. Exactly five is never a foul; the line-local
    // count only finds candidate double threes, which the exact judge then decides.
    if (Black && engineRules) {
      if (moveFlags & THREAT_FIVE) {
        moveFlags &= static_cast<uint8_t>(~(FOUL_DOUBLE_FOUR | FOUL_OVERLINE));
      } else {
        if (fourCount > 1) moveFlags |= FOUL_DOUBLE_FOUR;
        if (threeCount > 1 && RenjuDoubleThree(c)) moveFlags |= FOUL_DOUBLE_THREE;
      }
    }
    // Steps 7-9: keep the flags for the unmake, search a ply deeper after a four, count the stone.
    save.flags = moveFlags;
    if (moveFlags & (THREAT_FOUR | THREAT_OPEN_FOUR)) {
      ++quietDepth;
      ++depthLimit;
    }
    engineStones = n + 1;
    return moveFlags;
  }

  void Unmake() {
    const int n = engineStones - 1;
    assert(n >= 0 && n < 225);
    const PlySaveRecord& save = PlySave[n];
    assert(engineBoard[save.cell] == stone);
    runningScore = save.score;
    depthLimit = save.depthLimit;
    quietDepth = save.quietDepth;
    Truncate(fiveList, save.fiveEnd, own, POINT_FIVE);
    Truncate(openFourList, save.openFourEnd, own, POINT_OPEN_FOUR);
    Truncate(fourList, save.fourEnd, own, POINT_FOUR);
    Truncate(threeList, save.threeEnd, own, POINT_THREE);
    Truncate(nearList, save.nearEnd, own, POINT_NEAR);
    pointFlagsBlack[save.cell] &= POINT_LISTED;  // no longer taken
    pointFlagsWhite[save.cell] &= POINT_LISTED;
    engineBoard[save.cell] = CELL_EMPTY;
    engineStones = n;
  }
};
}  // namespace

uint8_t MakeMoveBlack(int cell) { return Mover<true>().Make(cell); }
uint8_t MakeMoveWhite(int cell) { return Mover<false>().Make(cell); }
void UnmakeMoveBlack() { Mover<true>().Unmake(); }
void UnmakeMoveWhite() { Mover<false>().Unmake(); }

uint8_t ApplyGameMove() {
  return (engineStones & 1) ? MakeMoveWhite(lastGameCell) : MakeMoveBlack(lastGameCell);
}

void UnmakeLastMove() {
  if (engineStones & 1)
    UnmakeMoveBlack();
  else
    UnmakeMoveWhite();
}

void AiReset() {
  assert(!aiSearching);
  for (int row = 0; row < 15; ++row)
    for (int col = 0; col < 15; ++col) {
      int c = CellAt(row, col);
      gameBoard[c] = engineBoard[c] = CELL_EMPTY;
      pointFlagsBlack[c] = pointFlagsWhite[c] = 0;
    }
  engineStones = gameStones = runningScore = 0;
  for (CandidateList* l :
       {&nearListBlack, &threeListBlack, &fourListBlack, &openFourListBlack, &fiveListBlack,
        &nearListWhite, &threeListWhite, &fourListWhite, &openFourListWhite, &fiveListWhite})
    l->end = l->cells;
}

uint32_t AiPlayMove(int cell) {
  assert(!aiSearching && IsPlayingCell(cell) && gameBoard[cell] == CELL_EMPTY);
  gameBoard[cell] = (gameStones & 1) ? CELL_WHITE : CELL_BLACK;
  ++gameStones;
  // A game move always pushes its near cells.
  quietBudgetBlack = quietBudgetWhite = 2;
  lastGameCell = cell;
  ApplyGameMove();
  return PlySave[gameStones - 1].flags;
}

void AiTakeBack() {
  assert(!aiSearching && gameStones > 0);
  --gameStones;
  gameBoard[PlySave[gameStones].cell] = CELL_EMPTY;
  UnmakeLastMove();
}

// The search. Negamax alpha-beta with iterative deepening and aspiration windows
// over the candidate lists the makes keep, two killers per ply, a triangular PV table, a rule
// that answers a live three, and a quiet mode that stands pat on the running score.
// SearchBlack and SearchWhite are mirror images: one template, told for the side to move.
#include <cassert>
#include <initializer_list>

#include "AiEngine.h"
#include "EngineHost.h"

int32_t searchPly;
int32_t pvTable[MAX_PLY][MAX_PLY];
int32_t killerFirst[MAX_PLY];
int32_t killerSecond[MAX_PLY];
uint32_t nodeCount;
int32_t nodeLimit;
uint8_t abortSearch;
int32_t followPv;
int32_t targetDepth;
int32_t rootAlpha;
int32_t rootBeta;
int32_t searchScore;
int8_t rootBias[BOARD_BYTES];
uint8_t aiSearching;
int32_t searchIterations;

void AiPumpMessages() { EngineHost::PumpMessage(); }

void CompactCandidates(CandidateList& list) {
  int32_t* out = list.cells;
  for (int32_t* q = list.cells; q < list.end; ++q)
    if (engineBoard[*q] == CELL_EMPTY) *out++ = *q;
  list.end = out;
}

namespace {
constexpr int WIN = 10000;
constexpr int NO_MOVE = -30000;
constexpr int DECISIVE = SCORE_DECISIVE;
// A candidate is skipped when its cell is taken or an earlier step has tried it: held by either
// side at a class whose list that step walked.
constexpr uint8_t TAKEN_OR_OPEN_FOUR_UP = POINT_TAKEN | POINT_OPEN_FOUR_UP;
constexpr uint8_t TAKEN_OR_FOUR_UP = POINT_TAKEN | POINT_FOUR_UP;
constexpr uint8_t TAKEN_OR_THREE_UP = POINT_TAKEN | POINT_THREE_UP;
constexpr uint8_t TAKEN_OR_LISTED = POINT_TAKEN | POINT_LISTED;

// The running search's node ceiling, whether it stopped the search, and the move to play then if
// no iteration has completed: the best root move whose reply was searched to the end, else the
// first root move tried.
uint32_t ceilingNodes = UINT32_MAX;
bool ceilingReached;
int32_t rootFallback;

template <bool Black>
struct Node {
  // The side to move's lists ("own") and the other side's ("opp").
  static constexpr const uint8_t* own() { return Black ? pointFlagsBlack : pointFlagsWhite; }
  static constexpr const uint8_t* opp() { return Black ? pointFlagsWhite : pointFlagsBlack; }
  static int32_t& ownBudget() { return Black ? quietBudgetBlack : quietBudgetWhite; }
  static int32_t& oppBudget() { return Black ? quietBudgetWhite : quietBudgetBlack; }
  static int StaticScore() { return Black ? runningScore : -runningScore; }
  static uint8_t Make(int m) { return Black ? MakeMoveBlack(m) : MakeMoveWhite(m); }
  static void Unmake() { Black ? UnmakeMoveBlack() : UnmakeMoveWhite(); }
  static ProbeResult ProbeOpp(int cell) {
    return Black ? ProbeThreatWhite(cell) : ProbeThreatBlack(cell);
  }

  int alpha, beta, best, pvMove, ply;

  // Steps after the make of m with flags f; true on a cut-off (the node returns best).
  bool AfterMake(int m, uint8_t f) {
    // Step 1: the root's style bias, and a small nudge for the previous iteration's move.
    if (ply == 0) {
      runningScore += rootBias[m];
      if (followPv == 1) runningScore += Black ? 8 : -8;
    }
    // Steps 2-3: search the reply, or score an open four or five as won and a foul as lost.
    int v;
    if (f < THREAT_OPEN_FOUR) {
      int32_t saved = oppBudget();
      ++searchPly;
      v = -Node<!Black>::Search(-beta, -alpha);
      --searchPly;
      oppBudget() = saved;
    } else if (f < FOUL_DOUBLE_THREE) {
      v = WIN - 4 * engineStones;
    } else {
      v = -WIN + 4 * engineStones;
    }
    Unmake();
    // Step 4: a new best carries its line up.
    if (v <= best) return false;
    best = v;
    if (ply == 0 && (!abortSearch || !rootFallback)) rootFallback = m;
    int32_t* row = pvTable[ply];
    row[0] = m;
    if (f < THREAT_OPEN_FOUR) {
      const int32_t* child = pvTable[ply + 1];
      int j = 0;
      for (; j + 1 < MAX_PLY - ply && child[j]; ++j) row[j + 1] = child[j];
      row[j + 1] = 0;
    } else {
      row[1] = 0;
    }
    // Step 5: raise alpha, or cut off and remember the killer.
    if (v <= alpha) return false;
    if (v < beta) {
      alpha = v;
      return false;
    }
    if (m == killerSecond[ply]) {
      killerSecond[ply] = killerFirst[ply];
      killerFirst[ply] = m;
    } else if (m != killerFirst[ply]) {
      killerSecond[ply] = m;
    }
    return true;
  }

  bool Try(int m) {
    if (m == pvMove) return false;
    return AfterMake(m, Make(m));
  }
  bool IsKiller(int m) const { return m == killerFirst[ply] || m == killerSecond[ply]; }
  bool TryUnlessKiller(int m) { return !IsKiller(m) && Try(m); }
  // Only moves that make a three or more are searched; quiet ones are taken back at once.
  bool ThreatTryAny(int m) {
    if (m == pvMove) return false;
    uint8_t f = Make(m);
    if (!(f & THREAT_ANY)) {
      Unmake();
      return false;
    }
    return AfterMake(m, f);
  }
  bool ThreatTry(int m) { return !IsKiller(m) && ThreatTryAny(m); }

  // Walks a list from its most recent entry down; true on a cut-off.
  template <class Skip, class Tryer>
  static bool Walk(const CandidateList& list, Skip skip, Tryer tryer) {
    for (const int32_t* q = list.end; q > list.cells;) {
      int x = *--q;
      if (!skip(x) && tryer(x)) return true;
    }
    return false;
  }

  static int Search(int a, int b) {
    const uint8_t* board = engineBoardStore + BOARD_MARGIN;
    // Steps 1-2: abort, count, pump.
    if (abortSearch) return 0;
    if ((++nodeCount & 0x1FFF) == 0) {
      AiPumpMessages();
      if (nodeCount >= ceilingNodes && !abortSearch) {
        ceilingReached = true;
        abortSearch = 1;
      }
    }
    const int p = searchPly;
    const int n = engineStones;
    // Step 3: a leaf past the depth limit, or at the last ply the tables hold.
    if (p > depthLimit || p >= MAX_PLY - 1) {
      pvTable[p][0] = 0;
      return StaticScore();
    }
    // Step 4: deep enough, no more quiet moves for the side to move.
    if (p >= quietDepth) ownBudget() = -1;
    // Step 5: no win from here can beat alpha.
    if (a > DECISIVE && WIN - 4 * n <= a) {
      pvTable[p][0] = 0;
      return WIN - 4 * n;
    }
    // Step 6: the node's window, with no best score and no PV move yet.
    Node node{a, b, NO_MOVE, 0, p};
    // Step 7: the previous iteration's line first.
    bool rowSet = false;
    if (followPv == 1) {
      followPv = 0;
      int m = pvTable[0][p];
      if (m != 0 && board[m] == CELL_EMPTY) {
        if (pvTable[0][p + 1] != 0) followPv = 1;
        if (node.Try(m)) return node.best;
        node.pvMove = m;
        rowSet = true;
      }
    }
    if (!rowSet) pvTable[p][0] = 0;
    // Step 8: a five point among the two most recent entries of the own five list wins.
    const CandidateList& ownFive = Black ? fiveListBlack : fiveListWhite;
    for (const int32_t* q = ownFive.end; q > ownFive.cells && q > ownFive.end - 2;) {
      int x = *--q;
      if (board[x] == CELL_EMPTY) {
        pvTable[p][0] = x;
        pvTable[p][1] = 0;
        return WIN - 4 * n;
      }
    }
    // Step 9: the opponent's newest five point must be blocked, and nothing else helps.
    const CandidateList& oppFive = Black ? fiveListWhite : fiveListBlack;
    if (oppFive.end > oppFive.cells && board[oppFive.end[-1]] == CELL_EMPTY) {
      node.Try(oppFive.end[-1]);
      return node.best;
    }
    // Step 10: answer a live three of the opponent (also one left standing under our fours),
    // else search fully while the quiet budget lasts, else stand pat.
    int mode = MODE_FULL;
    bool answer = n >= 1 && (PlySave[n - 1].flags & THREAT_THREE);
    for (int k = n;
         !answer && k >= 2 && (PlySave[k - 2].flags & (THREAT_FOUR | THREAT_OPEN_FOUR));) {
      k -= 2;
      if (k < 1 || !(PlySave[k - 1].flags & THREAT_THREE)) continue;  // no stone -1
      for (const int32_t* q = PlySave[k - 1].openFourEnd; q < PlySave[k + 1].openFourEnd; ++q)
        if (board[*q] == CELL_EMPTY && ProbeOpp(*q) == PROBE_OPEN_FOUR) {
          answer = true;
          break;
        }
    }
    if (answer) {
      mode = MODE_ANSWER;
    } else if (ownBudget() < 0) {
      mode = MODE_QUIET;
      int s = StaticScore();
      if (s > node.best) node.best = s;
      if (s > node.alpha) node.alpha = s;
      if (s >= node.beta) return s;
    }
    // Step 11: candidates from the highest class either side holds the cell in.
    const uint8_t* own = Node::own();
    const uint8_t* opp = Node::opp();
    const bool full = mode == MODE_FULL;
    auto tryMove = [&](int x) { return node.TryUnlessKiller(x); };
    auto heldAt = [=](uint8_t ownMask, uint8_t oppMask) {
      return [=](int x) { return (own[x] & ownMask) || (opp[x] & oppMask); };
    };
    // 1. Own open fours.
    if (Walk(
            Black ? openFourListBlack : openFourListWhite,
            [&](int x) { return board[x] != CELL_EMPTY; }, [&](int x) { return node.Try(x); }))
      return node.best;
    // 2. Killers.
    const int killers[2] = {killerFirst[p], killerSecond[p]};
    for (int m : killers) {
      if ((own[m] & TAKEN_OR_OPEN_FOUR_UP) || m == node.pvMove) continue;
      bool cut = !full && !(opp[m] & TAKEN_OR_FOUR_UP) ? node.ThreatTryAny(m) : node.Try(m);
      if (cut) return node.best;
    }
    // 3. The opponent's open fours.
    if (Walk(Black ? openFourListWhite : openFourListBlack, heldAt(TAKEN_OR_OPEN_FOUR_UP, 0),
             tryMove))
      return node.best;
    // 4. Own fours.
    if (Walk(Black ? fourListBlack : fourListWhite,
             heldAt(TAKEN_OR_OPEN_FOUR_UP, TAKEN_OR_OPEN_FOUR_UP), [&](int x) {
               return !full && !(opp[x] & TAKEN_OR_FOUR_UP) ? node.ThreatTry(x)
                                                            : node.TryUnlessKiller(x);
             }))
      return node.best;
    // 5. The opponent's fours.
    if (Walk(Black ? fourListWhite : fourListBlack, heldAt(TAKEN_OR_FOUR_UP, TAKEN_OR_OPEN_FOUR_UP),
             tryMove))
      return node.best;
    if (mode == MODE_ANSWER) return node.best;
    // 6. Own threes.
    if (Walk(Black ? threeListBlack : threeListWhite, heldAt(TAKEN_OR_FOUR_UP, TAKEN_OR_FOUR_UP),
             [&](int x) { return !full ? node.ThreatTry(x) : node.TryUnlessKiller(x); }))
      return node.best;
    if (ownBudget() < 0) return node.best;
    --ownBudget();
    // 7. The opponent's threes.
    if (Walk(Black ? threeListWhite : threeListBlack, heldAt(TAKEN_OR_THREE_UP, TAKEN_OR_FOUR_UP),
             tryMove))
      return node.best;
    // 8. Own near cells.
    if (Walk(Black ? nearListBlack : nearListWhite, heldAt(TAKEN_OR_THREE_UP, TAKEN_OR_THREE_UP),
             tryMove))
      return node.best;
    // 9. The opponent's near cells.
    if (Walk(Black ? nearListWhite : nearListBlack, heldAt(TAKEN_OR_LISTED, TAKEN_OR_THREE_UP),
             tryMove))
      return node.best;
    return node.best;
  }
};
}  // namespace

int SearchBlack(int alpha, int beta) { return Node<true>::Search(alpha, beta); }
int SearchWhite(int alpha, int beta) { return Node<false>::Search(alpha, beta); }

namespace {
int SearchOnce(int alpha, int beta) {
  int32_t savedBlack = quietBudgetBlack, savedWhite = quietBudgetWhite;
  followPv = 1;
  int score = (engineStones & 1) ? SearchWhite(alpha, beta) : SearchBlack(alpha, beta);
  quietBudgetBlack = savedBlack;
  quietBudgetWhite = savedWhite;
  return score;
}

struct SearchingFlag {
  SearchingFlag() { aiSearching = 1; }
  ~SearchingFlag() { aiSearching = 0; }
};

// A stop by the user gives no move; the node ceiling plays what the search has found so far.
int Stopped(bool completed, int move, int score) {
  if (!ceilingReached) return -1;
  abortSearch = 0;
  searchScore = completed ? score : 0;
  return completed ? move : rootFallback;
}
}  // namespace

int SearchRoot(uint32_t nodeCeiling) {
  SearchingFlag searching;
  // Steps 1-3: no stop pending, no killers, taken cells dropped from the lists (open fours are
  // skipped when walked); deepening starts at depth 3 and aims at the think's depth.
  abortSearch = 0;
  ceilingNodes = nodeCeiling;
  ceilingReached = false;
  rootFallback = 0;
  bool completed = false;
  int completedMove = 0, completedScore = 0;
  for (CandidateList* l : {&nearListBlack, &nearListWhite, &threeListBlack, &threeListWhite,
                           &fourListBlack, &fourListWhite, &fiveListBlack, &fiveListWhite})
    CompactCandidates(*l);
  for (int p = 0; p < MAX_PLY; ++p) killerFirst[p] = killerSecond[p] = 0;
  nodeCount = 0;
  searchPly = 0;
  searchIterations = 0;
  targetDepth = depthLimit;
  depthLimit = 3;
  pvTable[0][0] = 0;
  for (;;) {
    // Step 4: one iteration inside the aspiration window.
    int score = SearchOnce(rootAlpha, rootBeta);
    if (abortSearch) return Stopped(completed, completedMove, completedScore);
    // Step 5: outside the window, search once more with the window open on that side.
    if (score <= rootAlpha || score >= rootBeta) {
      score = score <= rootAlpha ? SearchOnce(NO_MOVE, score + 1) : SearchOnce(score - 1, -NO_MOVE);
      if (abortSearch) return Stopped(completed, completedMove, completedScore);
    }
    ++searchIterations;
    // Step 6: one ply deeper; the quiet depth follows at most four plies behind.
    ++depthLimit;
    if (depthLimit - quietDepth > 4) ++quietDepth;
    // Step 7: the node limit is tested only between iterations.
    if (depthLimit > targetDepth || static_cast<int64_t>(nodeCount) > nodeLimit ||
        score > DECISIVE || score < -DECISIVE) {
      // Step 8: the last iteration's best move and score.
      searchScore = score;
      return pvTable[0][0];
    }
    completed = true;
    completedMove = pvTable[0][0];
    completedScore = score;
    rootAlpha = score - 50;
    rootBeta = score + 50;
  }
}

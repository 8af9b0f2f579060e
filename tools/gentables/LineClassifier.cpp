#include "LineClassifier.h"

#include <algorithm>
#include <array>

namespace gentables {
namespace {

// The eleven cells c-5d .. c+5d, the looking side on c.
struct Line {
  std::array<int, 2 * kReach + 1> cells{};
  int& operator[](int k) { return cells[k + kReach]; }
  int operator[](int k) const { return cells[k + kReach]; }
};

Line Decode(std::uint32_t index) {
  Line a;
  for (int k = 1; k <= kReach; ++k) {
    a[-k] = CellAt(index, -k);
    a[k] = CellAt(index, k);
  }
  a[0] = kOwn;
  return a;
}

// Length of the run of own stones through c.
int RunThroughCentre(const Line& a, int* first = nullptr, int* last = nullptr) {
  int l = 0, r = 0;
  while (l > -kReach && a[l - 1] == kOwn) --l;
  while (r < kReach && a[r + 1] == kOwn) ++r;
  if (first) *first = l;
  if (last) *last = r;
  return r - l + 1;
}

bool IsFive(int run, FiveRule rule) { return rule == FiveRule::FiveOrMore ? run >= 5 : run == 5; }

int EmptyCount(std::uint32_t index) {
  int n = 0;
  for (int s = 0; s < 20; s += 2) n += ((index >> s) & 3) == kEmpty;
  return n;
}

// Every table entry this one reads has one empty cell fewer, so entries are
// classified in order of rising empty count.
std::uint8_t Classify(std::uint32_t index, FiveRule rule, const std::vector<std::uint8_t>& table) {
  if (!IsReachable(index)) return kNothing;
  Line a = Decode(index);
  int first, last;
  int run = RunThroughCentre(a, &first, &last);
  if (run >= 5) return IsFive(run, rule) ? kFive : kOverline;

  // A five through c can only grow from one of the two ends of its run.
  int fivePoints[2];
  int fives = 0;
  for (int x : {first - 1, last + 1}) {
    if (x < -kReach || x > kReach || a[x] != kEmpty) continue;
    a[x] = kOwn;
    if (IsFive(RunThroughCentre(a), rule)) fivePoints[fives++] = x;
    a[x] = kEmpty;
  }
  if (fives == 2) {
    // Straight four; without a rule against it, two separate five points
    // cannot both be blocked either.
    if (run == 4 || rule == FiveRule::FiveOrMore) return kOpenFour;
    return kDoubleFourInLine;
  }
  if (fives == 1) {
    // The make blocks the five point before it searches the other points.
    std::uint32_t blocked = WithCell(index, fivePoints[0], kOpponent);
    for (int k = -kReach; k <= kReach; ++k) {
      if (k == 0 || CellAt(blocked, k) != kEmpty) continue;
      std::uint8_t q = table[WithCell(blocked, k, kOwn)];
      if (q >= kSplitThree && q <= kFive) return kFour;
    }
    return kPlainFour;
  }

  int openFourPoints = 0;
  std::uint8_t best = kNothing;
  for (int k = -kReach; k <= kReach; ++k) {
    if (k == 0 || a[k] != kEmpty) continue;
    std::uint8_t q = table[WithCell(index, k, kOwn)];
    if (q == kOpenFour) ++openFourPoints;
    if (q <= kFive) best = std::max(best, q);  // foul points lead nowhere
  }
  if (openFourPoints >= 2) return kOpenThree;
  if (openFourPoints == 1) return kSplitThree;
  if (best >= kPlainFour) return kClosedThree;
  if (best >= kSplitThree) return kTwo;
  return kNothing;
}

// What one side's windows in the line are worth. A Renju black window next
// to another black stone could only complete an overline, so it is worth nothing.
int Potential(const Line& a, int own, FiveRule rule, const EvalWeights& w) {
  const int opponent = own ^ 1;
  int sum = 0;
  for (int s = -kReach; s + 4 <= kReach; ++s) {
    int stones = 0;
    bool dead = false;
    for (int k = s; k < s + 5 && !dead; ++k) {
      dead = a[k] == kBorder || a[k] == opponent;
      stones += a[k] == own;
    }
    if (dead) continue;
    if (rule == FiveRule::ExactlyFive &&
        ((s > -kReach && a[s - 1] == own) || (s + 5 <= kReach && a[s + 5] == own)))
      continue;
    if (stones > 0) sum += w[kWindow1 + stones - 1];
  }
  return sum;
}

int MakeBonus(std::uint8_t p, const EvalWeights& w) {
  if (p == kFive) return w[kMakeFive];
  if (p == kOpenFour) return w[kMakeOpenFour];
  if (p >= kPlainFour && p < kOpenFour) return w[kMakeFour];
  if (p == kOpenThree) return w[kMakeOpenThree];
  if (p == kSplitThree) return w[kMakeSplitThree];
  if (p == kClosedThree) return w[kMakeClosedThree];
  return 0;
}

// What the opponent would have made by standing on c: c was one of its five
// points (a four blocked), open-four points (a three blocked) or four points.
int BlockBonus(std::uint8_t opponentOnCentre, const EvalWeights& w) {
  if (opponentOnCentre == kFive) return w[kBreakFive];
  if (opponentOnCentre == kOpenFour) return w[kBreakOpenFour];
  if (opponentOnCentre >= kPlainFour && opponentOnCentre < kFive) return w[kBreakFour];
  if (opponentOnCentre >= kSplitThree && opponentOnCentre < kPlainFour) return w[kBreakThree];
  return 0;
}

}  // namespace

bool IsReachable(std::uint32_t index) {
  for (int side : {-1, 1}) {
    bool border = false;
    for (int k = 1; k <= kReach; ++k) {
      bool b = CellAt(index, side * k) == kBorder;
      if (border && !b) return false;
      border = b;
    }
  }
  return true;
}

std::vector<std::uint8_t> BuildPatternTable(FiveRule rule) {
  std::vector<std::uint8_t> table(kLineIndexCount, kNothing);
  std::array<std::vector<std::uint32_t>, 2 * kReach + 1> byEmpties;
  for (std::uint32_t i = 0; i < kLineIndexCount; ++i) byEmpties[EmptyCount(i)].push_back(i);
  for (const auto& group : byEmpties)
    for (std::uint32_t i : group) table[i] = Classify(i, rule, table);
  return table;
}

std::vector<std::uint8_t> BuildEvalTable(FiveRule ownRule,
                                         const std::vector<std::uint8_t>& ownPatterns,
                                         FiveRule opponentRule,
                                         const std::vector<std::uint8_t>& opponentPatterns,
                                         const EvalWeights& w) {
  std::vector<std::uint8_t> table(kLineIndexCount, 40);
  for (std::uint32_t i = 0; i < kLineIndexCount; ++i) {
    if (!IsReachable(i)) continue;
    std::uint8_t made = ownPatterns[i];
    if (ownRule == FiveRule::ExactlyFive && made >= kOverline) {
      table[i] = 0;  // a foul: nothing to build on
      continue;
    }
    Line after = Decode(i);
    Line before = after;
    before[0] = kEmpty;
    int gain = Potential(after, kOwn, ownRule, w) - Potential(before, kOwn, ownRule, w);
    int taken = Potential(before, kOpponent, opponentRule, w) -
                Potential(after, kOpponent, opponentRule, w);
    int e = 40 + gain + taken + MakeBonus(made, w) + BlockBonus(opponentPatterns[SwapSides(i)], w);
    table[i] = std::uint8_t(std::clamp(e, 0, 255));
  }
  return table;
}

std::vector<std::uint8_t> BuildEvalTable(FiveRule ownRule,
                                         const std::vector<std::uint8_t>& ownPatterns,
                                         FiveRule opponentRule,
                                         const std::vector<std::uint8_t>& opponentPatterns) {
  return BuildEvalTable(ownRule, ownPatterns, opponentRule, opponentPatterns, BaselineWeights());
}

}  // namespace gentables

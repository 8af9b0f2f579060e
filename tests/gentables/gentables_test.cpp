#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "EvalParams.h"
#include "LineClassifier.h"

using namespace gentables;

namespace {

// "..XX[c]X..": the cells left and right of the looking side's stone, nearest
// cells next to "[c]". X own, O opponent, # border, . empty. Cells not written
// are empty, or border when the farthest one written is border.
std::uint32_t L(const std::string& line) {
  const auto mark = line.find("[c]");
  if (mark == std::string::npos) throw std::invalid_argument(line);
  const std::string left = line.substr(0, mark), right = line.substr(mark + 3);
  if (left.size() > kReach || right.size() > kReach) throw std::invalid_argument(line);
  auto code = [&](char ch) {
    switch (ch) {
      case '.': return kEmpty;
      case '#': return kBorder;
      case 'O': return kOpponent;
      case 'X': return kOwn;
    }
    throw std::invalid_argument(line);
  };
  std::uint32_t index = 0;
  for (int k = 1; k <= kReach; ++k) {
    int l = k <= int(left.size()) ? code(left[left.size() - k])
                                  : (!left.empty() && left.front() == '#' ? kBorder : kEmpty);
    int r = k <= int(right.size()) ? code(right[k - 1])
                                   : (!right.empty() && right.back() == '#' ? kBorder : kEmpty);
    index = WithCell(WithCell(index, -k, l), k, r);
  }
  return index;
}

std::uint32_t Mirror(std::uint32_t index) {
  std::uint32_t m = 0;
  for (int k = 1; k <= kReach; ++k)
    m = WithCell(WithCell(m, -k, CellAt(index, k)), k, CellAt(index, -k));
  return m;
}

// Each table is built on first use: most cases need only one or two of them.
using Table = std::vector<std::uint8_t>;
const Table& FreeTable() {
  static const Table t = BuildPatternTable(FiveRule::FiveOrMore);
  return t;
}
const Table& RenjuTable() {
  static const Table t = BuildPatternTable(FiveRule::ExactlyFive);
  return t;
}
const Table& EvalSimple() {
  static const Table t =
      BuildEvalTable(FiveRule::FiveOrMore, FreeTable(), FiveRule::FiveOrMore, FreeTable());
  return t;
}
const Table& EvalBlack() {
  static const Table t =
      BuildEvalTable(FiveRule::ExactlyFive, RenjuTable(), FiveRule::FiveOrMore, FreeTable());
  return t;
}
const Table& EvalWhite() {
  static const Table t =
      BuildEvalTable(FiveRule::FiveOrMore, FreeTable(), FiveRule::ExactlyFive, RenjuTable());
  return t;
}

int Free(const std::string& line) { return FreeTable()[L(line)]; }
int Renju(const std::string& line) { return RenjuTable()[L(line)]; }
bool IsThree(int p) { return p < 0x80 && (p & 0x60) != 0; }
bool IsFour(int p) { return p >= 0x80 && p < 0xC0 && p != kOpenFour; }

}  // namespace

TEST(TablesLineIndex, LayoutAndColourView) {
  // Own stones on c-d and c+d.
  EXPECT_EQ(L("X[c]X"), 0xF00u);
  EXPECT_EQ(SwapSides(L("X[c]X")), L("O[c]O"));
  EXPECT_EQ(SwapSides(L("#O.X[c]XO#")), L("#X.O[c]OX#"));
  EXPECT_EQ(L("X....[c]"), 3u << 18);
  EXPECT_EQ(L("[c]....X"), 3u);
  EXPECT_TRUE(IsReachable(L("#####[c]#####")));
  EXPECT_TRUE(IsReachable(L("#.[c]X#")));
  EXPECT_FALSE(IsReachable(L(".#[c]")));
  EXPECT_FALSE(IsReachable(L("[c]X#X")));
  EXPECT_EQ(FreeTable()[L("[c]X#X")], kNothing);
}

TEST(TablesPatterns, Fives) {
  for (const char* five : {"XX[c]XX", "XXXX[c]", "[c]XXXX", "#XXXX[c]O", ".XXXX[c]."}) {
    EXPECT_EQ(Free(five), kFive) << five;
    EXPECT_EQ(Renju(five), kFive) << five;
  }
  // Free-style: more than five is still a five; Renju black: an overline.
  for (const char* six : {"XXX[c]XX", "XXXXX[c]", "XXXX[c]X", "XXXXX[c]XXXXX"}) {
    EXPECT_EQ(Free(six), kFive) << six;
    EXPECT_GE(Renju(six), kOverline) << six;
  }
}

TEST(TablesPatterns, OpenAndClosedFours) {
  for (const char* open : {"..XXX[c]..", "..XX[c]X..", ".[c]XXX."}) {
    EXPECT_EQ(Free(open), kOpenFour) << open;
    EXPECT_EQ(Renju(open), kOpenFour) << open;
  }
  for (const char* closed :
       {"OXXX[c].", "#XXX[c]..", "XX.X[c]", "X.XX[c]O", ".XXX[c]O", "X[c]X.X"}) {
    EXPECT_TRUE(IsFour(Free(closed))) << closed;
    EXPECT_TRUE(IsFour(Renju(closed))) << closed;
  }
  // Nothing but the five point to look at.
  EXPECT_EQ(Free("OXXX[c].O"), kPlainFour);
  EXPECT_EQ(Free("#XXX[c].#"), kPlainFour);
  // Once the five point is blocked, X O X X c . . still makes a closed four.
  EXPECT_EQ(Free("X.XX[c]..."), kFour);
  EXPECT_EQ(Renju("X.XX[c]..."), kFour);
  // ...while X X O X c . . makes only a closed three: nothing for the point search.
  EXPECT_EQ(Free("XX.X[c]..."), kPlainFour);
}

TEST(TablesPatterns, Threes) {
  EXPECT_EQ(Free("..XX[c].."), kOpenThree);
  EXPECT_EQ(Free("...X[c]..."), kTwo);
  for (const char* split : {".X.X[c]..", "..X[c].X..", ".[c].XX.", "..[c]X.X."}) {
    EXPECT_TRUE(IsThree(Free(split))) << split;
    EXPECT_TRUE(IsThree(Renju(split))) << split;
  }
  // Blocked on one side, or boxed in: one more stone makes only a closed four.
  for (const char* closed : {"OXX[c]...", "O.XX[c].O", "#XX[c]...", "..XX[c]#", "O.X[c]X.O"}) {
    EXPECT_EQ(Free(closed), kClosedThree) << closed;
    EXPECT_EQ(Renju(closed), kClosedThree) << closed;
  }
  // A lone stone, and a line with no room for five, are nothing.
  EXPECT_EQ(Free("....[c]...."), kNothing);
  EXPECT_EQ(Free("O.X[c].O"), kNothing);
  EXPECT_EQ(Free("#.X[c]XO"), kNothing);
}

TEST(TablesPatterns, EdgeOfBoard) {
  EXPECT_EQ(Free("#####[c]#####"), kNothing);
  EXPECT_EQ(Free("#XXXX[c]#"), kFive);
  EXPECT_EQ(Free("##XXX[c]#"), kNothing);  // four cells between the edges
  EXPECT_EQ(Free("#XXX[c].#"), kPlainFour);
  EXPECT_EQ(Free("#...[c]XX"), kOpenThree);
  EXPECT_EQ(Free("#..X[c]X."), kOpenThree);
  EXPECT_EQ(Free("#.X[c]X.."), kSplitThree);  // an open four on the left would need the edge cell
}

TEST(TablesRenju, FourWhoseCompletionMakesSixIsNotOpen) {
  // The left end makes six, the right end five.
  EXPECT_EQ(Free("X.XXX[c].."), kOpenFour);
  EXPECT_TRUE(IsFour(Renju("X.XXX[c].."))) << Renju("X.XXX[c]..");
  EXPECT_TRUE(IsFour(Renju("..XXX[c].X")));
  EXPECT_EQ(Free("XXXX.[c]"), kPlainFour);
  EXPECT_EQ(Renju("XXXX.[c]"), kNothing);
  // Both ends make six: no four at all.
  EXPECT_LT(Renju("X.XXX[c].X"), kPlainFour);
  EXPECT_EQ(Free("X.XXX[c].X"), kOpenFour);
}

TEST(TablesRenju, DoubleFourInOneLineIsAFoul) {
  for (const char* line : {"X.X[c]X.X", "XX.X[c].XX", "X.XX[c].X", "XXX.[c].XXX"}) {
    EXPECT_EQ(Renju(line), kDoubleFourInLine) << line;
    EXPECT_EQ(Free(line), kOpenFour) << line;
  }
  // The right five point of X.XXX.XX makes six, so only one four remains.
  EXPECT_TRUE(IsFour(Renju("X.X[c]X.XX")));
}

TEST(TablesRenju, ThreesNeedAnExactFive) {
  // Free-style: both ..XXX. moves make an open four. Renju: the left one leads to six.
  EXPECT_EQ(Free("X..XX[c].."), kOpenThree);
  EXPECT_EQ(Renju("X..XX[c].."), kSplitThree);
  // Every open-four point of X.X.XX. makes an overline or a double four.
  EXPECT_TRUE(IsThree(Free("X.X.X[c]..")));
  EXPECT_FALSE(IsThree(Renju("X.X.X[c]..")));
}

namespace {

// A classifier written from the shapes' definitions over five-cell windows,
// independent of the generator's run walking.
struct Oracle {
  FiveRule rule;
  std::array<int, 11> a;
  int& at(int k) { return a[k + kReach]; }

  explicit Oracle(std::uint32_t index, FiveRule r) : rule(r) {
    for (int k = 1; k <= kReach; ++k) at(-k) = CellAt(index, -k), at(k) = CellAt(index, k);
    at(0) = kOwn;
  }
  bool OwnAt(int k) { return k >= -kReach && k <= kReach && at(k) == kOwn; }
  bool FiveThroughCentre() {
    for (int s = -4; s <= 0; ++s) {
      bool full = true;
      for (int k = s; k < s + 5; ++k) full = full && OwnAt(k);
      if (full && (rule == FiveRule::FiveOrMore || (!OwnAt(s - 1) && !OwnAt(s + 5)))) return true;
    }
    return false;
  }
  bool Overline() {
    for (int s = -5; s <= 0; ++s) {
      bool full = true;
      for (int k = s; k < s + 6; ++k) full = full && OwnAt(k);
      if (full) return true;
    }
    return false;
  }
  bool FivePoint(int y) {
    if (y == 0 || at(y) != kEmpty) return false;
    at(y) = kOwn;
    bool five = FiveThroughCentre();
    at(y) = kEmpty;
    return five;
  }
  int FivePoints() {
    int n = 0;
    for (int y = -kReach; y <= kReach; ++y) n += FivePoint(y);
    return n;
  }
  bool OpenFour() {
    if (FiveThroughCentre() || (rule == FiveRule::ExactlyFive && Overline())) return false;
    if (rule == FiveRule::FiveOrMore) return FivePoints() >= 2;
    for (int s = -3; s <= 0; ++s) {
      bool four = true;
      for (int k = s; k < s + 4; ++k) four = four && OwnAt(k);
      if (four && FivePoint(s - 1) && FivePoint(s + 4)) return true;
    }
    return false;
  }
  bool Three() {
    if (FiveThroughCentre() || FivePoints() > 0 || (rule == FiveRule::ExactlyFive && Overline()))
      return false;
    for (int y = -kReach; y <= kReach; ++y) {
      if (y == 0 || at(y) != kEmpty) continue;
      at(y) = kOwn;
      bool open = OpenFour();
      at(y) = kEmpty;
      if (open) return true;
    }
    return false;
  }
};

void CheckAgainstOracle(FiveRule rule, const std::vector<std::uint8_t>& table) {
  int mismatches = 0;
  for (std::uint32_t i = 0; i < kLineIndexCount && mismatches < 10; ++i) {
    if (!IsReachable(i)) continue;
    Oracle o(i, rule);
    const int p = table[i];
    const bool five = o.FiveThroughCentre();
    const bool overline = rule == FiveRule::ExactlyFive && !five && o.Overline();
    const int points = five || overline ? 0 : o.FivePoints();
    bool ok = (p == kFive) == five && (p == kOverline) == overline &&
              (p == kOpenFour) == o.OpenFour() &&
              (p == kDoubleFourInLine) == (points >= 2 && !o.OpenFour()) &&
              (p == kPlainFour || p == kFour) == (points == 1) && IsThree(p) == o.Three();
    if (!ok) {
      ++mismatches;
      ADD_FAILURE() << std::hex << "index 0x" << i << " class 0x" << p;
    }
  }
}

// The make's five search: walk over own stones to the first other cell on each
// side; a cell whose lookup is exactly five is a five point and then counts as
// blocked. Returns the line as the point search then sees it.
std::uint32_t FiveSearch(const std::vector<std::uint8_t>& table, std::uint32_t index, int* found) {
  *found = 0;
  for (int s : {1, -1}) {
    int x = s;
    while (x * s < kReach && CellAt(index, x) == kOwn) x += s;
    if (CellAt(index, x) == kEmpty && table[WithCell(index, x, kOwn)] == kFive) {
      ++*found;
      index = WithCell(index, x, kOpponent);
    }
  }
  return index;
}

// The make's point search: at most two empty cells per side, the first reached
// over own stones from c, the second over own stones beyond the first.
std::vector<std::uint8_t> PointSearch(const std::vector<std::uint8_t>& table, std::uint32_t index) {
  std::vector<std::uint8_t> found;
  for (int s : {1, -1}) {
    int x = s;
    while (x * s < kReach && CellAt(index, x) == kOwn) x += s;
    if (CellAt(index, x) != kEmpty) continue;
    found.push_back(table[WithCell(index, x, kOwn)]);
    int y = x + s;
    while (y * s < kReach && CellAt(index, y) == kOwn) y += s;
    if (y * s <= kReach && CellAt(index, y) == kEmpty)
      found.push_back(table[WithCell(index, y, kOwn)]);
  }
  return found;
}

void CheckMakeFindsItsPoints(const std::vector<std::uint8_t>& table) {
  int failures = 0;
  for (std::uint32_t i = 0; i < kLineIndexCount && failures < 10; ++i) {
    const int p = table[i];
    if (p == kNothing || p >= kFive) continue;
    int fives = 0;
    std::uint32_t seen = i;
    if (p >= kPlainFour) seen = FiveSearch(table, i, &fives);
    bool ok = p < kPlainFour || (p == kOpenFour ? fives == 2 : fives == 1);
    if (IsThree(p) || p == kFour) {
      // A three must show the point search an open-four point; a four that
      // asks for the point search must leave it something to find.
      bool useful = false;
      for (std::uint8_t q : PointSearch(table, seen))
        useful = useful || (IsThree(p) ? q == kOpenFour : (q >= kSplitThree && q <= kFive));
      ok = ok && useful;
    }
    if (!ok) {
      ++failures;
      ADD_FAILURE() << std::hex << "index 0x" << i << " class 0x" << p << " five points found "
                    << fives;
    }
  }
}

}  // namespace

TEST(TablesWhole, FreestyleMatchesShapeDefinitions) {
  CheckAgainstOracle(FiveRule::FiveOrMore, FreeTable());
}
TEST(TablesWhole, RenjuBlackMatchesShapeDefinitions) {
  CheckAgainstOracle(FiveRule::ExactlyFive, RenjuTable());
}

TEST(TablesWhole, MakeFindsFiveAndOpenFourPoints) {
  CheckMakeFindsItsPoints(FreeTable());
  CheckMakeFindsItsPoints(RenjuTable());
}

TEST(TablesWhole, MirroredLinesAgree) {
  int failures = 0;
  for (std::uint32_t i = 0; i < kLineIndexCount && failures < 10; ++i) {
    const std::uint32_t m = Mirror(i);
    for (const auto* table :
         {&FreeTable(), &RenjuTable(), &EvalSimple(), &EvalBlack(), &EvalWhite()}) {
      if ((*table)[i] != (*table)[m]) {
        ++failures;
        ADD_FAILURE() << std::hex << "index 0x" << i;
      }
    }
  }
}

TEST(TablesWhole, UnreachableLinesAreNothingAndNeutral) {
  for (std::uint32_t i = 0; i < kLineIndexCount; ++i) {
    if (IsReachable(i)) continue;
    ASSERT_EQ(FreeTable()[i], kNothing);
    ASSERT_EQ(RenjuTable()[i], kNothing);
    ASSERT_EQ(EvalBlack()[i], 40);
  }
}

namespace {
int Eval(const std::vector<std::uint8_t>& table, const std::string& line) { return table[L(line)]; }
}  // namespace

TEST(TablesEvaluation, BuildingAndBlocking) {
  for (const auto* table : {&EvalSimple(), &EvalBlack(), &EvalWhite()}) {
    const auto& e = *table;
    const int quiet = Eval(e, "....[c]....");
    EXPECT_GT(quiet, 40);
    EXPECT_GT(Eval(e, "OOOO[c]"), Eval(e, "...X[c]..."));     // block a four
    EXPECT_GT(Eval(e, ".OOO[c].."), quiet + 20);              // block an open three
    EXPECT_GT(Eval(e, "..[c]OO."), quiet);                    // cut a two
    EXPECT_GT(Eval(e, "..XX[c].."), Eval(e, "OXX[c]..."));    // open three beats closed
    EXPECT_GT(Eval(e, "..XX[c].."), Eval(e, "...X[c]..."));   // three beats two
    EXPECT_GT(Eval(e, "..X[c].X.."), Eval(e, "...X[c]..."));  // split three beats two
    EXPECT_GT(Eval(e, "..X.[c].."), quiet);                   // two with space
    EXPECT_GT(Eval(e, ".XXX[c]."), Eval(e, "OXXX[c]."));      // open four beats closed
    EXPECT_GT(Eval(e, "OXXX[c]."), Eval(e, "O.XX[c].O"));     // a four beats a dead three
    EXPECT_GE(Eval(e, "O.X[c].O"), 40);                       // never a penalty for a quiet stone
    EXPECT_LE(Eval(e, "#.X[c]XO"), quiet);                    // no room for five
  }
}

TEST(TablesEvaluation, RenjuBlackIsNotRewardedForOverlines) {
  const auto& black = EvalBlack();
  EXPECT_LT(Eval(black, "XXX[c]XX"), 40);   // the overline itself
  EXPECT_LT(Eval(black, "X.X[c]X.X"), 40);  // a double four in one line
  EXPECT_LT(Eval(black, "XXXX.[c]"), 40);   // spoils its own five point
  EXPECT_LT(Eval(black, "X.XXX[c].X"), Eval(EvalSimple(), "X.XXX[c].X"));
  EXPECT_GT(Eval(black, "XX[c]XX"), Eval(black, "..XX[c].."));
  // White blocking a cell where black could only make six gains nothing from it.
  EXPECT_EQ(Eval(EvalWhite(), "OOO[c]OO"), 40);
  EXPECT_GT(Eval(EvalSimple(), "OOO[c]OO"), 100);
}

TEST(TablesFiles, GeneratedFilesHoldTheseTables) {
  // The game's evaluation tables come from the tuned weights file, the pattern tables from
  // the classifier alone.
  EvalParams params;
  std::string error;
  ASSERT_TRUE(ReadEvalParams(EVAL_PARAMS_FILE, params, error)) << error;
  const auto tuned = [&](FiveRule own, const Table& ownTable, FiveRule opp, const Table& oppTable,
                         EvalTable t) {
    return BuildEvalTable(own, ownTable, opp, oppTable, params[t]);
  };
  const Table simple =
      tuned(FiveRule::FiveOrMore, FreeTable(), FiveRule::FiveOrMore, FreeTable(), kEvalFree);
  const Table black = tuned(FiveRule::ExactlyFive, RenjuTable(), FiveRule::FiveOrMore, FreeTable(),
                            kEvalRenjuBlack);
  const Table white = tuned(FiveRule::FiveOrMore, FreeTable(), FiveRule::ExactlyFive, RenjuTable(),
                            kEvalRenjuWhite);
  const std::pair<const char*, const Table*> files[] = {{"Sim543b.tab", &FreeTable()},
                                                        {"jp543b.tab", &RenjuTable()},
                                                        {"evalsimple.tab", &simple},
                                                        {"evaljpblk.tab", &black},
                                                        {"evaljpwht.tab", &white}};
  for (const auto& [name, table] : files) {
    std::ifstream in(name, std::ios::binary);
    ASSERT_TRUE(in) << name;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes.size(), 1048576u) << name;
    EXPECT_TRUE(bytes == *table) << name;
  }
}

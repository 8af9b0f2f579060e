// The opening book: signatures and their symmetry, the generated book, look-ups on hand-made
// books, damaged book files, and the book's writers.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "Book.h"
#include "ChessData.h"
#include "EngineHost.h"
#include "OpeningList.h"
#include "RecordTestUtil.h"

namespace {

std::array<uint8_t, SIGNATURE_BYTES> Canonical(int* orientation = nullptr) {
  std::array<uint8_t, SIGNATURE_BYTES> s{};
  int o = CanonicalSignature(s.data());
  if (orientation) *orientation = o;
  return s;
}

std::vector<int> MirrorAll(int o, const std::vector<int>& cells) {
  std::vector<int> out;
  for (int c : cells) out.push_back(Mirror(o, c));
  return out;
}

// Same stones of the same colours, whatever the playing order.
bool SamePosition(const std::vector<int>& a, const std::vector<int>& b) {
  std::set<int> ab, aw, bb, bw;
  for (size_t i = 0; i < a.size(); ++i) ((i & 1) ? aw : ab).insert(a[i]);
  for (size_t i = 0; i < b.size(); ++i) ((i & 1) ? bw : bb).insert(b[i]);
  return ab == bb && aw == bw;
}

TEST(BookSignature, QuinaryIndexCountsEmptyWhiteBlackInBaseThree) {
  BuildQuinaryIndex();
  EXPECT_EQ(quinaryIndex[0x000], 0);    // five empty cells
  EXPECT_EQ(quinaryIndex[0x3FF], 242);  // five black: 22222
  EXPECT_EQ(quinaryIndex[0x200], 81);   // white first cell: 10000
  EXPECT_EQ(quinaryIndex[0x003], 2);    // black last cell: 00002
  EXPECT_EQ(quinaryIndex[0x2AA], 121);  // five white: 11111
  EXPECT_EQ(quinaryIndex[0x155], 0);    // border codes count nothing
  EXPECT_EQ(quinaryIndex[0x3FD], 0);
  std::set<int> values;
  for (int code = 0; code < 1024; ++code) {
    bool border = false;
    for (int d = 0; d < 5; ++d) border |= ((code >> (2 * d)) & 3) == 1;
    if (!border) values.insert(quinaryIndex[code]);
  }
  EXPECT_EQ(values.size(), 243u);
}

TEST(BookSignature, LastByteIsMostSignificant) {
  uint8_t a[SIGNATURE_BYTES] = {}, b[SIGNATURE_BYTES] = {};
  EXPECT_EQ(CompareSignature(a, b), 0);
  a[0] = 200;
  b[44] = 1;
  EXPECT_EQ(CompareSignature(a, b), -1);
  EXPECT_EQ(CompareSignature(b, a), 1);
  a[44] = 1;
  EXPECT_EQ(CompareSignature(a, b), 1);
}

TEST(BookSignature, RowsAreReadInGroupsOfFiveFromTheLowColumn) {
  BuildQuinaryIndex();
  SetGameBoard({Cell(0, 0), Cell(0, 5)});  // black at a15, white at f15
  uint8_t s[SIGNATURE_BYTES];
  BoardSignature(128, 1, 32, s);
  EXPECT_EQ(s[0], 162);  // 2 x 81
  EXPECT_EQ(s[1], 81);
  for (int i = 2; i < SIGNATURE_BYTES; ++i) EXPECT_EQ(s[i], 0) << i;
}

TEST(BookSignature, EightMirrorImagesShareOneSignature) {
  BuildQuinaryIndex();
  std::mt19937 rng(7);
  for (int trial = 0; trial < 60; ++trial) {
    std::vector<int> stones;
    int n = 1 + static_cast<int>(rng() % 24);
    while (static_cast<int>(stones.size()) < n) {
      int c = Cell(static_cast<int>(rng() % 15), static_cast<int>(rng() % 15));
      if (std::find(stones.begin(), stones.end(), c) == stones.end()) stones.push_back(c);
    }
    SetGameBoard(stones);
    int o0;
    auto reference = Canonical(&o0);
    // The orientation returned really is one that reads the largest signature.
    uint8_t again[SIGNATURE_BYTES];
    BoardSignature(bookOrientations[o0].start, bookOrientations[o0].colStep,
                   bookOrientations[o0].rowStep, again);
    EXPECT_EQ(CompareSignature(again, reference.data()), 0);
    for (int o = 0; o < 8; ++o) {
      uint8_t plain[SIGNATURE_BYTES];
      BoardSignature(bookOrientations[o].start, bookOrientations[o].colStep,
                     bookOrientations[o].rowStep, plain);
      EXPECT_LE(CompareSignature(plain, reference.data()), 0);
      SetGameBoard(MirrorAll(o, stones));
      EXPECT_EQ(Canonical(), reference) << "trial " << trial << " orientation " << o;
    }
  }
}

// ---- The generated book (the game directory is the working directory) ---------------------

class GeneratedBook : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildQuinaryIndex();
    LoadBookIndex();
    for (const char* file : {OPENINGS_FILE, RENJU_BOOK_FILE}) {
      std::ifstream in(file);
      ASSERT_TRUE(in) << file;
      std::string error;
      ASSERT_TRUE(ParseOpeningList(in, lists.emplace_back(), error)) << file << ": " << error;
    }
  }
  // The replies the book may give for the line's position: those of the first list holding
  // the position in any mirror image.
  std::set<int> Acceptable(const OpeningLine& line) const {
    std::set<int> acceptable;
    for (const auto& list : lists) {
      for (const OpeningLine& other : list)
        for (int u = 0; u < 8; ++u)
          if (SamePosition(MirrorAll(u, other.stones), line.stones))
            for (const OpeningReply& r : other.replies) acceptable.insert(Mirror(u, r.cell));
      if (!acceptable.empty()) break;
    }
    return acceptable;
  }
  std::vector<std::vector<OpeningLine>> lists;  // the hand-written list, then the deep book
};

TEST_F(GeneratedBook, HoldsAllTwentySixOpenings) {
  const std::vector<OpeningLine>& lines = lists[0];
  std::set<std::string> names;
  for (const OpeningLine& line : lines)
    if (line.stones.size() == 3)
      names.insert(line.stones[1] == 327 ? "direct " + CellName(line.stones[2])
                                         : "indirect " + CellName(line.stones[2]));
  EXPECT_EQ(names.size(), 26u);
  for (const OpeningLine& line : lines) {
    if (line.stones.size() != 3) continue;
    EXPECT_EQ(line.stones[0], CENTRE_CELL);
    EXPECT_TRUE(line.stones[1] == 327 || line.stones[1] == 328);
    EXPECT_LE(std::abs(RowOf(line.stones[2]) - 7), 2);
    EXPECT_LE(std::abs(ColOf(line.stones[2]) - 7), 2);
  }
}

TEST_F(GeneratedBook, EveryLineIsFoundFromAllEightOrientations) {
  ASSERT_GT(bookCount, 26);
  for (const auto& list : lists)
    for (const OpeningLine& line : list) {
      const std::set<int> acceptable = Acceptable(line);
      for (int t = 0; t < 8; ++t) {
        SetGameBoard(MirrorAll(t, line.stones));
        for (int draw = 0; draw < 4; ++draw) {
          int cell = -1, extra = -1;
          int weight = BookLookup(&cell, &extra);
          EXPECT_EQ(weight, 128) << "line " << line.lineNumber << " orientation " << t;
          bool found = false;
          for (int c : acceptable) found |= Mirror(t, c) == cell;
          EXPECT_TRUE(found) << "line " << line.lineNumber << " orientation " << t << " gave "
                             << (cell > 0 ? CellName(cell) : std::to_string(cell));
        }
      }
    }
}

// The deep book's lines are games the engine could have played: every stone on an empty cell,
// no foul by black under Renju, no five before the book's move.
TEST_F(GeneratedBook, DeepLinesAreLegalRenjuGames) {
  ASSERT_TRUE(AiInit()) << (aiLoadFailure ? aiLoadFailure : "");
  AiSetRules(RULES_RENJU);
  ASSERT_FALSE(lists[1].empty());
  constexpr uint32_t fouls = FOUL_DOUBLE_THREE | FOUL_DOUBLE_FOUR | FOUL_OVERLINE;
  for (const OpeningLine& line : lists[1]) {
    const std::string where = "line " + std::to_string(line.lineNumber);
    AiReset();
    uint32_t flags = 0;
    for (int c : line.stones) {
      ASSERT_EQ(flags & THREAT_FIVE, 0u) << where << ": a five before " << CellName(c);
      ASSERT_EQ(gameBoard[c], CELL_EMPTY) << where << " " << CellName(c);
      const bool black = !(gameStones & 1);
      flags = AiPlayMove(c);
      EXPECT_FALSE(black && (flags & fouls)) << where << ": black's " << CellName(c);
    }
    EXPECT_EQ(flags & THREAT_FIVE, 0u) << where;
    for (const OpeningReply& r : line.replies) {
      EXPECT_EQ(gameBoard[r.cell], CELL_EMPTY) << where;
      EXPECT_FALSE(!(gameStones & 1) && RenjuFouls(r.cell))
          << where << ": black's " << CellName(r.cell);
    }
  }
  AiFree();
}

TEST_F(GeneratedBook, FilesHaveTheBookLayout) {
  auto ndx = ReadBytes("book.ndx");
  auto rec = ReadBytes("book.rec");
  ASSERT_EQ(ndx.size() % 2, 0u);
  ASSERT_EQ(rec.size() % 56, 0u);
  size_t records = rec.size() / 56;
  ASSERT_EQ(ndx.size() / 2, records);  // every record indexed once
  EXPECT_EQ(bookCount, static_cast<int>(records));
  std::set<int> seen;
  BookRecord previous{}, current{};
  for (size_t i = 0; i < records; ++i) {
    int number = ndx[2 * i] | ndx[2 * i + 1] << 8;
    ASSERT_LT(number, static_cast<int>(records));
    EXPECT_TRUE(seen.insert(number).second);
    DecodeBookRecord(rec.data() + 56 * number, current);
    if (i == 0) {
      // Position 0 is never compared by the search: it holds the empty board, never played.
      for (uint8_t b : current.signature) EXPECT_EQ(b, 0);
      EXPECT_EQ(current.weight, 0);
    } else {
      EXPECT_GE(CompareSignature(current.signature, previous.signature), 0) << "index " << i;
      EXPECT_LT(current.move / 32, 15);
      EXPECT_LT(current.move % 32, 15);
    }
    previous = current;
  }
}

TEST_F(GeneratedBook, ThinkPlaysTheBookUnderRenju) {
  ASSERT_TRUE(AiInit()) << (aiLoadFailure ? aiLoadFailure : "");
  // Kagetsu, turned a quarter: white's fourth comes from the book at once.
  std::vector<int> kagetsu = MirrorAll(1, {ParseCell("h8"), ParseCell("h9"), ParseCell("i9")});
  AiSetRules(RULES_RENJU);
  AiReset();
  for (int c : kagetsu) AiPlayMove(c);
  int info = -1, score = -1;
  int cell = AiThink(0, 1, 4, 1, &info, &score);
  EXPECT_EQ(cell, Mirror(1, ParseCell("j10")));
  EXPECT_EQ(score, 0);
  AiFree();
}

// ---- Hand-made books in a private working directory ----------------------------------------

class HandBook : public ::testing::Test {
 protected:
  HandBook() : dir(true) {}
  void SetUp() override {
    BuildQuinaryIndex();
    EngineHost::Milliseconds = [] { return 0u; };
    SeedRandom(1);
    SetGameBoard({});
    AddRecord(Canonical().data(), 0, CENTRE_CELL - 128);  // the never-compared position 0
  }
  void TearDown() override { EngineHost::Milliseconds = savedClock; }

  int AddRecord(const uint8_t* signature, int weight, int move, int extra = 0) {
    std::array<uint8_t, 56> raw{};
    std::memcpy(raw.data(), signature, SIGNATURE_BYTES);
    raw[45] = static_cast<uint8_t>(weight);
    raw[46] = static_cast<uint8_t>(move);
    raw[47] = static_cast<uint8_t>(move >> 8);
    raw[48] = static_cast<uint8_t>(extra);
    raw[49] = static_cast<uint8_t>(extra >> 8);
    records.push_back(raw);
    index.push_back(static_cast<uint16_t>(records.size() - 1));
    return static_cast<int>(records.size() - 1);
  }
  // Records of the position on gameBoard: canonical move of each board cell.
  void AddMoves(std::initializer_list<std::pair<int, int>> cellWeights) {
    int o;
    auto s = Canonical(&o);
    for (auto [cell, weight] : cellWeights) AddRecord(s.data(), weight, CellToCanonical(cell, o));
  }
  void Write() {
    std::vector<uint8_t> rec, ndx;
    for (auto& r : records) rec.insert(rec.end(), r.begin(), r.end());
    for (uint16_t n : index) {
      ndx.push_back(static_cast<uint8_t>(n));
      ndx.push_back(static_cast<uint8_t>(n >> 8));
    }
    WriteBytes("book.rec", rec);
    WriteBytes("book.ndx", ndx);
    LoadBookIndex();
  }
  int Lookup(int* cell = nullptr, int* extra = nullptr) {
    int c = -1, e = -1;
    int w = BookLookup(&c, &e);
    if (cell) *cell = c;
    if (extra) *extra = e;
    return w;
  }

  ScratchDir dir;
  std::vector<std::array<uint8_t, 56>> records;
  std::vector<uint16_t> index;
  uint32_t (*savedClock)() = EngineHost::Milliseconds;
  const std::vector<int> position = {CENTRE_CELL, Cell(6, 7), Cell(6, 8)};
};

TEST_F(HandBook, EqualChoicesBeatAHeavierRecord) {
  SetGameBoard(position);
  AddMoves({{Cell(5, 5), 128}, {Cell(8, 8), 200}, {Cell(9, 9), 128}, {Cell(9, 4), 128}});
  Write();
  std::set<int> seen;
  for (int i = 0; i < 40; ++i) {
    int cell;
    EXPECT_EQ(Lookup(&cell), 128);
    seen.insert(cell);
  }
  EXPECT_EQ(seen, (std::set<int>{Cell(5, 5), Cell(9, 9), Cell(9, 4)}));
}

TEST_F(HandBook, HeaviestRecordWinsAndTiesGoToTheFirst) {
  SetGameBoard(position);
  int o;
  auto s = Canonical(&o);
  AddRecord(s.data(), 5, CellToCanonical(Cell(5, 5), o), 0x1111);
  AddRecord(s.data(), 9, CellToCanonical(Cell(8, 8), o), 0x2345);
  AddRecord(s.data(), 9, CellToCanonical(Cell(9, 9), o), 0x3333);
  Write();
  int cell, extra;
  EXPECT_EQ(Lookup(&cell, &extra), 9);
  EXPECT_EQ(cell, Cell(8, 8));
  EXPECT_EQ(extra, 0x23450000);
}

TEST_F(HandBook, WeightZeroIsNeverPlayed) {
  SetGameBoard(position);
  AddMoves({{Cell(5, 5), 0}});
  Write();
  EXPECT_EQ(Lookup(), 0);
}

TEST_F(HandBook, SearchNeverComparesIndexPositionZero) {
  records.clear();
  index.clear();
  SetGameBoard(position);
  AddMoves({{Cell(5, 5), 128}});
  Write();
  EXPECT_EQ(bookCount, 1);
  EXPECT_EQ(Lookup(), -1);
}

TEST_F(HandBook, EmptyOrMissingBookFindsNothing) {
  SetGameBoard(position);
  AddMoves({{Cell(5, 5), 128}});
  Write();
  ASSERT_EQ(Lookup(), 128);

  WriteBytes("book.ndx", {});
  LoadBookIndex();
  EXPECT_EQ(bookCount, 0);
  EXPECT_EQ(Lookup(), -1);

  std::remove("book.ndx");
  LoadBookIndex();
  EXPECT_EQ(bookCount, 0);
  EXPECT_EQ(Lookup(), -1);

  Write();
  std::remove("book.rec");
  EXPECT_EQ(Lookup(), -1);
}

TEST_F(HandBook, DamagedIndexOrRecordsMissInsteadOfReadingStaleData) {
  SetGameBoard(position);
  AddMoves({{Cell(5, 5), 128}});
  Write();
  ASSERT_EQ(Lookup(), 128);

  // An odd trailing byte is no entry.
  auto ndx = ReadBytes("book.ndx");
  ndx.push_back(0x01);
  WriteBytes("book.ndx", ndx);
  LoadBookIndex();
  EXPECT_EQ(bookCount, 2);
  EXPECT_EQ(Lookup(), 128);

  // The entry points past the end of "book.rec".
  index[1] = 7;
  Write();
  EXPECT_EQ(Lookup(), -1);

  // "book.rec" cut inside the record.
  index[1] = 1;
  Write();
  auto rec = ReadBytes("book.rec");
  rec.resize(56 + 30);
  WriteBytes("book.rec", rec);
  EXPECT_EQ(Lookup(), -1);
}

TEST_F(HandBook, MovesOffTheBoardOrOntoStonesAreNoChoice) {
  SetGameBoard(position);
  int o;
  auto s = Canonical(&o);
  for (int move : {0x7FF, 20, 32 * 3 + 15, 32 * 15}) {
    records.resize(1);
    index.resize(1);
    AddRecord(s.data(), 128, move);
    Write();
    EXPECT_EQ(Lookup(), -1) << move;
  }
  records.resize(1);
  index.resize(1);
  AddMoves({{Cell(6, 7), 128}});  // white's stone
  Write();
  EXPECT_EQ(Lookup(), -1);

  // A sound record beside a damaged one is still played.
  records.resize(1);
  index.resize(1);
  AddRecord(s.data(), 200, 0x7FF);
  AddMoves({{Cell(6, 8), 250}, {Cell(9, 9), 9}});
  Write();
  int cell;
  EXPECT_EQ(Lookup(&cell), 9);
  EXPECT_EQ(cell, Cell(9, 9));
}

TEST_F(HandBook, AtMostSixtyFourEqualChoicesAreKept) {
  SetGameBoard({CENTRE_CELL});
  int o;
  auto s = Canonical(&o);
  std::vector<int> order;
  for (int row = 0; row < 15 && order.size() < 70; ++row)
    for (int col = 0; col < 15 && order.size() < 70; ++col)
      if (Cell(row, col) != CENTRE_CELL) order.push_back(Cell(row, col));
  for (int cell : order) AddRecord(s.data(), 128, CellToCanonical(cell, o));
  Write();
  std::set<int> allowed(order.begin(), order.begin() + 64);
  for (int draw = 0; draw < 60; ++draw) {
    int cell;
    ASSERT_EQ(Lookup(&cell), 128);
    EXPECT_TRUE(allowed.count(cell)) << CellName(cell);
  }
}

TEST_F(HandBook, GarbageFilesNeverCrashOrPlayOntoStones) {
  std::mt19937 rng(3);
  SetGameBoard(position);
  for (int trial = 0; trial < 40; ++trial) {
    std::vector<uint8_t> rec(rng() % 400), ndx(rng() % 40);
    for (auto& b : rec) b = static_cast<uint8_t>(rng());
    for (auto& b : ndx) b = static_cast<uint8_t>(rng() % 4);  // small record numbers
    WriteBytes("book.rec", rec);
    WriteBytes("book.ndx", ndx);
    LoadBookIndex();
    int cell = -1;
    int w = Lookup(&cell);
    if (w > 0) {
      ASSERT_GE(cell, 128);
      EXPECT_EQ(gameBoard[cell], CELL_EMPTY);
    }
  }
}

// The writers the generator uses keep the index sorted and the records consistent.
TEST_F(HandBook, WritersBuildABookTheLookupReads) {
  std::remove("book.rec");
  std::remove("book.ndx");
  bookCount = 0;
  SetGameBoard({});
  BookAddRecord(0, CENTRE_CELL, 0);
  SetGameBoard(position);
  BookAddRecord(9, Cell(9, 9), 0x00050000);
  EXPECT_EQ(ReadBytes("book.rec").size(), 2u * 56);
  BookAddRecord(5, Cell(5, 5), 0);  // lighter than the record already there: refused
  EXPECT_EQ(ReadBytes("book.rec").size(), 2u * 56);
  BookAddRecord(12, Cell(9, 9), 0);  // same move, heavier: rewritten in place
  EXPECT_EQ(ReadBytes("book.rec").size(), 2u * 56);
  BookAddRecord(20, Cell(4, 4), 0);  // heavier, another move: added
  EXPECT_EQ(ReadBytes("book.rec").size(), 3u * 56);

  // More positions, some of them mirror images of each other.
  std::vector<std::vector<int>> others = {{CENTRE_CELL},
                                          {CENTRE_CELL, Cell(6, 7)},
                                          {Cell(3, 3), Cell(3, 4), Cell(4, 4)},
                                          MirrorAll(5, {Cell(3, 3), Cell(3, 4), Cell(4, 4)}),
                                          {Cell(10, 2), Cell(11, 2), Cell(12, 2), Cell(0, 0)}};
  for (auto& stones : others) {
    SetGameBoard(stones);
    int free = Cell(14, 14) == stones.back() ? Cell(13, 13) : Cell(14, 14);
    BookAddRecord(77, free, 0);
  }

  LoadBookIndex();
  ASSERT_EQ(static_cast<size_t>(bookCount), ReadBytes("book.rec").size() / 56);
  auto rec = ReadBytes("book.rec");
  for (int i = 2; i < bookCount; ++i) {
    BookRecord a, b;
    DecodeBookRecord(rec.data() + 56 * bookIndex[i - 1], a);
    DecodeBookRecord(rec.data() + 56 * bookIndex[i], b);
    EXPECT_LE(CompareSignature(a.signature, b.signature), 0) << i;
  }
  SetGameBoard(position);
  int cell, extra;
  EXPECT_EQ(Lookup(&cell, &extra), 20);
  EXPECT_EQ(cell, Cell(4, 4));
  SetGameBoard(MirrorAll(6, position));
  EXPECT_EQ(Lookup(&cell, &extra), 20);
  EXPECT_EQ(cell, Mirror(6, Cell(4, 4)));
  for (auto& stones : others) {
    SetGameBoard(stones);
    EXPECT_EQ(Lookup(&cell), 77);
    EXPECT_EQ(gameBoard[cell], CELL_EMPTY);
  }
}

// genbook over two lists: a position either list holds is answered, from the first list when
// both hold it (also as a mirror image), with one record per position and move.
TEST(GenbookLists, TheFirstListWinsWhereBothHoldAPosition) {
  struct Case {
    const char* first;   // a line of the first list, or ""
    const char* second;  // a line of the second list, or ""
    const char* asked;   // the position looked up
    const char* answer;
  } cases[] = {
      {"h8 h9 j10 : i9", "", "h8 h9 j10", "i9"},
      {"", "h8 i9 j8 : k7", "h8 i9 j8", "k7"},
      {"h8 h9 i10 : i9", "h8 h9 i10 : g9", "h8 h9 i10", "i9"},
      {"h8 i9 f6 : g7", "h8 g9 j6 : k7", "h8 i9 f6", "g7"},  // the second mirrored, col -> 14 - col
      {"", "h8 h9 h10 i9 : g9\nh8 h9 h10 i9 : g9", "h8 h9 h10 i9", "g9"},
  };
  ScratchDir dir(true);
  std::ofstream first("first.txt"), second("second.txt");
  for (const Case& c : cases) first << c.first << "\n", second << c.second << "\n";
  first.close();
  second.close();
  const std::string command = std::string(GENBOOK_EXE) + " first.txt second.txt . > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(ReadBytes("book.rec").size(), 56u * (1 + std::size(cases)));  // and the sentinel

  BuildQuinaryIndex();
  LoadBookIndex();
  for (const Case& c : cases) {
    std::vector<int> stones;
    std::istringstream words(c.asked);
    for (std::string w; words >> w;) stones.push_back(ParseCell(w));
    SetGameBoard(stones);
    int cell = -1, extra = -1;
    EXPECT_EQ(BookLookup(&cell, &extra), 128) << c.asked;
    EXPECT_EQ(cell, ParseCell(c.answer)) << c.asked;
  }
}

}  // namespace

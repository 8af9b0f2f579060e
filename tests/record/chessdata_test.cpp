// The game record: random numbers, undo and redo along the move list, ".SAV" files (round trip,
// damaged files, atomic save, the file dialog) and the top-ten insertion.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <random>

#include "ChessData.h"
#include "EngineHost.h"
#include "RecordTestUtil.h"

namespace {

// ---- Random ------------------------------------------------------------------------------

class RandomTest : public ::testing::Test {
 protected:
  void TearDown() override { EngineHost::Milliseconds = savedClock; }
  uint32_t (*savedClock)() = EngineHost::Milliseconds;
};

TEST_F(RandomTest, GeneratorIsTheRuntimeSequence) {
  SeedRandom(1);
  for (int expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464})
    EXPECT_EQ(RuntimeRand(), expected);
  SeedRandom(0);
  EXPECT_EQ(RuntimeRand(), 38);
  EXPECT_EQ(RuntimeRand(), 7719);
}

TEST_F(RandomTest, AddsTheClockAsUnsignedThirtyTwoBits) {
  EngineHost::Milliseconds = [] { return 1000u; };
  SeedRandom(1);
  EXPECT_EQ(Random(100), (1000 + 41) % 100);
  EXPECT_EQ(Random(30000), (1000 + 18467) % 30000);
  // The sum wraps: 0xFFFFFFFF + 6334 = 6333.
  EngineHost::Milliseconds = [] { return 0xFFFFFFFFu; };
  EXPECT_EQ(Random(10000), 6333);
}

TEST_F(RandomTest, BoundOfOneIsAlwaysZeroAndResultsStayBelowTheBound) {
  SeedRandom(12345);
  for (int i = 0; i < 1000; ++i) EXPECT_EQ(Random(1), 0);
  for (uint16_t n : {2, 3, 15, 225, 65535})
    for (int i = 0; i < 200; ++i) EXPECT_LT(Random(n), n);
  EXPECT_EQ(Random(0), 0);  // no division by zero
}

// ---- Construction, board, move list --------------------------------------------------------

TEST(ChessData, StartsWithTwoHumanSidesAndAnEmptyBoard) {
  CChessData data;
  EXPECT_EQ(data.moveIndex, 0);
  EXPECT_EQ(data.ruleSet, 0);
  EXPECT_EQ(data.sides[0].stoneCode, 255);
  EXPECT_EQ(data.sides[1].stoneCode, 170);
  EXPECT_EQ(data.sides[0].kind, PLAYER_HUMAN);
  EXPECT_STREQ(data.sides[0].name, "PLAYER 1");
  EXPECT_STREQ(data.sides[1].name, "PLAYER 2");
  EXPECT_EQ(data.sides[1].clock, 0);
  EXPECT_TRUE(data.linePoints.empty());
  EXPECT_EQ(data.cmpTable, nullptr);
  for (int cell = 0; cell < 736; ++cell) {
    bool inside = cell >= 128 && cell < 608 && (cell - 128) % 32 < 15;
    ASSERT_EQ(data.board[cell], inside ? CELL_EMPTY : CELL_BORDER) << cell;
  }
  for (const MoveRecord& m : data.moves) EXPECT_EQ(m.used | m.clock | m.cell, 0);
  EXPECT_TRUE(data.IsBoardEmpty());
}

// Fills the record with a game as the play screen writes it, without placing the stones.
void RecordGame(CChessData& data, const std::vector<int>& cells) {
  for (size_t i = 0; i < cells.size(); ++i)
    data.moves[i] = {1, static_cast<int32_t>(1000 * (i + 1)), cells[i]};
}

const std::vector<int> kGame = {Cell(7, 7), Cell(6, 7), Cell(6, 8), Cell(5, 9),
                                Cell(8, 8), Cell(9, 9), Cell(7, 9)};

TEST(ChessData, StepForwardAndBackWalkTheRecordedGame) {
  CChessData data;
  RecordGame(data, kGame);
  for (size_t i = 0; i < kGame.size(); ++i) data.StepForward(0);
  EXPECT_EQ(data.moveIndex, 7);
  EXPECT_EQ(data.board[kGame[0]], CELL_BLACK);
  EXPECT_EQ(data.board[kGame[1]], CELL_WHITE);
  EXPECT_EQ(data.board[kGame[6]], CELL_BLACK);
  data.StepForward(0);  // the end of the recorded game
  EXPECT_EQ(data.moveIndex, 7);

  data.StepBack(0);
  data.StepBack(0);
  EXPECT_EQ(data.moveIndex, 5);
  EXPECT_EQ(data.board[kGame[6]], CELL_EMPTY);
  EXPECT_EQ(data.board[kGame[5]], CELL_EMPTY);
  EXPECT_EQ(data.moves[6].used, 1);  // undone stones stay for redo
  data.StepForward(0);
  EXPECT_EQ(data.board[kGame[5]], CELL_WHITE);

  // Editing the position drops the undone stones.
  data.TruncateMoves(data.moveIndex);
  data.StepForward(0);
  EXPECT_EQ(data.moveIndex, 6);
  EXPECT_EQ(data.moves[6].used, 0);
  data.TruncateMoves(0);
  for (const MoveRecord& m : data.moves) EXPECT_EQ(m.used, 0);
  data.TruncateMoves(-3);  // out-of-range arguments clear what exists and nothing beyond
  data.TruncateMoves(999);
}

TEST(ChessData, StepForwardStopsAtTheLastRecord) {
  CChessData data;
  std::vector<int> all;
  for (int r = 0; r < 15; ++r)
    for (int c = 0; c < 15; ++c) all.push_back(Cell(r, c));
  RecordGame(data, all);
  for (int i = 0; i < 230; ++i) data.StepForward(0);
  EXPECT_EQ(data.moveIndex, 225);
  EXPECT_EQ(data.RandomEmptyCell(), -1);  // a full board has no empty cell to draw
}

TEST(ChessData, StepForwardRefusesARecordThatIsNoFreeCell) {
  CChessData data;
  RecordGame(data, {Cell(7, 7), Cell(7, 7)});
  data.moves[2] = {1, 0, 9999};
  data.StepForward(0);
  data.StepForward(0);
  EXPECT_EQ(data.moveIndex, 1);
  EXPECT_EQ(data.board[Cell(7, 7)], CELL_BLACK);
}

class EngineRecord : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(AiInit()) << (aiLoadFailure ? aiLoadFailure : ""); }
  static void TearDownTestSuite() { AiFree(); }
  void SetUp() override { AiReset(); }
};

TEST_F(EngineRecord, StepsMoveTheEngineAndTheClocks) {
  CChessData data;
  RecordGame(data, kGame);
  for (size_t i = 0; i < kGame.size(); ++i) data.StepForward(1);
  EXPECT_EQ(gameStones, 7);
  EXPECT_EQ(data.sides[0].clock, 7000);  // clock of black's last stone
  EXPECT_EQ(data.sides[1].clock, 6000);
  for (int cell : kGame) EXPECT_EQ(gameBoard[cell], data.board[cell]);

  data.StepBack(1);  // black's stone: white gets the clock of its last stone back
  EXPECT_EQ(gameStones, 6);
  EXPECT_EQ(gameBoard[kGame[6]], CELL_EMPTY);
  EXPECT_EQ(data.sides[1].clock, 6000);
  EXPECT_EQ(data.sides[0].clock, 7000);
  data.StepBack(1);  // white's stone: black gets record 4's clock
  EXPECT_EQ(data.sides[0].clock, 5000);
  EXPECT_EQ(data.sides[1].clock, 6000);
  while (data.moveIndex > 1) data.StepBack(1);
  data.sides[1].clock = 777;
  data.StepBack(1);  // the first stone: white's clock goes back to 0
  EXPECT_EQ(data.sides[1].clock, 0);
  EXPECT_EQ(gameStones, 0);

  // At move 0 only black's clock changes.
  data.sides[0].clock = 4321;
  data.sides[1].clock = 99;
  data.StepBack(1);
  EXPECT_EQ(data.moveIndex, 0);
  EXPECT_EQ(data.sides[0].clock, 0);
  EXPECT_EQ(data.sides[1].clock, 99);
  EXPECT_EQ(gameStones, 0);
}

TEST(ChessData, RandomEmptyCellDrawsOnlyEmptyCells) {
  CChessData data;
  SeedRandom(5);
  for (int r = 0; r < 15; ++r)
    for (int c = 0; c < 15; ++c)
      if (!(r == 3 && c == 11) && !(r == 14 && c == 0)) data.board[Cell(r, c)] = CELL_WHITE;
  std::set<int> seen;
  for (int i = 0; i < 40; ++i) seen.insert(data.RandomEmptyCell());
  EXPECT_EQ(seen, (std::set<int>{Cell(3, 11), Cell(14, 0)}));
}

// ---- ".SAV" files ------------------------------------------------------------------------

std::vector<uint8_t> SaveBytes(const std::vector<MoveRecord>& records, size_t size = 2700) {
  std::vector<uint8_t> raw(size, 0);
  for (size_t i = 0; i < records.size() && 12 * i + 12 <= size; ++i) {
    const int32_t v[3] = {records[i].used, records[i].clock, records[i].cell};
    for (int k = 0; k < 3; ++k)
      for (int b = 0; b < 4; ++b)
        raw[12 * i + 4 * k + b] = static_cast<uint8_t>(static_cast<uint32_t>(v[k]) >> (8 * b));
  }
  return raw;
}

int RecordedLength(const CChessData& data) {
  int n = 0;
  while (n < 225 && data.moves[n].used) ++n;
  for (int i = n; i < 225; ++i)
    EXPECT_EQ(data.moves[i].used | data.moves[i].clock | data.moves[i].cell, 0) << i;
  return n;
}

TEST_F(EngineRecord, SaveAndLoadRoundTrip) {
  ScratchDir dir;
  CChessData data;
  RecordGame(data, kGame);
  data.moves[3].clock = -5;  // clocks are kept exactly, sign included
  ASSERT_TRUE(data.SaveGameFile(dir.File("game")));
  auto raw = ReadBytes(dir.File("game.SAV"));
  ASSERT_EQ(raw.size(), 2700u);
  EXPECT_EQ(raw, SaveBytes({{1, 1000, kGame[0]},
                            {1, 2000, kGame[1]},
                            {1, 3000, kGame[2]},
                            {1, -5, kGame[3]},
                            {1, 5000, kGame[4]},
                            {1, 6000, kGame[5]},
                            {1, 7000, kGame[6]}}));

  CChessData loaded;
  loaded.moveIndex = 4;
  ASSERT_TRUE(loaded.LoadGameFile(dir.File("game.SAV")));
  EXPECT_EQ(loaded.moveIndex, 0);
  EXPECT_EQ(std::memcmp(loaded.moves, data.moves, sizeof data.moves), 0);
  // The play screen's replay.
  loaded.ClearBoard();
  for (int i = 0; i < 225 && loaded.moves[loaded.moveIndex].used; ++i) loaded.StepForward(1);
  EXPECT_EQ(loaded.moveIndex, 7);
  EXPECT_EQ(gameStones, 7);
  EXPECT_EQ(loaded.sides[0].clock, 7000);
}

TEST(ChessData, SaveNameGetsTheExtensionOnlyWithoutADotNearTheEnd) {
  EXPECT_EQ(CChessData::SaveFileName("game"), "game.SAV");
  EXPECT_EQ(CChessData::SaveFileName("game.dat"), "game.dat");
  EXPECT_EQ(CChessData::SaveFileName("notes.backup"), "notes.backup.SAV");
  EXPECT_EQ(CChessData::SaveFileName("/tmp/x.y/game"), "/tmp/x.y/game.SAV");
  EXPECT_EQ(CChessData::SaveFileName("a.b"), "a.b");
  EXPECT_EQ(CChessData::SaveFileName(""), ".SAV");

  ScratchDir dir;
  CChessData data;
  ASSERT_TRUE(data.SaveGameFile(dir.File("notes.backup")));
  ASSERT_TRUE(data.SaveGameFile(dir.File("game.dat")));
  auto names = dir.Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"game.dat", "notes.backup.SAV"}));
}

TEST_F(EngineRecord, DamagedFilesEndTheGameAtTheFirstBadRecord) {
  ScratchDir dir;
  const std::vector<MoveRecord> good = {
      {1, 10, Cell(7, 7)}, {1, 20, Cell(6, 7)}, {1, 30, Cell(6, 8)}};
  struct Case {
    const char* what;
    MoveRecord bad;
  } cases[] = {
      {"cell 0", {1, 40, 0}},        {"cell 9999", {1, 40, 9999}},
      {"column 15", {1, 40, 143}},   {"negative cell", {1, 40, -1}},
      {"frame row", {1, 40, 608}},   {"duplicate", {1, 40, Cell(6, 7)}},
      {"hole", {0, 40, Cell(1, 1)}}, {"lowest int", {1, 40, INT32_MIN}},
  };
  for (const Case& c : cases) {
    std::vector<MoveRecord> records = good;
    records.push_back(c.bad);
    records.push_back({1, 50, Cell(2, 2)});  // after the bad one: dropped too
    WriteBytes(dir.File("bad.SAV"), SaveBytes(records));

    CChessData data;
    RecordGame(data, std::vector<int>(kGame.begin(), kGame.end()));  // a previous game
    ASSERT_TRUE(data.LoadGameFile(dir.File("bad.SAV"))) << c.what;
    EXPECT_EQ(RecordedLength(data), 3) << c.what;
    data.ClearBoard();
    for (int i = 0; i < 225 && data.moves[data.moveIndex].used; ++i) data.StepForward(1);
    EXPECT_EQ(data.moveIndex, 3) << c.what;
    EXPECT_EQ(gameStones, 3) << c.what;
  }
}

TEST_F(EngineRecord, ShortFileReplacesTheWholePreviousGame) {
  ScratchDir dir;
  std::vector<int> fifty, ten;
  for (int i = 0; i < 50; ++i) fifty.push_back(Cell(i / 15, i % 15));
  for (int i = 0; i < 10; ++i) ten.push_back(Cell(14, i));
  CChessData data;
  RecordGame(data, fifty);
  for (int i = 0; i < 50; ++i) data.StepForward(0);

  std::vector<MoveRecord> records;
  for (int cell : ten) records.push_back({1, 5, cell});
  WriteBytes(dir.File("ten.SAV"), SaveBytes(records, 120));
  ASSERT_TRUE(data.LoadGameFile(dir.File("ten.SAV")));
  EXPECT_EQ(data.moveIndex, 0);
  EXPECT_EQ(RecordedLength(data), 10);

  // A trailing part of a record is no record.
  WriteBytes(dir.File("partial.SAV"), SaveBytes(records, 12 * 4 + 8));
  ASSERT_TRUE(data.LoadGameFile(dir.File("partial.SAV")));
  EXPECT_EQ(RecordedLength(data), 4);

  WriteBytes(dir.File("empty.SAV"), {});
  ASSERT_TRUE(data.LoadGameFile(dir.File("empty.SAV")));
  EXPECT_EQ(RecordedLength(data), 0);
}

TEST_F(EngineRecord, GarbageNeverLeavesABadCellInTheRecord) {
  ScratchDir dir;
  std::mt19937 rng(11);
  for (int trial = 0; trial < 50; ++trial) {
    std::vector<uint8_t> raw(rng() % 3000);
    for (auto& b : raw) b = static_cast<uint8_t>(rng());
    // Some runs of believable records so the checks are not all met at record 0.
    for (size_t i = 0; i + 12 <= raw.size() && i < 12 * 30; i += 12)
      if (rng() % 4)
        raw[i] = 1, raw[i + 1] = raw[i + 2] = raw[i + 3] = 0,
        raw[i + 8] = static_cast<uint8_t>(128 + rng() % 240), raw[i + 9] = rng() % 3,
        raw[i + 10] = raw[i + 11] = 0;
    WriteBytes(dir.File("junk.SAV"), raw);
    CChessData data;
    ASSERT_TRUE(data.LoadGameFile(dir.File("junk.SAV")));
    int n = RecordedLength(data);
    std::set<int> cells;
    for (int i = 0; i < n; ++i) {
      int cell = data.moves[i].cell;
      ASSERT_TRUE(cell >= 128 && cell < 608 && (cell - 128) % 32 < 15) << cell;
      ASSERT_TRUE(cells.insert(cell).second);
    }
    data.ClearBoard();
    for (int i = 0; i < 225 && data.moves[data.moveIndex].used; ++i) data.StepForward(1);
    EXPECT_EQ(data.moveIndex, n);
  }
}

TEST(ChessData, FileThatDoesNotOpenChangesNothing) {
  ScratchDir dir;
  CChessData data;
  RecordGame(data, kGame);
  data.moveIndex = 3;
  EXPECT_FALSE(data.LoadGameFile(dir.File("missing.SAV")));
  EXPECT_FALSE(data.LoadGameFile(dir.Path()));  // a directory opens but cannot be read
  EXPECT_EQ(data.moveIndex, 3);
  EXPECT_EQ(RecordedLength(data), 7);
}

TEST(ChessData, FailedSaveKeepsTheOldFileAndLeavesNoTemporary) {
  ScratchDir dir;
  CChessData old;
  RecordGame(old, kGame);
  ASSERT_TRUE(old.SaveGameFile(dir.File("keep.SAV")));
  auto before = ReadBytes(dir.File("keep.SAV"));

  // The file system refuses more than 1000 bytes in the middle of the write.
  CChessData next;
  RecordGame(next, {Cell(0, 0)});
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool written = next.SaveGameFile(dir.File("keep.SAV"));
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_FALSE(written);
  EXPECT_EQ(ReadBytes(dir.File("keep.SAV")), before);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"keep.SAV"});

  // A target that cannot be replaced, and a directory that does not exist.
  std::filesystem::create_directory(dir.File("taken.SAV"));
  EXPECT_FALSE(next.SaveGameFile(dir.File("taken.SAV")));
  EXPECT_FALSE(next.SaveGameFile(dir.File("nowhere/game.SAV")));
  EXPECT_EQ(dir.Names().size(), 2u);
}

class DialogTest : public ::testing::Test {
 protected:
  static bool Dialog(bool forOpen, const char* filter, std::string& path) {
    calls.push_back({forOpen, filter});
    if (answer.empty()) return false;
    path = answer;
    return true;
  }
  void SetUp() override {
    calls.clear();
    answer.clear();
    EngineHost::ChooseFile = Dialog;
  }
  void TearDown() override { EngineHost::ChooseFile = saved; }
  static inline std::vector<std::pair<bool, std::string>> calls;
  static inline std::string answer;
  bool (*saved)(bool, const char*, std::string&) = EngineHost::ChooseFile;
};

TEST_F(DialogTest, CancelledDialogsChangeNothing) {
  ScratchDir dir;
  CChessData data;
  RecordGame(data, kGame);
  data.moveIndex = 2;
  EXPECT_FALSE(data.LoadGameFile());
  data.SaveGameFile();
  EXPECT_EQ(data.moveIndex, 2);
  EXPECT_EQ(RecordedLength(data), 7);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_TRUE(calls[0].first);
  EXPECT_FALSE(calls[1].first);
  EXPECT_EQ(calls[0].second, calls[1].second);
  EXPECT_NE(calls[0].second.find("(*.SAV)|*.SAV||"), std::string::npos);
  EXPECT_TRUE(dir.Names().empty());
}

TEST_F(DialogTest, ChosenPathsAreSavedAndLoaded) {
  ScratchDir dir;
  CChessData data;
  RecordGame(data, kGame);
  answer = dir.File("chosen");
  data.SaveGameFile();
  EXPECT_EQ(ReadBytes(dir.File("chosen.SAV")).size(), 2700u);
  ASSERT_TRUE(AiInit());
  CChessData loaded;
  answer = dir.File("chosen.SAV");
  EXPECT_TRUE(loaded.LoadGameFile());
  EXPECT_EQ(RecordedLength(loaded), 7);
  AiFree();
}

// ---- Top ten -----------------------------------------------------------------------------

PlayerRecord Entry(uint32_t score, const char* name, uint8_t mark = 1) {
  PlayerRecord r{};
  r.score = score;
  std::strncpy(r.name, name, sizeof r.name - 1);
  r.newMark = mark;
  return r;
}

struct TopTen {
  PlayerRecord list[10];
  explicit TopTen(std::initializer_list<uint32_t> scores) {
    int i = 0;
    for (uint32_t s : scores) {
      list[i] = Entry(s, ("old" + std::to_string(i)).c_str());
      ++i;
    }
    for (; i < 10; ++i) list[i] = PlayerRecord{};
  }
  std::string Names() const {
    std::string out;
    for (const PlayerRecord& r : list) out += std::string(r.name) + " ";
    return out;
  }
};

TEST(TopTenInsert, HighestScoreTakesFirstPlaceAndPushesTheRestDown) {
  CChessData data;
  TopTen t({90, 80, 70, 60, 50, 40, 30, 20, 10, 5});
  PlayerRecord entry = Entry(100, "Player", 0);
  entry.level = 7;
  PlayerRecord copy = entry;
  EXPECT_EQ(data.InsertTopTen(&entry, t.list), 1);
  EXPECT_EQ(t.Names(), "Player old0 old1 old2 old3 old4 old5 old6 old7 old8 ");
  EXPECT_EQ(t.list[0].newMark, 1);
  EXPECT_EQ(t.list[0].level, 7);
  EXPECT_EQ(t.list[0].tail[0], 0xFF);
  EXPECT_EQ(t.list[0].tail[2], 0xFF);
  EXPECT_EQ(std::memcmp(&entry, &copy, sizeof entry), 0);  // the entry itself is not changed
}

TEST(TopTenInsert, PlacesByScoreAndTiesKeepOldEntriesAhead) {
  CChessData data;
  TopTen t({90, 80, 70, 60, 50, 40, 30, 20, 10, 5});
  PlayerRecord entry = Entry(55, "mid");
  EXPECT_EQ(data.InsertTopTen(&entry, t.list), 5);
  EXPECT_EQ(t.Names(), "old0 old1 old2 old3 mid old4 old5 old6 old7 old8 ");

  TopTen tie({90, 80, 70, 70, 50, 40, 30, 20, 10, 5});
  entry = Entry(70, "tie");
  EXPECT_EQ(data.InsertTopTen(&entry, tie.list), 5);
  EXPECT_EQ(tie.Names(), "old0 old1 old2 old3 tie old4 old5 old6 old7 old8 ");
}

TEST(TopTenInsert, ScoresThatDoNotEnterLeaveTheListAlone) {
  CChessData data;
  TopTen t({90, 80, 70, 60, 50, 40, 30, 20, 10, 5});
  std::string before = t.Names();
  PlayerRecord low = Entry(4, "low"), equalToTenth = Entry(5, "eq");
  EXPECT_EQ(data.InsertTopTen(&low, t.list), 0);
  EXPECT_EQ(data.InsertTopTen(&equalToTenth, t.list), 0);
  EXPECT_EQ(t.Names(), before);

  TopTen same({7, 7, 7, 7, 7, 7, 7, 7, 7, 7});
  PlayerRecord seven = Entry(7, "seven");
  EXPECT_EQ(data.InsertTopTen(&seven, same.list), 0);

  TopTen empty({});
  PlayerRecord zero = Entry(0, "zero");
  EXPECT_EQ(data.InsertTopTen(&zero, empty.list), 0);
  PlayerRecord one = Entry(1, "one");
  EXPECT_EQ(data.InsertTopTen(&one, empty.list), 1);
  EXPECT_EQ(empty.list[0].newMark, 1);
  EXPECT_EQ(empty.list[1].newMark, 0);
}

TEST(TopTenInsert, ScoresCompareUnsigned) {
  CChessData data;
  TopTen t({0x90000000u, 90, 80, 70, 60, 50, 40, 30, 20, 10});
  PlayerRecord entry = Entry(0x80000000u, "big");
  EXPECT_EQ(data.InsertTopTen(&entry, t.list), 2);
}

TEST(TopTenInsert, AnOldEntryMarkedAsNewIsNotMistakenForTheNewOne) {
  CChessData data;
  TopTen t({90, 80, 70, 60, 50, 40, 30, 20, 10, 5});
  t.list[0].newMark = 255;  // a damaged "top10.dat"
  PlayerRecord entry = Entry(65, "Player");
  EXPECT_EQ(data.InsertTopTen(&entry, t.list), 4);
  EXPECT_STREQ(t.list[3].name, "Player");
  EXPECT_EQ(t.list[3].newMark, 1);
  EXPECT_STREQ(t.list[0].name, "old0");
}

// ---- The comparison-table probes (nothing in the game calls them) ---------------------------

TEST(ChessData, ComparisonProbesWithoutATableSayNothing) {
  CChessData data;
  EXPECT_EQ(data.ProbeCmpTable(CENTRE_CELL), 0);
  EXPECT_EQ(data.CheckFoulCmp(CENTRE_CELL), 0);
}

TEST(ChessData, ComparisonProbesReadTheLineIndexOfEachDirection) {
  CChessData data;
  std::vector<uint8_t> table(1 << 20, 0);
  data.cmpTable = table.data();
  // A black stone right of the centre: the horizontal index has digit 3 at bits 9-8.
  data.board[CENTRE_CELL + 1] = CELL_BLACK;
  table[0x300] = 16;
  EXPECT_EQ(data.ProbeCmpTable(CENTRE_CELL), 5);
  data.moveIndex = 1;  // white to move sees the stone as the opponent's: digit 2
  EXPECT_EQ(data.ProbeCmpTable(CENTRE_CELL), 0);
  table[0x200] = 2;
  data.ruleSet = 1;
  EXPECT_EQ(data.CheckFoulCmp(CENTRE_CELL), 1);

  // Two lines of value 16 are a foul for black under Renju rules only.
  data.moveIndex = 0;
  data.board[CENTRE_CELL + 32] = CELL_BLACK;
  EXPECT_EQ(data.CheckFoulCmp(CENTRE_CELL), -1);
  data.ruleSet = 0;
  EXPECT_EQ(data.CheckFoulCmp(CENTRE_CELL), 0);
  // Corner cells read the array's outside as border and stay inside it.
  EXPECT_EQ(data.ProbeCmpTable(Cell(0, 0)), 0);
  EXPECT_EQ(data.ProbeCmpTable(Cell(14, 14)), 0);
}

}  // namespace

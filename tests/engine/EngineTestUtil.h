// Helpers shared by the engine tests: table directories, engine snapshots, positions drawn as
// text.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "AiEngine.h"
#include "TableSums.h"

namespace enginetest {

inline int Cell(int row, int col) { return CellAt(row, col); }

inline void WriteFile(const std::string& path, const void* bytes, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  EXPECT_NE(f, nullptr) << path;
  if (!f) return;
  std::fwrite(bytes, 1, size, f);
  std::fclose(f);
}

// A directory holding five table files, each filled by fill(tableNumber, buffer), and the
// checksum file that matches them.
template <class Fill>
std::string WriteTableDir(Fill fill) {
  char pattern[] = "/tmp/enginetables.XXXXXX";
  const char* dir = mkdtemp(pattern);
  EXPECT_NE(dir, nullptr);
  std::vector<uint8_t> buffer(TABLE_BYTES);
  std::string sums;
  for (int t = 0; t < TABLE_COUNT; ++t) {
    fill(t, buffer.data());
    WriteFile(std::string(dir) + "/" + tableFileNames[t], buffer.data(), buffer.size());
    sums += TableSumLine(tableFileNames[t], buffer.data(), buffer.size());
  }
  WriteFile(std::string(dir) + "/" + TABLE_SUM_FILE, sums.data(), sums.size());
  return dir;
}

inline void RemoveTableDir(const std::string& dir) {
  for (const char* name : tableFileNames) std::remove((dir + "/" + name).c_str());
  std::remove((dir + "/" + TABLE_SUM_FILE).c_str());
  std::remove(dir.c_str());
}

// Everything a make may change (and an unmake must restore).
struct EngineSnapshot {
  std::vector<uint8_t> board, flagsBlack, flagsWhite;
  std::vector<std::vector<int32_t>> lists;
  int32_t stones, score, depth, quiet;

  static std::vector<CandidateList*> AllLists() {
    return {&nearListBlack, &threeListBlack, &fourListBlack, &openFourListBlack, &fiveListBlack,
            &nearListWhite, &threeListWhite, &fourListWhite, &openFourListWhite, &fiveListWhite};
  }
  static EngineSnapshot Take() {
    EngineSnapshot s;
    s.board.assign(engineBoardStore, engineBoardStore + sizeof engineBoardStore);
    s.flagsBlack.assign(pointFlagsBlack, pointFlagsBlack + BOARD_BYTES);
    s.flagsWhite.assign(pointFlagsWhite, pointFlagsWhite + BOARD_BYTES);
    for (CandidateList* l : AllLists()) s.lists.emplace_back(l->cells, l->end);
    s.stones = engineStones;
    s.score = runningScore;
    s.depth = depthLimit;
    s.quiet = quietDepth;
    return s;
  }
  bool operator==(const EngineSnapshot&) const = default;
};

// A position drawn as 15 rows of 'X' (black), 'O' (white) and '.'.
// '*' marks a cell of interest (the stone a test plays), kept in `target`.
struct Diagram {
  std::vector<int> black, white;
  int target = 0;
};
// The rows given are board rows firstRow, firstRow + 1, ...
inline Diagram ParseDiagram(const std::vector<std::string>& rows, int firstRow = 0) {
  Diagram d;
  for (int i = 0; i < static_cast<int>(rows.size()); ++i)
    for (int c = 0; c < static_cast<int>(rows[i].size()); ++c) {
      const int r = firstRow + i;
      if (rows[i][c] == 'X') d.black.push_back(Cell(r, c));
      if (rows[i][c] == 'O') d.white.push_back(Cell(r, c));
      if (rows[i][c] == '*') d.target = Cell(r, c);
    }
  return d;
}

// Plays the diagram as a game through AiPlayMove, black first, alternating; the side with
// fewer stones is padded with stones in the far corners (given by `filler`), so that the side
// to move afterwards is `blackToMove`. Returns false when the fillers ran out.
// Cells in `last` are played last of their colour, in the given order.
inline bool PlayDiagram(const Diagram& d, bool blackToMove, const std::vector<int>& last = {},
                        std::vector<int> filler = {Cell(0, 0), Cell(14, 14), Cell(0, 14),
                                                   Cell(14, 0), Cell(0, 2), Cell(14, 12),
                                                   Cell(2, 0), Cell(12, 14)}) {
  auto moveLast = [&](std::vector<int> v) {
    for (int c : last)
      for (size_t i = 0; i < v.size(); ++i)
        if (v[i] == c) {
          v.erase(v.begin() + i);
          v.push_back(c);
          break;
        }
    return v;
  };
  std::vector<int> b = moveLast(d.black), w = moveLast(d.white);
  size_t nb = b.size(), nw = w.size();
  // Black has as many stones as white when black is to move, one more otherwise.
  size_t wantB = std::max(nb, nw + (blackToMove ? 0 : 1));
  size_t wantW = blackToMove ? wantB : wantB - 1;
  if (wantW < nw) {
    wantW = nw;
    wantB = blackToMove ? wantW : wantW + 1;
  }
  size_t f = 0;
  while (b.size() < wantB) {
    if (f >= filler.size()) return false;
    b.insert(b.begin(), filler[f++]);
  }
  while (w.size() < wantW) {
    if (f >= filler.size()) return false;
    w.insert(w.begin(), filler[f++]);
  }
  AiReset();
  for (size_t i = 0; i < b.size() || i < w.size(); ++i) {
    if (i < b.size()) AiPlayMove(b[i]);
    if (i < w.size()) AiPlayMove(w[i]);
  }
  return true;
}

// Plays the diagram stone by stone with MakeMoveBlack / MakeMoveWhite on the engine board
// (colour by the diagram, not by parity); returns nothing. For flag tests.
inline void MakeDiagram(const Diagram& d) {
  AiReset();
  quietBudgetBlack = quietBudgetWhite = 2;
  for (int c : d.black) MakeMoveBlack(c);
  for (int c : d.white) MakeMoveWhite(c);
}

// The playing area of gameBoard drawn as in a Diagram.
inline std::vector<std::string> DrawGameBoard() {
  std::vector<std::string> rows;
  for (int r = 0; r < 15; ++r) {
    std::string row;
    for (int c = 0; c < 15; ++c) {
      uint8_t x = gameBoard[Cell(r, c)];
      row += x == CELL_BLACK ? 'X' : x == CELL_WHITE ? 'O' : '.';
    }
    rows.push_back(row);
  }
  return rows;
}

// The generated tables in the current directory (the game directory under ctest).
class GeneratedTables : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(AiInit()) << "missing table " << (aiLoadFailure ? aiLoadFailure : "");
    AiSetRules(RULES_FREESTYLE);
    AiReset();
  }
  void TearDown() override { AiFree(); }
};

// Limits as AiThink sets them, for calling SearchRoot directly.
inline void SetSearchLimits(int depth, int nodes) {
  const bool white = engineStones & 1;
  quietBudgetBlack = white ? 0 : 1;
  quietBudgetWhite = white ? 1 : 0;
  depthLimit = depth;
  quietDepth = 2;
  rootAlpha = -5000;
  rootBeta = 5000;
  nodeLimit = nodes;
  for (int8_t& b : rootBias) b = 0;
}

// A small deterministic generator for tests (not the game's Random).
struct TestRng {
  uint64_t s;
  explicit TestRng(uint64_t seed) : s(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint32_t Next() {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return static_cast<uint32_t>(s >> 16);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }
};

}  // namespace enginetest

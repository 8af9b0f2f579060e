// Engine benchmark: AiThink on a fixed set of positions (opening, middle game, tactical, both
// rule sets) at every level; prints nodes, time and nodes per second per level and a
// node-count signature. Run it in the game directory (it reads the tables and the book there).
//
//   bench [--quick] [--levels LO-HI] [--repeat N] [--verbose]
//
// The signature hashes every think's node count, cell and score: it changes exactly when the
// search or the tables change, never with the machine or its load. No position is in the book
// and none is answered by the opening rules, so nothing depends on Random.
#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "AiEngine.h"
#include "Book.h"

namespace {

struct Position {
  const char* name;
  int rules;
  bool middleGame;  // counted in the level-8 middle-game median
  std::vector<int> moves;
};

// Moves as played, black first. Taken from self-play games of the engine.
const std::vector<Position> kPositions = {
    {"free opening", RULES_FREESTYLE, false, {359, 328, 361, 326, 329, 358}},
    {"free middle", RULES_FREESTYLE, true, {359, 328, 361, 326, 329, 358, 390, 393, 423, 327,
                                            360, 420, 389, 388, 452, 357, 419, 391, 325, 454}},
    {"free middle 2", RULES_FREESTYLE, true, {359, 360, 327, 391, 329, 328, 296, 263, 265, 234,
                                              297, 233, 330, 299, 232, 331, 363, 396, 425, 332}},
    {"free middle 3", RULES_FREESTYLE, true, {359, 360, 327, 391, 329, 328, 296, 263, 265, 234,
                                              297, 233, 330, 299, 232, 331, 363, 396, 425, 332,
                                              266, 393, 362, 394, 392, 395, 397, 458}},
    {"free tactical",
     RULES_FREESTYLE,
     false,
     {359, 327, 329, 325, 297, 390, 326, 392, 233, 265, 264, 295, 231, 330}},
    {"free defence",
     RULES_FREESTYLE,
     false,
     {359, 327, 329, 325, 297, 390, 326, 392, 233, 265, 264, 295, 231}},
    {"renju opening", RULES_RENJU, false, {359, 360, 393, 362, 392, 425}},
    {"renju middle", RULES_RENJU, true, {359, 360, 393, 362, 392, 425, 330, 329, 395, 394, 391,
                                         297, 363, 423, 457, 490, 426, 488, 299, 331, 233}},
    {"renju middle 2",
     RULES_RENJU,
     true,
     {359, 360, 393, 392, 328, 297, 424, 455, 457, 391, 422, 425, 454, 390, 388, 298}},
    {"renju middle 3", RULES_RENJU, true, {359, 360, 393, 392, 328, 297, 424, 455, 457,
                                           391, 422, 425, 454, 390, 388, 298, 420, 421,
                                           452, 484, 357, 265, 329, 331, 364}},
    {"renju tactical",
     RULES_RENJU,
     false,
     {359, 328, 361, 330, 327, 362, 298, 295, 265, 329, 296, 358, 267, 363, 331, 364}},
};

struct Options {
  int levelLo = 0, levelHi = 8;
  int repeat = 1;
  bool verbose = false;
};

// <chrono> does not compile with the project's CP950 execution charset.
double Now() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec + ts.tv_nsec * 1e-9;
}

void SetUp(const Position& p) {
  AiSetRules(p.rules);
  AiReset();
  for (int c : p.moves) AiPlayMove(c);
}

uint64_t Fnv(uint64_t h, uint32_t v) {
  for (int i = 0; i < 4; ++i) {
    h ^= (v >> (8 * i)) & 0xFF;
    h *= 0x100000001B3ull;
  }
  return h;
}

int Run(const Options& o) {
  // No position may be answered by the book (its choice among equals is random).
  for (const Position& p : kPositions) {
    SetUp(p);
    int cell, extra;
    if (p.rules == RULES_RENJU && BookLookup(&cell, &extra) > 0) {
      std::fprintf(stderr, "bench: position \"%s\" is in the book\n", p.name);
      return 2;
    }
  }
  uint64_t signature = 0xCBF29CE484222325ull;
  uint64_t totalNodes = 0;
  double totalTime = 0;
  std::vector<double> middle8;
  std::printf("level       nodes     time s    nodes/s   (%zu positions)\n", kPositions.size());
  for (int level = o.levelLo; level <= o.levelHi; ++level) {
    uint64_t nodes = 0;
    double time = 0;
    for (const Position& p : kPositions) {
      std::vector<double> times;
      uint32_t n0 = 0;
      int cell = 0, score = 0;
      for (int r = 0; r < o.repeat; ++r) {
        SetUp(p);
        int info;
        double t0 = Now();
        cell = AiThink(level, 1, 4, 1, &info, &score);
        times.push_back(Now() - t0);
        if (r == 0) {
          n0 = nodeCount;
        } else if (nodeCount != n0) {
          std::fprintf(stderr, "bench: \"%s\" level %d: %u nodes, then %u\n", p.name, level, n0,
                       nodeCount);
          return 3;
        }
      }
      std::sort(times.begin(), times.end());
      double median = times[times.size() / 2];
      signature =
          Fnv(Fnv(Fnv(signature, n0), static_cast<uint32_t>(cell)), static_cast<uint32_t>(score));
      nodes += n0;
      time += median;
      if (level == 8 && p.middleGame) middle8.push_back(median);
      if (o.verbose)
        std::printf("   %-16s level %d  cell %3d (%2d,%2d)  score %6d  nodes %10u  %8.3f s\n",
                    p.name, level, cell, (cell - 128) / 32, (cell - 128) % 32, score, n0, median);
    }
    std::printf("%5d %11" PRIu64 " %10.3f %10.0f\n", level, nodes, time,
                time > 0 ? nodes / time : 0.0);
    totalNodes += nodes;
    totalTime += time;
  }
  std::printf("total %11" PRIu64 " %10.3f %10.0f\n", totalNodes, totalTime,
              totalTime > 0 ? totalNodes / totalTime : 0.0);
  if (!middle8.empty()) {
    std::sort(middle8.begin(), middle8.end());
    double med = middle8.size() % 2
                     ? middle8[middle8.size() / 2]
                     : (middle8[middle8.size() / 2 - 1] + middle8[middle8.size() / 2]) / 2;
    std::printf("level 8 middle game: median %.3f s, slowest %.3f s (%zu positions)\n", med,
                middle8.back(), middle8.size());
  }
  std::printf("nodes %" PRIu64 "\nsignature %016" PRIx64 "\n", totalNodes, signature);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--quick")) {
      // Up to level 3: on these positions the shallower levels leave the quiet budgets untested.
      o.levelLo = 0;
      o.levelHi = 3;
    } else if (!std::strcmp(argv[i], "--levels") && i + 1 < argc) {
      if (std::sscanf(argv[++i], "%d-%d", &o.levelLo, &o.levelHi) == 1) o.levelHi = o.levelLo;
    } else if (!std::strcmp(argv[i], "--repeat") && i + 1 < argc) {
      o.repeat = std::max(1, std::atoi(argv[++i]));
    } else if (!std::strcmp(argv[i], "--verbose")) {
      o.verbose = true;
    } else {
      std::fprintf(stderr, "usage: bench [--quick] [--levels LO-HI] [--repeat N] [--verbose]\n");
      return 2;
    }
  }
  if (!AiInit()) {
    std::fprintf(stderr, "bench: cannot read %s (run in the game directory)\n", aiLoadFailure);
    return 1;
  }
  int rc = Run(o);
  AiFree();
  return rc;
}

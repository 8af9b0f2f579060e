// Plays the engine against itself and prints the score. Run it in the game directory.
//
//   match [--rules free|renju|both] [--games N] [--a LEVEL] [--b LEVEL]
//         [--style-a S] [--style-b S] [--a-tables DIR] [--b-tables DIR]
//         [--seed N] [--jobs J] [--verbose] [--ladder LO-HI] [--openings balanced|near]
//         [--opening-tables DIR] [--no-book]
//
// The strength of the game directory's tables against the baseline weights' tables:
//   cd build/game && nice -n 19 ../bench/match --b-tables ../reference-tables --games 200
// --ladder plays each level n+1 (A) against level n (B) for n from LO to HI-1 and prints only
// the totals.
//
// Players A and B differ by level, style or table set (a directory with the five table files;
// default: the current directory). Games come in pairs: each opening, drawn from the seed, is
// played once with A as black and once with A as white. The openings are balanced ones (see
// BalancedOpenings) unless --openings near asks for the centre stone and two more stones near
// it, most of which black wins whoever plays. The game ends as on the play screen: a five wins,
// a Renju foul by black loses, 225 stones or no cell left that the mover may play are a draw.
// Fours, fives and fouls are judged with the tables of the current directory. Both players use
// the Renju book of the current directory unless --no-book leaves it out. Each game runs in its
// own process (the engine is one per process); --jobs of them at a time.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "AiEngine.h"
#include "Book.h"
#include "ForkJobs.h"

namespace {

struct Player {
  int level = 8;
  int style = 4;
  std::string tables;  // empty: the judge's tables
  uint8_t* buffers[TABLE_COUNT] = {};
};

struct Options {
  std::vector<int> rules = {RULES_FREESTYLE, RULES_RENJU};
  int games = 40;
  int jobs = 8;
  uint32_t seed = 1;
  bool verbose = false;
  bool listGames = true;
  bool balanced = true;
  bool book = true;
  Player a, b;
  Player openings;  // the tables whose search picks balanced openings
};

uint8_t* judgeBuffers[TABLE_COUNT];

bool LoadTables(Player& p) {
  if (p.tables.empty()) {
    for (int t = 0; t < TABLE_COUNT; ++t) p.buffers[t] = judgeBuffers[t];
    return true;
  }
  for (int t = 0; t < TABLE_COUNT; ++t) {
    std::string path = p.tables + "/" + tableFileNames[t];
    FILE* f = std::fopen(path.c_str(), "rb");
    p.buffers[t] = static_cast<uint8_t*>(std::malloc(TABLE_BYTES));
    bool ok = f && std::fread(p.buffers[t], 1, TABLE_BYTES, f) == static_cast<size_t>(TABLE_BYTES);
    if (f) std::fclose(f);
    if (!ok) {
      std::fprintf(stderr, "match: cannot read %s\n", path.c_str());
      return false;
    }
  }
  return true;
}

void UseTables(uint8_t* const* buffers, int rules) {
  for (int t = 0; t < TABLE_COUNT; ++t) tableBuffers[t] = buffers[t];
  AiSetRules(rules);
}

// Rebuilds the engine on the given tables from the moves played.
void Replay(const std::vector<int>& moves, uint8_t* const* buffers, int rules) {
  UseTables(buffers, rules);
  AiReset();
  for (int c : moves) AiPlayMove(c);
}

constexpr uint32_t kFouls = FOUL_DOUBLE_THREE | FOUL_DOUBLE_FOUR | FOUL_OVERLINE;

// The openings' random numbers: next(n) draws from 0 to n-1.
struct OpeningRandom {
  uint32_t s;
  int operator()(int n) {
    s = s * 214013u + 2531011u;
    return static_cast<int>((s >> 16) & 0x7FFF) % n;
  }
};

bool Contains(const std::vector<std::vector<int>>& openings, const std::vector<int>& o) {
  return std::find(openings.begin(), openings.end(), o) != openings.end();
}

// The near openings: the centre, a white stone beside it, a black stone within two cells of it.
std::vector<std::vector<int>> Openings(uint32_t seed, int count) {
  std::vector<std::vector<int>> out;
  OpeningRandom next{seed * 2654435761u + 12345};
  while (static_cast<int>(out.size()) < count) {
    int white = CellAt(7 + next(3) - 1, 7 + next(3) - 1);
    int black = CellAt(7 + next(5) - 2, 7 + next(5) - 2);
    if (white == CENTRE_CELL || black == CENTRE_CELL || black == white) continue;
    std::vector<int> o = {CENTRE_CELL, white, black};
    if (!Contains(out, o)) out.push_back(o);
  }
  return out;
}

// Balanced openings: five stones at random within two cells of the centre (black, white,
// black, white, black), none of them a four, a three or (in Renju) a black foul, kept when a
// level-4 search of white's move (on the --opening-tables, by default the judge's) scores it
// from even to kBalanced for white. Black's extra stone is its tempo: measured at levels 5 and
// 6, black wins about 85 % of the quiet positions the search scores below even and about half
// of those kept (the near openings: 80 % in free-style), so fewer games are decided by the
// opening alone and a difference in strength shows in fewer games. The searches run on --jobs
// processes, in batches whose order fixes the result.
constexpr int kBalancedStones = 5;
constexpr int kBalanced = 30;

std::vector<std::vector<int>> BalancedOpenings(uint32_t seed, int count, int rules, int jobs,
                                               uint8_t* const* searchTables) {
  std::vector<std::vector<int>> out;
  OpeningRandom next{seed * 2654435761u + 977};
  auto quietCandidate = [&] {
    for (;;) {
      std::vector<int> o = {CENTRE_CELL};
      UseTables(judgeBuffers, rules);
      AiReset();
      AiPlayMove(CENTRE_CELL);
      bool quiet = true;
      while (quiet && static_cast<int>(o.size()) < kBalancedStones) {
        const int cell = CellAt(7 + next(5) - 2, 7 + next(5) - 2);
        if (gameBoard[cell] != CELL_EMPTY) continue;
        quiet = !(AiPlayMove(cell) & (THREAT_ANY | kFouls));
        o.push_back(cell);
      }
      if (quiet && !Contains(out, o)) return o;
    }
  };
  while (static_cast<int>(out.size()) < count) {
    std::vector<std::vector<int>> batch(4 * jobs);
    for (auto& c : batch) c = quietCandidate();
    std::vector<int> scores(batch.size(), kBalanced + 1);
    auto search = [&](size_t i) {
      Replay(batch[i], searchTables, rules);
      int score = 0;
      AiSearchPosition(LevelDepth(4), LevelNodeLimit(4), 4, &score);
      return std::to_string(score);
    };
    auto collect = [&](size_t i, const std::string& answer, bool ok) {
      if (ok) scores[i] = std::atoi(answer.c_str());
    };
    if (!RunForked(batch.size(), jobs, search, collect)) std::exit(1);
    for (size_t i = 0; i < batch.size() && static_cast<int>(out.size()) < count; ++i) {
      if (!Contains(out, batch[i]) && scores[i] >= 0 && scores[i] <= kBalanced)
        out.push_back(batch[i]);
    }
  }
  return out;
}

enum Result { BLACK_WINS, WHITE_WINS, DRAW };

struct GameEnd {
  Result result;
  int stones;
  const char* reason;
};

GameEnd PlayGame(const Options& o, const std::vector<int>& opening, bool aIsBlack, int rules) {
  std::vector<int> moves = opening;
  const Player* side[2] = {aIsBlack ? &o.a : &o.b, aIsBlack ? &o.b : &o.a};
  for (;;) {
    if (moves.size() == 225) return {DRAW, 225, "full-board"};
    const int mover = moves.size() & 1;
    const Player& p = *side[mover];
    Replay(moves, p.buffers, rules);
    int info, score;
    int cell = AiThink(p.level, 1, p.style, 1, &info, &score);
    Replay(moves, judgeBuffers, rules);
    if (cell <= 0 || engineBoard[cell] != CELL_EMPTY) {
      // No move found: the first cell from the centre outwards that the mover may play.
      const bool judge = rules == RULES_RENJU && mover == 0;
      cell = 0;
      for (int r = 0; r <= 7 && !cell; ++r)
        for (int row = 7 - r; row <= 7 + r && !cell; ++row)
          for (int col = 7 - r; col <= 7 + r && !cell; ++col)
            if (gameBoard[CellAt(row, col)] == CELL_EMPTY &&
                !(judge && RenjuFouls(CellAt(row, col))))
              cell = CellAt(row, col);
      if (!cell) return {DRAW, static_cast<int>(moves.size()), "no-legal-cell"};
    }
    uint32_t f = AiPlayMove(cell);
    moves.push_back(cell);
    int n = static_cast<int>(moves.size());
    if (o.verbose) std::fprintf(stderr, "%d ", cell);
    if (f & THREAT_FIVE) return {mover ? WHITE_WINS : BLACK_WINS, n, "five"};
    if (rules == RULES_RENJU && mover == 0 && (f & kFouls)) return {WHITE_WINS, n, "black-foul"};
  }
}

struct Tally {
  double a = 0;
  int aWins = 0, bWins = 0, draws = 0, games = 0;
  int aWinsBlack = 0, bWinsBlack = 0;
  long stones = 0;
  std::vector<double> pairPoints;  // A's points from each opening played with both colours

  // A's share of the points and its 95 % margin, from the spread of the pair results: the
  // two games of a pair share an opening, so they are not independent draws.
  double Share() const { return games ? a / games : 0; }
  double Margin() const {
    const double n = static_cast<double>(pairPoints.size());
    if (n < 2) return 1;
    double mean = 0, var = 0;
    for (double p : pairPoints) mean += p / n;
    for (double p : pairPoints) var += (p - mean) * (p - mean) / (n - 1);
    return 1.96 * std::sqrt(var / n) / 2;
  }
};

Tally RunRules(const Options& o, int rules) {
  auto openings = o.balanced ? BalancedOpenings(o.seed + rules * 7919, (o.games + 1) / 2, rules,
                                                o.jobs, o.openings.buffers)
                             : Openings(o.seed + rules * 7919, (o.games + 1) / 2);
  Tally t;
  std::vector<double> gamePoints(o.games, -1);
  auto play = [&](size_t game) {
    GameEnd e = PlayGame(o, openings[game / 2], (game & 1) == 0, rules);
    char line[128];
    std::snprintf(line, sizeof line, "%d %d %s\n", e.result, e.stones, e.reason);
    return std::string(line);
  };
  auto collect = [&](size_t game, const std::string& answer, bool ok) {
    int res = -1, stones = 0;
    char reason[64] = "?";
    if (!ok || std::sscanf(answer.c_str(), "%d %d %63s", &res, &stones, reason) != 3) {
      std::fprintf(stderr, "match: game %zu failed\n", game);
      return;
    }
    bool aBlack = (game & 1) == 0;
    bool aWon = (res == BLACK_WINS && aBlack) || (res == WHITE_WINS && !aBlack);
    bool bWon = (res == BLACK_WINS && !aBlack) || (res == WHITE_WINS && aBlack);
    t.games++;
    t.stones += stones;
    if (aWon) t.aWins++, t.a += 1, t.aWinsBlack += aBlack;
    if (bWon) t.bWins++, t.bWinsBlack += !aBlack;
    if (!aWon && !bWon) t.draws++, t.a += 0.5;
    gamePoints[game] = aWon ? 1 : bWon ? 0 : 0.5;
    if ((game ^ 1) < gamePoints.size() && gamePoints[game ^ 1] >= 0)
      t.pairPoints.push_back(gamePoints[game ^ 1] + gamePoints[game]);
    if (!o.listGames) return;
    std::string opening;
    for (int c : openings[game / 2]) opening.append(" ").append(std::to_string(c));
    std::printf("  game %2zu  opening%s  A %s: %s after %d stones (%s)\n", game, opening.c_str(),
                aBlack ? "black" : "white",
                aWon   ? "A wins"
                : bWon ? "B wins"
                       : "draw",
                stones, reason);
    std::fflush(stdout);
  };
  if (!RunForked(o.games, o.jobs, play, collect)) std::exit(1);
  return t;
}

const char* RulesName(int rules) { return rules == RULES_RENJU ? "Renju" : "free-style"; }

void Report(const char* what, const Tally& t) {
  std::printf(
      "%s: A %d wins (%d as black), B %d wins (%d as black), %d draws; "
      "A scores %.1f of %d = %.1f %% +- %.1f %% (95 %%, %zu pairs), %.1f stones a game\n",
      what, t.aWins, t.aWinsBlack, t.bWins, t.bWinsBlack, t.draws, t.a, t.games, 100 * t.Share(),
      100 * t.Margin(), t.pairPoints.size(), t.games ? double(t.stones) / t.games : 0.0);
  std::fflush(stdout);
}

// Each level against the one below it, in every rule set.
void Ladder(Options o, int lo, int hi) {
  o.listGames = false;
  for (int rules : o.rules)
    for (int level = lo; level < hi; ++level) {
      o.a.level = level + 1;
      o.b.level = level;
      char what[64];
      std::snprintf(what, sizeof what, "%s, level %d against %d", RulesName(rules), level + 1,
                    level);
      Report(what, RunRules(o, rules));
    }
}

void Describe(const char* name, const Player& p) {
  std::printf("%s: level %d, style %d, tables %s\n", name, p.level, p.style,
              p.tables.empty() ? "(current directory)" : p.tables.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  int ladderLo = 0, ladderHi = 0;
  for (int i = 1; i < argc; ++i) {
    auto arg = [&](const char* name) { return !std::strcmp(argv[i], name) && i + 1 < argc; };
    if (arg("--rules")) {
      std::string r = argv[++i];
      o.rules = r == "free"    ? std::vector<int>{RULES_FREESTYLE}
                : r == "renju" ? std::vector<int>{RULES_RENJU}
                               : std::vector<int>{RULES_FREESTYLE, RULES_RENJU};
    } else if (arg("--games")) {
      o.games = std::max(1, std::atoi(argv[++i]));
    } else if (arg("--a")) {
      o.a.level = std::atoi(argv[++i]);
    } else if (arg("--b")) {
      o.b.level = std::atoi(argv[++i]);
    } else if (arg("--style-a")) {
      o.a.style = std::atoi(argv[++i]);
    } else if (arg("--style-b")) {
      o.b.style = std::atoi(argv[++i]);
    } else if (arg("--a-tables")) {
      o.a.tables = argv[++i];
    } else if (arg("--b-tables")) {
      o.b.tables = argv[++i];
    } else if (arg("--seed")) {
      o.seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else if (arg("--jobs")) {
      o.jobs = std::max(1, std::atoi(argv[++i]));
    } else if (arg("--ladder") && std::sscanf(argv[i + 1], "%d-%d", &ladderLo, &ladderHi) == 2 &&
               ladderLo < ladderHi) {
      ++i;
    } else if (arg("--openings") &&
               (!std::strcmp(argv[i + 1], "balanced") || !std::strcmp(argv[i + 1], "near"))) {
      o.balanced = !std::strcmp(argv[++i], "balanced");
    } else if (arg("--opening-tables")) {
      o.openings.tables = argv[++i];
    } else if (!std::strcmp(argv[i], "--no-book")) {
      o.book = false;
    } else if (!std::strcmp(argv[i], "--verbose")) {
      o.verbose = true;
    } else {
      std::fprintf(stderr,
                   "usage: match [--rules free|renju|both] [--games N] [--a LEVEL] [--b LEVEL]\n"
                   "             [--style-a S] [--style-b S] [--a-tables DIR] [--b-tables DIR]\n"
                   "             [--seed N] [--jobs J] [--verbose] [--ladder LO-HI]\n"
                   "             [--openings balanced|near] [--opening-tables DIR] [--no-book]\n");
      return 2;
    }
  }
  if (!AiInit()) {
    std::fprintf(stderr, "match: cannot read %s (run in the game directory)\n", aiLoadFailure);
    return 1;
  }
  if (!o.book) bookCount = 0;
  for (int t = 0; t < TABLE_COUNT; ++t) judgeBuffers[t] = tableBuffers[t];
  if (!LoadTables(o.a) || !LoadTables(o.b) || !LoadTables(o.openings)) return 1;
  if (ladderHi) {
    Ladder(o, ladderLo, ladderHi);
  } else {
    Describe("A", o.a);
    Describe("B", o.b);
    Tally total;
    for (int rules : o.rules) {
      std::printf("%s, %d games:\n", RulesName(rules), o.games);
      std::fflush(stdout);
      Tally t = RunRules(o, rules);
      Report(RulesName(rules), t);
      total.a += t.a;
      total.games += t.games;
      total.pairPoints.insert(total.pairPoints.end(), t.pairPoints.begin(), t.pairPoints.end());
    }
    std::printf("total: A scores %.1f of %d = %.1f %% +- %.1f %%\n", total.a, total.games,
                100 * total.Share(), 100 * total.Margin());
  }
  for (int t = 0; t < TABLE_COUNT; ++t) {
    tableBuffers[t] = judgeBuffers[t];
    for (const Player* p : {&o.a, &o.b, &o.openings})
      if (!p->tables.empty()) std::free(p->buffers[t]);
  }
  AiFree();
  return 0;
}

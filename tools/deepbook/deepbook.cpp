// Carries the Renju opening book past the opening list along the lines the engine reaches: from
// every position of the list played on with each of its replies, the engine's own search, with
// limits far beyond any level's, chooses the move for both sides, --plies stones deep. Run it by
// hand in the game directory (it needs the tables there):
//
//   deepbook [--plies N] [--nodes M] [--depth D] [--jobs J] [--openings FILE] [--out FILE]
//
// --nodes is the node limit a think tests between its iterations (a level-8 think has 3,220,000);
// minutes a position is --nodes 2000000000. A line ends early after a five or a four (the answer
// is forced anyway), on a decisive score, or when the search gives no legal move (said on
// stderr). A position met again, in any mirror image, keeps the first move found for it.
//
// Each line of play runs in a process of its own (the engine is one per process), --jobs of them
// at a time; the file written does not depend on --jobs, only its note of the time taken does.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "AiEngine.h"
#include "ForkJobs.h"
#include "OpeningList.h"
#include "SysInfo.h"

namespace {

struct Options {
  int plies = 4;
  int32_t nodes = 30000000;
  int depth = 20;
  int jobs = 1;
  std::string openings = DEEPBOOK_OPENINGS;
  std::string out = DEEPBOOK_OUT;
};

// One searched position of a line: the stones before the move, the move, what the search said.
struct Found {
  std::vector<int> stones;
  int move;
  int score;
  uint32_t nodes;
};

constexpr uint8_t FOULS = FOUL_DOUBLE_THREE | FOUL_DOUBLE_FOUR | FOUL_OVERLINE;

std::string Describe(const std::vector<int>& stones) {
  std::string text;
  for (int c : stones) {
    if (!text.empty()) text += ' ';
    text += CellName(c);
  }
  return text;
}

// Plays the cell for the side to move; false when it is taken, off the board or black's foul.
bool PlayLegal(int cell, uint32_t* flags, const std::vector<int>& line) {
  const bool black = !(gameStones & 1);
  const char* why =
      IsPlayingCell(cell) && gameBoard[cell] == CELL_EMPTY ? nullptr : "no empty cell";
  if (!why) *flags = AiPlayMove(cell);
  if (!why && black && (*flags & FOULS)) why = "a foul";
  if (why)
    std::fprintf(stderr, "deepbook: %s: %s (%d) is %s; the line ends here\n",
                 Describe(line).c_str(), cell > 0 ? CellName(cell).c_str() : "no move", cell, why);
  return !why;
}

std::vector<Found> PlayLine(const Options& o, const std::vector<int>& start) {
  std::vector<Found> found;
  AiReset();
  std::vector<int> stones;
  uint32_t flags = 0;
  for (int c : start) {
    if (!PlayLegal(c, &flags, stones)) return found;
    stones.push_back(c);
  }
  for (int ply = 0; ply < o.plies && stones.size() < 225; ++ply) {
    int score = 0;
    const int cell = AiSearchPosition(o.depth, o.nodes, 4, &score);
    const uint32_t nodes = nodeCount;
    if (!PlayLegal(cell, &flags, stones)) break;
    found.push_back({stones, cell, score, nodes});
    stones.push_back(cell);
    if (flags & (THREAT_FIVE | THREAT_FOUR | THREAT_OPEN_FOUR)) break;
    if (score > SCORE_DECISIVE || score < -SCORE_DECISIVE) break;
  }
  return found;
}

// A child's answer through its pipe: one "n stones... move score nodes" line per position.
std::string Encode(const std::vector<Found>& found) {
  std::ostringstream text;
  for (const Found& f : found) {
    text << f.stones.size();
    for (int c : f.stones) text << ' ' << c;
    text << ' ' << f.move << ' ' << f.score << ' ' << f.nodes << '\n';
  }
  return text.str();
}

std::vector<Found> Decode(const std::string& text) {
  std::vector<Found> found;
  std::istringstream in(text);
  for (size_t n; in >> n;) {
    Found f{std::vector<int>(n), 0, 0, 0};
    for (int& c : f.stones) in >> c;
    in >> f.move >> f.score >> f.nodes;
    found.push_back(f);
  }
  return found;
}

// Runs every line, --jobs at a time, each in a child process; false when a child failed.
bool RunLines(const Options& o, const std::vector<std::vector<int>>& starts,
              std::vector<std::vector<Found>>& results) {
  results.assign(starts.size(), {});
  size_t done = 0;
  bool ok = true;
  const uint32_t began = MonotonicMs();
  auto play = [&](size_t line) { return Encode(PlayLine(o, starts[line])); };
  auto collect = [&](size_t line, const std::string& answer, bool exited) {
    if (!exited) {
      std::fprintf(stderr, "deepbook: the line from %s failed\n", Describe(starts[line]).c_str());
      ok = false;
      return;
    }
    results[line] = Decode(answer);
    std::fprintf(stderr, "deepbook: %zu/%zu lines, %u s: %s, %zu moves\n", ++done, starts.size(),
                 (MonotonicMs() - began) / 1000, Describe(starts[line]).c_str(),
                 results[line].size());
  };
  return RunForked(starts.size(), o.jobs, play, collect) && ok;
}

bool WriteBook(const Options& o, const std::string& command, long long seconds,
               const std::vector<std::vector<Found>>& results) {
  const std::string temporary = o.out + ".tmp";
  std::ofstream out(temporary);
  out << "# The Renju book past data/openings.txt: from each of its positions played on with each\n"
         "# reply, the engine's own long searches chose the moves for both sides. genbook reads\n"
         "# this file after data/openings.txt, whose replies win where both list a position.\n"
         "# The comment is the search's score for the side to move and the nodes it took.\n"
         "# Written, in the game directory, by\n"
         "#\n"
         "#     "
      << command << "\n#\n# which took " << seconds / 60 << " min " << seconds % 60
      << " s; the same command writes the same lines. Do not edit by hand.\n";
  std::set<std::string> written;
  size_t count = 0;
  for (const auto& line : results) {
    bool first = true;
    for (const Found& f : line) {
      if (!written.insert(PositionKey(f.stones)).second) continue;
      if (std::exchange(first, false)) out << '\n';
      std::string play = Describe(f.stones) + " : " + CellName(f.move);
      play.resize(std::max<size_t>(play.size() + 2, 40), ' ');
      out << play << "# score " << f.score << ", nodes " << f.nodes << '\n';
      ++count;
    }
  }
  out.close();
  if (!out || std::rename(temporary.c_str(), o.out.c_str()) != 0) {
    std::fprintf(stderr, "deepbook: cannot write %s\n", o.out.c_str());
    std::remove(temporary.c_str());
    return false;
  }
  std::fprintf(stderr, "deepbook: %zu positions written to %s\n", count, o.out.c_str());
  return true;
}

int Usage() {
  std::fprintf(stderr,
               "usage: deepbook [--plies N] [--nodes M] [--depth D] [--jobs J]\n"
               "                [--openings FILE] [--out FILE]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  std::string command = "deepbook";
  for (int i = 1; i < argc; ++i) command += std::string(" ") + argv[i];
  for (int i = 1; i < argc; ++i) {
    auto arg = [&](const char* name) { return !std::strcmp(argv[i], name) && i + 1 < argc; };
    auto number = [&](long long lo, long long hi) {
      char* end = nullptr;
      long long v = std::strtoll(argv[++i], &end, 10);
      return *end || v < lo || v > hi ? -1 : v;
    };
    long long v = 0;
    if (arg("--plies") && (v = number(1, 200)) > 0) {
      o.plies = static_cast<int>(v);
    } else if (arg("--nodes") && (v = number(1, INT32_MAX)) > 0) {
      o.nodes = static_cast<int32_t>(v);
    } else if (arg("--depth") && (v = number(3, MAX_PLY / 2)) > 0) {
      o.depth = static_cast<int>(v);
    } else if (arg("--jobs") && (v = number(1, 64)) > 0) {
      o.jobs = static_cast<int>(v);
    } else if (arg("--openings")) {
      o.openings = argv[++i];
    } else if (arg("--out")) {
      o.out = argv[++i];
    } else {
      return Usage();
    }
  }

  std::ifstream in(o.openings);
  std::vector<OpeningLine> lines;
  std::string error;
  if (!in || !ParseOpeningList(in, lines, error)) {
    std::fprintf(stderr, "deepbook: %s: %s\n", o.openings.c_str(),
                 in ? error.c_str() : "cannot read it");
    return 1;
  }
  std::vector<std::vector<int>> starts;
  for (const OpeningLine& line : lines)
    for (const OpeningReply& reply : line.replies) {
      if (reply.weight == 0) continue;  // never played, so never reached
      starts.push_back(line.stones);
      starts.back().push_back(reply.cell);
    }

  if (!AiInit()) {
    std::fprintf(stderr, "deepbook: cannot read %s (run in the game directory)\n", aiLoadFailure);
    return 1;
  }
  AiSetRules(RULES_RENJU);
  const uint32_t began = MonotonicMs();
  std::vector<std::vector<Found>> results;
  const bool ok = RunLines(o, starts, results);
  const long long seconds = (MonotonicMs() - began) / 1000;
  AiFree();
  return ok && WriteBook(o, command, seconds, results) ? 0 : 1;
}

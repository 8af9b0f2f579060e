// Tunes the evaluation weights by self-play with the match tool on all cores. Run it in the game
// directory; with the same options it plays the same games and writes the same file (the engine
// is deterministic, its limits are node counts, and the games leave the Renju book out, so the
// weights do not depend on it).
//
//   cd build/game && nice -n 19 ../tools/tune/tune --rules renju --seed 1 --rounds 4
//       --games 100 --level 6 --threshold 0.5 --out ../../data/eval-params.txt
//
// --method scan (the default) is a pattern search along a few directions that keep each make
// and its matching break in step (see Step); --method spsa nudges every weight at random, plays
// the weights nudged one way against the same weights nudged the other way and moves them
// toward the side that scored. Free-style games steer the [free] weights, Renju games both
// Renju sections. The weights start from the baseline unless --params names a file; the output
// is rewritten after every round, so a stopped run leaves the latest weights.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>

#include "EvalParams.h"

using namespace gentables;

namespace {

struct Options {
  std::string params, out = "eval-params.txt", work = "tune-work";
  unsigned seed = 1;
  int rounds = 60, games = 16, level = 2, jobs = 8;
  double a = 4, c = 1;  // SPSA gain and perturbation, in steps of each weight's scale
  std::string method = "scan";
  std::string rules = "both";  // the rule sets played; the other one's weights stay as they start
  std::string openings = "balanced";  // the match's opening set
  double factor = 2;                  // scan: the first step along every direction
  double threshold = 0.55;            // scan: the share a step must reach to be taken
};

using Theta = std::array<std::array<double, kEvalWeightCount>, kEvalTableCount>;

EvalParams Rounded(const Theta& x, const Theta& scale) {
  EvalParams p;
  for (int t = 0; t < kEvalTableCount; ++t)
    for (int w = 0; w < kEvalWeightCount; ++w)
      p[t][w] = std::clamp(static_cast<int>(std::lround(x[t][w] * scale[t][w])), 0, 255);
  return p;
}

bool WriteParams(const std::string& path, const EvalParams& p, const std::string& header) {
  std::ofstream f(path, std::ios::trunc);
  f << FormatEvalParams(p, header);
  return static_cast<bool>(f.flush());
}

bool Run(const std::string& command, std::string* output = nullptr) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return false;
  char buf[512];
  while (std::fgets(buf, sizeof buf, pipe))
    if (output) *output += buf;
  return pclose(pipe) == 0;
}

// A's share of the points in one rule set, from the match summary line.
double Share(const std::string& out, const char* rules) {
  const std::string key = std::string("\n") + rules + ": ";
  auto at = out.find(key);
  double points = 0;
  int games = 0;
  if (at == std::string::npos) return -1;
  at = out.find("A scores ", at);
  if (at == std::string::npos ||
      std::sscanf(out.c_str() + at, "A scores %lf of %d", &points, &games) != 2 || games == 0)
    return -1;
  return points / games;
}

// Rewrites the output with a round's weights and lists them.
bool Publish(const Options& o, const EvalParams& p, const char* header) {
  if (!WriteParams(o.out, p, header)) {
    std::fprintf(stderr, "tune: cannot write %s\n", o.out.c_str());
    return false;
  }
  for (int t = 0; t < kEvalTableCount; ++t) {
    std::printf("  %-12s", kEvalTableNames[t]);
    for (int w = 0; w < kEvalWeightCount; ++w) std::printf(" %d", p[t][w]);
    std::printf("\n");
  }
  std::fflush(stdout);
  return true;
}

// Writes a weight file and its tables into dir (the file beside it as dir.txt).
bool MakeTables(const std::string& dir, const EvalParams& p) {
  if (Run("mkdir -p '" + dir + "'") && WriteParams(dir + ".txt", p, "") &&
      Run(std::string(TAVEX_GENTABLES) + " --params '" + dir + ".txt' '" + dir + "'"))
    return true;
  std::fprintf(stderr, "tune: cannot generate tables in %s\n", dir.c_str());
  return false;
}

// A's shares of the points against B, free-style and Renju; false if the match failed.
bool Play(const Options& o, const std::string& a, const std::string& b, unsigned seed,
          double share[2]) {
  std::string out;
  const std::string level = std::to_string(o.level);
  const bool played =
      Run(std::string(TAVEX_MATCH) + " --a-tables '" + a + "' --b-tables '" + b + "' --a " + level +
              " --b " + level + " --games " + std::to_string(o.games) + " --jobs " +
              std::to_string(o.jobs) + " --seed " + std::to_string(seed) + " --rules " + o.rules +
              " --openings " + o.openings + " --no-book --opening-tables '" +
              TAVEX_REFERENCE_TABLES + "'",
          &out);
  // A rule set not played scores even, which leaves its weights where they are.
  share[0] = o.rules == "renju" ? 0.5 : Share("\n" + out, "free-style");
  share[1] = o.rules == "free" ? 0.5 : Share("\n" + out, "Renju");
  if (played && share[0] >= 0 && share[1] >= 0) return true;
  std::fprintf(stderr, "tune: match failed:\n%s", out.c_str());
  return false;
}

// The directions the scan steps along. A make and the matching break move together or
// against each other: a shape its maker keeps after it is blocked is worth its make minus
// the block's break, and the play is very sensitive to that balance.
enum Direction { kSteepness, kShapes, kAttack, kWindows, kDirectionCount };
const char* const kDirectionNames[kDirectionCount] = {"steepness", "shapes", "attack", "windows"};

// The weights of the tables in group g (0 free-style, 1 both Renju sides) moved along d by f.
EvalParams Step(const EvalParams& p, int g, Direction d, double f) {
  EvalParams q = p;
  for (int t = 0; t < kEvalTableCount; ++t) {
    if ((t == kEvalFree) != (g == 0)) continue;
    for (int w = 0; w < kEvalWeightCount; ++w) {
      double m = 1;
      const bool window = w <= kWindow5, make = w > kMakeOpenFour && w <= kMakeClosedThree,
                 brk = w >= kBreakFive;
      if (d == kSteepness && window) m = std::pow(f, std::min(w - kWindow1, 3) / 3.0);
      if (d == kShapes && (make || brk)) m = f;
      if (d == kAttack && make) m = f;
      if (d == kAttack && brk) m = 1 / f;
      if (d == kWindows && window) m = f;
      q[t][w] = std::clamp(static_cast<int>(std::lround(p[t][w] * m)), 0, 255);
    }
  }
  return q;
}

// A pattern search: every round tries one direction both ways against the current weights,
// each rule set on its own, takes the better step if it scores at least the threshold and
// otherwise shortens that direction's step.
int Scan(const Options& o, EvalParams current) {
  const std::string cur = o.work + "/current", plus = o.work + "/plus", minus = o.work + "/minus";
  double factor[2][kDirectionCount];
  for (auto& g : factor)
    for (double& f : g) f = o.factor;
  for (int k = 0; k < o.rounds; ++k) {
    const Direction d = static_cast<Direction>(k % kDirectionCount);
    EvalParams up = current, down = current;
    for (int g = 0; g < 2; ++g) {
      up = Step(up, g, d, factor[g][d]);
      down = Step(down, g, d, 1 / factor[g][d]);
    }
    double upShare[2], downShare[2];
    const unsigned seed = o.seed * 1000 + k;
    if (!MakeTables(cur, current) || !MakeTables(plus, up) || !MakeTables(minus, down) ||
        !Play(o, plus, cur, seed, upShare) || !Play(o, minus, cur, seed, downShare))
      return 1;
    std::printf("round %d, %s:", k + 1, kDirectionNames[d]);
    for (int g = 0; g < 2; ++g) {
      if (o.rules == (g ? "free" : "renju")) continue;
      const bool upWins = upShare[g] >= downShare[g];
      const double best = std::max(upShare[g], downShare[g]);
      std::printf("  %s x%.3f %.3f, /%.3f %.3f", g ? "Renju" : "free-style", factor[g][d],
                  upShare[g], factor[g][d], downShare[g]);
      if (best >= o.threshold) {
        for (int t = 0; t < kEvalTableCount; ++t)
          if ((t == kEvalFree) == (g == 0)) current[t] = (upWins ? up : down)[t];
      } else {
        factor[g][d] = std::sqrt(factor[g][d]);
      }
    }
    std::printf("\n");
    char header[512];
    std::snprintf(header, sizeof header,
                  "# Weights of the evaluation tables, one section per looking side; written by\n"
                  "# tune --method scan --rules %s --seed %u --rounds %d --games %d --level %d\n"
                  "#     --factor %g --threshold %g%s%s%s\n",
                  o.rules.c_str(), o.seed, k + 1, o.games, o.level, o.factor, o.threshold,
                  o.openings == "near" ? " --openings near" : "",
                  o.params.empty() ? "" : " --params ", o.params.c_str());
    if (!Publish(o, current, header)) return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    auto arg = [&](const char* name) { return !std::strcmp(argv[i], name) && i + 1 < argc; };
    if (arg("--params"))
      o.params = argv[++i];
    else if (arg("--out"))
      o.out = argv[++i];
    else if (arg("--work"))
      o.work = argv[++i];
    else if (arg("--seed"))
      o.seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
    else if (arg("--rounds"))
      o.rounds = std::atoi(argv[++i]);
    else if (arg("--games"))
      o.games = std::max(2, std::atoi(argv[++i]) / 2 * 2);
    else if (arg("--level"))
      o.level = std::atoi(argv[++i]);
    else if (arg("--jobs"))
      o.jobs = std::max(1, std::atoi(argv[++i]));
    else if (arg("--a"))
      o.a = std::atof(argv[++i]);
    else if (arg("--c"))
      o.c = std::atof(argv[++i]);
    else if (arg("--rules") &&
             (!std::strcmp(argv[i + 1], "free") || !std::strcmp(argv[i + 1], "renju") ||
              !std::strcmp(argv[i + 1], "both")))
      o.rules = argv[++i];
    else if (arg("--openings") &&
             (!std::strcmp(argv[i + 1], "balanced") || !std::strcmp(argv[i + 1], "near")))
      o.openings = argv[++i];
    else if (arg("--method"))
      o.method = argv[++i];
    else if (arg("--factor"))
      o.factor = std::atof(argv[++i]);
    else if (arg("--threshold"))
      o.threshold = std::atof(argv[++i]);
    else {
      std::fprintf(stderr,
                   "usage: tune [--params FILE] [--out FILE] [--work DIR] [--seed N] [--rounds N]\n"
                   "            [--games N] [--level L] [--jobs J] [--method scan|spsa]\n"
                   "            [--rules free|renju|both] [--openings balanced|near]\n"
                   "            [--factor F] [--threshold S] [--a GAIN] [--c STEP]\n");
      return 2;
    }
  }
  EvalParams start = BaselineParams();
  std::string error;
  if (!o.params.empty() && !ReadEvalParams(o.params, start, error)) {
    std::fprintf(stderr, "tune: %s\n", error.c_str());
    return 2;
  }
  if (o.method == "scan") return Scan(o, start);
  // A weight moves in steps of a fifth of its start value, at least 1, so small and large
  // weights change by similar factors.
  Theta scale, x;
  for (int t = 0; t < kEvalTableCount; ++t)
    for (int w = 0; w < kEvalWeightCount; ++w) {
      scale[t][w] = std::max(1.0, start[t][w] / 5.0);
      x[t][w] = start[t][w] / scale[t][w];
    }
  std::mt19937 rng(o.seed);
  const std::string plus = o.work + "/plus", minus = o.work + "/minus";
  for (int k = 0; k < o.rounds; ++k) {
    const double ck = o.c / std::pow(k + 1, 0.101);
    // The schedule does not depend on --rounds, so a run of N rounds is the start of any longer
    // one.
    const double ak = o.a / std::pow(k + 6, 0.602);
    Theta delta, xp, xm;
    for (int t = 0; t < kEvalTableCount; ++t)
      for (int w = 0; w < kEvalWeightCount; ++w) {
        delta[t][w] = (rng() & 1) ? 1 : -1;
        xp[t][w] = x[t][w] + ck * delta[t][w];
        xm[t][w] = x[t][w] - ck * delta[t][w];
      }
    double share[2];
    if (!MakeTables(plus, Rounded(xp, scale)) || !MakeTables(minus, Rounded(xm, scale)) ||
        !Play(o, plus, minus, o.seed * 1000 + k, share))
      return 1;
    const double free = share[0], renju = share[1];
    for (int t = 0; t < kEvalTableCount; ++t) {
      const double g = 2 * (t == kEvalFree ? free : renju) - 1;
      for (int w = 0; w < kEvalWeightCount; ++w) x[t][w] += ak * g / (2 * ck) * delta[t][w];
    }
    const EvalParams now = Rounded(x, scale);
    char header[512];
    std::snprintf(header, sizeof header,
                  "# Weights of the evaluation tables, one section per looking side; written by\n"
                  "# tune --method spsa --rules %s --seed %u --rounds %d --games %d --level %d\n"
                  "#     --a %g --c %g%s%s%s\n",
                  o.rules.c_str(), o.seed, k + 1, o.games, o.level, o.a, o.c,
                  o.openings == "near" ? " --openings near" : "",
                  o.params.empty() ? "" : " --params ", o.params.c_str());
    std::printf("round %d: plus scores %.3f free-style, %.3f Renju\n", k + 1, free, renju);
    if (!Publish(o, now, header)) return 1;
  }
  return 0;
}

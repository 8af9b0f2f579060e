// Tunes the evaluation weights by SPSA self-play: each round plays the weights nudged one way
// against the same weights nudged the other way (the match tool, paired openings, all cores)
// and moves the weights toward the side that scored. Free-style games steer the [free] weights,
// Renju games both Renju sections. Run it in the game directory; with the same options it
// plays the same games and writes the same file (the engine is deterministic, its limits are
// node counts).
//
//   cd build/game && nice -n 19 ../tools/tune/tune --seed 1 --rounds 60 --games 16 --level 2 --out
//   ../../data/eval-params.txt
//
// The weights start from the baseline unless --params names a file. The output is rewritten
// after every round, so a stopped run leaves the latest weights.
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
    else {
      std::fprintf(stderr,
                   "usage: tune [--params FILE] [--out FILE] [--work DIR] [--seed N] [--rounds N]\n"
                   "            [--games N] [--level L] [--jobs J] [--a GAIN] [--c STEP]\n");
      return 2;
    }
  }
  EvalParams start = BaselineParams();
  std::string error;
  if (!o.params.empty() && !ReadEvalParams(o.params, start, error)) {
    std::fprintf(stderr, "tune: %s\n", error.c_str());
    return 2;
  }
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
  if (!Run("mkdir -p '" + plus + "' '" + minus + "'")) return 1;
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
    for (auto [dir, theta] : {std::pair{plus, &xp}, std::pair{minus, &xm}}) {
      if (!WriteParams(dir + ".txt", Rounded(*theta, scale), "") ||
          !Run(std::string(TAVEX_GENTABLES) + " --params '" + dir + ".txt' '" + dir + "'")) {
        std::fprintf(stderr, "tune: cannot generate tables in %s\n", dir.c_str());
        return 1;
      }
    }
    std::string out;
    const std::string match = std::string(TAVEX_MATCH) + " --a-tables '" + plus + "' --b-tables '" +
                              minus + "' --a " + std::to_string(o.level) + " --b " +
                              std::to_string(o.level) + " --games " + std::to_string(o.games) +
                              " --jobs " + std::to_string(o.jobs) + " --seed " +
                              std::to_string(o.seed * 1000 + k);
    const bool played = Run(match, &out);
    const double free = Share("\n" + out, "free-style"), renju = Share("\n" + out, "Renju");
    if (!played || free < 0 || renju < 0) {
      std::fprintf(stderr, "tune: match failed:\n%s", out.c_str());
      return 1;
    }
    for (int t = 0; t < kEvalTableCount; ++t) {
      const double g = 2 * (t == kEvalFree ? free : renju) - 1;
      for (int w = 0; w < kEvalWeightCount; ++w) x[t][w] += ak * g / (2 * ck) * delta[t][w];
    }
    const EvalParams now = Rounded(x, scale);
    char header[512];
    std::snprintf(header, sizeof header,
                  "# Weights of the evaluation tables, one section per looking side; written by\n"
                  "# tune --seed %u --rounds %d --games %d --level %d --a %g --c %g%s%s\n",
                  o.seed, k + 1, o.games, o.level, o.a, o.c, o.params.empty() ? "" : " --params ",
                  o.params.c_str());
    if (!WriteParams(o.out, now, header)) {
      std::fprintf(stderr, "tune: cannot write %s\n", o.out.c_str());
      return 1;
    }
    std::printf("round %d: plus scores %.3f free-style, %.3f Renju\n", k + 1, free, renju);
    for (int t = 0; t < kEvalTableCount; ++t) {
      std::printf("  %-12s", kEvalTableNames[t]);
      for (int w = 0; w < kEvalWeightCount; ++w) std::printf(" %d", now[t][w]);
      std::printf("\n");
    }
    std::fflush(stdout);
  }
  return 0;
}

#include <gtest/gtest.h>

#include <sstream>

#include "LineClassifier.h"

using namespace gentables;

namespace {

std::uint64_t Fnv(const std::vector<std::uint8_t>& bytes) {
  std::uint64_t h = 1469598103934665603ull;
  for (std::uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
  return h;
}

bool Parse(const std::string& text, EvalParams& p, std::string& error) {
  std::istringstream in(text);
  return ParseEvalParams(in, "w.txt", p, error);
}

}  // namespace

// The baseline weights are the strength reference: their tables must not drift.
TEST(EvalParams, BaselineTablesArePinned) {
  const auto freestyle = BuildPatternTable(FiveRule::FiveOrMore);
  const auto renju = BuildPatternTable(FiveRule::ExactlyFive);
  const EvalWeights w = BaselineWeights();
  EXPECT_EQ(
      Fnv(BuildEvalTable(FiveRule::FiveOrMore, freestyle, FiveRule::FiveOrMore, freestyle, w)),
      13653726145564658523ull);
  EXPECT_EQ(Fnv(BuildEvalTable(FiveRule::ExactlyFive, renju, FiveRule::FiveOrMore, freestyle, w)),
            1884252209853356489ull);
  EXPECT_EQ(Fnv(BuildEvalTable(FiveRule::FiveOrMore, freestyle, FiveRule::ExactlyFive, renju, w)),
            12896208974488841357ull);
}

TEST(EvalParams, WrittenFileReadsBack) {
  EvalParams p = BaselineParams();
  for (int t = 0; t < kEvalTableCount; ++t)
    for (int w = 0; w < kEvalWeightCount; ++w) p[t][w] = (t * 37 + w * 11) % 256;
  EvalParams q{};
  std::string error;
  ASSERT_TRUE(Parse(FormatEvalParams(p, "# header\n"), q, error)) << error;
  EXPECT_EQ(p, q);
}

TEST(EvalParams, MalformedFileIsRejectedWithItsLine) {
  const std::string good = FormatEvalParams(BaselineParams(), "");
  auto errorOf = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    EvalParams p;
    std::string error;
    EXPECT_FALSE(Parse(text, p, error)) << to;
    return error;
  };
  EXPECT_EQ(errorOf("window-1 1\n", "window-1 256\n"),
            "w.txt:3: value of window-1 must be a whole number 0-255, not 256");
  EXPECT_EQ(errorOf("window-2 4\n", "window-2 4x\n"),
            "w.txt:4: value of window-2 must be a whole number 0-255, not 4x");
  EXPECT_EQ(errorOf("window-2 4\n", "windo-2 4\n"), "w.txt:4: unknown weight windo-2");
  EXPECT_EQ(errorOf("window-2 4\n", "window-1 4\n"), "w.txt:4: weight window-1 given twice");
  EXPECT_EQ(errorOf("break-three 2\n", ""), "w.txt: [free] lacks break-three");
  EXPECT_EQ(errorOf("[renju-white]", "[renju-whit]"), "w.txt:36: unknown section [renju-whit]");
}

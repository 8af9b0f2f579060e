#include "EvalParams.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace gentables {

const char* const kEvalWeightNames[kEvalWeightCount] = {
    "window-1",          "window-2",       "window-3",        "window-4",        "window-5",
    "make-five",         "make-open-four", "make-four",       "make-open-three", "make-split-three",
    "make-closed-three", "break-five",     "break-open-four", "break-four",      "break-three"};

const char* const kEvalTableNames[kEvalTableCount] = {"free", "renju-black", "renju-white"};

EvalWeights BaselineWeights() {
  // A four or three forces an answer, so shapes are worth more than their windows say; a
  // break is close to the matching make, so that a four and its forced block leave the
  // score about where the windows put it.
  return {1, 4, 12, 30, 30, 120, 60, 18, 16, 12, 3, 20, 16, 4, 2};
}

EvalParams BaselineParams() {
  EvalParams p;
  p.fill(BaselineWeights());
  return p;
}

bool ParseEvalParams(std::istream& in, const std::string& source, EvalParams& out,
                     std::string& error) {
  std::array<std::array<bool, kEvalWeightCount>, kEvalTableCount> seen{};
  int table = -1;
  std::string text;
  for (int lineNo = 1; std::getline(in, text); ++lineNo) {
    auto fail = [&](const std::string& what) {
      error = source + ":" + std::to_string(lineNo) + ": " + what;
      return false;
    };
    text = text.substr(0, text.find('#'));
    std::istringstream words(text);
    std::string name, value, extra;
    if (!(words >> name)) continue;
    if (name.front() == '[') {
      if (words >> extra) return fail("unexpected text after " + name);
      table = -1;
      for (int t = 0; t < kEvalTableCount; ++t)
        if (name == std::string("[") + kEvalTableNames[t] + "]") table = t;
      if (table < 0) return fail("unknown section " + name);
      continue;
    }
    if (table < 0) return fail("weight " + name + " outside a section");
    int w = 0;
    while (w < kEvalWeightCount && name != kEvalWeightNames[w]) ++w;
    if (w == kEvalWeightCount) return fail("unknown weight " + name);
    if (seen[table][w]) return fail("weight " + name + " given twice");
    int v = -1;
    if (!(words >> value) || (words >> extra)) return fail("expected \"" + name + " <value>\"");
    auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
    if (ec != std::errc() || end != value.data() + value.size() || v < 0 || v > 255)
      return fail("value of " + name + " must be a whole number 0-255, not " + value);
    out[table][w] = v;
    seen[table][w] = true;
  }
  for (int t = 0; t < kEvalTableCount; ++t)
    for (int w = 0; w < kEvalWeightCount; ++w)
      if (!seen[t][w]) {
        error = source + ": [" + kEvalTableNames[t] + "] lacks " + kEvalWeightNames[w];
        return false;
      }
  return true;
}

bool ReadEvalParams(const std::string& path, EvalParams& out, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  return ParseEvalParams(in, path, out, error);
}

std::string FormatEvalParams(const EvalParams& params, const std::string& header) {
  std::string s = header;
  for (int t = 0; t < kEvalTableCount; ++t) {
    s += std::string("\n[") + kEvalTableNames[t] + "]\n";
    for (int w = 0; w < kEvalWeightCount; ++w)
      s += std::string(kEvalWeightNames[w]) + " " + std::to_string(params[t][w]) + "\n";
  }
  return s;
}

}  // namespace gentables

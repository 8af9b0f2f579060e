// Named weights behind the three evaluation tables, and their text file.
//
// The file holds one section per table, "[free]", "[renju-black]" and "[renju-white]" (the
// side the table looks from), each with every weight once as "name value"; '#' starts a
// comment. Values are whole numbers 0-255.
#pragma once

#include <array>
#include <istream>
#include <string>

namespace gentables {

enum EvalWeight {
  // A five-cell window that can still become a five, by its owner's stones in it; the
  // looking side gains what its stone adds to its windows and what it takes from the opponent's.
  kWindow1,
  kWindow2,
  kWindow3,
  kWindow4,
  kWindow5,
  // Line classes the looking side makes.
  kMakeFive,
  kMakeOpenFour,
  kMakeFour,
  kMakeOpenThree,
  kMakeSplitThree,
  kMakeClosedThree,
  // Classes of the opponent's that the stone breaks (what the opponent would make on c).
  kBreakFive,
  kBreakOpenFour,
  kBreakFour,
  kBreakThree,
  kEvalWeightCount
};

enum EvalTable { kEvalFree, kEvalRenjuBlack, kEvalRenjuWhite, kEvalTableCount };

using EvalWeights = std::array<int, kEvalWeightCount>;
using EvalParams = std::array<EvalWeights, kEvalTableCount>;

extern const char* const kEvalWeightNames[kEvalWeightCount];
extern const char* const kEvalTableNames[kEvalTableCount];

// The hand-set weights the tables started from; the strength bench's reference.
EvalWeights BaselineWeights();
EvalParams BaselineParams();

// Reads a whole file's text; on failure returns false with "source:line: what" in error.
bool ParseEvalParams(std::istream& in, const std::string& source, EvalParams& out,
                     std::string& error);
bool ReadEvalParams(const std::string& path, EvalParams& out, std::string& error);
std::string FormatEvalParams(const EvalParams& params, const std::string& header);

}  // namespace gentables

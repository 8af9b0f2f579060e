// Writes the five 1 MB pattern and evaluation tables into the given directory.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "LineClassifier.h"
#include "TableSums.h"

namespace {

std::string sumLines;  // a checksum line for every table written

bool WriteTable(const std::filesystem::path& dir, const char* name,
                const std::vector<std::uint8_t>& bytes) {
  // Written beside the target and renamed, so a failed run never leaves a short table.
  std::filesystem::path target = dir / name;
  std::filesystem::path temp = target;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
      std::fprintf(stderr, "gentables: cannot write %s\n", temp.c_str());
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, target, ec);
  if (ec) {
    std::fprintf(stderr, "gentables: cannot rename %s: %s\n", temp.c_str(), ec.message().c_str());
    std::filesystem::remove(temp, ec);
    return false;
  }
  sumLines += TableSumLine(name, bytes.data(), bytes.size());
  return true;
}

// Written last, so it only ever describes tables that were written whole.
bool WriteSums(const std::filesystem::path& dir) {
  const std::string text = sumLines;
  return WriteTable(dir, TABLE_SUM_FILE, std::vector<std::uint8_t>(text.begin(), text.end()));
}

}  // namespace

int main(int argc, char** argv) {
  using namespace gentables;
  // Without a weight file the tables come from the baseline weights: the strength reference.
  EvalParams params = BaselineParams();
  if (argc == 4 && std::string(argv[1]) == "--params") {
    std::string error;
    if (!ReadEvalParams(argv[2], params, error)) {
      std::fprintf(stderr, "gentables: %s\n", error.c_str());
      return 2;
    }
  } else if (argc != 2) {
    std::fprintf(stderr, "usage: gentables [--params FILE] <output directory>\n");
    return 2;
  }
  const std::filesystem::path dir = argv[argc - 1];
  const auto freestyle = BuildPatternTable(FiveRule::FiveOrMore);
  const auto renjuBlack = BuildPatternTable(FiveRule::ExactlyFive);
  const auto evalSimple = BuildEvalTable(FiveRule::FiveOrMore, freestyle, FiveRule::FiveOrMore,
                                         freestyle, params[kEvalFree]);
  const auto evalBlack = BuildEvalTable(FiveRule::ExactlyFive, renjuBlack, FiveRule::FiveOrMore,
                                        freestyle, params[kEvalRenjuBlack]);
  const auto evalWhite = BuildEvalTable(FiveRule::FiveOrMore, freestyle, FiveRule::ExactlyFive,
                                        renjuBlack, params[kEvalRenjuWhite]);
  bool ok = WriteTable(dir, "evaljpblk.tab", evalBlack) &&
            WriteTable(dir, "evaljpwht.tab", evalWhite) &&
            WriteTable(dir, "evalsimple.tab", evalSimple) &&
            WriteTable(dir, "jp543b.tab", renjuBlack) && WriteTable(dir, "Sim543b.tab", freestyle);
  return ok && WriteSums(dir) ? 0 : 1;
}

// The entry points whose readers feed the engine share this: an engine on harmless tables, and
// searches that end quickly.
#pragma once
#include <vector>

#include "AiEngine.h"
#include "EngineHost.h"
#include "FuzzUtil.h"
#include "TableSums.h"

namespace fuzz {

// The engine, once, on five empty tables (with their checksum file), so that the readers that
// feed the engine can be fuzzed without the generated tables.
inline void InitEngine() {
  static bool done = false;
  if (done) return;
  EnterOwnDir();
  std::vector<uint8_t> table(TABLE_BYTES, 0);
  std::string sums;
  for (const char* name : tableFileNames) {
    WriteFile(name, table.data(), table.size());
    sums += TableSumLine(name, table.data(), table.size());
  }
  WriteFile(TABLE_SUM_FILE, reinterpret_cast<const uint8_t*>(sums.data()), sums.size());
  if (!AiInitFrom(".")) std::abort();
  done = true;
}

// A search that the fuzz input makes deep is stopped after a few pump steps, as the user's
// stop does, so every input ends quickly.
inline void StopSearchesEarly(int pumps) {
  static int limit, count;
  limit = pumps;
  count = 0;
  EngineHost::PumpMessage = [] {
    if (++count >= limit) {
      abortSearch = 1;
      count = 0;
    }
  };
}

}  // namespace fuzz

// What the fuzz entry points share: a working directory of their own (every reader takes its
// file by name, as the programs do), whole-file writes, and an engine on harmless tables.
#pragma once
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "AiEngine.h"
#include "EngineHost.h"
#include "TableSums.h"

namespace fuzz {

// Once per process: a fresh directory under /tmp becomes the current one, removed at exit.
inline void EnterOwnDir() {
  static std::string dir;
  if (!dir.empty()) return;
  char tmpl[] = "/tmp/tavex-fuzz-XXXXXX";
  if (!mkdtemp(tmpl) || chdir(tmpl) != 0) std::abort();
  dir = tmpl;
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  });
}

inline void WriteFile(const char* name, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(name, "wb");
  if (!f) std::abort();
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
}

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

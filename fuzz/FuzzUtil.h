// What the fuzz entry points share: a working directory of their own (every reader takes its
// file by name, as the programs do) and whole-file writes.
#pragma once
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

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

}  // namespace fuzz

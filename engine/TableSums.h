// The checksum file written beside the five tables: one line per table, "<16 hex digits> <name>",
// FNV-1a 64 over the table's bytes. The engine refuses a table whose bytes do not match its
// line, so a damaged table is reported like a missing one. Header-only: the table generator
// and the tests write the same lines the engine reads.
#pragma once
#include <cinttypes>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

inline constexpr char TABLE_SUM_FILE[] = "tables.sum";

inline uint64_t TableChecksum(const uint8_t* bytes, size_t size) {
  uint64_t h = 0xCBF29CE484222325ull;
  for (size_t i = 0; i < size; ++i) {
    h ^= bytes[i];
    h *= 0x100000001B3ull;
  }
  return h;
}

inline std::string TableSumLine(const char* name, const uint8_t* bytes, size_t size) {
  char line[128];
  std::snprintf(line, sizeof line, "%016" PRIx64 " %s\n", TableChecksum(bytes, size), name);
  return line;
}

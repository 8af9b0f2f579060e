// Helpers shared by the book and game-record tests.
#pragma once
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "AiEngine.h"

// A private directory per test (tests run in parallel); optionally the current directory.
class ScratchDir {
 public:
  explicit ScratchDir(bool enter = false) {
    char pattern[] = "/tmp/record-test-XXXXXX";
    path_ = mkdtemp(pattern);
    if (enter) {
      previous_ = std::filesystem::current_path();
      std::filesystem::current_path(path_);
    }
  }
  ~ScratchDir() {
    if (!previous_.empty()) std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  const std::string& Path() const { return path_; }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path_))
      names.push_back(e.path().filename());
    return names;
  }

 private:
  std::string path_;
  std::filesystem::path previous_;
};

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline int Cell(int row, int col) { return 128 + 32 * row + col; }
inline int RowOf(int cell) { return (cell - 128) / 32; }
inline int ColOf(int cell) { return (cell - 128) % 32; }

// The eight symmetries of the board, written out as the orientation table states them.
inline int Mirror(int o, int cell) {
  int i = RowOf(cell), j = ColOf(cell), r = 0, c = 0;
  switch (o) {
    case 0:
      r = i;
      c = j;
      break;
    case 1:
      r = j;
      c = 14 - i;
      break;
    case 2:
      r = 14 - i;
      c = 14 - j;
      break;
    case 3:
      r = 14 - j;
      c = i;
      break;
    case 4:
      r = i;
      c = 14 - j;
      break;
    case 5:
      r = 14 - j;
      c = 14 - i;
      break;
    case 6:
      r = 14 - i;
      c = j;
      break;
    default:
      r = j;
      c = i;
      break;
  }
  return Cell(r, c);
}

// gameBoard with the given stones, black first and alternating.
inline void SetGameBoard(const std::vector<int>& stones) {
  std::memset(gameBoard, CELL_BORDER, sizeof gameBoard);
  for (int row = 0; row < 15; ++row) std::memset(gameBoard + Cell(row, 0), CELL_EMPTY, 15);
  for (size_t i = 0; i < stones.size(); ++i)
    gameBoard[stones[i]] = (i & 1) ? CELL_WHITE : CELL_BLACK;
}

// A private directory per test, made the current one for the test's length: the viewer reads its
// certificate file from the current directory.
#pragma once
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class TempCwd {
 public:
  TempCwd() {
    char old[PATH_MAX];
    if (getcwd(old, sizeof old)) old_ = old;
    std::string pattern = (std::filesystem::temp_directory_path() / "tavex-view-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
    if (!path_.empty() && chdir(path_.c_str()) != 0) path_.clear();
  }
  ~TempCwd() {
    if (!old_.empty() && chdir(old_.c_str()) != 0) std::abort();
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }

 private:
  std::string old_, path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A certificate trailer as the game writes it: the text, a NUL, zeros up to 1000 bytes.
inline std::string Trailer(const std::string& text) {
  std::string t = text;
  t.resize(1000, '\0');
  return t;
}

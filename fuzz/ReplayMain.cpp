// The main of an entry point built without libFuzzer: every file named on the command line,
// and every regular file of a named directory (in name order), goes through the entry point
// once. Fails when there was nothing to replay, so a lost seed directory does not pass.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool Replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // A heap block of exactly the input's size, so that a read past its end is caught as one.
  std::unique_ptr<uint8_t[]> exact(new uint8_t[bytes.size()]);
  std::copy(bytes.begin(), bytes.end(), exact.get());
  LLVMFuzzerTestOneInput(bytes.empty() ? nullptr : exact.get(), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // All named before the first input: entry points change the working directory.
  std::vector<std::filesystem::path> files;
  for (int a = 1; a < argc; ++a) {
    std::error_code error;
    const std::filesystem::path arg = std::filesystem::absolute(argv[a], error);
    if (std::filesystem::is_directory(arg, error)) {
      const size_t first = files.size();
      for (const auto& entry : std::filesystem::directory_iterator(arg, error))
        if (entry.is_regular_file()) files.push_back(entry.path());
      std::sort(files.begin() + first, files.end());
    } else {
      files.push_back(arg);
    }
  }
  for (const auto& file : files)
    if (!Replay(file)) {
      std::fprintf(stderr, "cannot read %s\n", file.c_str());
      return 1;
    }
  std::printf("%zu inputs replayed\n", files.size());
  return files.empty() ? 1 : 0;
}

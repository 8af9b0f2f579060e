// Writes every music track and effect the game names into <game dir>/music and <game dir>/sound,
// and removes the ".snd" caches beside them, which would otherwise keep the old sounds.
//   gensounds <game dir>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "Synth.h"
#include "WaveWriter.h"

namespace {

// The cache lies at the whole path lower-cased with ".wav" made ".snd".
std::string CacheOf(const std::string& path) {
  std::string c = path;
  for (char& ch : c) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return c.substr(0, c.size() - 4) + ".snd";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gensounds <game dir>\n");
    return 2;
  }
  const std::string root = argv[1];
  for (const char* dir : {"/music", "/sound"}) {
    if (mkdir((root + dir).c_str(), 0755) != 0 && errno != EEXIST) {
      std::perror((root + dir).c_str());
      return 1;
    }
  }
  const auto& sounds = Synth::GameSounds();
  std::vector<std::vector<uint8_t>> files(sounds.size());
  std::vector<std::thread> workers;
  const unsigned threads = std::max(1u, std::min(8u, std::thread::hardware_concurrency()));
  for (unsigned w = 0; w < threads; ++w) {
    workers.emplace_back([&, w] {
      for (size_t i = w; i < sounds.size(); i += threads)
        files[i] = WaveWriter::Encode16(Synth::Render(sounds[i].path), Synth::kRate, 1);
    });
  }
  for (std::thread& t : workers) t.join();

  int failures = 0;
  for (size_t i = 0; i < sounds.size(); ++i) {
    const std::string path = root + "/" + sounds[i].path;
    if (!WaveWriter::WriteFile(path, files[i])) {
      std::fprintf(stderr, "gensounds: cannot write %s\n", path.c_str());
      ++failures;
    }
    unlink((root + "/" + CacheOf(sounds[i].path)).c_str());
  }
  return failures ? 1 : 0;
}

// Draws every picture the game loads into the game directory.
//   genpictures <game dir> <glyph file> [name ...]
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "Pictures.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <game dir> <glyphs> [picture ...]\n", argv[0]);
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  pic::Font font;
  if (!font.Load(argv[2])) {
    std::fprintf(stderr, "genpictures: cannot read glyphs from %s\n", argv[2]);
    return 1;
  }
  std::vector<const pic::PictureJob*> todo;
  for (const pic::PictureJob& job : pic::AllPictures()) {
    bool wanted = argc == 3;
    for (int i = 3; i < argc; ++i) wanted = wanted || job.name == argv[i];
    if (wanted) todo.push_back(&job);
  }
  // <chrono> does not survive the Big5 execution character set; the C clock does.
  timespec t0{}, t1{};
  clock_gettime(CLOCK_MONOTONIC, &t0);
  std::vector<int> failed(todo.size(), 0);
  std::vector<std::thread> workers;
  for (size_t i = 0; i < todo.size(); ++i)
    workers.emplace_back([&, i] {
      const pic::PictureJob& job = *todo[i];
      const std::filesystem::path out = dir / job.name;
      std::error_code ec;
      std::filesystem::create_directories(out.parent_path(), ec);
      failed[i] = !job.make(font).WriteBmp(out.string());
      // The game reads its cache in preference to the picture: a stale one would hide this.
      std::filesystem::remove(dir / pic::CacheName(job.name), ec);
    });
  for (auto& w : workers) w.join();
  int rc = 0;
  for (size_t i = 0; i < todo.size(); ++i)
    if (failed[i]) {
      std::fprintf(stderr, "genpictures: cannot write %s\n", todo[i]->name.c_str());
      rc = 1;
    }
  clock_gettime(CLOCK_MONOTONIC, &t1);
  const double secs = double(t1.tv_sec - t0.tv_sec) + (t1.tv_nsec - t0.tv_nsec) / 1e9;
  std::printf("genpictures: %zu pictures in %.2f s\n", todo.size(), secs);
  return rc;
}

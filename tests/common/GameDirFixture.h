// What the headless game tests share: a directory of the test's own, with as much of the game's
// data linked in as the test does not make itself, and running the messages that are pending.
#pragma once
#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Platform.h"

// Dispatches everything that is pending now.
inline int PumpAll(int limit = 2000) {
  MSG m;
  int n = 0;
  while (n < limit && PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessage(&m);
    ++n;
  }
  return n;
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

inline void WriteBytes(const std::string& path, const void* data, size_t size) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// A fresh "/tmp/tavex-<tag>-XXXXXX" in `dir`; the working directory, which is the game's, in
// `gameDir`. Fatal failures here are the caller's: wrap the call in ASSERT_NO_FATAL_FAILURE.
inline void MakeTestDir(const char* tag, std::string& gameDir, std::string& dir) {
  char cwd[PATH_MAX];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  gameDir = cwd;
  std::string tmpl = std::string("/tmp/tavex-") + tag + "-XXXXXX";
  ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
  dir = tmpl;
}

// Links every entry of `from` into `to` but those `ownCopy` names: the data is shared
// read-only, and what the game writes stays in the test's directory.
inline void LinkEntries(const std::string& from, const std::string& to,
                        const std::function<bool(const std::string& name)>& ownCopy) {
  DIR* d = opendir(from.c_str());
  if (!d) return;
  while (dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    if (name == "." || name == ".." || ownCopy(name)) continue;
    if (symlink((from + "/" + name).c_str(), (to + "/" + name).c_str()) != 0) {
      closedir(d);
      FAIL() << "cannot link " << name << " into " << to;
    }
  }
  closedir(d);
}

// The test runs in `dir` from here on, with a runtime directory of its own.
inline void EnterTestDir(const std::string& dir) {
  ASSERT_EQ(chdir(dir.c_str()), 0);
  setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
}

// Back to the game's directory; the test's own goes.
inline void RemoveTestDir(const std::string& gameDir, const std::string& dir) {
  if (chdir(gameDir.c_str()) != 0) ADD_FAILURE() << "cannot return to " << gameDir;
  const std::string cmd = "rm -rf '" + dir + "'";
  if (std::system(cmd.c_str()) != 0) ADD_FAILURE() << "cannot remove " << dir;
}

#include "SafeFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

std::atomic<int64_t> g_writeBudget{-1};

// Consumes `want` bytes of the test write budget; returns how many may really be written.
size_t AllowedWrite(size_t want) {
  int64_t budget = g_writeBudget.load();
  while (budget >= 0) {
    int64_t take = std::min<int64_t>(budget, static_cast<int64_t>(want));
    if (g_writeBudget.compare_exchange_weak(budget, budget - take))
      return static_cast<size_t>(take);
  }
  return want;
}

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file a chain of symbolic links ends at (which need not exist yet); "" for a loop.
std::string FinalTarget(std::string path) {
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char buf[PATH_MAX];
    ssize_t n = ::readlink(path.c_str(), buf, sizeof buf);
    if (n <= 0 || n >= static_cast<ssize_t>(sizeof buf)) return path;
    std::string link(buf, static_cast<size_t>(n));
    path = link.front() == '/' ? link : DirectoryOf(path) + link;
  }
  errno = ELOOP;
  return {};
}

mode_t CreationMode(mode_t mode) {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return mode & 0777 & ~mask;
}

// Creates "<target>.tmpXXXXXX" and locks it: ours until renamed, so no other writer takes it for
// litter. Between the creation and the lock another writer's RemoveDeadTemporaries may still take
// and remove it; that one unlinks before it lets go, so once the lock is ours the name is checked,
// and a lost file is given up for a fresh one.
int CreateLockedTemporary(const std::string& target, std::string& temp) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = target + ".tmpXXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return -1;
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat held, named;
    if (::fstat(fd, &held) == 0 && ::lstat(temp.c_str(), &named) == 0 &&
        named.st_ino == held.st_ino && named.st_dev == held.st_dev)
      return fd;
    ::close(fd);
  }
  errno = EAGAIN;
  return -1;
}

}  // namespace

// A live writer keeps its temporary file locked until the rename; the lock dies with a killed one.
void RemoveDeadTemporaries(const std::string& path) {
  if (path.empty() || path.back() == '/') return;
  const std::string dir = DirectoryOf(path);
  const std::string prefix = path.substr(dir.size()) + ".tmp";
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return;
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
    if (!std::all_of(name.begin() + prefix.size(), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }))
      continue;
    int fd = ::openat(::dirfd(d), name.c_str(),
                      O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat held, named;
    if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == ::geteuid() &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::fstatat(::dirfd(d), name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        named.st_ino == held.st_ino && named.st_dev == held.st_dev)
      ::unlinkat(::dirfd(d), name.c_str(), 0);
    ::close(fd);
  }
  ::closedir(d);
}

bool WriteFully(int fd, const void* data, size_t size) {
  size_t allowed = AllowedWrite(size);
  const char* p = static_cast<const char*>(data);
  for (size_t done = 0; done < allowed;) {
    ssize_t n = ::write(fd, p + done, allowed - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  if (allowed < size) {
    errno = ENOSPC;
    return false;
  }
  return true;
}

bool WriteFileAtomically(const std::string& path, const void* data, size_t size,
                         mode_t createMode) {
  if (path.empty() || path.back() == '/') {
    errno = EINVAL;
    return false;
  }
  const std::string target = FinalTarget(path);
  if (target.empty()) return false;
  RemoveDeadTemporaries(target);

  std::string temp;
  int fd = CreateLockedTemporary(target, temp);
  if (fd < 0) return false;
  struct stat old;
  mode_t mode = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)
                    ? (old.st_mode & 0777)
                    : CreationMode(createMode);
  bool ok = (size == 0 || (data && WriteFully(fd, data, size))) && ::fchmod(fd, mode) == 0 &&
            ::fsync(fd) == 0 && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  ::close(fd);
  if (ok) {
    // The rename itself is only durable once the directory is.
    const std::string dir = DirectoryOf(target);
    int dirFd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
      ::fsync(dirFd);
      ::close(dirFd);
    }
  }
  return ok;
}

void SetWriteLimitForTests(int64_t bytes) { g_writeBudget.store(bytes < 0 ? -1 : bytes); }

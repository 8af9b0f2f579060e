#include "SysInfo.h"

#include <dirent.h>
#include <fcntl.h>
#include <langinfo.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cctype>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::atomic<DiskStatHook> g_diskStatHook{nullptr};

bool StatFileSystem(const std::string& dir, uint64_t& fragmentSize, uint64_t& total,
                    uint64_t& free) {
  struct statvfs vfs;
  if (::statvfs(dir.c_str(), &vfs) != 0) return false;
  fragmentSize = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
  total = vfs.f_blocks;
  free = vfs.f_bavail;
  return true;
}

// The directory of a drive root such as "A:\" (or "a:"), "" when unmapped or not a drive.
std::string DriveDirectory(const char* root) {
  if (!root || !std::isalpha(static_cast<unsigned char>(root[0])) || root[1] != ':') return {};
  if (root[2] && !((root[2] == '\\' || root[2] == '/') && root[3] == '\0')) return {};
  char env[] = "TAVEX_DRIVE_A";
  env[12] = static_cast<char>(std::toupper(static_cast<unsigned char>(root[0])));
  const char* dir = std::getenv(env);
  return dir ? dir : "";
}

// A drive's directory stands for a 1.44 MB diskette: 2847 clusters of one 512-byte sector.
constexpr uint64_t kSectorBytes = 512, kDisketteClusters = 2847;

// The clusters what the directory `fd` holds would take on the diskette, counted as FAT does
// for files: each regular file its size rounded up to a cluster (an empty one none), each
// subdirectory one cluster and what it holds, anything else (a link, a FIFO) one cluster.
// Links are never followed; counting stops once the diskette is full. Takes ownership of fd.
uint64_t ClustersUsed(int fd, int depth) {
  DIR* d = ::fdopendir(fd);
  if (!d) {
    ::close(fd);
    return 1;
  }
  uint64_t used = 0;
  while (dirent* e = ::readdir(d)) {
    if (used >= kDisketteClusters) break;
    if (!std::strcmp(e->d_name, ".") || !std::strcmp(e->d_name, "..")) continue;
    struct stat st;
    if (::fstatat(::dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
      ++used;
    } else if (S_ISREG(st.st_mode)) {
      used += (static_cast<uint64_t>(st.st_size) + kSectorBytes - 1) / kSectorBytes;
    } else if (S_ISDIR(st.st_mode) && depth < 32) {
      int sub = ::openat(::dirfd(d), e->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      used += 1 + (sub >= 0 ? ClustersUsed(sub, depth + 1) : 0);
    } else {
      ++used;
    }
  }
  ::closedir(d);
  return used;
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

namespace {

std::string LockFileName(const char* name) {
  std::string file;
  for (const char* p = name ? name : ""; *p; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (std::isalnum(c) || c == '-' || c == '_' || c == '.') {
      file += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      file += hex;
    }
  }
  return file;
}

// In a shared directory such as /tmp the name may have been planted: never follow a link, and
// take only a plain file of our own.
int OpenLockFile(const std::string& path, std::string& failure) {
  int fd =
      ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
  struct stat st;
  if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())) {
    ::close(fd);
    fd = -1;
    errno = EPERM;
  }
  if (fd < 0) failure = "Cannot create the lock file " + path + " (" + std::strerror(errno) + ")";
  return fd;
}

}  // namespace

std::string TmpInstanceLockPath(const char* name) {
  return "/tmp/" + LockFileName(name) + "-" + std::to_string(::getuid()) + ".lock";
}

std::string InstanceLockPath(const char* name) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime && IsDirectory(runtime))
    return std::string(runtime) + "/" + LockFileName(name) + ".lock";
  return TmpInstanceLockPath(name);
}

bool InstanceLock::Acquire(const char* name) {
  Release();
  failure_.clear();
  std::string path = InstanceLockPath(name), tmpPath = TmpInstanceLockPath(name);
  int fd = OpenLockFile(path, failure_);
  if (fd < 0 && path != tmpPath) {
    std::string first = failure_;
    fd = OpenLockFile(path = tmpPath, failure_);
    if (fd < 0) failure_ = first + "\n" + failure_;
  }
  if (fd < 0) return false;
  failure_.clear();
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK) failure_ = "Cannot lock " + path + " (" + std::strerror(errno) + ")";
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void InstanceLock::Release() {
  if (fd_ < 0) return;
  ::close(fd_);  // closing drops the lock; the file stays, harmless without it
  fd_ = -1;
}

BOOL GetComputerNameA(char* buffer, DWORD* size) {
  if (!buffer || !size || *size == 0) return FALSE;
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) != 0) host[0] = '\0';
  size_t n = std::strcspn(host, ".");
  if (n == 0 || n + 1 > *size) {
    buffer[0] = '\0';
    return FALSE;
  }
  std::memcpy(buffer, host, n);
  buffer[n] = '\0';
  *size = static_cast<DWORD>(n);
  return TRUE;
}

UINT GetDriveTypeA(const char* root) {
  return IsDirectory(DriveDirectory(root)) ? DRIVE_REMOVABLE : DRIVE_NO_ROOT_DIR;
}

BOOL GetDiskFreeSpaceA(const char* root, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                       DWORD* freeClusters, DWORD* totalClusters) {
  std::string dir = DriveDirectory(root);
  if (!IsDirectory(dir)) return FALSE;
  uint64_t fragment = 0, total = 0, free = 0;
  DiskStatHook hook = g_diskStatHook.load();
  if (!(hook ? hook(dir, fragment, total, free) : StatFileSystem(dir, fragment, total, free)))
    return FALSE;
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return FALSE;
  const uint64_t used = ClustersUsed(fd, 0);  // closes fd
  const uint64_t realFree = fragment * free / kSectorBytes;
  if (sectorsPerCluster) *sectorsPerCluster = 1;
  if (bytesPerSector) *bytesPerSector = kSectorBytes;
  if (freeClusters)
    *freeClusters = static_cast<DWORD>(
        std::min(used < kDisketteClusters ? kDisketteClusters - used : 0, realFree));
  if (totalClusters) *totalClusters = kDisketteClusters;
  return TRUE;
}

void SetDiskStatHookForTests(DiskStatHook hook) { g_diskStatHook.store(hook); }

TimeFormat ParseTimeFormat(const std::string& pattern, const std::string& ampmPattern,
                           const std::string& am, const std::string& pm) {
  // Expand the composite conversions first, so the hour and marker are seen where they stand.
  std::string p;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size()) {
      char c = pattern[i + 1];
      if (c == 'r') {
        p += ampmPattern.empty() ? "%I:%M:%S %p" : ampmPattern;
        ++i;
        continue;
      }
      if (c == 'T') {
        p += "%H:%M:%S";
        ++i;
        continue;
      }
      if (c == 'R') {
        p += "%H:%M";
        ++i;
        continue;
      }
    }
    p += pattern[i];
  }
  TimeFormat f;
  f.am = am.empty() ? "am" : am;
  f.pm = pm.empty() ? "pm" : pm;
  size_t hourEnd = std::string::npos, hourAt = std::string::npos, markerAt = std::string::npos;
  for (size_t i = 0; i + 1 < p.size(); ++i) {
    if (p[i] != '%') continue;
    size_t j = i + 1;
    bool noPad = false;
    for (; j < p.size() && std::strchr("-_0^#", p[j]); ++j)
      noPad = noPad || p[j] == '-' || p[j] == '_';
    if (j >= p.size()) break;
    char c = p[j];
    if (hourAt == std::string::npos && std::strchr("HkIl", c)) {
      hourAt = i;
      hourEnd = j + 1;
      f.hour12 = c == 'I' || c == 'l';
      f.leadingZero = (c == 'H' || c == 'I') && !noPad;
    } else if (markerAt == std::string::npos && (c == 'p' || c == 'P')) {
      markerAt = i;
    }
    i = j;
  }
  if (hourAt != std::string::npos) {
    size_t next = p.find('%', hourEnd);
    std::string sep =
        p.substr(hourEnd, next == std::string::npos ? std::string::npos : next - hourEnd);
    f.separator = sep.empty() ? ":" : sep;
  }
  f.markerFirst = markerAt != std::string::npos && hourAt != std::string::npos && markerAt < hourAt;
  return f;
}

TimeFormat UserTimeFormat() {
  auto env = [](const char* name) {
    const char* v = std::getenv(name);
    return std::string(v ? v : "");
  };
  std::string pattern = env("TAVEX_TIME_FORMAT");
  if (!pattern.empty())
    return ParseTimeFormat(pattern, "", env("TAVEX_TIME_AM"), env("TAVEX_TIME_PM"));
  std::setlocale(LC_TIME, "");
  return ParseTimeFormat(nl_langinfo(T_FMT), nl_langinfo(T_FMT_AMPM), nl_langinfo(AM_STR),
                         nl_langinfo(PM_STR));
}

std::string FormatLongTime(const TimeFormat& format, const struct tm& local) {
  int hour = local.tm_hour;
  std::string marker;
  if (format.hour12) {
    marker = hour < 12 ? format.am : format.pm;
    hour %= 12;
    if (hour == 0) hour = 12;
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, format.leadingZero ? "%02d" : "%d", hour);
  std::string text = buf;
  std::snprintf(buf, sizeof buf, "%02d", local.tm_min);
  text += format.separator + buf;
  std::snprintf(buf, sizeof buf, "%02d", local.tm_sec);
  text += format.separator + buf;
  if (format.hour12) text = format.markerFirst ? marker + " " + text : text + " " + marker;
  return text;
}

uint32_t MonotonicMs() {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint32_t>(static_cast<uint64_t>(ts.tv_sec) * 1000u +
                               static_cast<uint64_t>(ts.tv_nsec) / 1000000u);
}

#include "WinFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <vector>

#include "Big5.h"
#include "SafeFile.h"

namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// Windows compares names without regard to case; Big5 trail bytes are not letters.
bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && Big5ToLower(a) == Big5ToLower(b);
}

std::string MatchInDirectory(const std::string& dir, const std::string& name) {
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return {};
  std::vector<std::string> matches;
  while (dirent* e = ::readdir(d))
    if (SameNameIgnoringCase(e->d_name, name)) matches.emplace_back(e->d_name);
  ::closedir(d);
  if (matches.empty()) return {};
  return *std::min_element(matches.begin(), matches.end());  // a stable choice among "a" and "A"
}

}  // namespace

std::string NativePath(std::string_view winPath) {
  std::string path(winPath);
  std::replace(path.begin(), path.end(), '\\', '/');
  std::string resolved;
  size_t pos = 0;
  if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
    char env[] = "TAVEX_DRIVE_A";
    env[12] = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    const char* dir = std::getenv(env);
    if (!dir || !*dir) return {};
    resolved = dir;
    pos = 2;
  } else if (!path.empty() && path[0] == '/') {
    resolved = "/";
    pos = 1;
  }
  while (pos <= path.size()) {
    size_t slash = path.find('/', pos);
    if (slash == std::string::npos) slash = path.size();
    std::string part = path.substr(pos, slash - pos);
    pos = slash + 1;
    if (part.empty()) continue;
    std::string base = resolved;
    if (!base.empty() && base.back() != '/') base += '/';
    std::string exact = base + part;
    if (part != "." && part != ".." && !Exists(exact)) {
      std::string found = MatchInDirectory(resolved, part);
      if (!found.empty()) exact = base + found;
    }
    resolved = exact;
  }
  if (path.size() > 1 && path.back() == '/' && resolved.back() != '/') resolved += '/';
  return resolved;
}

CTime::CTime(time_t t) : t_(t) { localtime_r(&t_, &tm_); }

CFile::~CFile() { Close(); }

BOOL CFile::Open(const char* fileName, UINT openFlags) {
  Close();
  std::string path = NativePath(fileName ? fileName : "");
  if (path.empty()) return FALSE;
  int flags = 0;
  if (openFlags & modeReadWrite)
    flags |= O_RDWR;
  else if (openFlags & modeWrite)
    flags |= O_WRONLY;
  else
    flags |= O_RDONLY;
  if (openFlags & modeCreate) flags |= O_CREAT | O_TRUNC;
  int fd = OpenRegularFile(path.c_str(), flags);
  if (fd < 0) return FALSE;
  fd_ = fd;
  return TRUE;
}

UINT CFile::Read(void* buffer, UINT count) {
  if (fd_ < 0 || !buffer) return 0;
  char* p = static_cast<char*>(buffer);
  UINT done = 0;
  while (done < count) {
    ssize_t n = ::read(fd_, p + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<UINT>(n);
  }
  return done;
}

bool CFile::Write(const void* buffer, UINT count) {
  if (fd_ < 0) return false;
  return count == 0 || (buffer && WriteFully(fd_, buffer, count));
}

int64_t CFile::Seek(int64_t offset, UINT from) {
  if (fd_ < 0) return -1;
  int whence = from == begin ? SEEK_SET : from == current ? SEEK_CUR : from == end ? SEEK_END : -1;
  if (whence < 0) return -1;
  return ::lseek(fd_, offset, whence);
}

uint64_t CFile::GetLength() const {
  struct stat st;
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) return 0;
  return static_cast<uint64_t>(st.st_size);
}

bool CFile::Close() {
  if (fd_ < 0) return false;
  int rc = ::close(fd_);
  fd_ = -1;
  return rc == 0;
}

BOOL CFile::GetStatus(const char* fileName, CFileStatus& status) {
  std::string path = NativePath(fileName ? fileName : "");
  struct stat st;
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return FALSE;
  status.m_mtime = CTime(st.st_mtime);
  status.m_size = static_cast<uint64_t>(st.st_size);
  return TRUE;
}

bool ReadWholeFile(CFile& file, std::vector<uint8_t>& bytes, uint64_t maxBytes) {
  const uint64_t length = file.GetLength();
  if (length > maxBytes || length > 0x7FFFFFFF) return false;
  bytes.resize(length);
  return length == 0 || file.Read(bytes.data(), UINT(length)) == length;
}

bool CFile::Remove(const char* fileName) { return RemoveFile(fileName); }

bool RemoveFile(const char* path) {
  std::string native = NativePath(path ? path : "");
  return !native.empty() && ::unlink(native.c_str()) == 0;
}

bool AtomicWriteFile(const char* path, const void* data, size_t size, unsigned mode) {
  std::string target = NativePath(path ? path : "");
  return !target.empty() && WriteFileAtomically(target, data, size, mode);
}

#include "CertTrailer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

#include "SafeFile.h"

std::string TextModeRead(std::string_view raw) {
  std::string out;
  out.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    char c = raw[i];
    if (c == '\x1A') break;
    if (c == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    out += c;
  }
  return out;
}

TrailerRead ReadCertificateTrailer(const std::string& path) {
  TrailerRead result;
  // Anything but a plain file (a directory, a FIFO) is treated as missing, without waiting on it.
  int fd = OpenRegularFile(path.c_str(), O_RDONLY);
  struct stat st;
  if (fd < 0) return result;
  if (fstat(fd, &st) != 0) {
    close(fd);
    return result;
  }
  result.opened = true;

  const off_t size = st.st_size;
  const off_t start =
      size >= static_cast<off_t>(kTrailerSize) ? size - static_cast<off_t>(kTrailerSize) : 0;
  // One byte more than the trailer can hold, so the text is always terminated.
  char buffer[kTrailerSize + 1] = {};
  size_t got = 0;
  while (got < kTrailerSize) {
    ssize_t n = pread(fd, buffer + got, kTrailerSize - got, start + static_cast<off_t>(got));
    if (n <= 0) break;  // an error reads as the end of the file, as the stream read would
    got += static_cast<size_t>(n);
  }
  close(fd);

  std::string text = TextModeRead(std::string_view(buffer, got));
  size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  result.text = std::move(text);
  return result;
}

std::string AppNameFromPath(std::string_view exePath) {
  size_t slash = exePath.find_last_of('/');
  std::string_view leaf = slash == std::string_view::npos ? exePath : exePath.substr(slash + 1);
  size_t dot = leaf.find_last_of('.');
  return std::string(dot == std::string_view::npos ? leaf : leaf.substr(0, dot));
}

std::string CertificateFileName(std::string_view exePath) {
  return AppNameFromPath(exePath) + ".exe";
}

std::string SelfExePath() {
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "";
  std::string path(buf, static_cast<size_t>(n));
  // A program file replaced while running is reported with this mark; its name is still the one.
  const std::string deleted = " (deleted)";
  if (path.size() > deleted.size() &&
      path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0)
    path.resize(path.size() - deleted.size());
  return path;
}

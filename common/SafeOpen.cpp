// Kept apart from the writers: the viewer, which has to fit on a diskette, needs only this.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "SafeFile.h"

int OpenRegularFile(const char* path, int flags, mode_t mode) {
  int fd = ::open(path, flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
  if (fd < 0) return -1;
  struct stat st;
  int err = 0, fl = -1;
  if (::fstat(fd, &st) != 0)
    err = errno;
  else if (!S_ISREG(st.st_mode))
    err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
  else if ((fl = ::fcntl(fd, F_GETFL)) < 0 || ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK) != 0)
    err = errno;
  if (err) {
    ::close(fd);
    errno = err;
    return -1;
  }
  return fd;
}

std::FILE* OpenRegularStream(const char* path) {
  int fd = OpenRegularFile(path, O_RDONLY);
  std::FILE* f = fd >= 0 ? ::fdopen(fd, "rb") : nullptr;
  if (!f && fd >= 0) ::close(fd);
  return f;
}

// Opening and replacing files so that hostile or damaged files cannot hang or corrupt the game:
// readers never wait on a FIFO or a device, and a replaced file is either the old one or the
// whole new one. Paths here are Linux paths.
#pragma once
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// open(2) that refuses anything but a regular file (errno EINVAL) without ever blocking on it:
// a FIFO or device is opened non-blocking, seen and closed. The descriptor returned blocks as
// usual. -1 on failure.
int OpenRegularFile(const char* path, int flags, mode_t mode = 0666);

// The same for reading as a binary stream; null on failure.
std::FILE* OpenRegularStream(const char* path);

// Writes all bytes (retrying short writes); false on error, errno set.
bool WriteFully(int fd, const void* data, size_t size);

// Replaces the file at `path` with exactly these bytes, or leaves it untouched. A symbolic link
// is followed, so the file it names is replaced and the link stays; an existing file keeps its
// permissions, a new one gets `createMode` less the umask. The bytes go to "<file>.tmpXXXXXX"
// beside the file, which is synced and renamed over it; the directory is synced after the rename.
// Temporary files of this same name left by a writer that died are removed first.
bool WriteFileAtomically(const std::string& path, const void* data, size_t size,
                         mode_t createMode = 0666);

// Removes the temporary files of `path` that WriteFileAtomically left when it was killed:
// "<file>.tmp" and six letters or digits, plain files of ours that no live writer holds.
void RemoveDeadTemporaries(const std::string& path);

// Tests only: after `bytes` more bytes have been written through WriteFully, every further
// write fails as a full disk would. Negative: no limit.
void SetWriteLimitForTests(int64_t bytes);

// Facts about the machine the game asks for: single instance, computer name, the certificate
// drives, the user's time format, the millisecond clock.
#pragma once
#include <cstdint>
#include <ctime>
#include <string>

#include "WinTypes.h"

// Holds a lock named after `name` for as long as the object lives (or the process, if it is
// never destroyed). The system drops the lock when the process dies, so a crash never locks the
// game out. Acquire is false when another process holds the same name, or when no lock file
// could be had; Failure() then says why (and is empty when another process holds it).
class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock() { Release(); }
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  bool Acquire(const char* name);
  void Release();
  bool Held() const { return fd_ >= 0; }
  const std::string& Failure() const { return failure_; }

 private:
  int fd_ = -1;
  std::string failure_;
};

// The lock file used for `name`: in $XDG_RUNTIME_DIR, else (and when that one cannot be created)
// the per-user one in /tmp, with a name derived from the bytes of `name` and the user id.
std::string InstanceLockPath(const char* name);
std::string TmpInstanceLockPath(const char* name);

// The host name up to its first '.'; false (and "" in buffer) when it cannot be read or does not
// fit. size: in = buffer size, out = length without the NUL.
BOOL GetComputerNameA(char* buffer, DWORD* size);

// Drive roots "A:\" and "B:\" map to the directories named by TAVEX_DRIVE_A and TAVEX_DRIVE_B.
enum : UINT { DRIVE_UNKNOWN = 0, DRIVE_NO_ROOT_DIR = 1, DRIVE_REMOVABLE = 2, DRIVE_FIXED = 3 };

// DRIVE_REMOVABLE when the root names a mapped drive whose directory exists, DRIVE_NO_ROOT_DIR
// otherwise.
UINT GetDriveTypeA(const char* root);

// A drive's directory is a 1.44 MB diskette: one 512-byte sector a cluster, 2847 clusters, of
// which free are those its contents do not take (each file its size rounded up to 512 bytes,
// each subdirectory one cluster and its contents), and never more than the file system holding
// it has free. An empty directory gives 1, 512, 2847, 2847, as an empty diskette would; so does
// a mounted empty 1.44 MB FAT image. FALSE for an unmapped drive.
BOOL GetDiskFreeSpaceA(const char* root, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                       DWORD* freeClusters, DWORD* totalClusters);

// Tests only: replaces the file-system query of GetDiskFreeSpaceA (null restores it). The hook
// gets the drive's directory and fills fragment size, total and free fragments; the directory's
// contents are still counted.
using DiskStatHook = bool (*)(const std::string& dir, uint64_t& fragmentSize, uint64_t& total,
                              uint64_t& free);
void SetDiskStatHookForTests(DiskStatHook hook);

// The long time format of the user's locale.
struct TimeFormat {
  bool hour12 = false;       // 12-hour clock with a marker
  bool leadingZero = true;   // hours always two digits
  bool markerFirst = false;  // "AM 09:00:00" rather than "09:00:00 AM"
  std::string separator = ":";
  std::string am = "am";
  std::string pm = "pm";
  bool operator==(const TimeFormat&) const = default;
};

// Reads a strftime-style time pattern (as nl_langinfo(T_FMT) gives it; "%r" stands for
// ampmPattern) and the marker strings; empty markers fall back to "am"/"pm".
TimeFormat ParseTimeFormat(const std::string& pattern, const std::string& ampmPattern,
                           const std::string& am, const std::string& pm);

// The user's format: TAVEX_TIME_FORMAT (a pattern such as "%p %I:%M:%S") with TAVEX_TIME_AM and
// TAVEX_TIME_PM when set, else LC_TIME of the environment through nl_langinfo.
TimeFormat UserTimeFormat();

// [marker + ' '] hour sep mm sep ss [' ' + marker], as the reminder clock shows the time.
std::string FormatLongTime(const TimeFormat& format, const struct tm& local);

// Milliseconds of the monotonic clock, wrapping at 32 bits.
uint32_t MonotonicMs();

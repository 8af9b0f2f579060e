// Files as the game code sees them: Windows-style relative paths, CFile, file dates.
#pragma once
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "SafeFile.h"
#include "WinTypes.h"

// The Linux path for a path the game writes ("img\Board.BMP", "save\00_01_02.sav",
// "A:\Quillan.exe"): '\' becomes '/'; each component is taken as written when it exists, else
// the first entry of its directory that matches without regard to ASCII case; a missing last
// component is kept as written (for creation). "A:" and "B:" become the directories named by
// TAVEX_DRIVE_A / TAVEX_DRIVE_B; an unmapped drive gives "" (which opens nothing).
std::string NativePath(std::string_view winPath);

// A moment in local time.
class CTime {
 public:
  CTime() = default;
  explicit CTime(time_t t);
  time_t GetTime() const { return t_; }
  int GetYear() const { return tm_.tm_year + 1900; }
  int GetMonth() const { return tm_.tm_mon + 1; }
  int GetDay() const { return tm_.tm_mday; }
  int GetHour() const { return tm_.tm_hour; }
  int GetMinute() const { return tm_.tm_min; }
  int GetSecond() const { return tm_.tm_sec; }

 private:
  time_t t_ = 0;
  struct tm tm_ {};
};

struct CFileStatus {
  CTime m_mtime;  // last write, local time
  uint64_t m_size = 0;
};

class CFile {
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    modeCreate = 0x1000,  // create, or truncate an existing file
    typeBinary = 0x8000,  // files are always binary here
  };
  enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

  CFile() = default;
  ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Opens through NativePath. Without modeCreate the file must exist. Only a regular file
  // opens: a FIFO or device is refused without waiting on it.
  BOOL Open(const char* fileName, UINT openFlags);
  bool IsOpen() const { return fd_ >= 0; }
  // Bytes read; fewer at the end of the file, 0 on error or when not open.
  UINT Read(void* buffer, UINT count);
  // False unless every byte was written.
  bool Write(const void* buffer, UINT count);
  // New position, or -1 on error.
  int64_t Seek(int64_t offset, UINT from);
  uint64_t GetLength() const;
  // False when closing reports an error (or nothing was open).
  bool Close();

  static BOOL GetStatus(const char* fileName, CFileStatus& status);
  static bool Remove(const char* fileName);

 private:
  int fd_ = -1;
};

// The rest of an open file from its start, when it holds at most `maxBytes`; false when it is
// larger or cannot be read whole.
bool ReadWholeFile(CFile& file, std::vector<uint8_t>& bytes, uint64_t maxBytes = 0x7FFFFFFF);

// WriteFileAtomically for a game path (through NativePath); `mode` is what a new file is
// created with, less the umask.
bool AtomicWriteFile(const char* path, const void* data, size_t size, unsigned mode = 0666);

// Removes a file (game path); false when it could not be removed.
bool RemoveFile(const char* path);

// Reading the certificate that trails the viewer's own program file. No window system here, so
// the whole reading rule can be checked without a display.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The game appends exactly this many bytes to the viewer image when it writes a certificate disk.
constexpr size_t kTrailerSize = 1000;

// What a C runtime's text-mode read makes of raw bytes: CR LF becomes LF, and a 0x1A byte ends the
// data as an end-of-file mark. A CR not followed by LF stays.
std::string TextModeRead(std::string_view raw);

struct TrailerRead {
  bool opened = false;  // false: the file could not be opened (the "File Error!" case)
  std::string text;     // Big5 bytes up to the first NUL, at most kTrailerSize of them
};

// Reads the last kTrailerSize bytes of `path` in text mode and keeps them up to the first NUL.
// A file shorter than the trailer is read from its start, which is where the runtime is left
// after its seek before the start fails.
TrailerRead ReadCertificateTrailer(const std::string& path);

// The program's name as its own file gives it: the last path component without its extension.
// This is also the caption of its message boxes.
std::string AppNameFromPath(std::string_view exePath);

// The file the viewer reads: its own name with ".exe", relative, so looked for in the current
// directory (run "./Quillan.exe" from the disk's root).
std::string CertificateFileName(std::string_view exePath);

// The running program's own file, "" when the system does not tell.
std::string SelfExePath();

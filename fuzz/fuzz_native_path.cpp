// Paths as the user types them into the file dialog (Big5, '\' or '/', "A:" or "B:" in front)
// resolved without regard to case, then opened for reading. Drive A is a small tree of its own,
// drive B is not mapped; paths that leave the working directory are not tried, so the result
// does not depend on the machine.
#include <sys/stat.h>

#include <cstdlib>

#include "Big5.h"
#include "FuzzUtil.h"
#include "WinFile.h"

namespace {

const std::string& DriveA() {
  static const std::string dir = [] {
    ::mkdir("driveA", 0700);
    ::mkdir("driveA/Save", 0700);
    ::mkdir("Img", 0700);
    fuzz::WriteFile("driveA/Quillan.EXE", reinterpret_cast<const uint8_t*>("MZ"), 2);
    fuzz::WriteFile("driveA/Save/a.sav", reinterpret_cast<const uint8_t*>("x"), 1);
    fuzz::WriteFile("Img/Board.bmp", reinterpret_cast<const uint8_t*>("BM"), 2);
    std::string d = std::filesystem::current_path().string() + "/driveA";
    setenv("TAVEX_DRIVE_A", d.c_str(), 1);
    unsetenv("TAVEX_DRIVE_B");
    return d;
  }();
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::EnterOwnDir();
  const std::string& driveA = DriveA();
  const std::string typed = Big5ToUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  if (typed.empty() || typed[0] == '/' || typed[0] == '\\' || typed.find("..") != std::string::npos)
    return 0;
  if (typed.size() >= 2 && typed[1] == ':' && (typed[0] | 0x20) >= 'c' && (typed[0] | 0x20) <= 'z')
    return 0;  // other drives: whatever the environment maps
  const std::string native = NativePath(typed);
  const bool onDrive = typed.size() >= 2 && typed[1] == ':';
  if (onDrive && (typed[0] | 0x20) == 'b' && !native.empty()) std::abort();
  if (onDrive && (typed[0] | 0x20) == 'a' && native.compare(0, driveA.size(), driveA) != 0)
    std::abort();
  if (!onDrive && !native.empty() && native[0] == '/') std::abort();
  CFile file;
  if (file.Open(typed.c_str(), CFile::modeRead)) {
    char buf[4];
    file.Read(buf, sizeof buf);
  }
  return 0;
}

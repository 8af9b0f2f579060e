#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "SysInfo.h"
#include "TempDir.h"

namespace {

namespace fs = std::filesystem;

class InstanceLockTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1); }
  TempDir runtime;
  const char* name = "Tavex-很好玩!";
};

TEST_F(InstanceLockTest, ASecondHolderIsRefusedUntilTheFirstLets) {
  EXPECT_EQ(InstanceLockPath(name).rfind(runtime.path() + "/Tavex-", 0), 0u)
      << InstanceLockPath(name);
  InstanceLock first, second, other;
  ASSERT_TRUE(first.Acquire(name));
  EXPECT_FALSE(second.Acquire(name));
  EXPECT_FALSE(second.Held());
  EXPECT_TRUE(other.Acquire("Tavex-another"));
  first.Release();
  EXPECT_TRUE(second.Acquire(name));
}

TEST_F(InstanceLockTest, TheLockDiesWithItsProcess) {
  int toParent[2], toChild[2];
  ASSERT_EQ(pipe(toParent), 0);
  ASSERT_EQ(pipe(toChild), 0);
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    // Never releases: the lock must go away when the process ends.
    auto* lock = new InstanceLock;
    char ok = lock->Acquire(name) ? 'y' : 'n';
    (void)!write(toParent[1], &ok, 1);
    char c;
    (void)!read(toChild[0], &c, 1);
    _exit(0);
  }
  char ok = 0;
  ASSERT_EQ(read(toParent[0], &ok, 1), 1);
  ASSERT_EQ(ok, 'y');
  InstanceLock mine;
  EXPECT_FALSE(mine.Acquire(name));
  // A lock file left behind must not block a start on its own.
  EXPECT_EQ(access(InstanceLockPath(name).c_str(), F_OK), 0);
  ASSERT_EQ(write(toChild[1], "x", 1), 1);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(mine.Acquire(name));
}

TEST_F(InstanceLockTest, FallsBackToTmpWithoutARuntimeDirectory) {
  unsetenv("XDG_RUNTIME_DIR");
  std::string path = InstanceLockPath("x y/z");
  EXPECT_EQ(path, "/tmp/x%20y%2Fz-" + std::to_string(getuid()) + ".lock");
  setenv("XDG_RUNTIME_DIR", "/nonexistent/dir", 1);
  EXPECT_EQ(InstanceLockPath("x y/z"), path);
}

TEST_F(InstanceLockTest, AnUnwritableRuntimeDirectoryFallsBackToTmpButNeverThroughAPlantedName) {
  setenv("XDG_RUNTIME_DIR", "/proc/self", 1);  // a directory nobody can create files in
  const std::string own = "TavexLockTest-" + std::to_string(getpid());
  const std::string tmpLock = TmpInstanceLockPath(own.c_str());
  {
    InstanceLock first, second;
    ASSERT_TRUE(first.Acquire(own.c_str())) << first.Failure();
    EXPECT_FALSE(second.Acquire(own.c_str()));
    EXPECT_EQ(second.Failure(), "") << "a running copy is no failure";
  }
  unlink(tmpLock.c_str());
  // A link or someone else's file in /tmp is refused, and the user is told why.
  const std::string target = runtime.path() + "/target";
  for (bool link : {true, false}) {
    if (link) {
      ASSERT_EQ(symlink(target.c_str(), tmpLock.c_str()), 0);
    } else {
      if (geteuid() != 0) continue;  // only root can hand a file to another user
      std::ofstream(tmpLock.c_str()) << "";
      ASSERT_EQ(chown(tmpLock.c_str(), 65534, 65534), 0);
    }
    InstanceLock lock;
    EXPECT_FALSE(lock.Acquire(own.c_str())) << link;
    EXPECT_NE(lock.Failure().find(tmpLock), std::string::npos) << lock.Failure();
    EXPECT_NE(access(target.c_str(), F_OK), 0) << "created through the link";
    unlink(tmpLock.c_str());
  }
}

TEST(ComputerName, IsTheHostNameUpToTheFirstDot) {
  char host[256] = {};
  ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
  std::string expect(host, strcspn(host, "."));
  char buf[256];
  DWORD size = sizeof buf;
  ASSERT_TRUE(GetComputerNameA(buf, &size));
  EXPECT_EQ(std::string(buf), expect);
  EXPECT_EQ(size, expect.size());
  char tiny[2] = {'z', 'z'};
  DWORD small = sizeof tiny;
  if (expect.size() >= 2) {
    EXPECT_FALSE(GetComputerNameA(tiny, &small));
    EXPECT_EQ(tiny[0], '\0');
  }
  DWORD zero = 0;
  EXPECT_FALSE(GetComputerNameA(buf, &zero));
}

bool EmptyDiskette(const std::string&, uint64_t& fragment, uint64_t& total, uint64_t& free) {
  fragment = 512, total = 2847, free = 2847;
  return true;
}

// Less room than a diskette has: 300 blocks of 4 KB.
bool NearlyFullDisk(const std::string&, uint64_t& fragment, uint64_t& total, uint64_t& free) {
  fragment = 4096, total = 1000000, free = 300;
  return true;
}

class DriveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("TAVEX_DRIVE_A");
    unsetenv("TAVEX_DRIVE_B");
  }
  void TearDown() override { SetDiskStatHookForTests(nullptr); }
  TempDir dir;
};

TEST_F(DriveTest, ADriveIsRemovableWhenItsDirectoryExists) {
  EXPECT_EQ(GetDriveTypeA("A:\\"), DRIVE_NO_ROOT_DIR);
  setenv("TAVEX_DRIVE_A", dir.path().c_str(), 1);
  setenv("TAVEX_DRIVE_B", (dir / "missing").c_str(), 1);
  EXPECT_EQ(GetDriveTypeA("A:\\"), DRIVE_REMOVABLE);
  EXPECT_EQ(GetDriveTypeA("a:"), DRIVE_REMOVABLE);
  EXPECT_EQ(GetDriveTypeA("B:\\"), DRIVE_NO_ROOT_DIR);
  EXPECT_EQ(GetDriveTypeA("C:\\"), DRIVE_NO_ROOT_DIR);
  EXPECT_EQ(GetDriveTypeA("A:\\sub"), DRIVE_NO_ROOT_DIR);
  EXPECT_EQ(GetDriveTypeA(nullptr), DRIVE_NO_ROOT_DIR);
  std::ofstream(dir / "file") << "x";
  setenv("TAVEX_DRIVE_B", (dir / "file").c_str(), 1);
  EXPECT_EQ(GetDriveTypeA("B:\\"), DRIVE_NO_ROOT_DIR);
}

// A directory is a 1.44 MB diskette whose free clusters are what its contents leave.
TEST_F(DriveTest, ADirectoryIsADisketteLessWhatItHolds) {
  setenv("TAVEX_DRIVE_A", dir.path().c_str(), 1);
  DWORD spc = 0, bps = 0, freeClusters = 0, total = 0;
  auto freeNow = [&] {
    EXPECT_TRUE(GetDiskFreeSpaceA("A:\\", &spc, &bps, &freeClusters, &total));
    EXPECT_EQ(spc, 1u);
    EXPECT_EQ(bps, 512u);
    EXPECT_EQ(total, 2847u);
    return freeClusters;
  };
  EXPECT_EQ(freeNow(), 2847u) << "an empty directory is an empty diskette";
  std::ofstream(dir / "empty");
  EXPECT_EQ(freeNow(), 2847u);
  std::ofstream(dir / "Quillan.exe") << std::string(513, 'q');
  EXPECT_EQ(freeNow(), 2845u);
  fs::create_directories(dir / "sub/deeper");
  std::ofstream(dir / "sub/deeper/x") << "x";
  EXPECT_EQ(freeNow(), 2842u) << "two directories and a file in them";
  ASSERT_EQ(symlink("Quillan.exe", (dir / "link").c_str()), 0);
  EXPECT_EQ(freeNow(), 2841u);
  std::ofstream(dir / "big");
  fs::resize_file(dir / "big", 2u << 20);
  EXPECT_EQ(freeNow(), 0u);
  EXPECT_FALSE(GetDiskFreeSpaceA("B:\\", &spc, &bps, &freeClusters, &total));
}

TEST_F(DriveTest, AnEmptyDisketteReportsWhatTheCertificateCheckWants) {
  setenv("TAVEX_DRIVE_B", dir.path().c_str(), 1);
  SetDiskStatHookForTests(EmptyDiskette);
  DWORD spc = 0, bps = 0, freeClusters = 0, total = 0;
  ASSERT_TRUE(GetDiskFreeSpaceA("B:\\", &spc, &bps, &freeClusters, &total));
  EXPECT_EQ(spc, 1u);
  EXPECT_EQ(bps, 512u);
  EXPECT_EQ(freeClusters, 2847u);
  EXPECT_EQ(total, 2847u);
  SetDiskStatHookForTests(NearlyFullDisk);
  ASSERT_TRUE(GetDiskFreeSpaceA("B:\\", &spc, &bps, &freeClusters, &total));
  EXPECT_EQ(freeClusters, 2400u) << "never more than the file system has free";
  EXPECT_EQ(total, 2847u);
  // The hook never makes an unmapped drive appear.
  EXPECT_FALSE(GetDiskFreeSpaceA("A:\\", &spc, &bps, &freeClusters, &total));
}

struct tm At(int h, int m, int s) {
  struct tm t = {};
  t.tm_hour = h, t.tm_min = m, t.tm_sec = s;
  return t;
}

TEST(TimeFormat, ReadsTheLocalePatterns) {
  TimeFormat c = ParseTimeFormat("%H:%M:%S", "%I:%M:%S %p", "AM", "PM");  // C / POSIX
  EXPECT_FALSE(c.hour12);
  EXPECT_TRUE(c.leadingZero);
  EXPECT_EQ(c.separator, ":");
  EXPECT_EQ(FormatLongTime(c, At(13, 0, 0)), "13:00:00");

  TimeFormat us = ParseTimeFormat("%r", "%I:%M:%S %p", "AM", "PM");  // en_US
  EXPECT_TRUE(us.hour12);
  EXPECT_TRUE(us.leadingZero);
  EXPECT_FALSE(us.markerFirst);
  EXPECT_EQ(FormatLongTime(us, At(13, 0, 0)), "01:00:00 PM");

  TimeFormat tw =
      ParseTimeFormat("%H時%M分%S秒", "%p %I時%M分%S秒", "上午", "下午");  // zh_TW, 24-hour
  EXPECT_FALSE(tw.hour12);
  EXPECT_EQ(tw.separator, "時");

  TimeFormat lead = ParseTimeFormat("%p %l.%M.%S", "", "", "");
  EXPECT_TRUE(lead.hour12);
  EXPECT_FALSE(lead.leadingZero);
  EXPECT_TRUE(lead.markerFirst);
  EXPECT_EQ(lead.separator, ".");
  EXPECT_EQ(FormatLongTime(lead, At(0, 5, 9)), "am 12.05.09");
  EXPECT_EQ(FormatLongTime(lead, At(12, 0, 0)), "pm 12.00.00");

  EXPECT_FALSE(ParseTimeFormat("%-I:%M:%S %p", "", "a", "p").leadingZero);
  EXPECT_EQ(ParseTimeFormat("%M", "", "", "").separator, ":");
}

TEST(TimeFormat, OnlyTheMarkerFirstTwelveHourFormatGivesTheReminderTexts) {
  TimeFormat f = ParseTimeFormat("%p %I:%M:%S", "", "AM", "PM");
  EXPECT_EQ(FormatLongTime(f, At(13, 0, 0)), "PM 01:00:00");
  EXPECT_EQ(FormatLongTime(f, At(9, 0, 0)), "AM 09:00:00");
  EXPECT_EQ(FormatLongTime(f, At(23, 59, 59)), "PM 11:59:59");
  EXPECT_EQ(FormatLongTime(f, At(0, 0, 0)), "AM 12:00:00");
}

TEST(TimeFormat, TheEnvironmentOverridesTheLocale) {
  setenv("TAVEX_TIME_FORMAT", "%p %I:%M:%S", 1);
  setenv("TAVEX_TIME_AM", "AM", 1);
  setenv("TAVEX_TIME_PM", "PM", 1);
  TimeFormat f = UserTimeFormat();
  EXPECT_EQ(FormatLongTime(f, At(15, 0, 0)), "PM 03:00:00");
  unsetenv("TAVEX_TIME_AM");
  unsetenv("TAVEX_TIME_PM");
  EXPECT_EQ(FormatLongTime(UserTimeFormat(), At(15, 0, 0)), "pm 03:00:00");
  unsetenv("TAVEX_TIME_FORMAT");
  setenv("LC_ALL", "C", 1);
  EXPECT_EQ(FormatLongTime(UserTimeFormat(), At(15, 0, 0)), "15:00:00");
}

TEST(Clock, MonotonicMillisecondsAdvance) {
  uint32_t a = MonotonicMs();
  usleep(20000);
  uint32_t elapsed = MonotonicMs() - a;
  EXPECT_GE(elapsed, 19u);
  EXPECT_LT(elapsed, 5000u);
}

}  // namespace

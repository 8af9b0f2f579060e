#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <filesystem>
#include <fstream>

#include "SafeFile.h"
#include "TempDir.h"
#include "WinFile.h"

namespace {

namespace fs = std::filesystem;

void Touch(const std::string& path, const std::string& bytes = "x") {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

std::string Win(std::string p) {
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

TEST(NativePath, MapsBackslashesAndResolvesCaseOnlyWhenTheExactNameIsMissing) {
  TempDir dir;
  Touch(dir / "Img/Board.BMP");
  Touch(dir / "save/00_01_02.SAV");
  EXPECT_EQ(NativePath(Win(dir / "img/board.bmp")), dir / "Img/Board.BMP");
  EXPECT_EQ(NativePath(Win(dir / "IMG\\BOARD.bmp")), dir / "Img/Board.BMP");
  EXPECT_EQ(NativePath(dir / "save/00_01_02.sav"), dir / "save/00_01_02.SAV");
  // Both spellings present: the exact one wins.
  Touch(dir / "save/00_01_02.sav");
  EXPECT_EQ(NativePath(dir / "save/00_01_02.sav"), dir / "save/00_01_02.sav");
  EXPECT_EQ(NativePath(dir / "save/00_01_02.SAV"), dir / "save/00_01_02.SAV");
  // A missing leaf keeps its spelling under the resolved directory, ready to be created.
  EXPECT_EQ(NativePath(Win(dir / "IMG/new.img")), dir / "Img/new.img");
  EXPECT_EQ(NativePath(Win(dir / "nodir/Sub/x")), dir / "nodir/Sub/x");
}

TEST(NativePath, CaseFoldingLeavesBig5TrailBytesAlone) {
  TempDir dir;
  Touch(dir /
        "\xA4"
        "A.sav");  // 乙.sav: its trail byte is 'A'
  EXPECT_EQ(NativePath(dir / "\xA4"
                             "A.SAV"),
            dir /
                "\xA4"
                "A.sav");
  EXPECT_EQ(NativePath(dir / "\xA4"
                             "a.sav"),
            dir /
                "\xA4"
                "a.sav");  // another character, not found
}

TEST(NativePath, DriveLettersMapToTheirDirectories) {
  TempDir dir;
  setenv("TAVEX_DRIVE_A", dir.path().c_str(), 1);
  unsetenv("TAVEX_DRIVE_B");
  Touch(dir / "QUILLAN.EXE");
  EXPECT_EQ(NativePath("A:\\Quillan.exe"), dir / "QUILLAN.EXE");
  EXPECT_EQ(NativePath("a:\\new.txt"), dir / "new.txt");
  EXPECT_EQ(NativePath("B:\\Quillan.exe"), "");
  CFile f;
  EXPECT_FALSE(f.Open("B:\\Quillan.exe", CFile::modeCreate | CFile::modeWrite));
  EXPECT_TRUE(f.Open("A:\\Quillan.exe", CFile::modeRead));
}

TEST(CFile, WritesReadsSeeksAndTruncates) {
  TempDir dir;
  std::string path = dir / "top10.dat";
  CFile f;
  ASSERT_TRUE(f.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
  EXPECT_TRUE(f.Write("0123456789", 10));
  EXPECT_EQ(f.GetLength(), 10u);
  EXPECT_TRUE(f.Close());
  EXPECT_FALSE(f.Close());

  ASSERT_TRUE(f.Open(path.c_str(), CFile::modeRead));
  char buf[32] = {};
  EXPECT_EQ(f.Seek(-4, CFile::end), 6);
  EXPECT_EQ(f.Read(buf, sizeof buf), 4u);
  EXPECT_STREQ(buf, "6789");
  EXPECT_EQ(f.Seek(2, CFile::begin), 2);
  EXPECT_EQ(f.Read(buf, 3), 3u);
  EXPECT_EQ(std::string(buf, 3), "234");
  EXPECT_FALSE(f.Write("x", 1)) << "a read-only file accepted a write";
  EXPECT_EQ(f.Seek(0, 7), -1);
  f.Close();

  ASSERT_TRUE(f.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
  EXPECT_EQ(f.GetLength(), 0u);
  f.Close();
}

TEST(CFile, FailuresAreReportedNotHidden) {
  TempDir dir;
  CFile f;
  EXPECT_FALSE(f.Open((dir / "missing.dat").c_str(), CFile::modeRead));
  EXPECT_FALSE(f.Open(dir.path().c_str(), CFile::modeRead)) << "a directory opened as a file";
  EXPECT_FALSE(f.Open((dir / "no/such/dir/x").c_str(), CFile::modeCreate | CFile::modeWrite));
  EXPECT_FALSE(f.Open(nullptr, CFile::modeRead));
  char c;
  EXPECT_EQ(f.Read(&c, 1), 0u);
  EXPECT_FALSE(f.Write("x", 1));
  EXPECT_EQ(f.GetLength(), 0u);
  EXPECT_EQ(f.Seek(0, CFile::begin), -1);
  CFileStatus st;
  EXPECT_FALSE(CFile::GetStatus((dir / "missing.dat").c_str(), st));
  EXPECT_FALSE(RemoveFile((dir / "missing.dat").c_str()));
}

TEST(CFile, StatusGivesTheLastWriteInLocalTime) {
  TempDir dir;
  Touch(dir / "save/01_00_03.sav", "abc");
  struct tm when = {};
  when.tm_year = 2003 - 1900, when.tm_mon = 4, when.tm_mday = 17, when.tm_hour = 8, when.tm_min = 9,
  when.tm_sec = 7;
  when.tm_isdst = -1;
  time_t t = mktime(&when);
  struct utimbuf times = {t, t};
  ASSERT_EQ(utime((dir / "save/01_00_03.sav").c_str(), &times), 0);
  CFileStatus st;
  ASSERT_TRUE(CFile::GetStatus(Win(dir / "SAVE/01_00_03.SAV").c_str(), st));
  EXPECT_EQ(st.m_size, 3u);
  EXPECT_EQ(st.m_mtime.GetTime(), t);
  EXPECT_EQ(st.m_mtime.GetYear(), 2003);
  EXPECT_EQ(st.m_mtime.GetMonth(), 5);
  EXPECT_EQ(st.m_mtime.GetDay(), 17);
  EXPECT_EQ(st.m_mtime.GetHour(), 8);
  EXPECT_EQ(st.m_mtime.GetMinute(), 9);
  EXPECT_EQ(st.m_mtime.GetSecond(), 7);
  EXPECT_TRUE(CFile::Remove(Win(dir / "save/01_00_03.SAV").c_str()));
  EXPECT_FALSE(fs::exists(dir / "save/01_00_03.sav"));
}

TEST(AtomicWriteFile, ReplacesTheFileWhole) {
  TempDir dir;
  Touch(dir / "Sound.cfg", "old contents");
  std::string bytes(2700, '\x5A');
  ASSERT_TRUE(AtomicWriteFile((dir / "sound.CFG").c_str(), bytes.data(), bytes.size()));
  EXPECT_EQ(Slurp(dir / "Sound.cfg"), bytes);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
  struct stat st;
  ASSERT_EQ(stat((dir / "Sound.cfg").c_str(), &st), 0);
  EXPECT_NE(st.st_mode & S_IRUSR, 0u);
  EXPECT_NE(st.st_mode & S_IWUSR, 0u);
  ASSERT_TRUE(AtomicWriteFile((dir / "empty.dat").c_str(), nullptr, 0));
  EXPECT_EQ(fs::file_size(dir / "empty.dat"), 0u);
  EXPECT_FALSE(AtomicWriteFile((dir / "no/dir/x").c_str(), "a", 1));
}

TEST(AtomicWriteFile, AFailedWriteLeavesTheOldFileAndNoTemporary) {
  TempDir dir;
  Touch(dir / "game.SAV", "previous game");
  std::string bytes(2700, 'n');
  SetWriteLimitForTests(1000);
  EXPECT_FALSE(AtomicWriteFile((dir / "game.SAV").c_str(), bytes.data(), bytes.size()));
  SetWriteLimitForTests(-1);
  EXPECT_EQ(Slurp(dir / "game.SAV"), "previous game");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

  // The same limit makes CFile::Write report the short write.
  CFile f;
  ASSERT_TRUE(f.Open((dir / "Quillan.exe").c_str(), CFile::modeCreate | CFile::modeWrite));
  SetWriteLimitForTests(10);
  EXPECT_TRUE(f.Write(bytes.data(), 6));
  EXPECT_FALSE(f.Write(bytes.data(), 6));
  EXPECT_FALSE(f.Write(bytes.data(), 1));
  SetWriteLimitForTests(-1);
  EXPECT_TRUE(f.Write(bytes.data(), 1));
  EXPECT_EQ(f.GetLength(), 11u);
}

TEST(AtomicWriteFile, WritesThroughALinkKeepsTheModeAndClearsOnlyItsOwnDeadTemporaries) {
  TempDir dir;
  Touch(dir / "top10.dat", "old");
  ASSERT_EQ(chmod((dir / "top10.dat").c_str(), 0600), 0);
  ASSERT_EQ(symlink("top10.dat", (dir / "link.dat").c_str()), 0);
  // Left by a writer killed before its rename; the rest are not ours to remove.
  const char* dead = "top10.dat.tmpAb3xYz";
  const char* others[] = {"top10.dat.tmpLive01", "top10.dat.tmpAb3xY",   "top10.dat.tmpAb3xYz9",
                          "top10.dat.tmp-b3xYz", "xtop10.dat.tmpAb3xYz", "link.dat.tmpAb3xYz"};
  Touch(dir / dead);
  for (const char* name : others) Touch(dir / name);
  int live = open((dir / "top10.dat.tmpLive01").c_str(), O_RDONLY);  // a writer still at work
  ASSERT_EQ(flock(live, LOCK_EX), 0);

  ASSERT_TRUE(AtomicWriteFile((dir / "link.dat").c_str(), "new", 3));
  close(live);
  struct stat st;
  ASSERT_EQ(lstat((dir / "link.dat").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link was replaced";
  EXPECT_EQ(Slurp(dir / "top10.dat"), "new");
  ASSERT_EQ(stat((dir / "top10.dat").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_FALSE(fs::exists(dir / dead));
  for (const char* name : others) EXPECT_TRUE(fs::exists(dir / name)) << name;
}

// Writers racing on one file: one's clearing of dead temporaries must never take another's fresh
// one, so every write succeeds and the file ends as one writer's last content, whole.
TEST(AtomicWriteFile, ConcurrentWritersAllSucceed) {
  TempDir dir;
  const std::string path = dir / "Sound.cfg";
  auto content = [](int writer, int i) {
    std::string s = std::to_string(writer) + ":" + std::to_string(i) + "|";
    s.resize(2000, char('a' + writer));
    return s;
  };
  constexpr int kWriters = 3, kWrites = 100;
  pid_t pids[kWriters];
  for (int w = 0; w < kWriters; ++w) {
    pids[w] = fork();
    ASSERT_GE(pids[w], 0);
    if (pids[w] == 0) {
      int failed = 0;
      for (int i = 0; i < kWrites; ++i) {
        const std::string c = content(w, i);
        failed += !WriteFileAtomically(path, c.data(), c.size());
      }
      _exit(std::min(failed, 100));
    }
  }
  for (pid_t pid : pids) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << WEXITSTATUS(status) << " failed";
  }
  const std::string last = Slurp(path);
  EXPECT_TRUE(last == content(0, kWrites - 1) || last == content(1, kWrites - 1) ||
              last == content(2, kWrites - 1));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

}  // namespace

// The certificate: its trailer, the disk export onto directories standing in for A: and B:, and
// the screen that offers it.
#include "DlgLicense.h"
#include "RecordsTestUtil.h"
#include "SysInfo.h"
#include "WinFile.h"

namespace {

using namespace records_test;

constexpr char kNoDisk[] = "請將【磁碟片】放入磁碟機中!";
constexpr char kWriteError[] = "檔案寫入錯誤!";
constexpr char kDone[] = "完成存檔!";

// The file systems the drives' directories stand on, as the stat hook reports them.
struct Disk {
  uint64_t fragment = 512, total = 2847, free = 2847;
};
Disk diskA, diskB;
bool filesUseClusters = false;  // each file in the drive's directory takes one cluster

bool StatHook(const std::string& dir, uint64_t& fragment, uint64_t& total, uint64_t& freeCount) {
  const Disk& d = dir.find("driveB") != std::string::npos ? diskB : diskA;
  fragment = d.fragment;
  total = d.total;
  freeCount = d.free - (filesUseClusters ? ListDir(dir).size() : 0);
  return true;
}

std::vector<std::string>* messageLog = nullptr;
int LogMessage(CWnd*, const char* text) {
  if (messageLog) messageLog->push_back(text);
  return IDOK;
}

class CertificateTest : public RecordsTest {
 protected:
  void SetUp() override {
    RecordsTest::SetUp();
    mkdir((dir + "/driveA").c_str(), 0755);
    mkdir((dir + "/driveB").c_str(), 0755);
    setenv("TAVEX_DRIVE_A", (dir + "/driveA").c_str(), 1);
    setenv("TAVEX_DRIVE_B", (dir + "/driveB").c_str(), 1);
    diskA = Disk();
    diskB = Disk();
    filesUseClusters = false;
    SetDiskStatHookForTests(&StatHook);
    viewer.resize(3000);
    for (size_t i = 0; i < viewer.size(); ++i) viewer[i] = uint8_t(i * 7 + 1);
    WriteBytes("Quillan.dat", viewer.data(), viewer.size());
    messageLog = &messages;
    CDlgCertificate::messageBox = &LogMessage;
  }
  void TearDown() override {
    CDlgCertificate::messageBox = saved;
    messageLog = nullptr;
    SetDiskStatHookForTests(nullptr);
    SetWriteLimitForTests(-1);
    unsetenv("TAVEX_DRIVE_A");
    unsetenv("TAVEX_DRIVE_B");
    RecordsTest::TearDown();
  }

  std::vector<uint8_t> Expected(int level) const {
    std::vector<uint8_t> file = viewer;
    uint8_t trailer[kCertificateTrailerBytes];
    FormatCertificateTrailer(level, trailer);
    file.insert(file.end(), trailer, trailer + sizeof trailer);
    return file;
  }

  std::vector<uint8_t> viewer;
  int (*saved)(CWnd*, const char*) = CDlgCertificate::messageBox;
};

TEST_F(CertificateTest, TheTrailerHoldsTheGradeTextItsNulAndZeros) {
  uint8_t trailer[kCertificateTrailerBytes];
  std::memset(trailer, 0xCC, sizeof trailer);
  FormatCertificateTrailer(0, trailer);
  const char text0[] = "五子棋棋力證書申請  電腦鑑定棋力為[十級!]";
  static_assert(sizeof text0 == 42, "41 bytes and the NUL");
  EXPECT_EQ(std::memcmp(trailer, text0, sizeof text0), 0);
  EXPECT_TRUE(
      std::all_of(trailer + 41, trailer + sizeof trailer, [](uint8_t b) { return b == 0; }));

  FormatCertificateTrailer(11, trailer);
  EXPECT_EQ(std::memcmp(trailer, "五子棋棋力證書申請  電腦鑑定棋力為[五級!]", 42), 0);
  const char* const grades[kLadderLevels] = {"十級", "十級", "十級", "九級", "九級", "八級",
                                             "八級", "七級", "七級", "六級", "六級", "五級"};
  for (int level = 0; level < kLadderLevels; ++level) {
    FormatCertificateTrailer(level, trailer);
    EXPECT_EQ(std::strlen(reinterpret_cast<const char*>(trailer)), 41u) << level;
    EXPECT_EQ(std::memcmp(trailer + 35, grades[level], 4), 0) << level;
  }
}

TEST_F(CertificateTest, TheDiskGetsTheViewerAndTheTrailerOnTheFirstEmptyDiskette) {
  const mode_t mask = umask(022);
  EXPECT_EQ(WriteCertificateDisk(4), CERTIFICATE_WRITTEN);
  umask(mask);
  EXPECT_EQ(ReadBytes(dir + "/driveA/Quillan.exe"), Expected(4));
  EXPECT_FALSE(Exists(dir + "/driveB/Quillan.exe"));
  struct stat st {};
  ASSERT_EQ(stat((dir + "/driveA/Quillan.exe").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0755u) << "a program to run from the disk";

  // A: now holds a file, so it is no longer an empty diskette: B: is taken.
  diskA.free = 2846;
  EXPECT_EQ(WriteCertificateDisk(9), CERTIFICATE_WRITTEN);
  EXPECT_EQ(ReadBytes(dir + "/driveB/Quillan.exe"), Expected(9));
  EXPECT_EQ(ReadBytes(dir + "/driveA/Quillan.exe"), Expected(4));
}

// The real viewer image goes onto the disk, and the viewer's own reading finds the text.
TEST_F(CertificateTest, TheViewerReadsBackTheCertificateTheGameWrote) {
  viewer = ReadBytes(gameDir + "/Quillan.dat");
  ASSERT_GT(viewer.size(), 1000u);
  WriteBytes("Quillan.dat", viewer.data(), viewer.size());
  const std::string disk = dir + "/driveA/Quillan.exe";
  for (int level : {0, 11}) {
    ASSERT_EQ(WriteCertificateDisk(level), CERTIFICATE_WRITTEN);
    EXPECT_EQ(ReadBytes(disk), Expected(level));
    const TrailerRead read = ReadCertificateTrailer(dir + "/driveA/" + CertificateFileName(disk));
    EXPECT_TRUE(read.opened);
    EXPECT_EQ(read.text, std::string("五子棋棋力證書申請  電腦鑑定棋力為[") +
                             CertificateGradeName(level) + "!]");
    remove(disk.c_str());
  }
}

TEST_F(CertificateTest, OnlyAnEmptyOnePointFourMegabyteDisketteIsAccepted) {
  struct Case {
    const char* what;
    Disk a, b;
  };
  const Case cases[] = {
      {"both hold a file", {512, 2847, 2846}, {512, 2847, 2800}},
      {"720 KB diskettes", {512, 1423, 1423}, {1024, 713, 713}},
      {"a nearly full hard disk", {4096, 1000000, 300}, {4096, 1000000, 300}},
  };
  for (const Case& c : cases) {
    diskA = c.a;
    diskB = c.b;
    EXPECT_EQ(WriteCertificateDisk(0), CERTIFICATE_NO_DISK) << c.what;
  }
  EXPECT_TRUE(ListDir(dir + "/driveA").empty());
  EXPECT_TRUE(ListDir(dir + "/driveB").empty());

  // No removable drive at all: neither directory is there.
  diskA = diskB = Disk();
  unsetenv("TAVEX_DRIVE_A");
  setenv("TAVEX_DRIVE_B", (dir + "/nowhere").c_str(), 1);
  EXPECT_EQ(WriteCertificateDisk(0), CERTIFICATE_NO_DISK);
}

// On the real file system, an empty directory is the empty diskette the game asks for.
TEST_F(CertificateTest, AnEmptyDirectoryTakesTheCertificateOnce) {
  SetDiskStatHookForTests(nullptr);
  unsetenv("TAVEX_DRIVE_B");
  EXPECT_EQ(WriteCertificateDisk(3), CERTIFICATE_WRITTEN);
  EXPECT_EQ(ReadBytes(dir + "/driveA/Quillan.exe"), Expected(3));
  EXPECT_EQ(WriteCertificateDisk(5), CERTIFICATE_NO_DISK);
  EXPECT_EQ(ReadBytes(dir + "/driveA/Quillan.exe"), Expected(3));
}

TEST_F(CertificateTest, WhatAKilledWriteLeftDoesNotMakeTheDisketteUsed) {
  filesUseClusters = true;
  WriteBytes(dir + "/driveA/Quillan.exe.tmpAb3xYz", "half", 4);
  EXPECT_EQ(WriteCertificateDisk(4), CERTIFICATE_WRITTEN);
  EXPECT_EQ(ListDir(dir + "/driveA"), std::vector<std::string>{"Quillan.exe"});
}

TEST_F(CertificateTest, ViewerProblemsAndAFullDiskLeaveNoFileBehind) {
  // An empty viewer still makes a disk file of just the trailer.
  WriteBytes("Quillan.dat", "", 0);
  viewer.clear();
  EXPECT_EQ(WriteCertificateDisk(2), CERTIFICATE_WRITTEN);
  EXPECT_EQ(ReadBytes(dir + "/driveA/Quillan.exe"), Expected(2));
  remove((dir + "/driveA/Quillan.exe").c_str());

  remove("Quillan.dat");
  EXPECT_EQ(WriteCertificateDisk(2), CERTIFICATE_NO_VIEWER);

  // The diskette fills up partway: no half-written program is left on it.
  viewer.assign(5000, 0x42);
  WriteBytes("Quillan.dat", viewer.data(), viewer.size());
  SetWriteLimitForTests(2048);
  EXPECT_EQ(WriteCertificateDisk(2), CERTIFICATE_WRITE_FAILED);
  SetWriteLimitForTests(-1);
  EXPECT_TRUE(ListDir(dir + "/driveA").empty());
}

// The screen under the Renju rule set: the offer, N leaves, Y saves, a failed save stays.
TEST_F(CertificateTest, RenjuScreenOffersTheDiskAndRetriesAfterAFailure) {
  CTavexDlg host;
  CDlgCertificate cert(&host);
  ImagePage pic = LoadPicture(host, "img\\License.bmp");
  ASSERT_NE(pic.pixels, nullptr);
  int runs = 0;
  onScreen = [&](CScreen*) {
    ++runs;
    ParkPointer();
    if (runs == 1) {
      std::vector<uint16_t> page = Background(pic);
      Sprite(page, pic, CRect(0, 480, 280, 576), 207, 145,
             false);  // level 6: left column, first badge
      Text(host, page, 40, 445, "恭喜您通過檢定，現在您可將紀錄存在磁碟片上，請參考手冊",
           RGB(255, 255, 0), RGB(100, 66, 27));
      Text(host, page, 40, 461, "上的申請辦法取得Orvane的棋力證書。存檔嗎？(Y/N)", RGB(255, 255, 0),
           RGB(100, 66, 27));
      EXPECT_EQ(Mismatches(page, CRect(0, 40, 640, 480)), 0);
      ClickAndPump(320, 300);  // a click beside the title bar does nothing here
      EXPECT_EQ(cert.exitRequested, 0);
      TypeAndPump("n");
      EXPECT_EQ(cert.exitRequested, 1);
    } else if (runs == 2) {
      diskA.free = diskB.free = 10;  // no empty diskette anywhere
      TypeAndPump("Y");
      EXPECT_EQ(messages, std::vector<std::string>{kNoDisk});
      EXPECT_EQ(cert.exitRequested, 0) << "the screen stays for another try";
      SetWriteLimitForTests(100);
      diskB.free = 2847;
      messages.clear();
      TypeAndPump("y");
      SetWriteLimitForTests(-1);
      EXPECT_EQ(messages, (std::vector<std::string>{kWriteError, kNoDisk}));
      EXPECT_EQ(cert.exitRequested, 0);
      messages.clear();
      TypeAndPump("y");
      EXPECT_EQ(messages, std::vector<std::string>{kDone});
      EXPECT_EQ(cert.exitRequested, 1);
    } else {
      ClickAndPump(625, 11);
    }
  };
  body = [&](CTavexDlg&) {
    host.chessData.ruleSet = 1;
    cert.level = 6;
    cert.DoModal();
    EXPECT_TRUE(ListDir(dir + "/driveA").empty()) << "N writes nothing";
    cert.DoModal();
    EXPECT_EQ(ReadBytes(dir + "/driveB/Quillan.exe"), Expected(6));
    EXPECT_TRUE(ListDir(dir + "/driveA").empty());
    cert.DoModal();
    EXPECT_EQ(host.quitRequested, 1);
  };
  RunInHost(host);
  EXPECT_EQ(runs, 3);
  FreeImagePage(&pic);
}

TEST_F(CertificateTest, FreeStyleScreenHasNoOfferIgnoresKeysAndLeavesOnAClick) {
  CTavexDlg host;
  CDlgCertificate cert(&host);
  ImagePage pic = LoadPicture(host, "img\\License.bmp");
  ASSERT_NE(pic.pixels, nullptr);
  onScreen = [&](CScreen*) {
    ParkPointer();
    std::vector<uint16_t> page = Background(pic);
    Sprite(page, pic, CRect(280, 960, 560, 1056), 207, 145, false);  // level 5
    EXPECT_EQ(Mismatches(page, CRect(0, 40, 640, 480)), 0) << "badge only, no offer text";
    TypeAndPump("y");
    TypeAndPump("n");
    EXPECT_EQ(cert.exitRequested, 0);
    EXPECT_TRUE(messages.empty());
    ClickAndPump(583, 11);  // full screen: a title-bar button does not leave
    EXPECT_EQ(host.fullScreen, 1);
    // In the full-screen view the pointer is scaled from the desktop; press the button directly.
    cert.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(583, 11));
    cert.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(583, 11));
    EXPECT_EQ(host.fullScreen, 0);
    EXPECT_EQ(cert.exitRequested, 0);
    ClickAndPump(100, 300);
    EXPECT_EQ(cert.exitRequested, 1);
  };
  body = [&](CTavexDlg&) {
    cert.level = 5;
    cert.DoModal();
    EXPECT_EQ(host.quitRequested, 0);
  };
  RunInHost(host);
  EXPECT_TRUE(ListDir(dir + "/driveA").empty());
  FreeImagePage(&pic);
}

}  // namespace

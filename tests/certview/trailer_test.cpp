// Reading the certificate from the end of the program file, as a C runtime's text-mode stream
// would, with the buffer bounds of a careful reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "CertTrailer.h"
#include "ViewerTestUtil.h"

namespace {

// The game's certificate for level 11: 41 Big5 bytes.
const std::string kCertificate = "五子棋棋力證書申請  電腦鑑定棋力為[五級!]";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(TextModeRead, TurnsCrLfIntoLfAndStopsAtTheEndOfFileMark) {
  EXPECT_EQ(TextModeRead("a\r\nb\r\n"), "a\nb\n");
  EXPECT_EQ(TextModeRead("a\rb\r"), "a\rb\r");  // a CR alone stays
  EXPECT_EQ(TextModeRead("a\r\r\nb"), "a\r\nb");
  EXPECT_EQ(TextModeRead("ab\x1A"
                         "cd"),
            "ab");
  EXPECT_EQ(TextModeRead("\r\x1A\n"), "\r");
  EXPECT_EQ(TextModeRead(std::string("a\0b", 3)), std::string("a\0b", 3));  // NULs are data here
}

TEST(CertificateTrailer, DiskFileShowsExactlyTheCertificateText) {
  ASSERT_EQ(kCertificate.size(), 41u);
  TempCwd dir;
  // The image part holds every byte value, the end-of-file mark and CR LF included.
  std::string image;
  for (int i = 0; i < 3000; ++i) image += static_cast<char>(i * 7);
  WriteBytes("Quillan.exe", image + Trailer(kCertificate));

  TrailerRead r = ReadCertificateTrailer("Quillan.exe");
  EXPECT_TRUE(r.opened);
  EXPECT_EQ(r.text, kCertificate);
}

TEST(CertificateTrailer, EmptyImageStillGivesTheCertificate) {
  TempCwd dir;
  WriteBytes("Quillan.exe", Trailer(kCertificate));
  EXPECT_EQ(ReadCertificateTrailer("Quillan.exe").text, kCertificate);
}

TEST(CertificateTrailer, TextWithoutNulIsTheWholeTailAndNoMore) {
  TempCwd dir;
  std::string tail(1000, '\xA4');  // lead bytes only: nothing ends the text early
  WriteBytes("Quillan.exe", std::string(500, 'x') + tail);
  TrailerRead r = ReadCertificateTrailer("Quillan.exe");
  EXPECT_EQ(r.text, tail);
}

TEST(CertificateTrailer, TextModeAppliesToTheTailOnly) {
  TempCwd dir;
  std::string image(2000, '\0');
  image[1999] = '\r';  // the CR just before the tail is not part of the read
  std::string tail =
      "ab\r\ncd\x1A"
      "ef";
  tail.resize(1000, 'z');
  WriteBytes("Quillan.exe", image + tail);
  EXPECT_EQ(ReadCertificateTrailer("Quillan.exe").text, "ab\ncd");
}

TEST(CertificateTrailer, ShortFileIsReadFromItsStart) {
  TempCwd dir;
  WriteBytes("short.exe", std::string("line1\r\nline2\0rest", 17));
  EXPECT_EQ(ReadCertificateTrailer("short.exe").text, "line1\nline2");

  std::string exact(1000, 'q');  // exactly one trailer long: the seek lands on the start
  exact[0] = 'S';
  WriteBytes("exact.exe", exact);
  EXPECT_EQ(ReadCertificateTrailer("exact.exe").text, exact);

  WriteBytes("empty.exe", "");
  TrailerRead r = ReadCertificateTrailer("empty.exe");
  EXPECT_TRUE(r.opened);
  EXPECT_EQ(r.text, "");
}

TEST(CertificateTrailer, MissingFileOrDirectoryDoesNotOpen) {
  TempCwd dir;
  EXPECT_FALSE(ReadCertificateTrailer("Quillan.exe").opened);
  std::filesystem::create_directory("Quillan.exe");
  EXPECT_FALSE(ReadCertificateTrailer("Quillan.exe").opened);
}

TEST(CertificateFileName, IsTheProgramsOwnNameWithExe) {
  EXPECT_EQ(CertificateFileName("/media/floppy0/Quillan.exe"), "Quillan.exe");
  EXPECT_EQ(CertificateFileName("/opt/game/Quillan"), "Quillan.exe");
  EXPECT_EQ(CertificateFileName("/opt/game/Quillan.dat"), "Quillan.exe");
  EXPECT_EQ(CertificateFileName("/a.b/c"), "c.exe");  // a dot in a directory is no extension
  EXPECT_EQ(CertificateFileName("/x/cert.v2.exe"), "cert.v2.exe");
  EXPECT_EQ(AppNameFromPath("/media/floppy0/Quillan.exe"), "Quillan");
  EXPECT_EQ(AppNameFromPath("Other.exe"), "Other");
}

TEST(CertificateFileName, OwnPathComesFromTheSystem) {
  std::string self = SelfExePath();
  EXPECT_EQ(AppNameFromPath(self), "certview_tests");
  EXPECT_TRUE(std::filesystem::path(self).is_absolute());
}

// The image the game copies to the diskette: the built viewer, small enough for the disk.
TEST(QuillanDat, FitsOnTheDisketteAndCarriesACertificate) {
  const std::string dat =
      std::filesystem::absolute("Quillan.dat").string();  // tests run in the game directory
  std::string image = ReadAll(dat);
  ASSERT_GT(image.size(), 4u) << dat;
  EXPECT_EQ(image.substr(0, 4),
            "\x7F"
            "ELF");
  EXPECT_LE(image.size() + 1000, 1457664u);

  TempCwd dir;
  WriteBytes("Quillan.exe", image + Trailer(kCertificate));
  EXPECT_EQ(ReadCertificateTrailer("Quillan.exe").text, kCertificate);
}

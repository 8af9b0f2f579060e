// "Sound.cfg" and "top10.dat": what a damaged or missing file gives, and how they are written.
#include <sys/stat.h>

#include "ScreenTestUtil.h"
#include "WinFile.h"

namespace {

class SettingsTest : public ScreenTest {};

TEST_F(SettingsTest, SoundConfigOnlyTrustsTwoWholeValidSwitches) {
  struct Case {
    std::vector<int32_t> words;  // file content; empty vector with missing = no file
    bool missing;
    int32_t effects, music;
  };
  const Case cases[] = {
      {{}, true, 1, 1},    // no file
      {{}, false, 1, 1},   // empty file
      {{0}, false, 1, 1},  // short: neither switch is trusted
      {{0, 1}, false, 0, 1},    {{1, 0}, false, 1, 0},
      {{0, 0, 5}, false, 0, 0},  // longer: the first eight bytes
      {{7, 0}, false, 1, 1},     // not a switch value
  };
  for (const Case& c : cases) {
    std::remove("Sound.cfg");
    if (!c.missing) WriteBytes("Sound.cfg", c.words.data(), c.words.size() * 4);
    CTavexDlg host;
    host.LoadSoundConfig();
    EXPECT_EQ(host.directSound.channelEnabled[CHANNEL_EFFECTS], c.effects)
        << c.words.size() << " words";
    EXPECT_EQ(host.directSound.channelEnabled[CHANNEL_MUSIC], c.music)
        << c.words.size() << " words";
  }
}

TEST_F(SettingsTest, SoundConfigIsReplacedWholeAndAFailedWriteKeepsTheOldFile) {
  const int32_t old[2] = {0, 0};
  WriteBytes("Sound.cfg", old, sizeof old);
  CTavexDlg host;
  host.directSound.EnableChannel(CHANNEL_MUSIC, FALSE);
  SetWriteLimitForTests(3);  // the disk fills up part-way
  host.SaveSoundConfig();
  SetWriteLimitForTests(-1);
  EXPECT_EQ(ReadBytes("Sound.cfg"), std::vector<uint8_t>(8, 0)) << "the old settings survive";
  host.SaveSoundConfig();
  const std::vector<uint8_t> now = ReadBytes("Sound.cfg");
  ASSERT_EQ(now.size(), 8u);
  EXPECT_EQ(now[0], 1);
  EXPECT_EQ(now[4], 0);
  // Nothing but the settings file is left behind.
  int others = 0;
  if (DIR* d = opendir(".")) {
    while (dirent* e = readdir(d))
      others += std::strstr(e->d_name, "Sound.cfg") && std::strcmp(e->d_name, "Sound.cfg");
    closedir(d);
  }
  EXPECT_EQ(others, 0);
}

TEST_F(SettingsTest, TopTenFileKeepsWholeEntriesOfAShortFileAndRoundTrips) {
  std::vector<uint8_t> bytes(1000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 7 + 1);
  WriteBytes("top10.dat", bytes.data(), bytes.size());
  CTavexDlg host;
  host.LoadTopTen();
  const auto* block = reinterpret_cast<const uint8_t*>(host.chessData.topTen);
  const size_t whole = 1000 - 1000 % sizeof(PlayerRecord);
  EXPECT_EQ(std::memcmp(block, bytes.data(), whole), 0);
  for (size_t i = whole; i < sizeof host.chessData.topTen; ++i)
    ASSERT_EQ(block[i], 0) << "byte " << i;
  host.SaveTopTen();
  const std::vector<uint8_t> saved = ReadBytes("top10.dat");
  ASSERT_EQ(saved.size(), sizeof host.chessData.topTen);
  EXPECT_EQ(std::memcmp(saved.data(), block, saved.size()), 0);

  std::remove("top10.dat");
  host.LoadTopTen();
  for (size_t i = 0; i < sizeof host.chessData.topTen; ++i) ASSERT_EQ(block[i], 0);
}

}  // namespace

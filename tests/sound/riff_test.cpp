// The RIFF reader on good files and on files that lie about their sizes.
#include "Riff.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <future>

#include "AiEngine.h"
#include "BitFont.h"
#include "CertTrailer.h"
#include "ChessData.h"
#include "SoundTestUtil.h"
#include "WinFile.h"

namespace {

constexpr uint32_t kWave = MakeFourCC('W', 'A', 'V', 'E');
constexpr uint32_t kFmt = MakeFourCC('f', 'm', 't', ' ');
constexpr uint32_t kData = MakeFourCC('d', 'a', 't', 'a');

class RiffTest : public ::testing::Test {
 protected:
  std::string File(const std::vector<uint8_t>& bytes) {
    const std::string path = dir_ / ("f" + std::to_string(count_++) + ".wav");
    EXPECT_TRUE(WriteBytes(path, bytes));
    return path;
  }
  TempDir dir_;
  int count_ = 0;
};

TEST_F(RiffTest, WalksAWaveFileWithOtherChunksAndOddSizes) {
  // A list chunk first, an odd-sized chunk (with its pad byte) between format and data.
  const auto data = Ramp16(10);
  const std::string path = File(Riff({{"LIST", {'I', 'N', 'F', 'O', 1, 2}},
                                      {"fmt ", FmtPayload(1, 1, 22050, 16)},
                                      {"junk", {9, 9, 9}},
                                      {"data", data}}));
  RiffFile f;
  ASSERT_TRUE(f.Open(path));
  RiffChunk riff, fmt, dat;
  ASSERT_TRUE(f.DescendRiff(riff, kWave));
  EXPECT_EQ(riff.formType, kWave);
  ASSERT_TRUE(f.DescendChunk(fmt, riff, kFmt));
  EXPECT_EQ(fmt.size, 18u);
  uint8_t bytes[18];
  ASSERT_EQ(f.Read(bytes, 18), 18);
  EXPECT_EQ(WaveFormatFromBytes(bytes).nSamplesPerSec, 22050u);
  ASSERT_TRUE(f.Ascend(fmt));
  ASSERT_TRUE(f.DescendChunk(dat, riff, kData));
  EXPECT_EQ(dat.size, data.size());
  std::vector<uint8_t> got(data.size());
  ASSERT_EQ(f.Read(got.data(), static_cast<long>(got.size())), static_cast<long>(got.size()));
  EXPECT_EQ(got, data);
  // Reads stop at the end of the file, not before and not after.
  EXPECT_EQ(f.Read(bytes, 18), 0);
}

TEST_F(RiffTest, FindsChunksInAnyOrder) {
  const std::string path =
      File(Riff({{"data", Ramp16(4)}, {"fmt ", FmtPayload(1, 2, 44100, 16, 16)}}));
  RiffFile f;
  ASSERT_TRUE(f.Open(path));
  RiffChunk riff, fmt, dat;
  ASSERT_TRUE(f.DescendRiff(riff, kWave));
  ASSERT_TRUE(f.DescendChunk(fmt, riff, kFmt));
  EXPECT_EQ(fmt.size, 16u);
  ASSERT_TRUE(f.Ascend(fmt));
  ASSERT_TRUE(f.DescendChunk(dat, riff, kData));
  EXPECT_EQ(dat.size, 8u);
}

TEST_F(RiffTest, RefusesWhatIsNotARiffForm) {
  RiffFile f;
  RiffChunk riff;
  EXPECT_FALSE(f.Open(dir_ / "missing.wav"));
  EXPECT_FALSE(f.Open(dir_.path()));  // a directory
  ASSERT_TRUE(f.Open(File({'R', 'I', 'F'})));
  EXPECT_FALSE(f.DescendRiff(riff, kWave));
  ASSERT_TRUE(f.Open(File({})));
  EXPECT_FALSE(f.DescendRiff(riff, kWave));
  ASSERT_TRUE(f.Open(File(std::vector<uint8_t>(64, 'x'))));
  EXPECT_FALSE(f.DescendRiff(riff, kWave));
  ASSERT_TRUE(f.Open(File(Riff({{"fmt ", FmtPayload(1, 1, 8000, 8)}}, "AVI "))));
  EXPECT_FALSE(f.DescendRiff(riff, kWave));
  // A form type cut off by the end of the file.
  ASSERT_TRUE(f.Open(File({'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A'})));
  EXPECT_FALSE(f.DescendRiff(riff, kWave));
}

TEST_F(RiffTest, SizesPastTheEndAreBoundedByTheFile) {
  RiffFile f;
  RiffChunk riff, ck;
  // A data chunk announcing far more than the file holds: found, but reads stop at the end
  // and it cannot be ascended from.
  ASSERT_TRUE(f.Open(
      File(Riff({{"fmt ", FmtPayload(1, 1, 8000, 8)}, {"data", {1, 2, 3, 4}, 0x7FFFFFF0}}))));
  ASSERT_TRUE(f.DescendRiff(riff, kWave));
  ASSERT_TRUE(f.DescendChunk(ck, riff, kData));
  EXPECT_EQ(ck.size, 0x7FFFFFF0u);
  EXPECT_EQ(f.Remaining(), 4u);
  uint8_t buf[16];
  EXPECT_EQ(f.Read(buf, 16), 4);
  EXPECT_FALSE(f.Ascend(ck));

  // A chunk whose size reaches past the end hides whatever would follow it, without wrapping.
  ASSERT_TRUE(
      f.Open(File(Riff({{"LIST", {0, 0}, 0xFFFFFFFF}, {"fmt ", FmtPayload(1, 1, 8000, 8)}}))));
  ASSERT_TRUE(f.DescendRiff(riff, kWave));
  EXPECT_FALSE(f.DescendChunk(ck, riff, kFmt));

  // The RIFF size bounds the search: a chunk outside the form is not part of it.
  auto bytes = Riff({{"fmt ", FmtPayload(1, 1, 8000, 8)}}, "WAVE", 4);
  ASSERT_TRUE(f.Open(File(bytes)));
  ASSERT_TRUE(f.DescendRiff(riff, kWave));
  EXPECT_FALSE(f.DescendChunk(ck, riff, kFmt));

  // A header cut in half at the end of the file.
  bytes = Riff({{"fmt ", FmtPayload(1, 1, 8000, 8)}});
  bytes.insert(bytes.end(), {'d', 'a', 't'});
  ASSERT_TRUE(f.Open(File(bytes)));
  ASSERT_TRUE(f.DescendRiff(riff, kWave));
  EXPECT_FALSE(f.DescendChunk(ck, riff, kData));
}

TEST_F(RiffTest, AFinalOddChunkWithoutItsPadByteStillAscends) {
  auto bytes = Riff({{"fmt ", FmtPayload(1, 1, 8000, 8)}, {"data", {1, 2, 3}}});
  bytes.pop_back();  // the pad byte
  RiffFile f;
  RiffChunk riff, ck;
  ASSERT_TRUE(f.Open(File(bytes)));
  ASSERT_TRUE(f.DescendRiff(riff, kWave));
  ASSERT_TRUE(f.DescendChunk(ck, riff, kData));
  EXPECT_TRUE(f.Ascend(ck));
  EXPECT_EQ(f.Remaining(), 0u);
}

// Every reader that can be pointed at a file it did not write: a FIFO there must be refused at
// once. One that waits is let go after two seconds, and fails.
TEST_F(RiffTest, ReadersRefuseAFifoWithoutWaitingOnIt) {
  const std::string fifo = dir_ / "x.wav";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string tables = dir_ / "tables";
  ASSERT_EQ(mkdir(tables.c_str(), 0700), 0);
  ASSERT_EQ(symlink(fifo.c_str(), (tables + "/" + tableFileNames[0]).c_str()), 0);
  const std::pair<const char*, std::function<bool()>> readers[] = {
      {"RiffFile",
       [&] {
         RiffFile f;
         return f.Open(fifo);
       }},
      {"CFile read",
       [&] {
         CFile f;
         return bool(f.Open(fifo.c_str(), CFile::modeRead));
       }},
      {"CFile write",
       [&] {
         CFile f;
         return bool(f.Open(fifo.c_str(), CFile::modeCreate | CFile::modeWrite));
       }},
      {"game record",
       [&] {
         CChessData d;
         return d.LoadGameFile(fifo) != 0;
       }},
      {"viewer", [&] { return ReadCertificateTrailer(fifo).opened; }},
      {"glyph file",
       [&] {
         BitFont font;
         return font.Load(fifo);
       }},
      {"pattern table", [&] { return AiInitFrom(tables.c_str()); }},
  };
  for (const auto& [name, read] : readers) {
    auto opened = std::async(std::launch::async, read);
    const bool waited = opened.wait_for(std::chrono::seconds(2)) != std::future_status::ready;
    // A partner for a while, then EOF, until the stuck reader lets go.
    while (opened.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
      int partner = open(fifo.c_str(), O_RDWR | O_NONBLOCK);
      usleep(50000);
      close(partner);
    }
    EXPECT_FALSE(waited) << name;
    EXPECT_FALSE(opened.get()) << name;
  }
}

}  // namespace

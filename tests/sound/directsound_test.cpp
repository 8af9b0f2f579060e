// The sound player on the dummy audio driver: loading through the ".snd" cache, each load
// failure with its message, the channels, and a player without a device.
#include "DirectSound.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "Display.h"
#include "StdDialogs.h"
#include "SoundTestUtil.h"

namespace {

std::vector<std::string> messages;
void Capture(const char* text) { messages.push_back(text); }

bool IsZero(const WaveSound& ws) {
  return ws.dataSize == 0 && ws.data == nullptr && ws.buffer == nullptr &&
         ws.desc.dwBufferBytes == 0 && ws.desc.lpwfxFormat == nullptr;
}

// The bytes a buffer holds, as its owner filled them.
std::vector<uint8_t> BufferBytes(WaveSound& ws) {
  void *p1, *p2;
  DWORD n1, n2;
  if (!ws.buffer || ws.buffer->Lock(0, ws.buffer->Bytes(), &p1, &n1, &p2, &n2) != SOUND_OK)
    return {};
  const auto* b = static_cast<const uint8_t*>(p1);
  return std::vector<uint8_t>(b, b + n1);
}

class DirectSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    messages.clear();
    SoundMessageBox = Capture;
    UseDummyAudio();
    ASSERT_TRUE(sound_.InitSound()) << "the dummy audio driver should give a device";
  }
  void TearDown() override { sound_.ReleaseSound(); }

  std::string Wave(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = dir_ / name;
    EXPECT_TRUE(WriteBytes(path, bytes));
    return path;
  }
  std::string GoodWave(const std::string& name, size_t samples = 2000) {
    return Wave(name, Riff({{"fmt ", FmtPayload(1, 1, 22050, 16)}, {"data", Ramp16(samples)}}));
  }

  TempDir dir_;
  CDirectSound sound_;
};

TEST_F(DirectSoundTest, LoadMakesABufferAndACacheThatTheNextLoadReads) {
  const std::string path = GoodWave("Click.WAV");
  WaveSound ws;
  ASSERT_TRUE(sound_.LoadWave(path.c_str(), &ws));
  EXPECT_TRUE(sound_.InitSound());  // again: the same device, the buffer stays valid
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(ws.dataSize, 4000u);
  EXPECT_EQ(ws.data, nullptr);
  ASSERT_NE(ws.buffer, nullptr);
  EXPECT_EQ(ws.desc.dwSize, 20u);
  EXPECT_EQ(ws.desc.dwFlags, 0xE0u);
  EXPECT_EQ(ws.desc.dwBufferBytes, 4000u);
  EXPECT_EQ(BufferBytes(ws), Ramp16(2000));

  // The cache: lower-cased name, size, the samples, the 18 format bytes.
  const auto cache = ReadBytes(dir_ / "click.snd");
  ASSERT_EQ(cache.size(), 4u + 4000u + 18u);
  EXPECT_EQ(cache[0] | (cache[1] << 8), 4000);
  EXPECT_TRUE(std::equal(cache.begin() + 4, cache.begin() + 4004, Ramp16(2000).begin()));
  EXPECT_EQ(WaveFormatFromBytes(cache.data() + 4004).nSamplesPerSec, 22050u);
  sound_.FreeSound(&ws);

  // A changed WAVE file still loads the cached sound, until the cache is deleted.
  GoodWave("Click.WAV", 100);
  WaveSound again;
  ASSERT_TRUE(sound_.LoadWave(path.c_str(), &again));
  EXPECT_EQ(again.dataSize, 4000u);
  sound_.FreeSound(&again);
  std::filesystem::remove(dir_ / "click.snd");
  ASSERT_TRUE(sound_.LoadWave(path.c_str(), &again));
  EXPECT_EQ(again.dataSize, 200u);
  sound_.FreeSound(&again);
}

TEST_F(DirectSoundTest, ABadCacheFallsBackToTheWaveAndIsRewritten) {
  const std::string path = GoodWave("a.wav");
  const std::string cache = dir_ / "a.snd";
  WaveSound ws;
  ASSERT_TRUE(sound_.LoadWave(path.c_str(), &ws));
  sound_.FreeSound(&ws);
  const auto good = ReadBytes(cache);

  auto shortCache = good;
  shortCache.resize(good.size() - 1);
  auto longCache = good;
  longCache.push_back(0);
  auto noChannels = good;
  noChannels[4 + 4000 + 2] = 0;
  auto hugeSize = good;
  hugeSize[3] = 0x7F;
  auto adpcm = good;
  adpcm[4 + 4000] = 2;
  for (const auto& bad :
       {shortCache, longCache, noChannels, hugeSize, adpcm, std::vector<uint8_t>{1, 2}}) {
    ASSERT_TRUE(WriteBytes(cache, bad));
    WaveSound w;
    ASSERT_TRUE(sound_.LoadWave(path.c_str(), &w));
    EXPECT_EQ(w.dataSize, 4000u);
    EXPECT_EQ(BufferBytes(w), Ramp16(2000));
    sound_.FreeSound(&w);
    EXPECT_EQ(ReadBytes(cache), good);
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(DirectSoundTest, AFormatChunkOfSixteenBytesKeepsTheTwoBytesAfterIt) {
  // The 18-byte read takes the two bytes after a 16-byte chunk as cbSize; the cache keeps them.
  const std::string path =
      Wave("short.wav", Riff({{"fmt ", FmtPayload(1, 2, 11025, 8, 16)}, {"data", {1, 2, 3, 4}}}));
  WaveSound ws;
  ASSERT_TRUE(sound_.LoadWave(path.c_str(), &ws));
  const auto cache = ReadBytes(dir_ / "short.snd");
  ASSERT_EQ(cache.size(), 4u + 4u + 18u);
  EXPECT_EQ(cache[4 + 4 + 16], 'd');
  EXPECT_EQ(cache[4 + 4 + 17], 'a');
  EXPECT_EQ(ws.buffer->Format().nChannels, 2);
  EXPECT_EQ(ws.buffer->Format().wBitsPerSample, 8);
}

TEST_F(DirectSoundTest, APathWithoutWavGetsNoCache) {
  const std::string path =
      Wave("tone.pcm", Riff({{"fmt ", FmtPayload(1, 1, 8000, 8)}, {"data", {1, 2}}}));
  WaveSound ws;
  ASSERT_TRUE(sound_.LoadWave(path.c_str(), &ws));
  sound_.FreeSound(&ws);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()),
                          std::filesystem::directory_iterator()),
            1);
  EXPECT_EQ(CDirectSound::CachePath("sound\\Plop_.WAV").str(), "sound\\plop_.snd");
  EXPECT_TRUE(CDirectSound::CachePath("sound\\noise.raw").IsEmpty());
}

TEST_F(DirectSoundTest, EachLoadFailureHasItsMessageAndLeavesTheRecordZero) {
  const auto fmt = FmtPayload(1, 1, 22050, 16);
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"notriff.wav", std::vector<uint8_t>(100, 'x'), "%s Not a WAVE file!"},
      {"nofmt.wav", Riff({{"data", Ramp16(8)}}), "%s has no fmt chunk!"},
      {"tinyfmt.wav",
       Riff({{"fmt ", std::vector<uint8_t>(fmt.begin(), fmt.begin() + 8)}, {"data", Ramp16(8)}}),
       "%s unable to read fmt chunk!"},
      {"adpcm.wav", Riff({{"fmt ", FmtPayload(2, 1, 22050, 4)}, {"data", Ramp16(8)}}),
       "%s not PCM format!"},
      {"fmtpastend.wav", Riff({{"data", Ramp16(8)}, {"fmt ", fmt, 5000}}), "%s unable to Ascend!"},
      {"nodata.wav", Riff({{"fmt ", fmt}, {"LIST", {1, 2}}}), "%s has no data chunk!"},
      {"datapastend.wav", Riff({{"fmt ", fmt}, {"data", Ramp16(8), 0xFFFFFF00}}),
       "%s unable to Read data chunk!"},
      {"deep.wav",
       Riff({{"fmt ", FmtPayload(1, 1, 22050, 24)}, {"data", std::vector<uint8_t>(30)}}),
       "%s CreateDSoundBuffer error!"},
      {"empty.wav", Riff({{"fmt ", fmt}, {"data", {}}}), "%s CreateDSoundBuffer error!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages.clear();
    const std::string path = Wave(c.name, c.bytes);
    WaveSound ws;
    EXPECT_FALSE(sound_.LoadWave(path.c_str(), &ws));
    EXPECT_TRUE(IsZero(ws));
    CString expected;
    expected.Format(c.message, path.c_str());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], expected.str());
    // The record is harmless afterwards.
    sound_.PlayEffect(&ws, FALSE);
    sound_.StopSound(&ws);
    EXPECT_EQ(sound_.GetSoundStatus(&ws), 0u);
    sound_.FreeSound(&ws);
  }
  messages.clear();
  WaveSound ws;
  const std::string missing = dir_ / "missing.wav";
  EXPECT_FALSE(sound_.LoadWave(missing.c_str(), &ws));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "mmioOpen(" + missing + ") error!");
}

TEST_F(DirectSoundTest, ChannelsGateOnlyTheNextPlay) {
  WaveSound music, effect;
  ASSERT_TRUE(sound_.LoadWave(GoodWave("m.wav", 44100).c_str(), &music));
  ASSERT_TRUE(sound_.LoadWave(GoodWave("e.wav", 44100).c_str(), &effect));

  sound_.PlayMusic(&music, TRUE);
  EXPECT_EQ(sound_.GetSoundStatus(&music), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  sound_.EnableChannel(CHANNEL_MUSIC, FALSE);
  EXPECT_EQ(sound_.channelEnabled[CHANNEL_MUSIC], 0);
  EXPECT_EQ(sound_.GetSoundStatus(&music), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  sound_.StopSound(&music);
  EXPECT_EQ(sound_.GetSoundStatus(&music), 0u);
  DWORD at = 1;
  music.buffer->GetCurrentPosition(&at, nullptr);
  EXPECT_EQ(at, 0u);
  sound_.PlayMusic(&music, TRUE);
  EXPECT_EQ(sound_.GetSoundStatus(&music), 0u);

  // The effects channel is independent, and its volume is applied at each play.
  sound_.SetChannelVolume(CHANNEL_EFFECTS, -1200);
  sound_.PlayEffect(&effect, TRUE);
  EXPECT_EQ(sound_.GetSoundStatus(&effect), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  LONG volume = 0;
  effect.buffer->GetVolume(&volume);
  EXPECT_EQ(volume, -1200);
  sound_.PlayEffect(&effect, FALSE);  // restarts, now once
  EXPECT_EQ(sound_.GetSoundStatus(&effect), DSBSTATUS_PLAYING);
  sound_.EnableChannel(CHANNEL_MUSIC, TRUE);
  sound_.PlayMusic(&music, TRUE);
  EXPECT_NE(sound_.GetSoundStatus(&music), 0u);
  // Channels outside 0..2 are ignored.
  sound_.EnableChannel(3, FALSE);
  sound_.EnableChannel(-1, FALSE);
  sound_.FreeSound(&music);
  sound_.FreeSound(&effect);
}

// A sound played again while it still plays starts over (a stone's click on every stone).
TEST_F(DirectSoundTest, PlayingASoundAgainRestartsItFromTheStart) {
  WaveSound ws;
  ASSERT_TRUE(sound_.LoadWave(GoodWave("r.wav", 44100).c_str(), &ws));
  const DWORD late = ws.buffer->Bytes() - 1000;
  for (BOOL loop : {FALSE, TRUE}) {
    sound_.PlayEffect(&ws, loop);
    ws.buffer->SetCurrentPosition(late);
    sound_.PlayEffect(&ws, loop);
    DWORD at = late;
    ws.buffer->GetCurrentPosition(&at, nullptr);
    EXPECT_LT(at, late / 2) << "loop " << loop;  // the mixer may have taken a few samples since
  }
  sound_.FreeSound(&ws);
}

TEST_F(DirectSoundTest, FreeingZeroesTheRecordSoASecondFreeIsHarmless) {
  WaveSound ws;
  ASSERT_TRUE(sound_.LoadWave(GoodWave("f.wav").c_str(), &ws));
  sound_.PlayMusic(&ws, TRUE);
  sound_.FreeSound(&ws);
  EXPECT_TRUE(IsZero(ws));
  sound_.FreeSound(&ws);
  sound_.PlayMusic(&ws, TRUE);
  sound_.StopSound(&ws);
  EXPECT_EQ(sound_.GetSoundStatus(&ws), 0u);
  // Records still loaded when the device goes are not touched afterwards.
  WaveSound left;
  ASSERT_TRUE(sound_.LoadWave(GoodWave("g.wav").c_str(), &left));
  sound_.PlayEffect(&left, TRUE);
  sound_.ReleaseSound();
  sound_.PlayEffect(&left, TRUE);
  sound_.StopSound(&left);
  EXPECT_EQ(sound_.GetSoundStatus(&left), 0u);
  sound_.FreeSound(&left);
  EXPECT_TRUE(IsZero(left));
}

TEST_F(DirectSoundTest, WithoutAHookAFailureShowsItsMessageBox) {
  SoundMessageBox = nullptr;
  static int boxes = 0;
  StdDialogOpening = [](CWnd*) { ++boxes; };
  PlatformTest::Key(VK_RETURN, true);  // answers the box
  WaveSound ws;
  EXPECT_FALSE(sound_.LoadWave((dir_ / "t02.wav").c_str(), &ws));
  StdDialogOpening = nullptr;
  EXPECT_EQ(boxes, 1);
  EXPECT_TRUE(messages.empty());
}

TEST_F(DirectSoundTest, BeepSoundsOnTheOpenDevice) {
  ASSERT_NE(Audio::CurrentDevice(), nullptr);
  Audio::Beep(1000, 50);  // returns at once
  SDL_Delay(100);
  sound_.ReleaseSound();
  EXPECT_EQ(Audio::CurrentDevice(), nullptr);
  Audio::Beep(1000, 50);
}

TEST(DirectSoundWithoutDevice, EveryCallIsSilentAndHarmless) {
  messages.clear();
  SoundMessageBox = Capture;
  CDirectSound sound;
  EXPECT_EQ(sound.device, nullptr);
  EXPECT_EQ(sound.channelEnabled[0], 1);
  EXPECT_EQ(sound.channelEnabled[2], 1);
  EXPECT_EQ(sound.channelVolume[1], 0);
  WaveSound ws;
  ws.dataSize = 7;  // untouched by a load that cannot run
  EXPECT_FALSE(sound.LoadWave("sound\\Bass.wav", &ws));
  EXPECT_EQ(ws.dataSize, 7u);
  EXPECT_TRUE(messages.empty());
  WaveSound empty;
  sound.PlayEffect(&empty, FALSE);
  sound.PlayMusic(&empty, TRUE);
  sound.PlayExtra(&empty, TRUE);
  sound.StopSound(&empty);
  EXPECT_EQ(sound.GetSoundStatus(&empty), 0u);
  sound.FreeSound(&empty);
  sound.ReleaseSound();
}

TEST(DirectSoundWithoutDevice, NoDriverMeansNoDevice) {
  EXPECT_EXIT(
      {
        setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
        CDirectSound sound;
        const BOOL ok = sound.InitSound();
        WaveSound ws;
        const BOOL loaded = sound.LoadWave("sound\\Bass.wav", &ws);
        std::exit(!ok && !loaded && sound.device == nullptr ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace

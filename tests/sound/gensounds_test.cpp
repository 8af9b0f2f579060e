// The generated music and effects, as the build put them into the game directory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>

#include "DirectSound.h"
#include "Riff.h"
#include "SoundTestUtil.h"
#include "Synth.h"
#include "WaveWriter.h"

namespace {

struct Pcm {
  WAVEFORMATEX format;
  std::vector<int16_t> samples;
};

// Reads a generated file the way the game's loader walks it.
bool ReadPcm(const std::string& path, Pcm& out) {
  RiffFile f;
  RiffChunk riff, fmt, data;
  uint8_t fmtBytes[kWaveFormatBytes];
  if (!f.Open(path) || !f.DescendRiff(riff, MakeFourCC('W', 'A', 'V', 'E')) ||
      !f.DescendChunk(fmt, riff, MakeFourCC('f', 'm', 't', ' ')) ||
      f.Read(fmtBytes, kWaveFormatBytes) != static_cast<long>(kWaveFormatBytes) || !f.Ascend(fmt) ||
      !f.DescendChunk(data, riff, MakeFourCC('d', 'a', 't', 'a')) || data.size > f.Remaining())
    return false;
  out.format = WaveFormatFromBytes(fmtBytes);
  out.samples.resize(data.size / 2);
  return f.Read(out.samples.data(), static_cast<long>(data.size)) == static_cast<long>(data.size);
}

TEST(GeneratedSounds, EveryNamedFileIsThere) {
  const auto& sounds = Synth::GameSounds();
  size_t music = 0, effects = 0;
  std::set<std::string> lowered;
  for (const auto& s : sounds) {
    const std::string p = s.path;
    music += p.rfind("music/", 0) == 0;
    effects += p.rfind("sound/", 0) == 0;
    std::string low = p;
    for (char& c : low) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_TRUE(lowered.insert(low).second) << p << ": two caches would collide";
  }
  EXPECT_EQ(music, 19u);
  EXPECT_EQ(effects, 8u);
  for (const char* name :
       {"music/t02.wav", "music/t09.wav", "music/T03.wav", "music/T08.wav", "music/Track02.wav",
        "music/Track16.wav", "sound/Dipping_.wav", "sound/Bass.wav", "sound/Plop_.wav",
        "sound/Driphit.wav", "sound/Error.wav", "sound/FX014.wav", "sound/S138.wav",
        "sound/S119.wav"}) {
    EXPECT_TRUE(std::any_of(sounds.begin(), sounds.end(), [&](const Synth::SoundFile& s) {
      return name == std::string(s.path);
    })) << name;
  }
}

TEST(GeneratedSounds, ParseAsPcmAndLoopWithoutASeam) {
  for (const auto& s : Synth::GameSounds()) {
    SCOPED_TRACE(s.path);
    Pcm pcm;
    ASSERT_TRUE(ReadPcm(s.path, pcm));
    EXPECT_TRUE(IsPlayablePcm(pcm.format));
    EXPECT_EQ(pcm.format.cbSize, 0);
    const auto& v = pcm.samples;
    ASSERT_GT(v.size(), 100u);
    const double seconds = static_cast<double>(v.size()) / pcm.format.nSamplesPerSec;
    int peak = 0, largestStep = 0;
    for (size_t i = 0; i < v.size(); ++i) {
      peak = std::max(peak, std::abs(static_cast<int>(v[i])));
      if (i) largestStep = std::max(largestStep, std::abs(v[i] - v[i - 1]));
    }
    EXPECT_GT(peak, 8000) << "audible";
    EXPECT_LT(peak, 32000) << "headroom, no clipping";
    const int seam = std::abs(v.back() - v.front());
    if (std::string(s.path).rfind("music/", 0) == 0) {
      EXPECT_GE(seconds, 15);
      EXPECT_LE(seconds, 40);
    }
    if (s.loops) {
      // The end runs into the start like any two neighbouring samples do.
      EXPECT_LE(seam, std::min(largestStep, 4000));
    } else {
      EXPECT_LE(seconds, 1.0);
      EXPECT_LE(std::abs(v.front()), 64);
      EXPECT_LE(std::abs(v.back()), 64);
    }
  }
}

TEST(GeneratedSounds, EffectsAreDistinct) {
  std::set<std::vector<int16_t>> seen;
  for (const auto& s : Synth::GameSounds()) {
    if (std::string(s.path).rfind("sound/", 0) != 0) continue;
    Pcm pcm;
    ASSERT_TRUE(ReadPcm(s.path, pcm));
    EXPECT_TRUE(seen.insert(pcm.samples).second) << s.path;
  }
}

TEST(GeneratedSounds, GenerationIsDeterministic) {
  // Rendering again gives the bytes the build wrote.
  for (const char* path : {"music/T03.wav", "sound/Driphit.wav", "sound/S138.wav"}) {
    EXPECT_EQ(WaveWriter::Encode16(Synth::Render(path), Synth::kRate, 1), ReadBytes(path)) << path;
  }
  EXPECT_TRUE(Synth::Render("music/T99.wav").empty());
}

TEST(GeneratedSounds, RegeneratingRemovesStaleCaches) {
  TempDir dir;
  std::filesystem::create_directory(dir / "music");
  std::filesystem::create_directory(dir / "sound");
  // Caches are named after the lower-cased WAVE path.
  ASSERT_TRUE(WriteBytes(dir / "music/t03.snd", {1, 2, 3}));
  ASSERT_TRUE(WriteBytes(dir / "sound/s138.snd", {1, 2, 3}));
  ASSERT_TRUE(WriteBytes(dir / "sound/keep.snd", {1}));
  const std::string command = std::string(GENSOUNDS_EXE) + " " + dir.path();
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "music/t03.snd"));
  EXPECT_FALSE(std::filesystem::exists(dir / "sound/s138.snd"));
  EXPECT_TRUE(std::filesystem::exists(dir / "sound/keep.snd"));
  for (const auto& s : Synth::GameSounds())
    EXPECT_EQ(ReadBytes(dir / s.path), ReadBytes(s.path)) << s.path;
}

TEST(GeneratedSounds, EveryFileLoadsIntoThePlayer) {
  // In a copy, so the caches the loader writes stay out of the game directory.
  TempDir dir;
  std::vector<uint8_t> bytes;
  for (const char* sub : {"music", "sound"}) std::filesystem::create_directory(dir / sub);
  for (const auto& s : Synth::GameSounds())
    ASSERT_TRUE(WriteBytes(dir / s.path, ReadBytes(s.path)));
  std::vector<std::string> messages;
  static std::vector<std::string>* sink;
  sink = &messages;
  SoundMessageBox = [](const char* text) { sink->push_back(text); };
  CDirectSound sound;
  UseDummyAudio();
  ASSERT_TRUE(sound.InitSound());
  for (const auto& s : Synth::GameSounds()) {
    std::string game = dir / s.path;
    std::replace(game.begin(), game.end(), '/', '\\');  // as the game spells its paths
    WaveSound ws;
    EXPECT_TRUE(sound.LoadWave(game.c_str(), &ws)) << s.path;
    sound.PlayMusic(&ws, s.loops);
    sound.FreeSound(&ws);
  }
  EXPECT_TRUE(messages.empty());
  sound.ReleaseSound();
}

}  // namespace

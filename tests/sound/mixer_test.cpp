// The mixer on its own, without a device: levels, pan, clamping, voices, conversion, the tone.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "Audio.h"

namespace {

using Audio::Mixer;
using Audio::SoundBuffer;

WAVEFORMATEX Format(uint16_t channels, uint32_t rate, uint16_t bits) {
  WAVEFORMATEX f;
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = channels;
  f.nSamplesPerSec = rate;
  f.nBlockAlign = static_cast<WORD>(channels * bits / 8);
  f.nAvgBytesPerSec = rate * f.nBlockAlign;
  f.wBitsPerSample = bits;
  return f;
}

SoundBuffer* Fill(Mixer& m, const WAVEFORMATEX& f, const std::vector<uint8_t>& bytes) {
  SoundBuffer* b = m.CreateBuffer(f, static_cast<DWORD>(bytes.size()));
  if (!b) return nullptr;
  void *p1, *p2;
  DWORD n1, n2;
  EXPECT_EQ(b->Lock(0, static_cast<DWORD>(bytes.size()), &p1, &n1, &p2, &n2), SOUND_OK);
  std::memcpy(p1, bytes.data(), n1);
  EXPECT_EQ(b->Unlock(p1, n1, p2, n2), SOUND_OK);
  return b;
}

SoundBuffer* Make16(Mixer& m, const std::vector<int16_t>& samples, uint16_t channels = 1,
                    uint32_t rate = Audio::kDeviceRate) {
  std::vector<uint8_t> bytes(samples.size() * 2);
  std::memcpy(bytes.data(), samples.data(), bytes.size());
  return Fill(m, Format(channels, rate, 16), bytes);
}

std::vector<int16_t> Mix(Mixer& m, size_t frames) {
  std::vector<int16_t> out(2 * frames, 0x5555);
  m.Mix(out.data(), frames);
  return out;
}

std::vector<int16_t> Left(const std::vector<int16_t>& stereo) {
  std::vector<int16_t> l;
  for (size_t i = 0; i < stereo.size(); i += 2) l.push_back(stereo[i]);
  return l;
}

TEST(Mixer, VolumeIsInHundredthsOfADecibel) {
  EXPECT_EQ(Audio::VolumeToGain(0), 65536);
  EXPECT_EQ(Audio::VolumeToGain(-10000), 0);
  EXPECT_EQ(Audio::VolumeToGain(-20000), 0);
  EXPECT_NEAR(Audio::VolumeToGain(-2000), 6554, 1);  // -20 dB: a tenth
  EXPECT_NEAR(Audio::VolumeToGain(-600), 32845, 2);  // -6 dB: about half

  Mixer m;
  SoundBuffer* b = Make16(m, std::vector<int16_t>(64, 10000));
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->SetVolume(-2000), SOUND_OK);
  b->Play(DSBPLAY_LOOPING);
  auto out = Mix(m, 16);
  for (int16_t v : out) EXPECT_NEAR(v, 1000, 1);
  b->SetVolume(DSBVOLUME_MIN);
  for (int16_t v : Mix(m, 16)) EXPECT_EQ(v, 0);
  EXPECT_EQ(b->SetVolume(1), SOUND_FAILED);
  EXPECT_EQ(b->SetVolume(-10001), SOUND_FAILED);
  LONG v = 1;
  b->GetVolume(&v);
  EXPECT_EQ(v, DSBVOLUME_MIN);
}

TEST(Mixer, PanAttenuatesTheOtherSide) {
  Mixer m;
  SoundBuffer* b = Make16(m, std::vector<int16_t>(64, 20000));
  b->Play(DSBPLAY_LOOPING);
  b->SetPan(DSBPAN_RIGHT);
  auto out = Mix(m, 8);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], 20000);
  b->SetPan(-600);
  out = Mix(m, 8);
  EXPECT_EQ(out[0], 20000);
  EXPECT_NEAR(out[1], 10023, 2);
  // Volume and pan multiply.
  b->SetVolume(-600);
  out = Mix(m, 8);
  EXPECT_NEAR(out[0], 10023, 2);
  EXPECT_NEAR(out[1], 5023, 2);
  EXPECT_EQ(b->SetPan(10001), SOUND_FAILED);
}

TEST(Mixer, SumsVoicesAndClampsTheSum) {
  Mixer m;
  SoundBuffer* a = Make16(m, std::vector<int16_t>(32, 30000));
  SoundBuffer* b = Make16(m, std::vector<int16_t>(32, 30000));
  SoundBuffer* c = Make16(m, std::vector<int16_t>(32, -30000));
  a->Play(DSBPLAY_LOOPING);
  b->Play(DSBPLAY_LOOPING);
  EXPECT_EQ(Mix(m, 4)[0], 32767);
  a->Stop();
  b->Stop();
  c->Play(DSBPLAY_LOOPING);
  Make16(m, std::vector<int16_t>(32, -30000))->Play(DSBPLAY_LOOPING);
  EXPECT_EQ(Mix(m, 4)[1], -32768);
  // Nothing playing is silence, whatever the output held before.
  Mixer quiet;
  Make16(quiet, std::vector<int16_t>(8, 1234));
  for (int16_t v : Mix(quiet, 8)) EXPECT_EQ(v, 0);
}

TEST(Mixer, LoopingWrapsAndOnceEndsRewound) {
  Mixer m;
  SoundBuffer* b = Make16(m, {1000, 2000, 3000, 4000});
  b->Play(DSBPLAY_LOOPING);
  DWORD status = 0;
  b->GetStatus(&status);
  EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  EXPECT_EQ(Left(Mix(m, 10)),
            (std::vector<int16_t>{1000, 2000, 3000, 4000, 1000, 2000, 3000, 4000, 1000, 2000}));
  DWORD play = 99;
  b->GetCurrentPosition(&play, nullptr);
  EXPECT_EQ(play, 4u);  // two frames in, two bytes each

  b->SetCurrentPosition(0);
  b->Play(0);
  EXPECT_EQ(Left(Mix(m, 6)), (std::vector<int16_t>{1000, 2000, 3000, 4000, 0, 0}));
  b->GetStatus(&status);
  EXPECT_EQ(status, 0u);
  b->GetCurrentPosition(&play, nullptr);
  EXPECT_EQ(play, 0u);
  // Ending exactly at the end of a mix call also stops it.
  b->Play(0);
  Mix(m, 4);
  b->GetStatus(&status);
  EXPECT_EQ(status, 0u);
}

TEST(Mixer, PlayingAgainRestartsTheOneVoice) {
  Mixer m;
  SoundBuffer* b = Make16(m, {100, 200, 300, 400, 500, 600});
  b->Play(0);
  Mix(m, 3);
  b->SetCurrentPosition(0);
  b->Play(0);
  b->Play(0);  // no second voice: the level stays that of one
  EXPECT_EQ(Left(Mix(m, 3)), (std::vector<int16_t>{100, 200, 300}));
}

TEST(Mixer, StopHoldsThePositionAndSilences) {
  Mixer m;
  SoundBuffer* b = Make16(m, {1, 2, 3, 4, 5, 6, 7, 8});
  b->Play(DSBPLAY_LOOPING);
  Mix(m, 3);
  b->Stop();
  for (int16_t v : Mix(m, 4)) EXPECT_EQ(v, 0);
  DWORD play = 0;
  b->GetCurrentPosition(&play, nullptr);
  EXPECT_EQ(play, 6u);
  b->Play(0);  // resumes where it stopped
  EXPECT_EQ(Left(Mix(m, 2)), (std::vector<int16_t>{4, 5}));
  // A released buffer leaves the mix at once.
  b->Release();
  for (int16_t v : Mix(m, 4)) EXPECT_EQ(v, 0);
}

TEST(Mixer, ConvertsEightBitStereoAndOtherRates) {
  Mixer m;
  // 8-bit: unsigned around 128.
  SoundBuffer* u8 = Fill(m, Format(1, Audio::kDeviceRate, 8), {128, 255, 0, 192});
  ASSERT_NE(u8, nullptr);
  u8->Play(0);
  EXPECT_EQ(Left(Mix(m, 4)), (std::vector<int16_t>{0, 32512, -32768, 16384}));

  // Stereo keeps its sides apart.
  SoundBuffer* st = Make16(m, {1000, -1000, 2000, -2000}, 2);
  st->Play(0);
  EXPECT_EQ(Mix(m, 2), (std::vector<int16_t>{1000, -1000, 2000, -2000}));

  // Half the device rate: every source frame lasts two output frames, interpolated.
  SoundBuffer* half = Make16(m, {0, 1000, 2000, 3000}, 1, Audio::kDeviceRate / 2);
  half->Play(0);
  EXPECT_EQ(Left(Mix(m, 8)), (std::vector<int16_t>{0, 500, 1000, 1500, 2000, 2500, 3000, 3000}));

  // The frequency control changes the pace; 0 brings back the format's own rate.
  ASSERT_EQ(half->SetFrequency(Audio::kDeviceRate), SOUND_OK);
  half->SetCurrentPosition(0);
  half->Play(0);
  EXPECT_EQ(Left(Mix(m, 4)), (std::vector<int16_t>{0, 1000, 2000, 3000}));
  ASSERT_EQ(half->SetFrequency(DSBFREQUENCY_ORIGINAL), SOUND_OK);
  DWORD hz = 0;
  half->GetFrequency(&hz);
  EXPECT_EQ(hz, static_cast<DWORD>(Audio::kDeviceRate / 2));
  EXPECT_EQ(half->SetFrequency(99), SOUND_FAILED);
  EXPECT_EQ(half->SetFrequency(200001), SOUND_FAILED);
}

TEST(Mixer, LoopSeamIsInterpolatedIntoTheStart) {
  Mixer m;
  SoundBuffer* b = Make16(m, {0, 1000, 2000, 3000}, 1, Audio::kDeviceRate / 2);
  b->Play(DSBPLAY_LOOPING);
  // Between the last frame (3000) and the first (0) lies their mean, not a hold.
  auto l = Left(Mix(m, 10));
  EXPECT_EQ(l[6], 3000);
  EXPECT_EQ(l[7], 1500);
  EXPECT_EQ(l[8], 0);
}

TEST(Mixer, FullScaleStepsInterpolateWithoutOverflow) {
  Mixer m;
  // A quarter of the device rate: three points between each pair of source frames.
  SoundBuffer* b = Make16(m, {-32768, 32767, -32768}, 1, Audio::kDeviceRate / 4);
  b->Play(0);
  EXPECT_EQ(Left(Mix(m, 9)),
            (std::vector<int16_t>{-32768, -16385, -1, 16383, 32767, 16383, -1, -16385, -32768}));
}

TEST(Mixer, RefusesWhatItCannotPlay) {
  Mixer m;
  WAVEFORMATEX adpcm = Format(1, 22050, 16);
  adpcm.wFormatTag = 2;
  EXPECT_EQ(m.CreateBuffer(adpcm, 100), nullptr);
  EXPECT_EQ(m.CreateBuffer(Format(1, 22050, 24), 99), nullptr);
  EXPECT_EQ(m.CreateBuffer(Format(3, 22050, 16), 96), nullptr);
  EXPECT_EQ(m.CreateBuffer(Format(1, 0, 16), 100), nullptr);
  WAVEFORMATEX badAlign = Format(2, 22050, 16);
  badAlign.nBlockAlign = 2;
  EXPECT_EQ(m.CreateBuffer(badAlign, 100), nullptr);
  EXPECT_EQ(m.CreateBuffer(Format(2, 22050, 16), 3), nullptr);  // less than one frame
  SoundBuffer* odd = m.CreateBuffer(Format(1, 22050, 16), 5);   // a stray byte is ignored
  ASSERT_NE(odd, nullptr);
  EXPECT_EQ(odd->Bytes(), 5u);

  void *p1, *p2;
  DWORD n1, n2;
  EXPECT_EQ(odd->Lock(0, 6, &p1, &n1, &p2, &n2), SOUND_FAILED);
  EXPECT_EQ(odd->Lock(5, 1, &p1, &n1, &p2, &n2), SOUND_FAILED);
  EXPECT_EQ(odd->Lock(0, 5, &p1, &n1, &p2, &n2), SOUND_OK);
  EXPECT_EQ(p2, nullptr);
  EXPECT_EQ(odd->SetCurrentPosition(6), SOUND_FAILED);
}

TEST(Mixer, ToneSoundsForItsDurationAtItsPitch) {
  Mixer m;
  m.Tone(1000, 100);
  auto l = Left(Mix(m, 6000));
  const size_t length = 4410;
  int crossings = 0, peak = 0;
  for (size_t i = 1; i < length; ++i) {
    if ((l[i - 1] < 0) != (l[i] < 0)) ++crossings;
    peak = std::max(peak, std::abs(static_cast<int>(l[i])));
  }
  EXPECT_NEAR(crossings, 200, 2);  // two per cycle, 100 cycles
  EXPECT_GT(peak, 8000);
  // Ramps at both ends: no click on and off, then silence.
  EXPECT_LT(std::abs(l[0]), 200);
  EXPECT_LT(std::abs(l[length - 1]), 200);
  for (size_t i = length; i < l.size(); ++i) ASSERT_EQ(l[i], 0) << i;
  // A frequency the output cannot carry is no tone at all.
  m.Tone(30000, 100);
  for (int16_t v : Mix(m, 100)) EXPECT_EQ(v, 0);
}

TEST(Mixer, BeepWithoutADeviceDoesNothing) {
  ASSERT_EQ(Audio::CurrentDevice(), nullptr);
  Audio::Beep(1000, 1500);  // returns at once, no device to sound on
  SUCCEED();
}

}  // namespace

// Sound output: one SDL audio device and our own mixer. Every loaded sound is a buffer of its
// own PCM format; the mixer resamples and mixes all playing buffers in the device callback.
// Units are those the game's sound player was written in: volume and pan in hundredths of a
// decibel, positions in bytes of the buffer's own format.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include <SDL.h>

#include "WinTypes.h"

// Volumes and pans are signed 32-bit, as the game's sound player declares them.
using LONG = int32_t;

// A PCM format as the "fmt " chunk of a WAVE file holds it (18 bytes on disk).
struct WAVEFORMATEX {
  WORD wFormatTag = 0;
  WORD nChannels = 0;
  DWORD nSamplesPerSec = 0;
  DWORD nAvgBytesPerSec = 0;
  WORD nBlockAlign = 0;
  WORD wBitsPerSample = 0;
  WORD cbSize = 0;
};
constexpr WORD WAVE_FORMAT_PCM = 1;
constexpr size_t kWaveFormatBytes = 18;

// Little-endian, field by field, so the layout never depends on the compiler's padding.
WAVEFORMATEX WaveFormatFromBytes(const uint8_t* bytes);
void WaveFormatToBytes(const WAVEFORMATEX& fmt, uint8_t* bytes);
// PCM, 1 or 2 channels, 8 or 16 bits, a rate, and a block size that agrees with them.
bool IsPlayablePcm(const WAVEFORMATEX& fmt);

// What a buffer is made from; dwFlags asks for frequency, pan and volume control.
struct DSBUFFERDESC {
  DWORD dwSize = 0;
  DWORD dwFlags = 0;
  DWORD dwBufferBytes = 0;
  DWORD dwReserved = 0;
  WAVEFORMATEX* lpwfxFormat = nullptr;
};
constexpr DWORD DSBCAPS_CTRLFREQUENCY = 0x20;
constexpr DWORD DSBCAPS_CTRLPAN = 0x40;
constexpr DWORD DSBCAPS_CTRLVOLUME = 0x80;

constexpr DWORD DSBPLAY_LOOPING = 0x1;
constexpr DWORD DSBSTATUS_PLAYING = 0x1;
constexpr DWORD DSBSTATUS_BUFFERLOST = 0x2;
constexpr DWORD DSBSTATUS_LOOPING = 0x4;

constexpr LONG DSBVOLUME_MIN = -10000;
constexpr LONG DSBVOLUME_MAX = 0;
constexpr LONG DSBPAN_LEFT = -10000;
constexpr LONG DSBPAN_RIGHT = 10000;
constexpr DWORD DSBFREQUENCY_ORIGINAL = 0;
constexpr DWORD DSBFREQUENCY_MIN = 100;
constexpr DWORD DSBFREQUENCY_MAX = 200000;

// Answers of the buffer calls that can fail.
enum SoundResult { SOUND_OK = 0, SOUND_BUFFERLOST = 1, SOUND_FAILED = 2 };

namespace Audio {

constexpr int kDeviceRate = 44100;

// Gain of a volume in hundredths of a decibel, 1.0 = 65536; -10000 and below is silence.
int32_t VolumeToGain(LONG volume);

class Mixer;

// One sound: its bytes as given, the same samples as 16-bit for the mixer, and its one voice.
// Playing again restarts the voice; a buffer never plays twice at once.
class SoundBuffer {
 public:
  // Exposes the bytes from `offset` for writing. There is never a second region (the buffer
  // does not wrap for a writer that starts at 0), so *second is null and *secondBytes 0.
  SoundResult Lock(DWORD offset, DWORD bytes, void** first, DWORD* firstBytes, void** second,
                   DWORD* secondBytes);
  // Takes the written bytes into the mixer's samples.
  SoundResult Unlock(void* first, DWORD firstBytes, void* second, DWORD secondBytes);
  // Our buffers live in ordinary memory and are never lost; there is nothing to restore.
  SoundResult Restore() { return SOUND_OK; }

  // Starts the voice from the current position; DSBPLAY_LOOPING repeats it until stopped.
  SoundResult Play(DWORD flags);
  // Stops the voice where it is.
  SoundResult Stop();
  SoundResult SetCurrentPosition(DWORD bytes);
  SoundResult GetCurrentPosition(DWORD* play, DWORD* write) const;
  SoundResult SetVolume(LONG volume);
  SoundResult GetVolume(LONG* volume) const;
  SoundResult SetPan(LONG pan);
  SoundResult GetPan(LONG* pan) const;
  // Samples per second to play at; DSBFREQUENCY_ORIGINAL = the format's own rate.
  SoundResult SetFrequency(DWORD hz);
  SoundResult GetFrequency(DWORD* hz) const;
  SoundResult GetStatus(DWORD* status) const;
  // Stops and frees the buffer; the pointer is not valid afterwards.
  void Release();

  const WAVEFORMATEX& Format() const { return format_; }
  DWORD Bytes() const { return static_cast<DWORD>(bytes_.size()); }

 private:
  friend class Mixer;
  SoundBuffer(Mixer* mixer, const WAVEFORMATEX& fmt, DWORD bytes);
  void UpdateGains();
  void ConvertSamples();

  Mixer* mixer_;
  WAVEFORMATEX format_;
  std::vector<uint8_t> bytes_;    // as the caller wrote them
  std::vector<int16_t> samples_;  // interleaved, format_.nChannels per frame
  uint32_t frames_ = 0;
  // The voice; touched by the mixer thread, so changed only under the mixer's lock.
  uint64_t position_ = 0;  // frame position, 32.32 fixed point
  uint64_t step_ = 0;      // frames per device frame, 32.32 fixed point
  bool playing_ = false;
  bool looping_ = false;
  LONG volume_ = 0;
  LONG pan_ = 0;
  DWORD frequency_ = 0;
  int32_t gainLeft_ = 65536;
  int32_t gainRight_ = 65536;
};

// The voices and the mix. A mixer belongs to a device (whose callback calls Mix under the
// device lock) or stands alone, as in tests, where Mix is called directly.
class Mixer {
 public:
  explicit Mixer(int outputRate = kDeviceRate, SDL_AudioDeviceID device = 0);
  ~Mixer();
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  // A buffer for `bytes` bytes of the format, or null when the format is not playable PCM or
  // the buffer would not hold one whole block. A partial block at the end is never played.
  SoundBuffer* CreateBuffer(const WAVEFORMATEX& fmt, DWORD bytes);
  // Adds the playing voices into `out`: `frames` frames of interleaved stereo 16-bit samples.
  // `out` is overwritten; a frame without any voice is silence.
  void Mix(int16_t* out, size_t frames);
  // A sine tone of `hz` lasting `ms`, replacing any tone still sounding.
  void Tone(unsigned hz, unsigned ms);

  int OutputRate() const { return rate_; }
  void Lock();
  void Unlock();

 private:
  friend class SoundBuffer;
  friend class SoundDevice;
  void Forget(SoundBuffer* buffer);
  void MixVoice(SoundBuffer& v, int32_t* acc, size_t frames);
  void MixTone(int32_t* acc, size_t frames);

  int rate_;
  SDL_AudioDeviceID device_;
  std::vector<SoundBuffer*> buffers_;
  std::vector<int32_t> acc_;
  // The tone: a sine with short ramps at both ends so it starts and stops without a click.
  uint32_t toneFrames_ = 0;
  uint32_t toneDone_ = 0;
  double tonePhase_ = 0;
  double toneStep_ = 0;
};

// The audio device: S16 stereo at kDeviceRate, mixed by a Mixer. At most one is open.
class SoundDevice {
 public:
  // Opens the default output; null when there is none (no driver, no hardware, busy).
  static SoundDevice* Open();
  // Closes the device and frees every buffer still made from it.
  void Release();

  SoundResult CreateSoundBuffer(const DSBUFFERDESC* desc, SoundBuffer** out);
  Mixer& GetMixer() { return mixer_; }

 private:
  SoundDevice();
  ~SoundDevice() = default;
  static void SDLCALL Callback(void* self, Uint8* stream, int len);

  SDL_AudioDeviceID id_ = 0;
  Mixer mixer_;
};

// The open device, if any.
SoundDevice* CurrentDevice();

// The system beep: a tone on the open device, returning at once; silent without a device.
// Shaped for the engine's beep hook.
void Beep(unsigned frequency, unsigned durationMs);

}  // namespace Audio

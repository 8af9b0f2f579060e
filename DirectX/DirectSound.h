// The sound object: one device, PCM WAVE files loaded into one buffer each (through a ".snd"
// cache beside each file), and three channels that differ only in their switch and volume.
// Without a device every call does nothing and the game runs silently.
#pragma once
#include <cstdint>

#include "Audio.h"
#include "WinString.h"
#include "WinTypes.h"

constexpr int CHANNEL_EFFECTS = 0;
constexpr int CHANNEL_MUSIC = 1;

// A loaded sound. Zero before its load, after a failed load and after it is freed; a zero
// record plays, stops and frees as nothing.
struct WaveSound {
  DWORD dataSize = 0;
  BYTE* data = nullptr;  // the samples while a load runs; null once they live in the buffer
  Audio::SoundBuffer* buffer = nullptr;
  DSBUFFERDESC desc;
};

// Where the sound object's failure messages go; nullptr (the default): a message box with an
// OK button, as for pictures. Tests and programs without windows may send them elsewhere.
extern void (*SoundMessageBox)(const char* text);

class CDirectSound {
 public:
  CDirectSound();
  virtual ~CDirectSound();
  CDirectSound(const CDirectSound&) = delete;
  CDirectSound& operator=(const CDirectSound&) = delete;

  BOOL InitSound();
  void ReleaseSound();

  // Loads `path` into ws; FALSE (after a message, with ws zero) when it fails, FALSE at once
  // and silently without a device.
  BOOL LoadWave(const CString& path, WaveSound* ws);
  // Play from the start on channel 0, 1 or 2; a sound still playing starts over.
  void PlayEffect(WaveSound* ws, BOOL loop);
  void PlayMusic(WaveSound* ws, BOOL loop);
  void PlayExtra(WaveSound* ws, BOOL loop);
  void StopSound(WaveSound* ws);
  void FreeSound(WaveSound* ws);
  // Decides only whether the channel's next play call sounds.
  void EnableChannel(int channel, BOOL on);
  void SetChannelVolume(int channel, LONG volume);
  DWORD GetSoundStatus(WaveSound* ws);

  // The steps of LoadWave.
  BOOL ReadSndFile(const CString& path, WaveSound* ws);
  void WriteSndFile(const CString& path, WaveSound* ws);
  BOOL CreateDSoundBuffer(WaveSound* ws);
  BOOL FillDSoundBuffer(WaveSound* ws);

  // The cache beside a WAVE file: the path lower-cased, ".wav" made ".snd"; empty when the
  // path holds no ".wav" (such a file gets no cache rather than one in its own place).
  static CString CachePath(const CString& wavePath);

  LONG channelVolume[3];
  int32_t channelEnabled[3];
  Audio::SoundDevice* device;

 private:
  void Play(int channel, WaveSound* ws, BOOL loop);
  BOOL ReadWaveFile(const CString& path, WaveSound* ws, WAVEFORMATEX* format);
};

#include "DirectSound.h"

#include <cstring>
#include <new>
#include <vector>

#include "Riff.h"
#include "StdDialogs.h"
#include "WinFile.h"

namespace {

// The format of the last sound read from a cache; a buffer copies it when it is made.
WAVEFORMATEX cacheFormat;

constexpr DWORD kBufferFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
// A buffer is never lost here, but a device that reported it would not be retried for ever.
constexpr int kRestoreAttempts = 10;

void SetDesc(WaveSound* ws, WAVEFORMATEX* format) {
  ws->desc.dwSize = 20;
  ws->desc.dwFlags = kBufferFlags;
  ws->desc.dwBufferBytes = ws->dataSize;
  ws->desc.dwReserved = 0;
  ws->desc.lpwfxFormat = format;
}

void ZeroSound(WaveSound* ws) {
  delete[] ws->data;
  *ws = WaveSound();
}

void ShowMessage(const char* text) {
  if (SoundMessageBox)
    SoundMessageBox(text);
  else
    AfxMessageBox(text, MB_OK);
}

}  // namespace

void (*SoundMessageBox)(const char* text) = nullptr;

CDirectSound::CDirectSound() : channelVolume{0, 0, 0}, channelEnabled{1, 1, 1}, device(nullptr) {}

CDirectSound::~CDirectSound() {
  // Normally ReleaseSound has run; a device left open would outlive its owner.
  ReleaseSound();
}

BOOL CDirectSound::InitSound() {
  // Exclusive cooperation with the main window has no counterpart: the mixer is ours alone.
  // A second call keeps the device, and with it the buffers that loaded sounds point to.
  if (device) return TRUE;
  device = Audio::SoundDevice::Open();
  return device != nullptr;
}

void CDirectSound::ReleaseSound() {
  if (device) device->Release();
  device = nullptr;
}

CString CDirectSound::CachePath(const CString& wavePath) {
  CString cache = wavePath;
  cache.MakeLower();
  if (cache.Replace(".wav", ".snd") == 0) return CString();
  return cache;
}

BOOL CDirectSound::LoadWave(const CString& path, WaveSound* ws) {
  if (!device || !ws) return FALSE;
  const char* step = nullptr;
  WAVEFORMATEX format;
  if (!ReadSndFile(path, ws)) {
    if (!ReadWaveFile(path, ws, &format)) return FALSE;
    SetDesc(ws, &format);
    WriteSndFile(path, ws);
  }
  if (!CreateDSoundBuffer(ws)) {
    step = "%s CreateDSoundBuffer error!";
  } else if (!FillDSoundBuffer(ws)) {
    step = "%s FillDSoundBuffer error!";
    ws->buffer->Release();
  }
  if (step) {
    CString msg;
    msg.Format(step, static_cast<const char*>(path));
    ZeroSound(ws);
    ShowMessage(msg);
    return FALSE;
  }
  delete[] ws->data;
  ws->data = nullptr;
  // The buffer has its own copy of the format; the one pointed to may go away.
  ws->desc.lpwfxFormat = nullptr;
  return TRUE;
}

BOOL CDirectSound::ReadWaveFile(const CString& path, WaveSound* ws, WAVEFORMATEX* format) {
  RiffFile file;
  RiffChunk riff, fmtChunk, dataChunk;
  uint8_t fmtBytes[kWaveFormatBytes];
  const char* step = nullptr;
  if (!file.Open(path.str())) {
    step = "mmioOpen(%s) error!";
  } else if (!file.DescendRiff(riff, MakeFourCC('W', 'A', 'V', 'E'))) {
    step = "%s Not a WAVE file!";
  } else if (!file.DescendChunk(fmtChunk, riff, MakeFourCC('f', 'm', 't', ' '))) {
    step = "%s has no fmt chunk!";
  } else if (fmtChunk.size < 16 || file.Read(fmtBytes, kWaveFormatBytes) != kWaveFormatBytes) {
    // 18 bytes even from a 16-byte chunk: the 2 that follow it stand in cbSize, never used.
    step = "%s unable to read fmt chunk!";
  } else if ((*format = WaveFormatFromBytes(fmtBytes)).wFormatTag != WAVE_FORMAT_PCM) {
    step = "%s not PCM format!";
  } else if (!file.Ascend(fmtChunk)) {
    step = "%s unable to Ascend!";
  } else if (!file.DescendChunk(dataChunk, riff, MakeFourCC('d', 'a', 't', 'a'))) {
    step = "%s has no data chunk!";
  } else if (dataChunk.size > file.Remaining()) {
    // A size past the end of the file could never be read; do not allocate for it.
    step = "%s unable to Read data chunk!";
  } else if (!(ws->data = new (std::nothrow) BYTE[dataChunk.size ? dataChunk.size : 1])) {
    step = "%s has no enought memory!";
  } else {
    ws->dataSize = dataChunk.size;
    if (file.Read(ws->data, static_cast<long>(ws->dataSize)) != static_cast<long>(ws->dataSize))
      step = "%s unable to Read data chunk!";
  }
  file.Close();
  if (!step) return TRUE;
  CString msg;
  msg.Format(step, static_cast<const char*>(path));
  ZeroSound(ws);
  ShowMessage(msg);
  return FALSE;
}

BOOL CDirectSound::ReadSndFile(const CString& path, WaveSound* ws) {
  const CString cache = CachePath(path);
  if (cache.IsEmpty()) return FALSE;
  CFile file;
  if (!file.Open(cache, CFile::modeRead)) return FALSE;
  const uint64_t length = file.GetLength();
  uint8_t head[4];
  if (length < 4 + kWaveFormatBytes || file.Read(head, 4) != 4) return FALSE;
  const DWORD size = static_cast<DWORD>(head[0] | (head[1] << 8) | (head[2] << 16) |
                                        (static_cast<DWORD>(head[3]) << 24));
  // Only a cache of exactly the announced length with a playable format is believed; anything
  // else is read again from the WAVE file, which rewrites the cache.
  if (length != 4 + static_cast<uint64_t>(size) + kWaveFormatBytes || size == 0) return FALSE;
  BYTE* data = new (std::nothrow) BYTE[size];
  if (!data) return FALSE;
  uint8_t fmtBytes[kWaveFormatBytes];
  const WAVEFORMATEX* fmt = nullptr;
  WAVEFORMATEX read;
  if (file.Read(data, size) == size && file.Read(fmtBytes, kWaveFormatBytes) == kWaveFormatBytes) {
    read = WaveFormatFromBytes(fmtBytes);
    if (IsPlayablePcm(read)) fmt = &read;
  }
  file.Close();
  if (!fmt) {
    delete[] data;
    return FALSE;
  }
  cacheFormat = *fmt;
  ws->dataSize = size;
  ws->data = data;
  SetDesc(ws, &cacheFormat);
  return TRUE;
}

void CDirectSound::WriteSndFile(const CString& path, WaveSound* ws) {
  const CString cache = CachePath(path);
  if (cache.IsEmpty() || !ws->data || !ws->desc.lpwfxFormat) return;
  std::vector<uint8_t> bytes(4 + static_cast<size_t>(ws->dataSize) + kWaveFormatBytes);
  for (int k = 0; k < 4; ++k) bytes[k] = (ws->dataSize >> (8 * k)) & 0xFF;
  std::memcpy(bytes.data() + 4, ws->data, ws->dataSize);
  WaveFormatToBytes(*ws->desc.lpwfxFormat, bytes.data() + 4 + ws->dataSize);
  // A cache that cannot be written is simply read again from the WAVE file next time.
  AtomicWriteFile(cache, bytes.data(), bytes.size());
}

BOOL CDirectSound::CreateDSoundBuffer(WaveSound* ws) {
  if (!device) return FALSE;
  return device->CreateSoundBuffer(&ws->desc, &ws->buffer) == SOUND_OK;
}

BOOL CDirectSound::FillDSoundBuffer(WaveSound* ws) {
  if (!device || !ws->buffer || !ws->data) return FALSE;
  void* first = nullptr;
  void* second = nullptr;
  DWORD firstBytes = 0, secondBytes = 0;
  SoundResult r = ws->buffer->Lock(0, ws->dataSize, &first, &firstBytes, &second, &secondBytes);
  for (int i = 0; r == SOUND_BUFFERLOST && i < kRestoreAttempts; ++i) {
    ws->buffer->Restore();
    r = ws->buffer->Lock(0, ws->dataSize, &first, &firstBytes, &second, &secondBytes);
  }
  if (r != SOUND_OK) return FALSE;
  std::memcpy(first, ws->data, firstBytes);
  if (second) std::memcpy(second, ws->data + firstBytes, secondBytes);
  return ws->buffer->Unlock(first, firstBytes, second, secondBytes) == SOUND_OK;
}

void CDirectSound::Play(int channel, WaveSound* ws, BOOL loop) {
  if (!device || !ws || !ws->buffer || !channelEnabled[channel]) return;
  ws->buffer->SetVolume(channelVolume[channel]);
  ws->buffer->SetCurrentPosition(0);
  ws->buffer->Play(loop ? DSBPLAY_LOOPING : 0);
}

void CDirectSound::PlayEffect(WaveSound* ws, BOOL loop) { Play(CHANNEL_EFFECTS, ws, loop); }
void CDirectSound::PlayMusic(WaveSound* ws, BOOL loop) { Play(CHANNEL_MUSIC, ws, loop); }
void CDirectSound::PlayExtra(WaveSound* ws, BOOL loop) { Play(2, ws, loop); }

void CDirectSound::StopSound(WaveSound* ws) {
  if (!device || !ws || !ws->buffer) return;
  ws->buffer->Stop();
  ws->buffer->SetCurrentPosition(0);
}

void CDirectSound::FreeSound(WaveSound* ws) {
  if (!ws) return;
  // Without a device no buffer remains (the device took its buffers with it); the record is
  // still zeroed so nothing can reach a buffer that is gone.
  if (device && ws->buffer) {
    ws->buffer->Stop();
    ws->buffer->Release();
  }
  ZeroSound(ws);
}

void CDirectSound::EnableChannel(int channel, BOOL on) {
  if (channel >= 0 && channel < 3) channelEnabled[channel] = on;
}

void CDirectSound::SetChannelVolume(int channel, LONG volume) {
  if (channel >= 0 && channel < 3) channelVolume[channel] = volume;
}

DWORD CDirectSound::GetSoundStatus(WaveSound* ws) {
  DWORD status = 0;
  if (!device || !ws || !ws->buffer || ws->buffer->GetStatus(&status) != SOUND_OK) return 0;
  return status;
}

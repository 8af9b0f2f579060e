#include "Audio.h"

#include <algorithm>
#include <cmath>
#include <new>

WAVEFORMATEX WaveFormatFromBytes(const uint8_t* b) {
  auto u16 = [b](int i) { return static_cast<WORD>(b[i] | (b[i + 1] << 8)); };
  auto u32 = [b](int i) {
    return static_cast<DWORD>(b[i] | (b[i + 1] << 8) | (b[i + 2] << 16) |
                              (static_cast<DWORD>(b[i + 3]) << 24));
  };
  WAVEFORMATEX f;
  f.wFormatTag = u16(0);
  f.nChannels = u16(2);
  f.nSamplesPerSec = u32(4);
  f.nAvgBytesPerSec = u32(8);
  f.nBlockAlign = u16(12);
  f.wBitsPerSample = u16(14);
  f.cbSize = u16(16);
  return f;
}

void WaveFormatToBytes(const WAVEFORMATEX& f, uint8_t* b) {
  auto u16 = [b](int i, WORD v) {
    b[i] = v & 0xFF;
    b[i + 1] = v >> 8;
  };
  auto u32 = [b](int i, DWORD v) {
    for (int k = 0; k < 4; ++k) b[i + k] = (v >> (8 * k)) & 0xFF;
  };
  u16(0, f.wFormatTag);
  u16(2, f.nChannels);
  u32(4, f.nSamplesPerSec);
  u32(8, f.nAvgBytesPerSec);
  u16(12, f.nBlockAlign);
  u16(14, f.wBitsPerSample);
  u16(16, f.cbSize);
}

bool IsPlayablePcm(const WAVEFORMATEX& f) {
  return f.wFormatTag == WAVE_FORMAT_PCM && (f.nChannels == 1 || f.nChannels == 2) &&
         (f.wBitsPerSample == 8 || f.wBitsPerSample == 16) && f.nSamplesPerSec > 0 &&
         f.nBlockAlign == f.nChannels * f.wBitsPerSample / 8;
}

namespace Audio {

namespace {
constexpr int32_t kUnity = 65536;
constexpr DWORD kMaxBufferBytes = 0x0FFFFFFF;
SoundDevice* g_device = nullptr;
}  // namespace

int32_t VolumeToGain(LONG volume) {
  if (volume <= DSBVOLUME_MIN) return 0;
  if (volume >= 0) return kUnity;
  return static_cast<int32_t>(std::lround(kUnity * std::pow(10.0, volume / 2000.0)));
}

// ---------------------------------------------------------------------------------------------
// SoundBuffer

SoundBuffer::SoundBuffer(Mixer* mixer, const WAVEFORMATEX& fmt, DWORD bytes)
    : mixer_(mixer), format_(fmt), bytes_(bytes, fmt.wBitsPerSample == 8 ? 0x80 : 0) {
  frames_ = bytes / fmt.nBlockAlign;
  samples_.assign(static_cast<size_t>(frames_) * fmt.nChannels, 0);
  frequency_ = fmt.nSamplesPerSec;
  step_ = (static_cast<uint64_t>(frequency_) << 32) / static_cast<uint64_t>(mixer->rate_);
}

void SoundBuffer::ConvertSamples() {
  const size_t n = samples_.size();
  if (format_.wBitsPerSample == 8) {
    for (size_t i = 0; i < n; ++i) samples_[i] = static_cast<int16_t>((bytes_[i] - 128) * 256);
  } else {
    for (size_t i = 0; i < n; ++i)
      samples_[i] = static_cast<int16_t>(bytes_[2 * i] | (bytes_[2 * i + 1] << 8));
  }
}

void SoundBuffer::UpdateGains() {
  const int64_t g = VolumeToGain(volume_);
  const int64_t left = pan_ > 0 ? VolumeToGain(-pan_) : kUnity;
  const int64_t right = pan_ < 0 ? VolumeToGain(pan_) : kUnity;
  gainLeft_ = static_cast<int32_t>(g * left / kUnity);
  gainRight_ = static_cast<int32_t>(g * right / kUnity);
}

SoundResult SoundBuffer::Lock(DWORD offset, DWORD bytes, void** first, DWORD* firstBytes,
                              void** second, DWORD* secondBytes) {
  if (!first || !firstBytes || bytes == 0 || offset >= bytes_.size() ||
      bytes > bytes_.size() - offset)
    return SOUND_FAILED;
  *first = bytes_.data() + offset;
  *firstBytes = bytes;
  if (second) *second = nullptr;
  if (secondBytes) *secondBytes = 0;
  return SOUND_OK;
}

SoundResult SoundBuffer::Unlock(void* first, DWORD, void*, DWORD) {
  if (!first) return SOUND_FAILED;
  mixer_->Lock();
  ConvertSamples();
  mixer_->Unlock();
  return SOUND_OK;
}

SoundResult SoundBuffer::Play(DWORD flags) {
  mixer_->Lock();
  playing_ = frames_ > 0;
  looping_ = (flags & DSBPLAY_LOOPING) != 0;
  mixer_->Unlock();
  return SOUND_OK;
}

SoundResult SoundBuffer::Stop() {
  mixer_->Lock();
  playing_ = false;
  mixer_->Unlock();
  return SOUND_OK;
}

SoundResult SoundBuffer::SetCurrentPosition(DWORD bytes) {
  if (bytes > bytes_.size()) return SOUND_FAILED;
  mixer_->Lock();
  position_ = static_cast<uint64_t>(std::min<DWORD>(bytes / format_.nBlockAlign, frames_)) << 32;
  if ((position_ >> 32) >= frames_) position_ = 0;
  mixer_->Unlock();
  return SOUND_OK;
}

SoundResult SoundBuffer::GetCurrentPosition(DWORD* play, DWORD* write) const {
  mixer_->Lock();
  const DWORD frame = static_cast<DWORD>(position_ >> 32);
  mixer_->Unlock();
  const DWORD at = frame < frames_ ? frame * format_.nBlockAlign : 0;
  if (play) *play = at;
  if (write) *write = at;
  return SOUND_OK;
}

SoundResult SoundBuffer::SetVolume(LONG volume) {
  if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return SOUND_FAILED;
  mixer_->Lock();
  volume_ = volume;
  UpdateGains();
  mixer_->Unlock();
  return SOUND_OK;
}

SoundResult SoundBuffer::GetVolume(LONG* volume) const {
  if (volume) *volume = volume_;
  return SOUND_OK;
}

SoundResult SoundBuffer::SetPan(LONG pan) {
  if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return SOUND_FAILED;
  mixer_->Lock();
  pan_ = pan;
  UpdateGains();
  mixer_->Unlock();
  return SOUND_OK;
}

SoundResult SoundBuffer::GetPan(LONG* pan) const {
  if (pan) *pan = pan_;
  return SOUND_OK;
}

SoundResult SoundBuffer::SetFrequency(DWORD hz) {
  if (hz == DSBFREQUENCY_ORIGINAL)
    hz = format_.nSamplesPerSec;
  else if (hz < DSBFREQUENCY_MIN || hz > DSBFREQUENCY_MAX)
    return SOUND_FAILED;
  mixer_->Lock();
  frequency_ = hz;
  step_ = (static_cast<uint64_t>(hz) << 32) / static_cast<uint64_t>(mixer_->rate_);
  mixer_->Unlock();
  return SOUND_OK;
}

SoundResult SoundBuffer::GetFrequency(DWORD* hz) const {
  if (hz) *hz = frequency_;
  return SOUND_OK;
}

SoundResult SoundBuffer::GetStatus(DWORD* status) const {
  if (!status) return SOUND_FAILED;
  mixer_->Lock();
  *status = playing_ ? (DSBSTATUS_PLAYING | (looping_ ? DSBSTATUS_LOOPING : 0)) : 0;
  mixer_->Unlock();
  return SOUND_OK;
}

void SoundBuffer::Release() {
  mixer_->Forget(this);
  delete this;
}

// ---------------------------------------------------------------------------------------------
// Mixer

Mixer::Mixer(int outputRate, SDL_AudioDeviceID device) : rate_(outputRate), device_(device) {}

Mixer::~Mixer() {
  for (SoundBuffer* b : buffers_) delete b;
}

void Mixer::Lock() {
  if (device_) SDL_LockAudioDevice(device_);
}

void Mixer::Unlock() {
  if (device_) SDL_UnlockAudioDevice(device_);
}

SoundBuffer* Mixer::CreateBuffer(const WAVEFORMATEX& fmt, DWORD bytes) {
  if (!IsPlayablePcm(fmt) || bytes < fmt.nBlockAlign || bytes > kMaxBufferBytes) return nullptr;
  SoundBuffer* b = new (std::nothrow) SoundBuffer(this, fmt, bytes);
  if (!b) return nullptr;
  Lock();
  buffers_.push_back(b);
  Unlock();
  return b;
}

void Mixer::Forget(SoundBuffer* buffer) {
  Lock();
  buffers_.erase(std::remove(buffers_.begin(), buffers_.end(), buffer), buffers_.end());
  Unlock();
}

void Mixer::MixVoice(SoundBuffer& v, int32_t* acc, size_t frames) {
  const uint32_t n = v.frames_;
  const int ch = v.format_.nChannels;
  const int16_t* s = v.samples_.data();
  const int64_t gl = v.gainLeft_, gr = v.gainRight_;
  const uint64_t end = static_cast<uint64_t>(n) << 32;
  for (size_t i = 0; i < frames; ++i) {
    if (v.position_ >= end) {
      if (!v.looping_) break;
      v.position_ %= end;
    }
    const uint32_t idx = static_cast<uint32_t>(v.position_ >> 32);
    // 64 bits: a full-scale step (65535) times a fraction just under 1 does not fit in 32.
    const int64_t frac = static_cast<int64_t>((v.position_ >> 16) & 0xFFFF);
    // A loop's last frame leads into its first, so the seam is interpolated like any other.
    const uint32_t next = idx + 1 < n ? idx + 1 : (v.looping_ ? 0 : idx);
    const int64_t l0 = s[idx * ch], l1 = s[next * ch];
    const int64_t left = l0 + (((l1 - l0) * frac) >> 16);
    int64_t right = left;
    if (ch == 2) {
      const int64_t r0 = s[idx * ch + 1], r1 = s[next * ch + 1];
      right = r0 + (((r1 - r0) * frac) >> 16);
    }
    acc[2 * i] += static_cast<int32_t>((left * gl) >> 16);
    acc[2 * i + 1] += static_cast<int32_t>((right * gr) >> 16);
    v.position_ += v.step_;
  }
  if (v.position_ >= end) {
    if (v.looping_) {
      v.position_ %= end;
    } else {
      // A sound played once ends rewound, ready to start over.
      v.playing_ = false;
      v.position_ = 0;
    }
  }
}

void Mixer::MixTone(int32_t* acc, size_t frames) {
  constexpr double kAmplitude = 0.3 * 32767;
  const double ramp = rate_ * 0.005;
  for (size_t i = 0; i < frames && toneDone_ < toneFrames_; ++i, ++toneDone_) {
    const double env = std::min({1.0, (toneDone_ + 1) / ramp, (toneFrames_ - toneDone_) / ramp});
    const int32_t v = static_cast<int32_t>(std::lround(std::sin(tonePhase_) * kAmplitude * env));
    acc[2 * i] += v;
    acc[2 * i + 1] += v;
    tonePhase_ += toneStep_;
    if (tonePhase_ > 2 * M_PI) tonePhase_ -= 2 * M_PI;
  }
}

void Mixer::Mix(int16_t* out, size_t frames) {
  if (acc_.size() < 2 * frames) acc_.resize(2 * frames);
  int32_t* acc = acc_.data();
  std::fill(acc, acc + 2 * frames, 0);
  for (SoundBuffer* b : buffers_)
    if (b->playing_) MixVoice(*b, acc, frames);
  MixTone(acc, frames);
  for (size_t i = 0; i < 2 * frames; ++i)
    out[i] = static_cast<int16_t>(std::clamp<int32_t>(acc[i], -32768, 32767));
}

void Mixer::Tone(unsigned hz, unsigned ms) {
  const uint64_t frames = std::min<uint64_t>(static_cast<uint64_t>(rate_) * ms / 1000,
                                             static_cast<uint64_t>(rate_) * 60);
  Lock();
  if (hz == 0 || hz >= static_cast<unsigned>(rate_) / 2) {
    toneFrames_ = toneDone_ = 0;
  } else {
    toneFrames_ = static_cast<uint32_t>(frames);
    toneDone_ = 0;
    tonePhase_ = 0;
    toneStep_ = 2 * M_PI * hz / rate_;
  }
  Unlock();
}

// ---------------------------------------------------------------------------------------------
// SoundDevice

SoundDevice::SoundDevice() : mixer_(kDeviceRate, 0) {}

SoundDevice* SoundDevice::Open() {
  if (g_device) return nullptr;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
  SoundDevice* dev = new SoundDevice();
  SDL_AudioSpec want{};
  want.freq = kDeviceRate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = Callback;
  want.userdata = dev;
  SDL_AudioSpec have{};
  // No format changes allowed: SDL converts to whatever the hardware wants.
  dev->id_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (dev->id_ == 0) {
    delete dev;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  dev->mixer_.device_ = dev->id_;
  g_device = dev;
  SDL_PauseAudioDevice(dev->id_, 0);
  return dev;
}

void SDLCALL SoundDevice::Callback(void* self, Uint8* stream, int len) {
  static_cast<SoundDevice*>(self)->mixer_.Mix(reinterpret_cast<int16_t*>(stream),
                                              static_cast<size_t>(len) / 4);
}

void SoundDevice::Release() {
  SDL_CloseAudioDevice(id_);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  if (g_device == this) g_device = nullptr;
  delete this;
}

SoundResult SoundDevice::CreateSoundBuffer(const DSBUFFERDESC* desc, SoundBuffer** out) {
  if (!out) return SOUND_FAILED;
  *out = nullptr;
  if (!desc || !desc->lpwfxFormat) return SOUND_FAILED;
  *out = mixer_.CreateBuffer(*desc->lpwfxFormat, desc->dwBufferBytes);
  return *out ? SOUND_OK : SOUND_FAILED;
}

SoundDevice* CurrentDevice() { return g_device; }

void Beep(unsigned frequency, unsigned durationMs) {
  if (g_device) g_device->GetMixer().Tone(frequency, durationMs);
}

}  // namespace Audio

// Helpers of the sound tests: a private temporary directory and hand-made RIFF files.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Audio.h"

class TempDir {
 public:
  TempDir() {
    char tmpl[] = "/tmp/tavex-sound-XXXXXX";
    path_ = mkdtemp(tmpl) ? tmpl : "";
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Tests never use a real sound card, whatever the environment says.
inline void UseDummyAudio() { setenv("SDL_AUDIODRIVER", "dummy", 1); }

inline void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int k = 0; k < 4; ++k) b.push_back((v >> (8 * k)) & 0xFF);
}

// A chunk as it will stand in the file; `size` may lie about the payload.
struct TestChunk {
  std::string id;
  std::vector<uint8_t> payload;
  int64_t size = -1;  // -1: the payload's real size
};

inline std::vector<uint8_t> Chunk(const TestChunk& c) {
  std::vector<uint8_t> b(c.id.begin(), c.id.end());
  Put32(b, c.size < 0 ? static_cast<uint32_t>(c.payload.size()) : static_cast<uint32_t>(c.size));
  b.insert(b.end(), c.payload.begin(), c.payload.end());
  if (c.payload.size() & 1) b.push_back(0);
  return b;
}

// "RIFF" <size> <form> followed by the chunks; riffSize -1 = the true size.
inline std::vector<uint8_t> Riff(const std::vector<TestChunk>& chunks,
                                 const std::string& form = "WAVE", int64_t riffSize = -1) {
  std::vector<uint8_t> body(form.begin(), form.end());
  for (const TestChunk& c : chunks) {
    const auto bytes = Chunk(c);
    body.insert(body.end(), bytes.begin(), bytes.end());
  }
  std::vector<uint8_t> b = {'R', 'I', 'F', 'F'};
  Put32(b, riffSize < 0 ? static_cast<uint32_t>(body.size()) : static_cast<uint32_t>(riffSize));
  b.insert(b.end(), body.begin(), body.end());
  return b;
}

inline std::vector<uint8_t> FmtPayload(uint16_t tag, uint16_t channels, uint32_t rate,
                                       uint16_t bits, size_t bytes = 18) {
  WAVEFORMATEX f;
  f.wFormatTag = tag;
  f.nChannels = channels;
  f.nSamplesPerSec = rate;
  f.nBlockAlign = static_cast<WORD>(channels * bits / 8);
  f.nAvgBytesPerSec = rate * f.nBlockAlign;
  f.wBitsPerSample = bits;
  std::vector<uint8_t> b(kWaveFormatBytes);
  WaveFormatToBytes(f, b.data());
  b.resize(bytes, 0);
  return b;
}

inline std::vector<uint8_t> Ramp16(size_t samples, int16_t step = 7) {
  std::vector<uint8_t> b;
  for (size_t i = 0; i < samples; ++i) {
    const uint16_t v = static_cast<uint16_t>(static_cast<int16_t>(i * step));
    b.push_back(v & 0xFF);
    b.push_back(v >> 8);
  }
  return b;
}

inline bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::vector<uint8_t> b;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return b;
  int c;
  while ((c = std::fgetc(f)) != EOF) b.push_back(static_cast<uint8_t>(c));
  std::fclose(f);
  return b;
}

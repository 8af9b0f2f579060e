#include "WaveWriter.h"

#include <cstdio>

namespace WaveWriter {

namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

void PutId(std::vector<uint8_t>& b, const char* id) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(id[i]));
}

std::vector<uint8_t> Header(uint32_t dataBytes, uint32_t rate, uint16_t channels, uint16_t bits) {
  std::vector<uint8_t> b;
  const uint16_t block = static_cast<uint16_t>(channels * bits / 8);
  PutId(b, "RIFF");
  Put32(b, 4 + (8 + 18) + (8 + dataBytes + (dataBytes & 1)));
  PutId(b, "WAVE");
  PutId(b, "fmt ");
  Put32(b, 18);
  Put16(b, 1);
  Put16(b, channels);
  Put32(b, rate);
  Put32(b, rate * block);
  Put16(b, block);
  Put16(b, bits);
  Put16(b, 0);
  PutId(b, "data");
  Put32(b, dataBytes);
  return b;
}

}  // namespace

std::vector<uint8_t> Encode16(const std::vector<int16_t>& samples, uint32_t rate,
                              uint16_t channels) {
  const uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> b = Header(bytes, rate, channels, 16);
  b.reserve(b.size() + bytes);
  for (int16_t s : samples) Put16(b, static_cast<uint16_t>(s));
  return b;
}

std::vector<uint8_t> Encode8(const std::vector<uint8_t>& samples, uint32_t rate,
                             uint16_t channels) {
  const uint32_t bytes = static_cast<uint32_t>(samples.size());
  std::vector<uint8_t> b = Header(bytes, rate, channels, 8);
  for (uint8_t s : samples) b.push_back(s);
  if (bytes & 1) b.push_back(0);
  return b;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace WaveWriter

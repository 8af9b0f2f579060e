// PCM WAVE files as the game reads them: "RIFF" "WAVE", an 18-byte "fmt " chunk (cbSize 0),
// then "data". Nothing else, so the bytes depend only on the samples.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace WaveWriter {

// 16-bit little-endian samples, interleaved when channels is 2.
std::vector<uint8_t> Encode16(const std::vector<int16_t>& samples, uint32_t rate,
                              uint16_t channels);
// 8-bit unsigned samples.
std::vector<uint8_t> Encode8(const std::vector<uint8_t>& samples, uint32_t rate, uint16_t channels);
// Writes the bytes to `path`; false when the file could not be written completely.
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace WaveWriter

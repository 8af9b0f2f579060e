// Builds the page font's glyph file from GNU Unifont: the printable ASCII cells and every
// double-byte character of CP950 that Unifont draws. Narrow Unifont glyphs for double-byte
// characters are centred in the 16-pixel cell, as a fixed-pitch Big5 font shows them.
//   genglyphs <unifont.hex> <output>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "Big5.h"
#include "WinFile.h"

namespace {

bool ParseHex(const std::string& hex, std::vector<uint8_t>& out) {
  out.clear();
  if (hex.size() != 32 && hex.size() != 64) return false;
  for (size_t i = 0; i < hex.size(); i += 2) {
    unsigned v;
    if (std::sscanf(hex.c_str() + i, "%2x", &v) != 1) return false;
    out.push_back(static_cast<uint8_t>(v));
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: genglyphs <unifont.hex> <output>\n");
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::fprintf(stderr, "genglyphs: cannot read %s\n", argv[1]);
    return 1;
  }
  std::unordered_map<char32_t, std::vector<uint8_t>> unifont;
  std::string line;
  while (std::getline(in, line)) {
    size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    char32_t cp = static_cast<char32_t>(std::stoul(line.substr(0, colon), nullptr, 16));
    std::vector<uint8_t> bits;
    if (ParseHex(line.substr(colon + 1), bits)) unifont[cp] = std::move(bits);
  }

  std::map<uint16_t, std::vector<uint8_t>> cells;
  for (uint16_t c = 0x20; c < 0x7F; ++c) {
    auto it = unifont.find(c);
    if (it != unifont.end() && it->second.size() == 16) cells[c] = it->second;
  }
  for (int code = 0x8140; code <= 0xFEFE; ++code) {
    char32_t u = Big5CodeToUcs(static_cast<uint16_t>(code));
    auto it = u ? unifont.find(u) : unifont.end();
    if (it == unifont.end()) continue;
    std::vector<uint8_t> cell(32, 0);
    for (int row = 0; row < 16; ++row) {
      if (it->second.size() == 32) {
        cell[2 * row] = it->second[2 * row];
        cell[2 * row + 1] = it->second[2 * row + 1];
      } else {
        uint16_t wide = static_cast<uint16_t>(it->second[row] << 4);
        cell[2 * row] = static_cast<uint8_t>(wide >> 8);
        cell[2 * row + 1] = static_cast<uint8_t>(wide);
      }
    }
    cells[static_cast<uint16_t>(code)] = std::move(cell);
  }
  if (cells.size() < 13000) {
    std::fprintf(stderr, "genglyphs: only %zu glyphs (is CP950 available to iconv?)\n",
                 cells.size());
    return 1;
  }

  std::vector<uint8_t> out = {'T', 'V', 'X', 'G', 'L', 'Y', 'F', '1'};
  uint32_t count = static_cast<uint32_t>(cells.size());
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(count >> (8 * i)));
  for (const auto& [code, bits] : cells) {
    out.push_back(static_cast<uint8_t>(code));
    out.push_back(static_cast<uint8_t>(code >> 8));
  }
  for (const auto& [code, bits] : cells) out.insert(out.end(), bits.begin(), bits.end());
  if (!AtomicWriteFile(argv[2], out.data(), out.size())) {
    std::fprintf(stderr, "genglyphs: cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("genglyphs: %u glyphs, %zu bytes\n", count, out.size());
  return 0;
}

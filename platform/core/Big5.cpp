#include "Big5.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <mutex>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Every double-byte code's Unicode, 0 where CP950 has none; built once on first use.
const std::array<char32_t, 0x10000>& DbcsTable() {
  static std::array<char32_t, 0x10000> table{};
  static std::once_flag once;
  std::call_once(once, [] {
    iconv_t cd = iconv_open("UCS-4LE", "CP950");
    if (cd == reinterpret_cast<iconv_t>(-1)) return;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
      for (int trail = 0x40; trail <= 0xFE; ++trail) {
        if (!IsBig5Trail(static_cast<uint8_t>(trail))) continue;
        char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        unsigned char out[8];
        char* ip = in;
        char* op = reinterpret_cast<char*>(out);
        size_t il = 2, ol = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &ip, &il, &op, &ol) == static_cast<size_t>(-1) || ol != 4) continue;
        table[lead << 8 | trail] =
            out[0] | out[1] << 8 | out[2] << 16 | static_cast<char32_t>(out[3]) << 24;
      }
    }
    iconv_close(cd);
  });
  return table;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Length of the well-formed UTF-8 sequence at s[pos], 0 when it is malformed.
size_t Utf8SequenceSize(std::string_view s, size_t pos) {
  const auto b = [&](size_t i) { return static_cast<uint8_t>(s[i]); };
  uint8_t c = b(pos);
  size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
  if (n == 0 || pos + n > s.size()) return 0;
  for (size_t i = 1; i < n; ++i)
    if ((b(pos + i) & 0xC0) != 0x80) return 0;
  if (n == 2 && c < 0xC2) return 0;
  if (n == 3 && c == 0xE0 && b(pos + 1) < 0xA0) return 0;
  if (n == 4 && (c > 0xF4 || (c == 0xF0 && b(pos + 1) < 0x90))) return 0;
  return n;
}

}  // namespace

size_t Big5CharSize(std::string_view s, size_t pos) {
  if (pos >= s.size()) return 0;
  if (IsBig5Lead(static_cast<uint8_t>(s[pos])) && pos + 1 < s.size() &&
      IsBig5Trail(static_cast<uint8_t>(s[pos + 1])))
    return 2;
  return 1;
}

size_t Big5PrevChar(std::string_view s, size_t pos) {
  size_t prev = 0;
  for (size_t i = 0; i < pos && i < s.size(); i += Big5CharSize(s, i)) prev = i;
  return prev;
}

size_t Big5FitLength(std::string_view s, size_t maxBytes) {
  size_t end = 0;
  while (end < s.size()) {
    size_t n = Big5CharSize(s, end);
    if (end + n > maxBytes) break;
    end += n;
  }
  return end;
}

std::string Big5ToLower(std::string_view s) {
  std::string out(s);
  for (size_t i = 0; i < out.size();) {
    size_t n = Big5CharSize(out, i);
    if (n == 1 && out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] - 'A' + 'a');
    i += n;
  }
  return out;
}

char32_t Big5CodeToUcs(uint16_t code) { return DbcsTable()[code]; }

std::u32string Big5ToUcs(std::string_view big5) {
  const auto& table = DbcsTable();
  std::u32string out;
  for (size_t i = 0; i < big5.size();) {
    size_t n = Big5CharSize(big5, i);
    uint8_t c = static_cast<uint8_t>(big5[i]);
    if (n == 2) {
      char32_t u = table[c << 8 | static_cast<uint8_t>(big5[i + 1])];
      out += u ? u : kReplacement;
    } else {
      out += c < 0x80 ? static_cast<char32_t>(c) : kReplacement;
    }
    i += n;
  }
  return out;
}

std::string Big5ToUtf8(std::string_view big5) {
  std::string out;
  for (char32_t c : Big5ToUcs(big5)) AppendUtf8(out, c);
  return out;
}

std::string Utf8ToBig5(std::string_view utf8, char replacement) {
  std::string out;
  iconv_t cd = iconv_open("CP950", "UTF-8");
  for (size_t i = 0; i < utf8.size();) {
    size_t n = Utf8SequenceSize(utf8, i);
    if (n == 1) {
      out += utf8[i++];
      continue;
    }
    bool converted = false;
    if (n > 1 && cd != reinterpret_cast<iconv_t>(-1)) {
      char in[4], buf[8];
      utf8.copy(in, n, i);
      char* ip = in;
      char* op = buf;
      size_t il = n, ol = sizeof buf;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      // Only a true double-byte character counts: a lone byte >= 0x80 is not Big5 text.
      if (iconv(cd, &ip, &il, &op, &ol) != static_cast<size_t>(-1) && op - buf == 2 &&
          IsBig5Lead(static_cast<uint8_t>(buf[0]))) {
        out.append(buf, 2);
        converted = true;
      }
    }
    if (!converted && replacement) out += replacement;
    if (n == 0) {
      // A broken sequence counts once, with the continuation bytes that follow it.
      ++i;
      while (i < utf8.size() && (static_cast<uint8_t>(utf8[i]) & 0xC0) == 0x80) ++i;
    } else {
      i += n;
    }
  }
  if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  return out;
}

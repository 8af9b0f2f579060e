#include "WinString.h"

#include <cstdio>
#include <cstring>

#include "Big5.h"

namespace {

// The game's formats put '#' on integer conversions ("%0#2i"), which C leaves undefined.
std::string DropIntegerAltFlag(const char* fmt) {
  std::string out;
  for (const char* p = fmt; *p;) {
    if (*p != '%') {
      out += *p++;
      continue;
    }
    ++p;
    if (*p == '%') {
      out += "%%";
      ++p;
      continue;
    }
    const char* flagsEnd = p;
    while (*flagsEnd && std::strchr("-+ #0'", *flagsEnd)) ++flagsEnd;
    const char* conv = flagsEnd;
    while (*conv && std::strchr("0123456789.*hljztL", *conv)) ++conv;
    bool integer = *conv && std::strchr("diu", *conv);
    out += '%';
    for (const char* f = p; f < flagsEnd; ++f)
      if (!(integer && *f == '#')) out += *f;
    out.append(flagsEnd, conv + (*conv ? 1 : 0));
    p = conv + (*conv ? 1 : 0);
  }
  return out;
}

}  // namespace

void CString::Format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  FormatV(fmt, args);
  va_end(args);
}

void CString::FormatV(const char* fmt, va_list args) {
  std::string f = DropIntegerAltFlag(fmt ? fmt : "");
  va_list copy;
  va_copy(copy, args);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  int n = std::vsnprintf(nullptr, 0, f.c_str(), copy);
  va_end(copy);
  if (n < 0) {
    s_.clear();
    return;
  }
  std::string out(static_cast<size_t>(n) + 1, '\0');
  std::vsnprintf(out.data(), out.size(), f.c_str(), args);
#pragma GCC diagnostic pop
  out.resize(static_cast<size_t>(n));
  s_ = std::move(out);
}

CString CString::Left(int n) const {
  return CString(s_.substr(0, n > 0 ? static_cast<size_t>(n) : 0));
}

CString CString::Right(int n) const {
  if (n <= 0) return CString();
  size_t k = std::min(s_.size(), static_cast<size_t>(n));
  return CString(s_.substr(s_.size() - k));
}

CString CString::Mid(int first) const {
  if (first < 0) first = 0;
  return static_cast<size_t>(first) >= s_.size() ? CString()
                                                 : CString(s_.substr(static_cast<size_t>(first)));
}

CString CString::Mid(int first, int n) const {
  if (first < 0) first = 0;
  if (n <= 0 || static_cast<size_t>(first) >= s_.size()) return CString();
  return CString(s_.substr(static_cast<size_t>(first), static_cast<size_t>(n)));
}

int CString::Find(char c, int start) const {
  for (size_t i = 0; i < s_.size(); i += Big5CharSize(s_, i))
    if (static_cast<int>(i) >= start && Big5CharSize(s_, i) == 1 && s_[i] == c)
      return static_cast<int>(i);
  return -1;
}

int CString::Find(const char* sub, int start) const {
  std::string_view needle = sub ? sub : "";
  for (size_t i = 0;; i += Big5CharSize(s_, i)) {
    if (static_cast<int>(i) >= start && s_.compare(i, needle.size(), needle) == 0)
      return static_cast<int>(i);
    if (i >= s_.size()) return -1;
  }
}

int CString::ReverseFind(char c) const {
  int found = -1;
  for (size_t i = 0; i < s_.size(); i += Big5CharSize(s_, i))
    if (Big5CharSize(s_, i) == 1 && s_[i] == c) found = static_cast<int>(i);
  return found;
}

void CString::MakeLower() { s_ = Big5ToLower(s_); }

int CString::Replace(const char* from, const char* to) {
  size_t m = from ? std::strlen(from) : 0;
  if (m == 0) return 0;
  std::string out;
  int count = 0;
  for (size_t i = 0; i < s_.size();) {
    if (s_.compare(i, m, from) == 0) {
      out += to ? to : "";
      i += m;
      ++count;
    } else {
      size_t n = Big5CharSize(s_, i);
      out.append(s_, i, n);
      i += n;
    }
  }
  s_ = std::move(out);
  return count;
}

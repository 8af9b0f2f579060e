// CString: a byte string (Big5 text) with the handful of operations the game code uses.
#pragma once
#include <cstdarg>
#include <string>
#include <string_view>

class CString {
 public:
  CString() = default;
  CString(const char* s) : s_(s ? s : "") {}
  CString(const char* s, int n) : s_(s, n > 0 ? n : 0) {}
  CString(std::string s) : s_(std::move(s)) {}
  CString(std::string_view s) : s_(s) {}

  // printf-style; the '#' flag on d/i/u (a no-op in the game's formats, e.g. "%0#2i") is
  // dropped so the result is the zero-padded number it was meant to be.
  void Format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  void FormatV(const char* fmt, va_list args);

  int GetLength() const { return static_cast<int>(s_.size()); }
  bool IsEmpty() const { return s_.empty(); }
  void Empty() { s_.clear(); }
  operator const char*() const { return s_.c_str(); }
  const std::string& str() const { return s_; }
  char GetAt(int i) const { return s_.at(static_cast<size_t>(i)); }

  CString& operator=(const char* s) {
    s_ = s ? s : "";
    return *this;
  }
  CString& operator+=(const CString& o) {
    s_ += o.s_;
    return *this;
  }
  CString& operator+=(const char* s) {
    if (s) s_ += s;
    return *this;
  }
  CString& operator+=(char c) {
    s_ += c;
    return *this;
  }
  friend CString operator+(CString a, const CString& b) {
    a += b;
    return a;
  }
  friend CString operator+(CString a, const char* b) {
    a += b;
    return a;
  }
  friend CString operator+(const char* a, const CString& b) { return CString(a) + b; }

  friend bool operator==(const CString& a, const CString& b) { return a.s_ == b.s_; }
  friend bool operator==(const CString& a, const char* b) { return a.s_ == (b ? b : ""); }
  friend auto operator<=>(const CString& a, const CString& b) { return a.s_ <=> b.s_; }

  // Byte positions and counts, clamped to the string as the framework does.
  CString Left(int n) const;
  CString Right(int n) const;
  CString Mid(int first) const;
  CString Mid(int first, int n) const;
  int Find(char c, int start = 0) const;  // steps whole Big5 characters; -1 when absent
  int Find(const char* sub, int start = 0) const;
  int ReverseFind(char c) const;  // last single-byte c, never a trail byte; -1 when absent

  void MakeLower();                               // ASCII letters only; Big5 trail bytes kept
  int Replace(const char* from, const char* to);  // whole-character matches; returns the count

 private:
  std::string s_;
};

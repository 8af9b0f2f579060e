#include "ClockText.h"

#include <iconv.h>
#include <langinfo.h>

#include <clocale>
#include <cstring>

const char* const kReminderTimes[12] = {
    "AM 09:00:00", "AM 11:00:00", "PM 01:00:00", "PM 03:00:00", "PM 05:00:00", "PM 07:00:00",
    "PM 09:00:00", "PM 11:00:00", "AM 01:00:00", "AM 03:00:00", "AM 05:00:00", "AM 07:00:00",
};

bool IsReminderTime(std::string_view text) {
  for (const char* t : kReminderTimes)
    if (text == t) return true;
  return false;
}

std::string MarkerToBig5(const std::string& s, const char* codeset) {
  bool ascii = true;
  for (unsigned char c : s) ascii = ascii && c < 0x80;
  if (ascii || !codeset || !*codeset) return s;
  iconv_t cd = iconv_open("CP950", codeset);
  if (cd == reinterpret_cast<iconv_t>(-1)) return s;
  std::string in = s, out(s.size() * 4 + 8, '\0');
  char* ip = in.data();
  char* op = out.data();
  size_t il = in.size(), ol = out.size();
  const bool ok = iconv(cd, &ip, &il, &op, &ol) != static_cast<size_t>(-1) &&
                  iconv(cd, nullptr, nullptr, &op, &ol) != static_cast<size_t>(-1);
  iconv_close(cd);
  if (!ok) return s;
  out.resize(out.size() - ol);
  return out;
}

TimeFormat LongTimeFormat() {
  TimeFormat format = UserTimeFormat();
  // The markers come in the character set of the user's locale (a UTF-8 one, usually).
  std::setlocale(LC_CTYPE, "");
  const char* codeset = nl_langinfo(CODESET);
  format.am = MarkerToBig5(format.am, codeset);
  format.pm = MarkerToBig5(format.pm, codeset);
  return format;
}

std::string TimeText(const TimeFormat& format, time_t t) {
  struct tm local {};
  localtime_r(&t, &local);
  return FormatLongTime(format, local);
}

time_t SystemNow() { return std::time(nullptr); }

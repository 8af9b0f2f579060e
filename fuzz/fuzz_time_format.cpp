// The time format the reminder clock takes from TAVEX_TIME_FORMAT, TAVEX_TIME_AM and
// TAVEX_TIME_PM (or the locale's pattern with its "%r" pattern): parsed and a day's times
// formatted. Input: pattern, "%r" pattern, am and pm markers, separated by NULs. The values go
// to the parser directly: setenv keeps every value it was ever given.
#include <string>

#include "SysInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string parts[4];
  int part = 0;
  for (size_t i = 0; i < size && part < 4; ++i)
    if (data[i] == 0)
      ++part;
    else
      parts[part] += char(data[i]);
  const TimeFormat format = ParseTimeFormat(parts[0], parts[1], parts[2], parts[3]);
  if (format.separator.empty() || format.am.empty() || format.pm.empty()) std::abort();
  struct tm local {};
  for (int hour = 0; hour < 24; hour += 5) {
    local.tm_hour = hour;
    local.tm_min = 59;
    local.tm_sec = 7;
    const std::string text = FormatLongTime(format, local);
    if (text.find("07") == std::string::npos) std::abort();
    if (format.hour12 && text.find(hour < 12 ? format.am : format.pm) == std::string::npos)
      std::abort();
  }
  return 0;
}

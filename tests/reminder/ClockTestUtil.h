// Moments and the one locale format the reminder can match, shared by the clock's tests.
#pragma once
#include <ctime>

#include "SysInfo.h"

// 12-hour clock, leading zero, marker first, "AM"/"PM", ':'.
inline TimeFormat Required() {
  TimeFormat f;
  f.hour12 = true;
  f.leadingZero = true;
  f.markerFirst = true;
  f.separator = ":";
  f.am = "AM";
  f.pm = "PM";
  return f;
}

// h:m:s on a winter day, away from any daylight-saving change.
inline struct tm At(int h, int m, int s) {
  struct tm t {};
  t.tm_year = 124;
  t.tm_mon = 0;
  t.tm_mday = 15;
  t.tm_hour = h;
  t.tm_min = m;
  t.tm_sec = s;
  t.tm_isdst = -1;
  return t;
}

inline time_t LocalTime(int h, int m, int s) {
  struct tm t = At(h, m, s);
  return mktime(&t);
}

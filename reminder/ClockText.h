// The clock's time text and the hours it reminds at. No window system here.
#pragma once
#include <ctime>
#include <string>
#include <string_view>

#include "SysInfo.h"

// The twelve odd full hours as the clock's text reads under the one locale format that can match.
extern const char* const kReminderTimes[12];

// True when `text` equals one of kReminderTimes, byte for byte.
bool IsReminderTime(std::string_view text);

// The user's long time format with its markers in Big5, the encoding every text of the program
// is in. The locale gives them in its own character set.
TimeFormat LongTimeFormat();

// The marker text `s`, given in the character set `codeset`, in Big5; unconvertible input is
// kept as it is.
std::string MarkerToBig5(const std::string& s, const char* codeset);

// The time text for `t` in local time.
std::string TimeText(const TimeFormat& format, time_t t);

using ClockFn = time_t (*)();
time_t SystemNow();

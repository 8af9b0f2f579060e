// The clock's time text under several locale formats, and which texts are reminder times.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "ClockText.h"
#include "ClockTestUtil.h"

namespace {

// The seconds of one day whose text is a reminder time.
int RemindersInADay(const TimeFormat& f) {
  int n = 0;
  for (int s = 0; s < 86400; ++s)
    n += IsReminderTime(FormatLongTime(f, At(s / 3600, s / 60 % 60, s % 60)));
  return n;
}

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value, 1);
  }
  ~ScopedEnv() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace

TEST(ClockText, FollowsTheLocaleFormat) {
  const TimeFormat req = Required();
  EXPECT_EQ(FormatLongTime(req, At(13, 0, 0)), "PM 01:00:00");
  EXPECT_EQ(FormatLongTime(req, At(0, 0, 0)), "AM 12:00:00");
  EXPECT_EQ(FormatLongTime(req, At(12, 0, 0)), "PM 12:00:00");
  EXPECT_EQ(FormatLongTime(req, At(9, 5, 7)), "AM 09:05:07");

  EXPECT_EQ(FormatLongTime(ParseTimeFormat("%H:%M:%S", "", "", ""), At(13, 0, 0)), "13:00:00");
  EXPECT_EQ(FormatLongTime(ParseTimeFormat("%l:%M:%S %p", "", "AM", "PM"), At(13, 0, 0)),
            "1:00:00 PM");
  EXPECT_EQ(FormatLongTime(ParseTimeFormat("%r", "%I.%M.%S %p", "", ""), At(1, 2, 3)),
            "01.02.03 am");
}

TEST(ClockText, TextOfAMomentIsItsLocalTime) {
  EXPECT_EQ(TimeText(Required(), LocalTime(15, 4, 5)), "PM 03:04:05");
}

TEST(ReminderTimes, OnlyTheOddFullHoursUnderTheOneMatchingFormat) {
  const TimeFormat req = Required();
  for (int h = 0; h < 24; ++h) {
    const bool odd = h % 2 == 1;
    EXPECT_EQ(IsReminderTime(FormatLongTime(req, At(h, 0, 0))), odd) << h;
    EXPECT_FALSE(IsReminderTime(FormatLongTime(req, At(h, 0, 1)))) << h;
    EXPECT_FALSE(IsReminderTime(FormatLongTime(req, At(h, 59, 59)))) << h;
  }
  EXPECT_EQ(RemindersInADay(req), 12);
}

TEST(ReminderTimes, NeverUnderAnyOtherFormat) {
  struct Case {
    const char* what;
    TimeFormat format;
  };
  auto with = [](auto change) {
    TimeFormat f = Required();
    change(f);
    return f;
  };
  const Case cases[] = {
      {"24-hour clock", with([](TimeFormat& f) { f.hour12 = false; })},
      {"lower-case markers", with([](TimeFormat& f) { f.am = "am", f.pm = "pm"; })},
      {"a Chinese locale's markers", with([](TimeFormat& f) { f.am = "上午", f.pm = "下午"; })},
      {"marker after the time", with([](TimeFormat& f) { f.markerFirst = false; })},
      {"dot separator", with([](TimeFormat& f) { f.separator = std::string(1, '.'); })},
  };
  for (const Case& c : cases) EXPECT_EQ(RemindersInADay(c.format), 0) << c.what;

  // Without the leading zero only the hours that have two digits anyway still match.
  const TimeFormat noZero = with([](TimeFormat& f) { f.leadingZero = false; });
  EXPECT_EQ(RemindersInADay(noZero), 2);
  EXPECT_TRUE(IsReminderTime(FormatLongTime(noZero, At(23, 0, 0))));
  EXPECT_FALSE(IsReminderTime(FormatLongTime(noZero, At(21, 0, 0))));
}

TEST(LongTimeFormat, MarkersFromAUtf8LocaleBecomeBig5) {
  EXPECT_EQ(MarkerToBig5(reinterpret_cast<const char*>(u8"下午"), "UTF-8"), "下午");
  EXPECT_EQ(MarkerToBig5("PM", "UTF-8"), "PM");
  EXPECT_EQ(MarkerToBig5("下午", "BIG5"), "下午");           // already Big5
  EXPECT_EQ(MarkerToBig5("\xFF\xFE", "UTF-8"), "\xFF\xFE");  // not convertible: kept
  EXPECT_EQ(MarkerToBig5("x\xC3\xA9", "NO-SUCH-CHARSET"), "x\xC3\xA9");
}

TEST(LongTimeFormat, OverrideFromTheEnvironmentGivesTheMatchingFormat) {
  ScopedEnv pattern("TAVEX_TIME_FORMAT", "%p %I:%M:%S");
  ScopedEnv am("TAVEX_TIME_AM", "AM");
  ScopedEnv pm("TAVEX_TIME_PM", "PM");
  EXPECT_EQ(LongTimeFormat(), Required());
}

TEST(LongTimeFormat, OverrideMarkersInUtf8AreShownInBig5) {
  ScopedEnv all("LC_ALL", "C.UTF-8");
  ScopedEnv pattern("TAVEX_TIME_FORMAT", "%p %I:%M:%S");
  ScopedEnv am("TAVEX_TIME_AM", reinterpret_cast<const char*>(u8"上午"));
  ScopedEnv pm("TAVEX_TIME_PM", reinterpret_cast<const char*>(u8"下午"));
  const TimeFormat f = LongTimeFormat();
  EXPECT_EQ(f.am, "上午");
  EXPECT_EQ(f.pm, "下午");
  EXPECT_EQ(FormatLongTime(f, At(13, 0, 0)), "下午 01:00:00");
}

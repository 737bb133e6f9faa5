// The POSIX clock's locale formats, checked against the C library's own rendering: what the
// engine builds from the derived settings must read as strftime writes the same format.
#include "platform/clock_posix.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <string>

#include "search/detection_text.h"

namespace velmora::platform {
namespace {

// The formats under test are data, not literals.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
std::string Strftime(const std::string& format, const struct tm& when) {
  char text[128];
  const std::size_t length = ::strftime(text, sizeof text, format.c_str(), &when);
  return std::string(text, length);
}
#pragma GCC diagnostic pop

struct tm At(int year, int month, int day, int hour, int minute, int second) {
  struct tm when {};
  when.tm_year = year - 1900;
  when.tm_mon = month - 1;
  when.tm_mday = day;
  when.tm_hour = hour;
  when.tm_min = minute;
  when.tm_sec = second;
  ::timegm(&when);  // fills in the weekday
  return when;
}

LocalTime FromTm(const struct tm& when) {
  return {when.tm_year + 1900, when.tm_mon + 1, when.tm_mday, when.tm_wday,
          when.tm_hour,        when.tm_min,     when.tm_sec};
}

// Names as the C locale gives them, which strftime uses here too.
DateTimeFormats CLocaleNames() {
  DateTimeFormats formats;
  for (int i = 0; i < 12; ++i) {
    const struct tm month = At(2026, i + 1, 1, 0, 0, 0);
    formats.month_names[i] = Strftime("%B", month);
    formats.abbreviated_month_names[i] = Strftime("%b", month);
  }
  for (int i = 0; i < 7; ++i) {
    const struct tm day = At(2026, 12, 6 + i, 0, 0, 0);  // 6 December 2026 is a Sunday
    formats.day_names[i] = Strftime("%A", day);
    formats.abbreviated_day_names[i] = Strftime("%a", day);
  }
  return formats;
}

TEST(ClockPosix, LongTimeReadsAsTheLocaleTimeFormatWrites) {
  const char* formats[] = {"%H:%M:%S", "%T",          "%r",           "%I:%M:%S %p", "%p %I:%M:%S",
                           "%k.%M.%S", "%l:%M:%S %p", "%-I:%M:%S %p", "%OH:%M:%S"};
  const struct tm times[] = {At(2026, 12, 6, 0, 5, 9), At(2026, 12, 6, 9, 3, 22),
                             At(2026, 12, 6, 12, 0, 0), At(2026, 12, 6, 21, 45, 7)};
  for (const char* format : formats) {
    DateTimeFormats settings;
    settings.am_designator = "AM";
    settings.pm_designator = "PM";
    ApplyStrftimeTimeFormat(format, "%I:%M:%S %p", settings);
    for (const struct tm& when : times) {
      std::string expected = Strftime(format, when);
      // strftime pads %k and %l with a blank; the locale's hour simply has no leading zero.
      if (!expected.empty() && expected[0] == ' ') expected.erase(0, 1);
      EXPECT_EQ(search::FormatLongTime(FromTm(when), settings), expected)
          << format << " at " << when.tm_hour << ":" << when.tm_min;
    }
  }
}

TEST(ClockPosix, ShortDateReadsAsTheLocaleDateFormatWrites) {
  const char* formats[] = {"%m/%d/%y",   "%d.%m.%Y",         "%Y-%m-%d",     "%F",
                           "%D",         "%e %b %Y",         "%A, %d %B %Y", "%d de %B",
                           "%-d/%-m/%Y", "%Y\xE5\xB9\xB4%m", "it's %d",      "100%% %d"};
  const struct tm dates[] = {At(2026, 12, 6, 0, 0, 0), At(2005, 3, 4, 0, 0, 0)};
  DateTimeFormats settings = CLocaleNames();
  for (const char* format : formats) {
    settings.short_date_pattern = ShortDatePatternFromStrftime(format);
    for (const struct tm& when : dates) {
      std::string expected = Strftime(format, when);
      if (std::string(format).rfind("%e", 0) == 0 && expected[0] == ' ') expected.erase(0, 1);
      EXPECT_EQ(search::FormatShortDate(FromTm(when), settings), expected)
          << format << " gave pattern " << settings.short_date_pattern;
    }
  }
}

TEST(ClockPosix, ReadsTheLocaleTheEnvironmentNamesAndTheLocalTime) {
  const char* saved = std::getenv("LC_ALL");
  const std::string restore = saved ? saved : "";
  ::setenv("LC_ALL", "C", 1);
  PosixClock clock;
  saved ? ::setenv("LC_ALL", restore.c_str(), 1) : ::unsetenv("LC_ALL");

  const DateTimeFormats formats = clock.Formats();
  EXPECT_FALSE(formats.twelve_hour_clock);
  EXPECT_TRUE(formats.hour_leading_zero);
  EXPECT_EQ(formats.time_separator, ":");
  EXPECT_EQ(formats.short_date_pattern, "MM/dd/yy");
  EXPECT_EQ(formats.month_names[11], "December");
  EXPECT_EQ(formats.abbreviated_day_names[0], "Sun");

  const time_t before = ::time(nullptr);
  const LocalTime now = clock.Now();
  struct tm expected {};
  ::localtime_r(&before, &expected);
  EXPECT_EQ(now.year, expected.tm_year + 1900);
  EXPECT_EQ(now.day_of_week, expected.tm_wday);
  const int seconds = now.hour * 3600 + now.minute * 60 + now.second;
  const int expected_seconds = expected.tm_hour * 3600 + expected.tm_min * 60 + expected.tm_sec;
  EXPECT_LE(seconds - expected_seconds, 2);
}

}  // namespace
}  // namespace velmora::platform

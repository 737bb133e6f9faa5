// The win32 clock's locale settings, checked against the platform's own rendering: the long
// time and short date built from them must read as GetTimeFormatA and GetDateFormatA write
// them for the same locale.
#include "platform/clock_win32.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "search/detection_text.h"

namespace velmora::platform {
namespace {

std::string PlatformTime(LCID locale, const SYSTEMTIME& when) {
  char text[128] = {};
  ::GetTimeFormatA(locale, 0, &when, nullptr, text, sizeof text);
  return text;
}

std::string PlatformShortDate(LCID locale, const SYSTEMTIME& when) {
  char text[128] = {};
  ::GetDateFormatA(locale, DATE_SHORTDATE, &when, nullptr, text, sizeof text);
  return text;
}

LocalTime FromSystemTime(const SYSTEMTIME& when) {
  return {when.wYear, when.wMonth,  when.wDay,   when.wDayOfWeek,
          when.wHour, when.wMinute, when.wSecond};
}

TEST(ClockWin32, TimeAndDateReadAsThePlatformFormatsThemInEveryLocale) {
  const LCID locales[] = {
      LOCALE_USER_DEFAULT,
      MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT),
      MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK), SORT_DEFAULT),
      MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT),
      MAKELCID(MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), SORT_DEFAULT),
      MAKELCID(MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN), SORT_DEFAULT),  // designator first
      MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), SORT_DEFAULT),
      MAKELCID(MAKELANGID(LANG_FINNISH, SUBLANG_FINNISH_FINLAND), SORT_DEFAULT),  // "." separator
  };
  // Sunday 6 December 2026, morning and evening; a single-digit day and month too.
  const SYSTEMTIME times[] = {
      {2026, 12, 0, 6, 9, 3, 22, 0}, {2026, 12, 0, 6, 21, 45, 7, 0}, {2005, 3, 5, 4, 0, 5, 9, 0}};
  for (const LCID locale : locales) {
    Win32Clock clock(locale);
    const DateTimeFormats formats = clock.Formats();
    for (const SYSTEMTIME& when : times) {
      const LocalTime local = FromSystemTime(when);
      EXPECT_EQ(search::FormatLongTime(local, formats), PlatformTime(locale, when))
          << "locale " << locale << " hour " << when.wHour;
      EXPECT_EQ(search::FormatShortDate(local, formats), PlatformShortDate(locale, when))
          << "locale " << locale << " pattern " << formats.short_date_pattern;
    }
  }
}

TEST(ClockWin32, NowIsTheLocalTime) {
  SYSTEMTIME before;
  ::GetLocalTime(&before);
  const LocalTime now = Win32Clock().Now();
  EXPECT_EQ(now.year, before.wYear);
  EXPECT_EQ(now.day_of_week, before.wDayOfWeek);
  const int seconds = now.hour * 3600 + now.minute * 60 + now.second;
  const int expected = before.wHour * 3600 + before.wMinute * 60 + before.wSecond;
  EXPECT_LE(seconds - expected, 2);
}

}  // namespace
}  // namespace velmora::platform

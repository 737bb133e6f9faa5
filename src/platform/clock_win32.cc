#include "platform/clock_win32.h"

#include <windows.h>

#include <string>

#include "platform/locale_info_win32.h"

namespace velmora::platform {

LocalTime Win32Clock::Now() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wDayOfWeek, now.wHour, now.wMinute, now.wSecond};
}

DateTimeFormats Win32Clock::Formats() {
  DateTimeFormats formats;
  formats.hour_leading_zero = LocaleInfo(locale_, LOCALE_ITLZERO) == "1";
  formats.time_separator = LocaleInfo(locale_, LOCALE_STIME);
  formats.twelve_hour_clock = LocaleInfo(locale_, LOCALE_ITIME) == "0";
  formats.am_designator = LocaleInfo(locale_, LOCALE_S1159);
  formats.pm_designator = LocaleInfo(locale_, LOCALE_S2359);
  formats.designator_before_time = LocaleInfo(locale_, LOCALE_ITIMEMARKPOSN) == "1";
  formats.short_date_pattern = LocaleInfo(locale_, LOCALE_SSHORTDATE);
  for (int i = 0; i < 12; ++i) {
    formats.month_names[i] = LocaleInfo(locale_, LOCALE_SMONTHNAME1 + i);
    formats.abbreviated_month_names[i] = LocaleInfo(locale_, LOCALE_SABBREVMONTHNAME1 + i);
  }
  // The platform counts weekdays from Monday; ours start on Sunday.
  for (int i = 0; i < 7; ++i) {
    formats.day_names[(i + 1) % 7] = LocaleInfo(locale_, LOCALE_SDAYNAME1 + i);
    formats.abbreviated_day_names[(i + 1) % 7] = LocaleInfo(locale_, LOCALE_SABBREVDAYNAME1 + i);
  }
  return formats;
}

}  // namespace velmora::platform

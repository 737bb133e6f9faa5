#include "search/detection_text.h"

#include <cstddef>
#include <string>

namespace velmora::search {
namespace {

void AppendNumber(std::string& out, int value, int min_digits) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < min_digits) {
    out.append(static_cast<std::size_t>(min_digits) - digits.size(), '0');
  }
  out += digits;
}

// Names are looked up defensively: a reading outside its range yields no text, not a crash.
const std::string& NameAt(const std::string* names, std::size_t count, int index) {
  static const std::string kNone;
  return index >= 0 && static_cast<std::size_t>(index) < count ? names[index] : kNone;
}

void AppendDay(std::string& out, const platform::LocalTime& date,
               const platform::DateTimeFormats& formats, std::size_t run) {
  if (run <= 2) {
    AppendNumber(out, date.day, static_cast<int>(run));
  } else {
    const auto& names = run == 3 ? formats.abbreviated_day_names : formats.day_names;
    out += NameAt(names.data(), names.size(), date.day_of_week);
  }
}

void AppendMonth(std::string& out, const platform::LocalTime& date,
                 const platform::DateTimeFormats& formats, std::size_t run) {
  if (run <= 2) {
    AppendNumber(out, date.month, static_cast<int>(run));
  } else {
    const auto& names = run == 3 ? formats.abbreviated_month_names : formats.month_names;
    out += NameAt(names.data(), names.size(), date.month - 1);
  }
}

void AppendYear(std::string& out, const platform::LocalTime& date, std::size_t run) {
  if (run <= 2) {
    AppendNumber(out, date.year % 100, static_cast<int>(run));
  } else {
    AppendNumber(out, date.year, 4);
  }
}

}  // namespace

std::string FormatLongTime(const platform::LocalTime& time,
                           const platform::DateTimeFormats& formats) {
  int hour = time.hour;
  if (formats.twelve_hour_clock) {
    hour %= 12;
    if (hour == 0) hour = 12;
  }
  std::string clock;
  AppendNumber(clock, hour, formats.hour_leading_zero ? 2 : 1);
  clock += formats.time_separator;
  AppendNumber(clock, time.minute, 2);
  clock += formats.time_separator;
  AppendNumber(clock, time.second, 2);
  if (!formats.twelve_hour_clock) return clock;

  const std::string& designator = time.hour < 12 ? formats.am_designator : formats.pm_designator;
  // A locale without designators gets none, and no blank for one.
  if (designator.empty()) return clock;
  return formats.designator_before_time ? designator + ' ' + clock : clock + ' ' + designator;
}

std::string FormatShortDate(const platform::LocalTime& date,
                            const platform::DateTimeFormats& formats) {
  const std::string& pattern = formats.short_date_pattern;
  std::string out;
  std::size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    if (c == '\'') {
      // Quoted text up to the closing quote; a doubled quote stands for one quote.
      ++i;
      while (i < pattern.size()) {
        if (pattern[i] == '\'') {
          if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
            out += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        out += pattern[i++];
      }
      continue;
    }
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    switch (c) {
      case 'd':
        AppendDay(out, date, formats, run);
        break;
      case 'M':
        AppendMonth(out, date, formats, run);
        break;
      case 'y':
        AppendYear(out, date, run);
        break;
      case 'g':
        break;
      default:
        out.append(run, c);
        break;
    }
    i += run;
  }
  return out;
}

std::string DetectionText(const platform::LocalTime& time_reading,
                          const platform::LocalTime& date_reading,
                          const platform::DateTimeFormats& formats) {
  return "T : " + FormatLongTime(time_reading, formats) +
         " D  : " + FormatShortDate(date_reading, formats);
}

}  // namespace velmora::search

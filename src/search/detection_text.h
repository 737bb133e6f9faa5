#ifndef VELMORA_SEARCH_DETECTION_TEXT_H_
#define VELMORA_SEARCH_DETECTION_TEXT_H_

#include <string>

#include "platform/clock.h"

namespace velmora::search {

// The time in the locale's long time format: the hour (two digits only when the locale asks
// for a leading zero; 1 to 12 on a 12-hour clock), then minutes and seconds of two digits,
// joined by the locale's separator; a 12-hour clock adds its AM or PM designator after the
// time or before it, as the locale places it, with a blank between.
std::string FormatLongTime(const platform::LocalTime& time,
                           const platform::DateTimeFormats& formats);

// The date in the locale's short date pattern: d and dd the day (dd with a leading zero), ddd
// and dddd its abbreviated and full weekday name; M, MM, MMM and MMMM the month likewise; y and
// yy the year within its century (yy with a leading zero), three or more y the full year. Text
// in single quotes ('' for a quote) and every other character are copied; era letters (g) are
// dropped, as this program only shows the Gregorian calendar.
std::string FormatShortDate(const platform::LocalTime& date,
                            const platform::DateTimeFormats& formats);

// "T : " time " D  : " date, from two separate clock readings: the time from the first and the
// date from the second, as they were taken.
std::string DetectionText(const platform::LocalTime& time_reading,
                          const platform::LocalTime& date_reading,
                          const platform::DateTimeFormats& formats);

}  // namespace velmora::search

#endif  // VELMORA_SEARCH_DETECTION_TEXT_H_

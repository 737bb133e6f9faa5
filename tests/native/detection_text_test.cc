#include "search/detection_text.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora::search {
namespace {

using platform::DateTimeFormats;
using platform::LocalTime;

DateTimeFormats TwentyFourHour(const std::string& date_pattern, bool leading_zero = false,
                               const std::string& separator = ":") {
  DateTimeFormats formats;
  formats.hour_leading_zero = leading_zero;
  formats.time_separator = separator;
  formats.short_date_pattern = date_pattern;
  return formats;
}

DateTimeFormats TwelveHour(bool leading_zero, bool designator_first, const std::string& am = "AM",
                           const std::string& pm = "PM") {
  DateTimeFormats formats = TwentyFourHour("M/d/yyyy", leading_zero);
  formats.twelve_hour_clock = true;
  formats.am_designator = am;
  formats.pm_designator = pm;
  formats.designator_before_time = designator_first;
  return formats;
}

constexpr LocalTime kSundayMorning{2026, 12, 6, 0, 9, 3, 22};

TEST(DetectionText, JoinsTimeAndDateInTheLocaleFormats) {
  struct Case {
    const char* locale;
    DateTimeFormats formats;
    LocalTime time;
    std::string expected;
  };
  const Case cases[] = {
      {"24-hour, no leading zero", TwentyFourHour("dd/MM/yyyy"), kSundayMorning,
       "T : 9:03:22 D  : 06/12/2026"},
      {"24-hour, leading zero, dots", TwentyFourHour("d.M.yy", true, "."), kSundayMorning,
       "T : 09.03.22 D  : 6.12.26"},
      {"24-hour evening",
       TwentyFourHour("yyyy-MM-dd"),
       {2026, 1, 2, 5, 21, 0, 5},
       "T : 21:00:05 D  : 2026-01-02"},
      {"12-hour morning", TwelveHour(false, false), kSundayMorning,
       "T : 9:03:22 AM D  : 12/6/2026"},
      {"12-hour evening",
       TwelveHour(false, false),
       {2026, 12, 6, 0, 21, 3, 22},
       "T : 9:03:22 PM D  : 12/6/2026"},
      {"12-hour midnight",
       TwelveHour(false, false),
       {2026, 12, 6, 0, 0, 5, 0},
       "T : 12:05:00 AM D  : 12/6/2026"},
      {"12-hour noon",
       TwelveHour(true, false),
       {2026, 12, 6, 0, 12, 0, 0},
       "T : 12:00:00 PM D  : 12/6/2026"},
      {"12-hour, leading zero",
       TwelveHour(true, false),
       {2026, 12, 6, 0, 13, 7, 9},
       "T : 01:07:09 PM D  : 12/6/2026"},
      {"12-hour, designator first",
       TwelveHour(false, true, "vorm.", "nachm."),
       {2026, 12, 6, 0, 15, 30, 0},
       "T : nachm. 3:30:00 D  : 12/6/2026"},
      {"12-hour without designators", TwelveHour(false, false, "", ""), kSundayMorning,
       "T : 9:03:22 D  : 12/6/2026"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DetectionText(c.time, c.time, c.formats), c.expected) << c.locale;
  }
}

TEST(DetectionText, ShortDatePatternsWithNamesQuotesAndShortYears) {
  DateTimeFormats formats;
  formats.month_names[11] = "December";
  formats.abbreviated_month_names[11] = "Dec";
  formats.day_names[0] = "Sunday";
  formats.abbreviated_day_names[0] = "Sun";
  struct Case {
    std::string pattern;
    LocalTime date;
    std::string expected;
  };
  const Case cases[] = {
      {"dd-MMM-yy", kSundayMorning, "06-Dec-26"},
      {"dddd, d MMMM yyyy", kSundayMorning, "Sunday, 6 December 2026"},
      {"ddd d/M", kSundayMorning, "Sun 6/12"},
      {"d 'de' MMMM", kSundayMorning, "6 de December"},
      {"yyyy'y'MM'M'", kSundayMorning, "2026y12M"},
      {"dd''MM", kSundayMorning, "0612"},       // an empty quoted text
      {"'it''s' d", kSundayMorning, "it's 6"},  // a doubled quote inside quotes
      {"d/M/y", {2005, 3, 4, 5, 0, 0, 0}, "4/3/5"},
      {"dd/MM/yy", {2005, 3, 4, 5, 0, 0, 0}, "04/03/05"},
      {"yyyy", {987, 1, 1, 0, 0, 0, 0}, "0987"},
      {"gg yyyy", kSundayMorning, " 2026"},
      {"'unterminated", kSundayMorning, "unterminated"},
  };
  for (const Case& c : cases) {
    formats.short_date_pattern = c.pattern;
    EXPECT_EQ(FormatShortDate(c.date, formats), c.expected) << c.pattern;
  }
}

TEST(DetectionText, TimeComesFromTheFirstReadingAndDateFromTheSecond) {
  const LocalTime before_midnight{2026, 12, 6, 0, 23, 59, 59};
  const LocalTime after_midnight{2026, 12, 7, 1, 0, 0, 0};
  EXPECT_EQ(DetectionText(before_midnight, after_midnight, TwentyFourHour("dd/MM/yyyy")),
            "T : 23:59:59 D  : 07/12/2026");
}

}  // namespace
}  // namespace velmora::search

#ifndef VELMORA_PLATFORM_CLOCK_H_
#define VELMORA_PLATFORM_CLOCK_H_

#include <array>
#include <string>

namespace velmora::platform {

// A reading of the local wall clock.
struct LocalTime {
  int year = 0;
  int month = 1;        // 1 to 12
  int day = 1;          // 1 to 31
  int day_of_week = 0;  // 0 Sunday to 6 Saturday
  int hour = 0;         // 0 to 23
  int minute = 0;
  int second = 0;
};

// The user's locale settings that the long time and short date texts are built from.
struct DateTimeFormats {
  bool hour_leading_zero = false;
  std::string time_separator = ":";
  bool twelve_hour_clock = false;
  std::string am_designator = "AM";
  std::string pm_designator = "PM";
  bool designator_before_time = false;
  // Letters d, M and y build the date ("dd/MM/yyyy"); text in single quotes is copied as is.
  std::string short_date_pattern = "dd/MM/yyyy";
  std::array<std::string, 12> month_names;  // January first
  std::array<std::string, 12> abbreviated_month_names;
  std::array<std::string, 7> day_names;  // Sunday first
  std::array<std::string, 7> abbreviated_day_names;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
  // Read from the user's locale as it is set now.
  virtual DateTimeFormats Formats() = 0;
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_CLOCK_H_

#ifndef VELMORA_PLATFORM_CLOCK_POSIX_H_
#define VELMORA_PLATFORM_CLOCK_POSIX_H_

#include <locale.h>

#include <string>

#include "platform/clock.h"

namespace velmora::platform {

// The C library's local time, and the time formats of the locale that the environment selects
// for LC_TIME (LC_ALL, LC_TIME, LANG), read without changing the program's own locale.
class PosixClock : public Clock {
 public:
  PosixClock();
  ~PosixClock() override;
  PosixClock(const PosixClock&) = delete;
  PosixClock& operator=(const PosixClock&) = delete;

  LocalTime Now() override;
  DateTimeFormats Formats() override;

 private:
  locale_t locale_;
};

// The long time settings a strftime time format implies (T_FMT, say): the hour conversion
// decides the clock (%H and %k 24-hour, %I and %l 12-hour) and the leading zero (%H and %I),
// the text after it the separator, and %p before it puts the designator first. %T, %R and %r
// (which stands for `ampm_format`) are expanded first.
void ApplyStrftimeTimeFormat(const std::string& format, const std::string& ampm_format,
                             DateTimeFormats& formats);

// The short date pattern that a strftime date format (D_FMT) stands for: "%m/%d/%y" gives
// "MM/dd/yy". Letters outside conversions are quoted; unknown conversions are dropped.
std::string ShortDatePatternFromStrftime(const std::string& format);

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_CLOCK_POSIX_H_

#ifndef VELMORA_PLATFORM_CLOCK_WIN32_H_
#define VELMORA_PLATFORM_CLOCK_WIN32_H_

#include <windows.h>

#include "platform/clock.h"

namespace velmora::platform {

// GetLocalTime, and the time and date settings of a locale: the user's own unless told which.
class Win32Clock : public Clock {
 public:
  explicit Win32Clock(LCID locale = LOCALE_USER_DEFAULT) : locale_(locale) {}

  LocalTime Now() override;
  DateTimeFormats Formats() override;

 private:
  LCID locale_;
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_CLOCK_WIN32_H_

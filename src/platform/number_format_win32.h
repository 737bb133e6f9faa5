#ifndef VELMORA_PLATFORM_NUMBER_FORMAT_WIN32_H_
#define VELMORA_PLATFORM_NUMBER_FORMAT_WIN32_H_

#include <windows.h>

#include "platform/number_format.h"

namespace velmora::platform {

// The number settings of a locale: the user's own unless told which.
class Win32NumberFormat : public NumberFormat {
 public:
  explicit Win32NumberFormat(LCID locale = LOCALE_USER_DEFAULT) : locale_(locale) {}

  std::string ThousandsSeparator() override;

 private:
  LCID locale_;
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_NUMBER_FORMAT_WIN32_H_

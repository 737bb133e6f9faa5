#include "platform/number_format_win32.h"

#include "platform/locale_info_win32.h"

namespace velmora::platform {

std::string Win32NumberFormat::ThousandsSeparator() {
  return LocaleInfo(locale_, LOCALE_STHOUSAND);
}

}  // namespace velmora::platform

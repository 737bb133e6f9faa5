#include "platform/locale_info_win32.h"

namespace velmora::platform {

std::string LocaleInfo(LCID locale, LCTYPE type) {
  const int size = ::GetLocaleInfoA(locale, type, nullptr, 0);
  if (size <= 0) return std::string();
  std::string text(static_cast<std::size_t>(size), '\0');
  const int written = ::GetLocaleInfoA(locale, type, text.data(), size);
  text.resize(written > 0 ? static_cast<std::size_t>(written) - 1 : 0);  // drop the NUL
  return text;
}

}  // namespace velmora::platform

#ifndef VELMORA_PLATFORM_LOCALE_INFO_WIN32_H_
#define VELMORA_PLATFORM_LOCALE_INFO_WIN32_H_

#include <windows.h>

#include <string>

namespace velmora::platform {

// One setting of a locale as ANSI text; empty when the platform has none.
std::string LocaleInfo(LCID locale, LCTYPE type);

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_LOCALE_INFO_WIN32_H_

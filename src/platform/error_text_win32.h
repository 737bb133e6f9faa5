#ifndef VELMORA_PLATFORM_ERROR_TEXT_WIN32_H_
#define VELMORA_PLATFORM_ERROR_TEXT_WIN32_H_

#include <string>

namespace velmora::platform {

// The platform's own words for a system error code, without the trailing full stop and line
// break ("Access is denied"); "error N" when it has none.
std::string ErrorText(unsigned long error);

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_ERROR_TEXT_WIN32_H_

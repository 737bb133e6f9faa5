#include "platform/error_text_win32.h"

#include <windows.h>

namespace velmora::platform {

std::string ErrorText(unsigned long error) {
  char text[256] = {};
  const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, text, sizeof text, nullptr);
  std::string reason(text, length);
  while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' ||
                             reason.back() == ' ' || reason.back() == '.')) {
    reason.pop_back();
  }
  return reason.empty() ? "error " + std::to_string(error) : reason;
}

}  // namespace velmora::platform

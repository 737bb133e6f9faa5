#include "platform/shell_win32.h"

#include <windows.h>
#include <shellapi.h>

namespace velmora::platform {

void Win32Shell::Execute(const std::string& verb, const std::string& file,
                         const std::string& parameters) {
  ::ShellExecuteA(nullptr, verb.c_str(), file.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

}  // namespace velmora::platform

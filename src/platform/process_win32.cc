#include "platform/process_win32.h"

#include <windows.h>

#include <string>
#include <utility>

namespace velmora::platform {

bool Win32Process::CreateRunningMarker(const std::string& name) {
  UniqueKernelHandle mutex(::CreateMutexA(nullptr, FALSE, name.c_str()));
  // Read at once: closing a handle may change the thread's last error.
  const DWORD error = ::GetLastError();
  // Opening an existing mutex still yields a handle; dropping it leaves the other copy's
  // marker as it was.
  if (!mutex || error == ERROR_ALREADY_EXISTS) return false;
  markers_.push_back(std::move(mutex));
  return true;
}

std::string Win32Process::ExecutablePath() const { return ModuleFileName(nullptr); }

std::string ModuleFileName(HMODULE module) {
  // Paths may exceed MAX_PATH (up to 32767 characters, more bytes in a multi-byte code page).
  // A result that fills the whole buffer may have been cut short, without a NUL, so grow
  // until it fits with room to spare.
  constexpr DWORD kLimit = 1 << 17;
  for (DWORD size = MAX_PATH; size <= kLimit; size *= 2) {
    std::string path(size, '\0');
    const DWORD length = ::GetModuleFileNameA(module, path.data(), size);
    if (length == 0) return std::string();
    if (length < size) {
      path.resize(length);
      return path;
    }
  }
  return std::string();
}

}  // namespace velmora::platform

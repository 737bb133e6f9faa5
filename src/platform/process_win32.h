#ifndef VELMORA_PLATFORM_PROCESS_WIN32_H_
#define VELMORA_PLATFORM_PROCESS_WIN32_H_

#include <windows.h>

#include <string>
#include <vector>

#include "platform/process.h"
#include "platform/unique_handle_win32.h"

namespace velmora::platform {

// The current Win32 process. Markers live exactly as long as this object holds their mutex
// handles, so the program keeps one instance alive for its whole run.
class Win32Process : public Process {
 public:
  Win32Process() = default;
  Win32Process(const Win32Process&) = delete;
  Win32Process& operator=(const Win32Process&) = delete;

  bool CreateRunningMarker(const std::string& name) override;
  std::string ExecutablePath() const override;

 private:
  std::vector<UniqueKernelHandle> markers_;
};

// The full path of the file a loaded module came from, however long; null means the program's
// executable. Empty on failure.
std::string ModuleFileName(HMODULE module);

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_PROCESS_WIN32_H_

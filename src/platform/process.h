#ifndef VELMORA_PLATFORM_PROCESS_H_
#define VELMORA_PLATFORM_PROCESS_H_

#include <string>

namespace velmora::platform {

// The running program as the operating system sees it.
class Process {
 public:
  virtual ~Process() = default;

  // Creates the named system-wide marker (a mutex: no security attributes, not initially
  // owned) that tells later copies this program is already running, and holds it until the
  // process ends. False when a marker of that name already existed, or when none could be
  // created; then nothing is held. Names are case-sensitive.
  virtual bool CreateRunningMarker(const std::string& name) = 0;

  // The full path of the running program's executable, as the platform reports it; empty if
  // the platform cannot say.
  virtual std::string ExecutablePath() const = 0;
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_PROCESS_H_

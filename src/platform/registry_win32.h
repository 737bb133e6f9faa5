#ifndef VELMORA_PLATFORM_REGISTRY_WIN32_H_
#define VELMORA_PLATFORM_REGISTRY_WIN32_H_

#include <memory>
#include <string>

#include "platform/registry.h"

namespace velmora::platform {

// The Windows registry through the ANSI API, in the process's own registry view.
class Win32Registry : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenKey(RootKey root, const std::string& path, bool create) override;
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_REGISTRY_WIN32_H_

#ifndef VELMORA_PLATFORM_REGISTRY_BACKEND_WIN32_H_
#define VELMORA_PLATFORM_REGISTRY_BACKEND_WIN32_H_

#include <memory>
#include <string>

#include "platform/registry_backend.h"

namespace velmora::platform {

// The Windows registry through the ANSI API, in the process's own registry view.
class Win32RegistryBackend : public RegistryBackend {
 public:
  std::unique_ptr<RegistryKey> OpenKey(RootKey root, const std::string& path, bool create) override;
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_REGISTRY_BACKEND_WIN32_H_

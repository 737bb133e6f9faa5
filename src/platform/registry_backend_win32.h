#ifndef VELMORA_PLATFORM_REGISTRY_BACKEND_WIN32_H_
#define VELMORA_PLATFORM_REGISTRY_BACKEND_WIN32_H_

#include <memory>
#include <string>

#include "platform/registry_backend.h"

namespace velmora::platform {

// The Windows registry through the ANSI API; OpenKey works in the process's own registry view.
class Win32RegistryBackend : public RegistryBackend {
 public:
  std::unique_ptr<RegistryKey> OpenKey(RootKey root, const std::string& path, bool create) override;
  std::unique_ptr<RegistryKey> OpenKeyInView(RootKey root, const std::string& path, bool create,
                                             RegistryView view) override;
  bool Is64BitWindows() const override;

 private:
  // view_flag: 0, KEY_WOW64_32KEY or KEY_WOW64_64KEY (a REGSAM bit).
  static std::unique_ptr<RegistryKey> Open(RootKey root, const std::string& path, bool create,
                                           unsigned long view_flag);
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_REGISTRY_BACKEND_WIN32_H_

#ifndef VELMORA_PLATFORM_SHELL_WIN32_H_
#define VELMORA_PLATFORM_SHELL_WIN32_H_

#include "platform/shell.h"

namespace velmora::platform {

class Win32Shell : public Shell {
 public:
  void Execute(const std::string& verb, const std::string& file,
               const std::string& parameters) override;
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_SHELL_WIN32_H_

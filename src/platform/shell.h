#ifndef VELMORA_PLATFORM_SHELL_H_
#define VELMORA_PLATFORM_SHELL_H_

#include <string>

namespace velmora::platform {

// Starts programs and documents the way the user's shell does.
class Shell {
 public:
  virtual ~Shell() = default;
  // Runs the verb ("Open") on the file with the parameters, in a normal window. Whether it
  // worked is not reported: the caller has nothing to do about it.
  virtual void Execute(const std::string& verb, const std::string& file,
                       const std::string& parameters) = 0;
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_SHELL_H_

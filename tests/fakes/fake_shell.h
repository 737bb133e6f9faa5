#ifndef VELMORA_TESTS_FAKES_FAKE_SHELL_H_
#define VELMORA_TESTS_FAKES_FAKE_SHELL_H_

#include <string>
#include <vector>

#include "platform/shell.h"

namespace velmora::fakes {

// Records what would have been started.
class FakeShell : public platform::Shell {
 public:
  struct Call {
    std::string verb;
    std::string file;
    std::string parameters;
  };

  void Execute(const std::string& verb, const std::string& file,
               const std::string& parameters) override {
    calls.push_back({verb, file, parameters});
  }

  std::vector<Call> calls;
};

}  // namespace velmora::fakes

#endif  // VELMORA_TESTS_FAKES_FAKE_SHELL_H_

#ifndef VELMORA_TESTS_FAKES_FAKE_NUMBER_FORMAT_H_
#define VELMORA_TESTS_FAKES_FAKE_NUMBER_FORMAT_H_

#include <string>
#include <utility>

#include "platform/number_format.h"

namespace velmora::fakes {

// A locale whose thousands separator the test chooses.
class FakeNumberFormat : public platform::NumberFormat {
 public:
  std::string ThousandsSeparator() override { return separator_; }
  void set_separator(std::string separator) { separator_ = std::move(separator); }

 private:
  std::string separator_ = ",";
};

}  // namespace velmora::fakes

#endif  // VELMORA_TESTS_FAKES_FAKE_NUMBER_FORMAT_H_

#ifndef VELMORA_PLATFORM_NUMBER_FORMAT_H_
#define VELMORA_PLATFORM_NUMBER_FORMAT_H_

#include <string>

namespace velmora::platform {

// The user's locale settings for writing numbers.
class NumberFormat {
 public:
  virtual ~NumberFormat() = default;
  // Put between groups of three digits ("," in English, "." in German); may be empty. Read
  // from the locale as it is set now.
  virtual std::string ThousandsSeparator() = 0;
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_NUMBER_FORMAT_H_

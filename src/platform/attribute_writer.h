#ifndef VELMORA_PLATFORM_ATTRIBUTE_WRITER_H_
#define VELMORA_PLATFORM_ATTRIBUTE_WRITER_H_

#include <cstdint>
#include <string>

namespace velmora::platform {

// Changes the attribute words of files and directories: only for a user's explicit request,
// never during a scan of the guard.
class AttributeWriter {
 public:
  virtual ~AttributeWriter() = default;
  // Gives the entry at `path` the read-only, hidden, system and archive bits of `attributes`
  // (the others are the platform's to keep). Returns why it could not, or empty when it did.
  virtual std::string SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_ATTRIBUTE_WRITER_H_

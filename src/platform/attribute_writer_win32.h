#ifndef VELMORA_PLATFORM_ATTRIBUTE_WRITER_WIN32_H_
#define VELMORA_PLATFORM_ATTRIBUTE_WRITER_WIN32_H_

#include "platform/attribute_writer.h"

namespace velmora::platform {

// SetFileAttributesA, keeping the bits other than read-only, hidden, system and archive that
// the entry has and that the call accepts. A reparse point (a link) is not changed.
class Win32AttributeWriter : public AttributeWriter {
 public:
  std::string SetAttributes(const std::string& path, std::uint32_t attributes) override;
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_ATTRIBUTE_WRITER_WIN32_H_

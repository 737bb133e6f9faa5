#ifndef VELMORA_PLATFORM_ATTRIBUTE_WRITER_WIN32_H_
#define VELMORA_PLATFORM_ATTRIBUTE_WRITER_WIN32_H_

#include <cstdint>

#include "platform/attribute_writer.h"

namespace velmora::platform {

// SetFileAttributesA, keeping the bits other than read-only, hidden, system and archive that
// the entry has and that the call accepts. A reparse point (a link) is not changed.
class Win32AttributeWriter : public AttributeWriter {
 public:
  std::string SetAttributes(const std::string& path, std::uint32_t attributes) override;
};

// The word SetFileAttributes must be given so that an entry whose word is `current` gets the
// read-only, hidden, system and archive bits of `attributes` and keeps the other bits the call
// takes. Never 0, which the call refuses.
unsigned long AttributeWordToSet(unsigned long current, std::uint32_t attributes);

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_ATTRIBUTE_WRITER_WIN32_H_

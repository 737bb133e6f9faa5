#ifndef VELMORA_PLATFORM_ATTRIBUTE_WRITER_POSIX_H_
#define VELMORA_PLATFORM_ATTRIBUTE_WRITER_POSIX_H_

#include "platform/attribute_writer.h"

namespace velmora::platform {

// Writes the word where ReadDosAttributes reads it: the FAT attribute ioctl on vfat, else the
// "user.DOSATTRIB" extended attribute in the plain form Wine writes. A value in Samba's binary
// record is left alone (rewriting part of it could leave a record Samba misreads), and so is a
// symbolic link.
class PosixAttributeWriter : public AttributeWriter {
 public:
  std::string SetAttributes(const std::string& path, std::uint32_t attributes) override;
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_ATTRIBUTE_WRITER_POSIX_H_

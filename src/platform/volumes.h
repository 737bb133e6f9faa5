#ifndef VELMORA_PLATFORM_VOLUMES_H_
#define VELMORA_PLATFORM_VOLUMES_H_

#include <cstdint>
#include <optional>
#include <string>

namespace velmora::platform {

// What the volume query tells about the volume mounted at a drive root.
struct VolumeInformation {
  std::string label;
  std::string file_system;  // "FAT32", "NTFS", ...
  std::uint32_t serial_number = 0;
};

// What kind of drive a letter names, by the platform's own codes.
enum class DriveType {
  kUnknown = 0,
  kNoRootDirectory = 1,  // nothing behind the letter
  kRemovable = 2,
  kFixed = 3,
  kRemote = 4,  // a network drive
  kOptical = 5,
  kRamDisk = 6,
};

// The volumes behind drive letters.
class Volumes {
 public:
  virtual ~Volumes() = default;
  // The kind of drive at `root` ("E:\"), whether or not a medium is in it.
  virtual DriveType Type(const std::string& root) = 0;
  // The volume at `root` ("E:\"); empty when there is none or it cannot be read (no medium
  // in a card reader, an unreadable disc).
  virtual std::optional<VolumeInformation> Query(const std::string& root) = 0;
  // The volume's size, and the free bytes the current user may use, of drive `drive_number`
  // (1 for A, 5 for E); -1 when the platform cannot say.
  virtual std::int64_t TotalBytes(int drive_number) = 0;
  virtual std::int64_t FreeBytes(int drive_number) = 0;
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_VOLUMES_H_

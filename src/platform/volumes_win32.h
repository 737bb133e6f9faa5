#ifndef VELMORA_PLATFORM_VOLUMES_WIN32_H_
#define VELMORA_PLATFORM_VOLUMES_WIN32_H_

#include "platform/volumes.h"

namespace velmora::platform {

// GetDriveTypeA, GetVolumeInformationA and GetDiskFreeSpaceExA. Every system that runs this program
// has the extended disk-space query, so the cluster-based one is never needed. An empty drive never
// brings up the platform's "insert a disk" box: the queries fail quietly.
class Win32Volumes : public Volumes {
 public:
  DriveType Type(const std::string& root) override;
  std::optional<VolumeInformation> Query(const std::string& root) override;
  std::int64_t TotalBytes(int drive_number) override;
  std::int64_t FreeBytes(int drive_number) override;
};

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_VOLUMES_WIN32_H_

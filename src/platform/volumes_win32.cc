#include "platform/volumes_win32.h"

#include <windows.h>

#include <limits>
#include <string>

namespace velmora::platform {
namespace {

// The volume query takes its buffer sizes as 260 characters, terminating zero included; one
// more is kept so that even a platform that writes the full size leaves a terminated text.
constexpr DWORD kQueryBufferSize = 260;

// While alive, a drive without a medium fails its queries instead of asking the user.
class CriticalErrorBoxesOff {
 public:
  CriticalErrorBoxesOff() : previous_(::SetErrorMode(SEM_FAILCRITICALERRORS)) {
    ::SetErrorMode(previous_ | SEM_FAILCRITICALERRORS);
  }
  ~CriticalErrorBoxesOff() { ::SetErrorMode(previous_); }
  CriticalErrorBoxesOff(const CriticalErrorBoxesOff&) = delete;
  CriticalErrorBoxesOff& operator=(const CriticalErrorBoxesOff&) = delete;

 private:
  UINT previous_;
};

struct DiskSpace {
  std::int64_t total = -1;
  std::int64_t free_to_user = -1;
};

std::int64_t AsSigned(ULONGLONG bytes) {
  return bytes > static_cast<ULONGLONG>(std::numeric_limits<std::int64_t>::max())
             ? std::numeric_limits<std::int64_t>::max()
             : static_cast<std::int64_t>(bytes);
}

DiskSpace QueryDiskSpace(int drive_number) {
  DiskSpace space;
  if (drive_number < 1 || drive_number > 26) return space;
  const char root[] = {static_cast<char>('A' + drive_number - 1), ':', '\\', '\0'};
  CriticalErrorBoxesOff quiet;
  ULARGE_INTEGER free_to_user{}, total{}, free_total{};
  if (::GetDiskFreeSpaceExA(root, &free_to_user, &total, &free_total)) {
    space.total = AsSigned(total.QuadPart);
    space.free_to_user = AsSigned(free_to_user.QuadPart);
  }
  return space;
}

}  // namespace

DriveType Win32Volumes::Type(const std::string& root) {
  CriticalErrorBoxesOff quiet;
  const UINT type = ::GetDriveTypeA(root.c_str());
  return type <= static_cast<UINT>(DriveType::kRamDisk) ? static_cast<DriveType>(type)
                                                        : DriveType::kUnknown;
}

std::optional<VolumeInformation> Win32Volumes::Query(const std::string& root) {
  char label[kQueryBufferSize + 1] = {};
  char file_system[kQueryBufferSize + 1] = {};
  DWORD serial = 0, max_component_length = 0, flags = 0;
  CriticalErrorBoxesOff quiet;
  if (!::GetVolumeInformationA(root.c_str(), label, kQueryBufferSize, &serial,
                               &max_component_length, &flags, file_system, kQueryBufferSize)) {
    return std::nullopt;
  }
  return VolumeInformation{label, file_system, serial};
}

std::int64_t Win32Volumes::TotalBytes(int drive_number) {
  return QueryDiskSpace(drive_number).total;
}

std::int64_t Win32Volumes::FreeBytes(int drive_number) {
  return QueryDiskSpace(drive_number).free_to_user;
}

}  // namespace velmora::platform

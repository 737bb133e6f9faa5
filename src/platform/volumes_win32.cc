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

using GetDiskFreeSpaceExFunction = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER,
                                                 PULARGE_INTEGER);

// The extended query, looked up once: the oldest systems only have the cluster-based one.
GetDiskFreeSpaceExFunction ExtendedQuery() {
  static const auto function = reinterpret_cast<GetDiskFreeSpaceExFunction>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA")));
  return function;
}

DiskSpace QueryDiskSpace(int drive_number) {
  DiskSpace space;
  if (drive_number < 1 || drive_number > 26) return space;
  const char root[] = {static_cast<char>('A' + drive_number - 1), ':', '\\', '\0'};
  CriticalErrorBoxesOff quiet;
  if (GetDiskFreeSpaceExFunction query = ExtendedQuery()) {
    ULARGE_INTEGER free_to_user{}, total{}, free_total{};
    if (query(root, &free_to_user, &total, &free_total)) {
      space.total = AsSigned(total.QuadPart);
      space.free_to_user = AsSigned(free_to_user.QuadPart);
    }
    return space;
  }
  DWORD sectors_per_cluster = 0, bytes_per_sector = 0, free_clusters = 0, clusters = 0;
  if (::GetDiskFreeSpaceA(root, &sectors_per_cluster, &bytes_per_sector, &free_clusters,
                          &clusters)) {
    const auto cluster_bytes = static_cast<std::int64_t>(sectors_per_cluster) * bytes_per_sector;
    space.total = cluster_bytes * clusters;
    space.free_to_user = cluster_bytes * free_clusters;
  }
  return space;
}

}  // namespace

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

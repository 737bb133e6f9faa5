// Plugging volumes in and out through Wine's mount manager.

#include <windows.h>
// windows.h first: the headers below need its types.
#include <dbt.h>
#include <winioctl.h>

#include <cstddef>
#include <cstring>
#include <utility>
#include <vector>

#include "internal.h"
#include "probe.h"

namespace velmora::probe {

using internal::Fail;
using internal::FailWin32;

namespace {

// Wine's mount manager request to map a drive letter to a Unix path (Wine 8 layout). Strings
// follow the structure; offsets count from its start.
struct MountMgrUnixDrive {
  ULONG size;
  ULONG type;  // a DRIVE_* value; DRIVE_NO_ROOT_DIR removes the letter
  ULONG fs_type;
  DWORD serial;
  ULONGLONG unix_dev;
  WCHAR letter;
  USHORT mount_point_offset;  // char string: the Unix folder
  USHORT device_offset;       // char string: the Unix device, none here
  USHORT label_offset;        // WCHAR string
};
static_assert(sizeof(MountMgrUnixDrive) == 32, "must match Wine's struct mountmgr_unix_drive");

constexpr DWORD kDefineUnixDrive =
    CTL_CODE(static_cast<DWORD>('m'), 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

bool ValidLetter(char letter) { return letter >= 'A' && letter <= 'Z'; }

bool SendDefineRequest(char letter, const std::string& unix_folder, UINT drive_type) {
  if (!ValidLetter(letter)) return Fail(std::string("bad drive letter '") + letter + "'");
  std::vector<char> request(sizeof(MountMgrUnixDrive));
  MountMgrUnixDrive header{};
  header.type = drive_type;
  header.letter = static_cast<WCHAR>(letter);
  if (!unix_folder.empty()) {
    header.mount_point_offset = static_cast<USHORT>(request.size());
    request.insert(request.end(), unix_folder.begin(), unix_folder.end());
    request.push_back('\0');
  }
  header.size = static_cast<ULONG>(request.size());
  std::memcpy(request.data(), &header, sizeof header);

  UniqueHandle manager(CreateFileA("\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                   nullptr));
  if (!manager) return FailWin32("opening Wine's mount manager");
  DWORD returned = 0;
  if (!DeviceIoControl(manager.get(), kDefineUnixDrive, request.data(),
                       static_cast<DWORD>(request.size()), nullptr, 0, &returned, nullptr)) {
    return FailWin32(std::string("defining drive ") + letter + ":");
  }
  return true;
}

}  // namespace

bool DefineUnixDrive(char letter, const std::string& unix_folder, UINT drive_type) {
  if (unix_folder.empty() || unix_folder[0] != '/') {
    return Fail("'" + unix_folder + "' is not an absolute Unix path");
  }
  return SendDefineRequest(letter, unix_folder, drive_type);
}

bool DefineDriveWithoutMedium(char letter, UINT drive_type) {
  return SendDefineRequest(letter, "", drive_type);
}

bool UndefineDrive(char letter) { return SendDefineRequest(letter, "", DRIVE_NO_ROOT_DIR); }

bool BroadcastVolumeChange(char letter, bool arrived) {
  if (!ValidLetter(letter)) return Fail(std::string("bad drive letter '") + letter + "'");
  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = 1u << (letter - 'A');
  // Wine's mount manager announces drives on its own service desktop, which the programs of
  // this desktop never see; so the announcement is made from here, as Windows would make it.
  DWORD recipients = BSM_APPLICATIONS;
  const long result = BroadcastSystemMessageA(
      BSF_FORCEIFHUNG | BSF_QUERY, &recipients, WM_DEVICECHANGE,
      arrived ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(&volume));
  if (result > 0) return true;
  return FailWin32("BroadcastSystemMessage WM_DEVICECHANGE");
}

PluggedVolume::PluggedVolume(PluggedVolume&& other) noexcept
    : letter_(std::exchange(other.letter_, 0)) {}

PluggedVolume& PluggedVolume::operator=(PluggedVolume&& other) noexcept {
  if (this != &other) {
    Unplug();
    letter_ = std::exchange(other.letter_, 0);
  }
  return *this;
}

bool PluggedVolume::Plug(char letter, const std::string& unix_folder, const std::string& label,
                         UINT drive_type) {
  if (!Unplug()) return false;
  // Wine reads a folder drive's label from this file in its root.
  if (!label.empty()) {
    const std::string label_file = ToWindowsPath(unix_folder) + "\\.windows-label";
    UniqueHandle file(CreateFileA(label_file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file ||
        !WriteFile(file.get(), label.data(), static_cast<DWORD>(label.size()), &written, nullptr)) {
      return FailWin32("writing " + label_file);
    }
  }
  if (!DefineUnixDrive(letter, unix_folder, drive_type)) return false;
  letter_ = letter;
  return BroadcastVolumeChange(letter, true);
}

bool PluggedVolume::Unplug() {
  if (letter_ == 0) return true;
  const char letter = std::exchange(letter_, 0);
  // Windows announces a removal once the volume is gone.
  return UndefineDrive(letter) && BroadcastVolumeChange(letter, false);
}

}  // namespace velmora::probe

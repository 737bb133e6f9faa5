// The device-change broadcast, the volume queries and the number settings against the real
// platform.
#include "ui/win32/device_change_win32.h"

#include <windows.h>
#include <dbt.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/number_format_win32.h"
#include "platform/volumes_win32.h"
#include "ui/application.h"
#include "ui/win32/backend_win32.h"

namespace velmora {
namespace {

using ui::DeviceChangeMessage;
using ui::win32::DecodeDeviceChange;

std::string Describe(const DeviceChangeMessage& m) {
  std::string text = std::to_string(m.event);
  text += m.device_type ? " type " + std::to_string(*m.device_type) : " no record";
  if (m.unit_mask) text += " mask " + std::to_string(*m.unit_mask);
  return text;
}

TEST(DecodeDeviceChange, ReadsOnlyWhatTheRecordDeclares) {
  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = 1u << 5;
  DEV_BROADCAST_VOLUME truncated_volume = volume;
  truncated_volume.dbcv_size = sizeof(DEV_BROADCAST_HDR);
  DEV_BROADCAST_PORT_A port{};
  port.dbcp_size = sizeof port;
  port.dbcp_devicetype = DBT_DEVTYP_PORT;
  DEV_BROADCAST_HDR too_small{};
  too_small.dbch_size = 4;
  too_small.dbch_devicetype = DBT_DEVTYP_VOLUME;
  struct Case {
    const char* what;
    WPARAM event;
    const void* record;
    const char* expected;
  };
  for (const Case& c : {
           Case{"volume arrival", DBT_DEVICEARRIVAL, &volume, "32768 type 2 mask 32"},
           Case{"volume removal", DBT_DEVICEREMOVECOMPLETE, &volume, "32772 type 2 mask 32"},
           Case{"port arrival", DBT_DEVICEARRIVAL, &port, "32768 type 3"},
           Case{"volume record cut short", DBT_DEVICEARRIVAL, &truncated_volume, "32768 type 2"},
           Case{"record smaller than its header", DBT_DEVICEARRIVAL, &too_small, "32768 no record"},
           Case{"no record", DBT_DEVICEARRIVAL, nullptr, "32768 no record"},
           // Without the record bit the second parameter is no pointer and is never read.
           Case{"device nodes changed", DBT_DEVNODES_CHANGED,
                reinterpret_cast<const void*>(std::uintptr_t{0x10}), "7 no record"},
       }) {
    EXPECT_EQ(Describe(DecodeDeviceChange(c.event, reinterpret_cast<LPARAM>(c.record))), c.expected)
        << c.what;
  }
}

TEST(FormDeviceChange, HandlerGetsTheBroadcastAndTheQueryIsGranted) {
  ui::Win32Backend backend(::GetModuleHandleA(nullptr));
  ui::Application app(backend);
  ui::Form form("DeviceForm", "VelmoraDeviceTestForm");
  form.SetBounds({0, 0, 200, 100});
  std::vector<std::string> received;
  form.on_device_change = [&](ui::Form&, const DeviceChangeMessage& message) {
    received.push_back(Describe(message));
  };
  app.CreateForm(form);
  HWND window = ::FindWindowA("VelmoraDeviceTestForm", nullptr);
  ASSERT_NE(window, nullptr);

  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = 1u << 4;
  EXPECT_EQ(
      ::SendMessageA(window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&volume)),
      TRUE);
  EXPECT_EQ(::SendMessageA(window, WM_DEVICECHANGE, DBT_DEVICEQUERYREMOVE,
                           reinterpret_cast<LPARAM>(&volume)),
            TRUE);
  EXPECT_EQ(::SendMessageA(window, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0), TRUE);
  EXPECT_EQ(received, (std::vector<std::string>{"32768 type 2 mask 16", "32769 type 2 mask 16",
                                                "7 no record"}));
}

TEST(VolumesWin32, QueriesTheVolumeAndItsSizesAndFailsQuietlyForNoVolume) {
  platform::Win32Volumes volumes;
  const std::optional<platform::VolumeInformation> system = volumes.Query("C:\\");
  ASSERT_TRUE(system.has_value());
  char label[MAX_PATH + 1] = {}, file_system[MAX_PATH + 1] = {};
  DWORD serial = 0;
  ASSERT_TRUE(::GetVolumeInformationA("C:\\", label, MAX_PATH, &serial, nullptr, nullptr,
                                      file_system, MAX_PATH));
  EXPECT_EQ(system->label, label);
  EXPECT_EQ(system->file_system, file_system);
  EXPECT_FALSE(system->file_system.empty());
  EXPECT_EQ(system->serial_number, serial);

  const std::int64_t total = volumes.TotalBytes(3);
  const std::int64_t free = volumes.FreeBytes(3);
  EXPECT_GT(total, 0);
  EXPECT_GE(free, 0);
  EXPECT_LE(free, total);

  // A letter with nothing behind it, and drive numbers outside A to Z.
  ASSERT_EQ(::GetDriveTypeA("Q:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
  EXPECT_FALSE(volumes.Query("Q:\\").has_value());
  for (int drive_number : {17, 0, 27, -1}) {
    EXPECT_EQ(volumes.TotalBytes(drive_number), -1) << drive_number;
    EXPECT_EQ(volumes.FreeBytes(drive_number), -1) << drive_number;
  }
}

TEST(NumberFormatWin32, ThousandsSeparatorFollowsTheLocale) {
  struct Case {
    LANGID language;
    const char* separator;
  };
  for (const Case& c : {Case{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), ","},
                        Case{MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), "."},
                        // U+2019, the right single quotation mark, in the ANSI code page.
                        Case{MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_SWISS), "\x92"}}) {
    platform::Win32NumberFormat format(MAKELCID(c.language, SORT_DEFAULT));
    EXPECT_EQ(format.ThousandsSeparator(), c.separator) << std::hex << c.language;
  }
}

}  // namespace
}  // namespace velmora

#include "ui/win32/device_change_win32.h"

#include <dbt.h>

#include <cstdint>

namespace velmora::ui::win32 {

static_assert(DBT_DEVICEARRIVAL == kDeviceArrival);
static_assert(DBT_DEVICEREMOVECOMPLETE == kDeviceRemoveComplete);
static_assert(DBT_DEVTYP_VOLUME == kDeviceTypeVolume);

DeviceChangeMessage DecodeDeviceChange(WPARAM event, LPARAM record) {
  DeviceChangeMessage message;
  message.event = static_cast<std::uint32_t>(event);
  if ((event & 0x8000) == 0 || record == 0) return message;
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(record);
  if (header->dbch_size < sizeof(DEV_BROADCAST_HDR)) return message;
  message.device_type = header->dbch_devicetype;
  if (header->dbch_devicetype == DBT_DEVTYP_VOLUME &&
      header->dbch_size >= sizeof(DEV_BROADCAST_VOLUME)) {
    message.unit_mask = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(record)->dbcv_unitmask;
  }
  return message;
}

}  // namespace velmora::ui::win32

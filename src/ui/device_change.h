#ifndef VELMORA_UI_DEVICE_CHANGE_H_
#define VELMORA_UI_DEVICE_CHANGE_H_

#include <cstdint>
#include <optional>

namespace velmora::ui {

// Event codes of the platform's device-change broadcast that the program tells apart.
inline constexpr std::uint32_t kDeviceArrival = 0x8000;         // DBT_DEVICEARRIVAL
inline constexpr std::uint32_t kDeviceRemoveComplete = 0x8004;  // DBT_DEVICEREMOVECOMPLETE

// The device types a broadcast record can name.
inline constexpr std::uint32_t kDeviceTypeVolume = 2;  // DBT_DEVTYP_VOLUME

// A device-change broadcast as a top-level window receives it, with the parts of its record
// that were present and readable.
struct DeviceChangeMessage {
  std::uint32_t event = 0;
  // The record's device type; empty when the event carries no record.
  std::optional<std::uint32_t> device_type;
  // The drives of a volume record, bit 0 for A; empty unless the record is a whole volume
  // record.
  std::optional<std::uint32_t> unit_mask;
};

}  // namespace velmora::ui

#endif  // VELMORA_UI_DEVICE_CHANGE_H_

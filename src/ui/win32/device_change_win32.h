#ifndef VELMORA_UI_WIN32_DEVICE_CHANGE_WIN32_H_
#define VELMORA_UI_WIN32_DEVICE_CHANGE_WIN32_H_

#include <windows.h>

#include "ui/device_change.h"

namespace velmora::ui::win32 {

// Reads a WM_DEVICECHANGE message's parameters. Only events with the record bit (0x8000) point
// at a record, as the platform itself assumes when it marshals the message; a record is read
// only as far as the size it declares.
DeviceChangeMessage DecodeDeviceChange(WPARAM event, LPARAM record);

}  // namespace velmora::ui::win32

#endif  // VELMORA_UI_WIN32_DEVICE_CHANGE_WIN32_H_

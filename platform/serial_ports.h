// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// This machine's serial devices, named as DOSBox's "realport:" takes them: below /dev on Linux
// ("ttyUSB0", "serial/by-id/usb-..."), "COM3" on Windows.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace Platform
{

struct SerialDevice {
    std::string realport; // what DOSBox opens
    std::string label;    // how the user knows it: maker and model where the system tells them
    bool operator==(const SerialDevice&) const = default;
};

// USB adapters by maker and model first, then the other USB and ACM devices, then the
// built-in ports that have a UART. On Windows the COM ports that the system lists.
std::vector<SerialDevice> ListSerialDevices();

enum class DeviceAccess { Usable, Missing, Denied };

// Whether the device is there and this user may read and write it.
DeviceAccess CheckSerialDevice(std::string_view realport);

// The device's short name ("ttyUSB0" for an adapter's by-id name), for the status line.
std::string SerialDeviceName(std::string_view realport);

// What the user does to be allowed to use the device.
std::string AccessAdvice(std::string_view realport);

#ifndef _WIN32
// For tests: devices are listed from this folder standing in for /dev (empty: /dev again).
void SetDeviceFolder(const std::filesystem::path& folder);
#endif

} // namespace Platform

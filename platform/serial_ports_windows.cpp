// SPDX-License-Identifier: GPL-2.0-or-later
#include "serial_ports.h"

#include <algorithm>
#include <windows.h>

namespace Platform
{

namespace
{

std::string utf8(const wchar_t* text, int length)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::wstring devicePath(std::string_view realport)
{
    std::wstring path = L"\\\\.\\";
    path.append(realport.begin(), realport.end());
    return path;
}

} // namespace

std::vector<SerialDevice> ListSerialDevices()
{
    // The system's list of COM ports: one value per port, its driver's device name and the
    // port's name.
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return {};
    std::vector<SerialDevice> devices;
    for (DWORD index = 0;; ++index) {
        wchar_t driver[256] = {}, port[64] = {};
        DWORD driverLength = 256, portBytes = sizeof port - sizeof(wchar_t), type = 0;
        const LONG result = RegEnumValueW(key, index, driver, &driverLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(port), &portBytes);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS || type != REG_SZ)
            continue;
        const std::string name = utf8(port, static_cast<int>(wcsnlen(port, 63)));
        devices.push_back({name, name + " (" + utf8(driver, static_cast<int>(driverLength)) + ")"});
    }
    RegCloseKey(key);
    std::sort(devices.begin(), devices.end(), [](const SerialDevice& a, const SerialDevice& b) {
        return std::pair(a.realport.size(), a.realport) < std::pair(b.realport.size(), b.realport);
    });
    return devices;
}

DeviceAccess CheckSerialDevice(std::string_view realport)
{
    // A COM port is opened by one program at a time: "denied" means another program has it.
    const HANDLE port = CreateFileW(devicePath(realport).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (port != INVALID_HANDLE_VALUE) {
        CloseHandle(port);
        return DeviceAccess::Usable;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? DeviceAccess::Missing
                                                                          : DeviceAccess::Denied;
}

std::string SerialDeviceName(std::string_view realport)
{
    return std::string(realport);
}

std::string AccessAdvice(std::string_view)
{
    return "Another program may be using it: close that program and start again.";
}

} // namespace Platform

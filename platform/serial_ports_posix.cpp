// SPDX-License-Identifier: GPL-2.0-or-later
#include "serial_ports.h"

#include "files.h"
#include "platform/file_path_text.h"

#include <algorithm>
#include <cctype>
#include <grp.h>
#include <pwd.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace Platform
{

namespace
{

// DOSBox opens "/dev/" followed by the realport, whatever folder the devices were listed from.
const fs::path DosBoxDeviceRoot = "/dev";

fs::path& deviceFolder()
{
    static fs::path folder = DosBoxDeviceRoot;
    return folder;
}

fs::path pathOf(std::string_view realport)
{
    return "/dev/" + std::string(realport);
}

std::string realportOf(const fs::path& entry)
{
    return FilePathText(entry.lexically_relative(DosBoxDeviceRoot));
}

// The folder's entries, shorter names first, so that ttyUSB2 comes before ttyUSB10.
std::vector<fs::path> entriesOf(const fs::path& folder)
{
    std::vector<fs::path> entries;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error))
        entries.push_back(entry->path());
    std::sort(entries.begin(), entries.end(), [](const fs::path& a, const fs::path& b) {
        const std::string first = FilePathText(a.filename()), second = FilePathText(b.filename());
        return std::pair(first.size(), first) < std::pair(second.size(), second);
    });
    return entries;
}

bool isNumbered(const std::string& name, std::string_view prefix)
{
    return name.size() > prefix.size() && name.starts_with(prefix) &&
           std::all_of(name.begin() + prefix.size(), name.end(),
                       [](unsigned char c) { return std::isdigit(c); });
}

// The kernel makes ttyS0 to ttyS31 whether or not a UART is there; without one it gives the
// port the type 0.
bool hasUart(const fs::path& device)
{
    const fs::path type =
        (device.parent_path() / "../sys/class/tty" / device.filename() / "type").lexically_normal();
    const FileBytes read = ReadFileBytes(type);
    return read.bytes && !read.bytes->empty() && read.bytes->front() != '0';
}

} // namespace

std::vector<SerialDevice> ListSerialDevices()
{
    std::vector<SerialDevice> devices;
    std::set<fs::path> listed; // the devices themselves, which several names may lead to
    const auto add = [&](const fs::path& entry, bool nameTheDevice) {
        std::error_code error;
        const fs::path device = fs::canonical(entry, error);
        if (error || !listed.insert(device).second)
            return;
        std::string label = FilePathText(entry.filename());
        if (nameTheDevice)
            label += " (" + FilePathText(device.filename()) + ")";
        devices.push_back({realportOf(entry), label});
    };
    // By maker, model and serial number, which stay the same when the adapter is plugged in
    // elsewhere, unlike the ttyUSB number.
    for (const fs::path& entry : entriesOf(deviceFolder() / "serial/by-id"))
        add(entry, true);
    const std::vector<fs::path> entries = entriesOf(deviceFolder());
    for (const std::string_view prefix : {"ttyUSB", "ttyACM", "ttyS"}) {
        for (const fs::path& entry : entries) {
            const std::string name = FilePathText(entry.filename());
            if (isNumbered(name, prefix) && (prefix != "ttyS" || hasUart(entry)))
                add(entry, false);
        }
    }
    return devices;
}

DeviceAccess CheckSerialDevice(std::string_view realport)
{
    const fs::path path = pathOf(realport);
    if (::access(path.c_str(), F_OK) != 0)
        return DeviceAccess::Missing;
    return ::access(path.c_str(), R_OK | W_OK) == 0 ? DeviceAccess::Usable : DeviceAccess::Denied;
}

std::string SerialDeviceName(std::string_view realport)
{
    std::error_code error;
    const fs::path device = fs::canonical(pathOf(realport), error);
    if (error)
        return std::string(realport);
    const std::string name = realportOf(device);
    return name.starts_with("..") ? FilePathText(device) : name;
}

std::string AccessAdvice(std::string_view realport)
{
    // Serial devices belong to a group (dialout on Debian) whose members may use them.
    struct stat status {
    };
    const group* owners = ::stat(pathOf(realport).c_str(), &status) == 0 && status.st_gid != 0 &&
                                  (status.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP)
                              ? ::getgrgid(status.st_gid)
                              : nullptr;
    const passwd* user = ::getpwuid(::getuid());
    if (!owners || !user)
        return "Ask the administrator of this computer for read and write access to " +
               FilePathText(pathOf(realport)) + ".";
    return "To be allowed, run this command, then log out and log in again:\n\n    sudo adduser " +
           std::string(user->pw_name) + " " + owners->gr_name;
}

void SetDeviceFolder(const fs::path& folder)
{
    deviceFolder() = folder.empty() ? DosBoxDeviceRoot : folder;
}

} // namespace Platform

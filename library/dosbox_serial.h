// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Which COM ports of DOSBox reach a serial device of this machine: serial1 to serial4 in the
// [serial] section of DOSBox's configuration files, read in order, each line overriding what an
// earlier one set for its port (DOSBox's own rule, also within one file). The program's own
// choice is a file holding one such line, given to DOSBox after the user's file; the user's
// file is never written.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace DosBoxSerial
{

inline constexpr int PortCount = 4; // serial1 to serial4: COM1 to COM4

// "serialN=directserial realport:DEVICE": COM port N on DEVICE, as DOSBox names it.
struct PortMapping {
    int port = 1;
    std::string device;
    bool operator==(const PortMapping&) const = default;
};

// "COM1" for 1.
std::string PortName(int port);

// Whether DOSBox can be told the device: it reads a realport up to the first blank.
bool CanName(std::string_view device);

// The ports on a device once the texts are read in order, by port number.
std::vector<PortMapping> MappedPorts(const std::vector<std::string>& configTexts);

// The program's own layer: a [serial] section with this port's line only.
std::string OwnLayerText(const PortMapping& mapping);

// The file DOSBox reads when it is given none: dosbox.conf in the current folder when there is
// one, else the user's own; empty when it cannot be told.
std::filesystem::path UsersConfigFile(const std::filesystem::path& dosbox);

// DOSBox's options that read the user's file and then the program's layer. Without the user's
// file known, DOSBox's own -userconf finds it.
std::vector<std::string> LayerOptions(const std::filesystem::path& usersFile,
                                      const std::filesystem::path& ownLayer);

} // namespace DosBoxSerial

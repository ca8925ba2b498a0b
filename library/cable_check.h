// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Before a DOS flasher starts in DOSBox: whether the COM ports that DOSBox maps reach a device
// that is there and that this user may read and write, and what to ask the user when not.

#include "library/dosbox_serial.h"
#include "platform/serial_ports.h"

#include <functional>
#include <string>
#include <vector>

namespace CableCheck
{

enum class Trouble {
    None,
    NoPort,   // no COM port is mapped to a device
    Missing,  // a mapped device is not there
    NoAccess, // this user may not read and write a mapped device
};

struct Finding {
    Trouble trouble = Trouble::None;
    DosBoxSerial::PortMapping mapping; // the port in question; COM1 and no device for NoPort
    bool operator==(const Finding&) const = default;
};

using AccessOf = std::function<Platform::DeviceAccess(const std::string& device)>;

// The first mapped port in trouble, by port number; NoPort when none is mapped.
Finding Check(const std::vector<DosBoxSerial::PortMapping>& mappings, const AccessOf& accessOf);

// Whether another device for the port is a way out; else only going on anyway or not at all.
bool OffersPick(Trouble trouble);

// What the question says, in the user's words.
std::string QuestionText(const Finding& finding);

// "COM1 → ttyUSB0" for the status line, one such part per mapped port, with " (not plugged in)"
// after a device that is not there; empty when none is mapped.
std::string StatusLine(const std::vector<DosBoxSerial::PortMapping>& mappings,
                       const AccessOf& accessOf);

} // namespace CableCheck

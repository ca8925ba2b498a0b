// SPDX-License-Identifier: GPL-2.0-or-later
#include "cable_check.h"

namespace CableCheck
{

using DosBoxSerial::PortName;

Finding Check(const std::vector<DosBoxSerial::PortMapping>& mappings, const AccessOf& accessOf)
{
    if (mappings.empty())
        return {Trouble::NoPort, {1, {}}};
    for (const auto& mapping : mappings) {
        switch (accessOf(mapping.device)) {
        case Platform::DeviceAccess::Missing:
            return {Trouble::Missing, mapping};
        case Platform::DeviceAccess::Denied:
            return {Trouble::NoAccess, mapping};
        case Platform::DeviceAccess::Usable:
            break;
        }
    }
    return {};
}

bool OffersPick(Trouble trouble)
{
    return trouble == Trouble::NoPort || trouble == Trouble::Missing;
}

std::string QuestionText(const Finding& finding)
{
    const std::string port = PortName(finding.mapping.port);
    const std::string connects =
        "DOSBox connects " + port + " to " + Platform::SerialDeviceName(finding.mapping.device);
    switch (finding.trouble) {
    case Trouble::NoPort:
        return "The flasher reaches the phone through a COM port of DOSBox, but DOSBox connects "
               "none of its COM ports to this computer's serial devices. Pick the phone cable "
               "and the COM port that your flasher uses:";
    case Trouble::Missing:
        return connects +
               ", which is not plugged in. Plug in the phone cable and look again, or "
               "pick another device for " +
               port + ":";
    case Trouble::NoAccess:
        return connects + ", but you may not read and write that device. " +
               Platform::AccessAdvice(finding.mapping.device);
    case Trouble::None:
        break;
    }
    return {};
}

std::string StatusLine(const std::vector<DosBoxSerial::PortMapping>& mappings,
                       const AccessOf& accessOf)
{
    std::string line;
    for (const auto& mapping : mappings) {
        line += line.empty() ? "" : ", ";
        // The arrow in UTF-8, which the status line shows as such.
        line +=
            PortName(mapping.port) + " \xE2\x86\x92 " + Platform::SerialDeviceName(mapping.device);
        if (accessOf(mapping.device) == Platform::DeviceAccess::Missing)
            line += " (not plugged in)";
    }
    return line;
}

} // namespace CableCheck

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What drive C's run lock file says of the run that holds it: one "key=value" line per field,
// bytes kept (a byte below 0x20 and "%" written as %XX).

#include "platform/process_identity.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace RunLock
{

struct Holder {
    std::string host;
    Platform::ProcessIdentity quorvel;
    std::optional<Platform::ProcessIdentity> flasher; // once started: the flasher, or DOSBox
    std::string runId;
    std::string group;
    std::string image;
    std::int64_t started = 0; // seconds since 1970-01-01 UTC

    bool operator==(const Holder&) const = default;
};

std::string Format(const Holder& holder);
// Nothing for a file that is empty or not a record (cut off, or of something else).
std::optional<Holder> Parse(std::string_view text);

} // namespace RunLock

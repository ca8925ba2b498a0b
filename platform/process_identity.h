// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A process told apart from a later one given the same id: its id and the time it started, as
// the system counts it. Used to tell whether a process recorded in a file still runs.

#include <cstdint>
#include <optional>
#include <string>

namespace Platform
{

struct ProcessIdentity {
    std::int64_t id = 0;
    // Linux: clock ticks from boot to the start (/proc/<id>/stat); Windows: the creation time.
    std::uint64_t started = 0;

    bool operator==(const ProcessIdentity&) const = default;
};

// The start time of the process with this id; nothing when none runs (a process that has ended
// and waits to be reaped does not run).
std::optional<std::uint64_t> ProcessStartTime(std::int64_t id);

// Whether the very process runs: its id in use and started at the recorded time.
bool IsRunning(const ProcessIdentity& process);

// Ends the very process (and its process group where it leads one), if it still runs.
void EndProcess(const ProcessIdentity& process);

// This process.
ProcessIdentity ThisProcess();

// This machine's name as the network knows it; empty when it cannot be told.
std::string HostName();

} // namespace Platform

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Limits that a process puts on itself before it touches input from outside: a decoder that
// loops or grows without end is ended by the system, and a crash leaves nothing behind (no core
// file, no error dialog).

#include <chrono>
#include <cstdint>

namespace Platform
{

// Limits this process's processor time and its memory (POSIX: address space; Windows: committed
// memory, in a job object that also ends the process on an unhandled exception). False when the
// system refused a limit.
bool LimitThisProcess(std::chrono::seconds processorTime, std::uint64_t memoryBytes);

} // namespace Platform

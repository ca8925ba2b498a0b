// SPDX-License-Identifier: GPL-2.0-or-later
#include "process_identity.h"

#include <windows.h>

namespace Platform
{

std::optional<std::uint64_t> ProcessStartTime(std::int64_t id)
{
    if (id <= 0)
        return std::nullopt;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(id));
    if (!process)
        return std::nullopt;
    FILETIME created{}, exited{}, kernel{}, user{};
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE &&
                         WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    const bool timed = GetProcessTimes(process, &created, &exited, &kernel, &user);
    CloseHandle(process);
    if (!running || !timed)
        return std::nullopt;
    return (std::uint64_t(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

void EndProcess(const ProcessIdentity& process)
{
    HANDLE handle = OpenProcess(PROCESS_TERMINATE, FALSE, DWORD(process.id));
    if (!handle)
        return;
    if (IsRunning(process))
        TerminateProcess(handle, 1);
    CloseHandle(handle);
}

ProcessIdentity ThisProcess()
{
    const std::int64_t id = GetCurrentProcessId();
    return {id, ProcessStartTime(id).value_or(0)};
}

std::string HostName()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    return GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

} // namespace Platform

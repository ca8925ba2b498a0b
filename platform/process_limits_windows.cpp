// SPDX-License-Identifier: GPL-2.0-or-later
#include "process_limits.h"

#include <windows.h>

namespace Platform
{

bool LimitThisProcess(std::chrono::seconds processorTime, std::uint64_t memoryBytes)
{
    // A crash ends the process quietly instead of asking the user what to do.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    // The job's handle is left open: closing the last one would end the process.
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (!job)
        return false;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_PROCESS_TIME | JOB_OBJECT_LIMIT_PROCESS_MEMORY |
        JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION | JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    // In units of 100 nanoseconds.
    limits.BasicLimitInformation.PerProcessUserTimeLimit.QuadPart =
        LONGLONG(processorTime.count()) * 10'000'000;
    limits.ProcessMemoryLimit = SIZE_T(memoryBytes);
    return SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits,
                                   sizeof limits) &&
           AssignProcessToJobObject(job, GetCurrentProcess());
}

} // namespace Platform

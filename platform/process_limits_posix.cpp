// SPDX-License-Identifier: GPL-2.0-or-later
#include "process_limits.h"

#include <sys/resource.h>

namespace Platform
{

namespace
{

bool Limit(int resource, rlim_t value)
{
    // A tighter limit already set (by whoever started this process) is kept: it cannot be
    // raised, and it limits all the same.
    rlimit current{};
    if (getrlimit(resource, &current) == 0 && current.rlim_max != RLIM_INFINITY &&
        current.rlim_max < value)
        value = current.rlim_max;
    const rlimit limit{value, value};
    return setrlimit(resource, &limit) == 0;
}

} // namespace

bool LimitThisProcess(std::chrono::seconds processorTime, std::uint64_t memoryBytes)
{
    bool limited = Limit(RLIMIT_CPU, rlim_t(processorTime.count()));
    limited = Limit(RLIMIT_CORE, 0) && limited;
#ifndef __SANITIZE_ADDRESS__ // AddressSanitizer reserves terabytes of address space for itself
    limited = Limit(RLIMIT_AS, rlim_t(memoryBytes)) && limited;
#else
    (void)memoryBytes;
#endif
    return limited;
}

} // namespace Platform

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The probes' timing: how long one piece of work took, and the median of repeated runs.

#include <algorithm>
#include <chrono>
#include <vector>

namespace Bench
{

// The middle value; of an even count the upper of the two middle ones.
inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename Work> double millisecondsOf(Work work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace Bench

// SPDX-License-Identifier: GPL-2.0-or-later
// A process that limits its memory to 64 MiB, then asks for 256 MiB. Exit code 0 when the
// allocation is refused, 1 when it is not, 2 when the limit could not be set.

#include "platform/process_limits.h"

#include <cstdlib>
#include <cstring>
#include <new>

int main()
{
    constexpr std::size_t MiB = 1024 * 1024;
    if (!Platform::LimitThisProcess(std::chrono::seconds(5), 64 * MiB))
        return 2;
    char* block = static_cast<char*>(std::malloc(256 * MiB));
    if (!block)
        return 0;
    std::memset(block, 1, 256 * MiB);
    std::free(block);
    return 1;
}

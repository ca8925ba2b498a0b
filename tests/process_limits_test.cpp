// SPDX-License-Identifier: GPL-2.0-or-later
// A process's limits on itself, as the picture helper sets them: held by the system.

#include "platform/process.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

namespace
{

// Wine takes a job's limits but does not hold a process to its memory limit.
bool UnderWine()
{
#ifdef _WIN32
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}

} // namespace

TEST(LimitThisProcess, MemoryBeyondTheLimitIsRefused)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer needs the address space unlimited";
#endif
    std::string error;
    const auto child = Platform::StartDetached({QUORVEL_LIMITED_CHILD}, error);
    ASSERT_TRUE(child) << error;
    std::optional<Platform::ProgramEnd> end;
    for (int look = 0; look < 1000 && !(end = child->Ended()); ++look)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(end);
    EXPECT_FALSE(end->bySignal);
    // 1: the allocation was granted, 2: no limit could be set.
    EXPECT_EQ(end->code, UnderWine() ? 1u : 0u);
}

// SPDX-License-Identifier: GPL-2.0-or-later
// Starting real processes, left running on their own.

#include "platform/process.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

TEST(StartDetached, ReportsAProgramThatCannotStart)
{
    std::string error;
    EXPECT_FALSE(Platform::StartDetached({"/nonexistent/flasher.com"}, error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_TRUE(Platform::StartDetached({"true"}, error));
}

TEST(StartDetached, TellsHowTheProgramEndedWhenAsked)
{
    const struct {
        const char* script;
        bool bySignal;
        std::uint32_t code;
    } rows[] = {{"exit 3", false, 3}, {"kill -9 $$", true, 9}, {"true", false, 0}};
    for (const auto& row : rows) {
        std::string error;
        const auto program = Platform::StartDetached({"sh", "-c", row.script}, error);
        ASSERT_TRUE(program) << error;
        std::optional<Platform::ProgramEnd> end;
        for (int look = 0; look < 500 && !(end = program->Ended()); ++look)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_TRUE(end) << row.script;
        EXPECT_EQ(end->bySignal, row.bySignal) << row.script;
        EXPECT_EQ(end->code, row.code) << row.script;
    }
}

TEST(OutputOf, TheOutputOfAProgramThatEndsWellInTime)
{
    using namespace std::chrono_literals;
    EXPECT_EQ(Platform::OutputOf({"sh", "-c", "echo out; echo error >&2"}, 5s), "out\n");
    EXPECT_EQ(Platform::OutputOf({"sh", "-c", "echo out; exit 3"}, 5s), std::nullopt);
    EXPECT_EQ(Platform::OutputOf({"sleep", "5"}, 100ms), std::nullopt);
}

// SPDX-License-Identifier: GPL-2.0-or-later
// Starting real processes, left running on their own.

#include "platform/process.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <mutex>
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

// A program started with its output read: in the folder given, output and error as written, no
// input, and Stop ending what it started too.
TEST(StartProgram, ReadsItsOutputAndStopEndsItsGroup)
{
    const std::string folder = std::filesystem::temp_directory_path().string();
    const struct {
        const char* script;
        std::string output; // "PID" stands for the number the script printed first
        bool stop;
    } rows[] = {
        {"pwd; echo error >&2", folder + "\nerror\n", false},
        {"cat; echo no input", "no input\n", false},
        {"head -c 300000 /dev/zero | tr '\\0' x", std::string(300000, 'x'), false},
        {"sleep 60 & echo $!; wait", "PID\n", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.script);
        std::mutex mutex;
        std::string output;
        std::string error;
        const auto program = Platform::StartProgram({{"sh", "-c", row.script},
                                                     folder,
                                                     [&](std::string_view bytes) {
                                                         const std::lock_guard lock(mutex);
                                                         output += bytes;
                                                     }},
                                                    error);
        ASSERT_TRUE(program) << error;
        EXPECT_GT(program->identity().id, 0);
        const auto said = [&] {
            const std::lock_guard lock(mutex);
            return output;
        };
        std::int64_t child = 0;
        if (row.stop) {
            for (int look = 0; look < 500 && said().find('\n') == std::string::npos; ++look)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            child = std::stoll(said());
            ASSERT_TRUE(Platform::ProcessStartTime(child));
            program->Stop();
        }
        std::optional<Platform::ProgramEnd> end;
        for (int look = 0; look < 500 && !(end = program->Ended()); ++look)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_TRUE(end);
        EXPECT_EQ(end->bySignal, row.stop);
        EXPECT_EQ(said(), row.stop ? std::to_string(child) + "\n" : row.output);
        for (int look = 0; look < 500 && child != 0 && Platform::ProcessStartTime(child); ++look)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_FALSE(child != 0 && Platform::ProcessStartTime(child)) << "its child runs on";
        EXPECT_FALSE(Platform::IsRunning(program->identity()));
    }
}

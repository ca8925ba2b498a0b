// SPDX-License-Identifier: GPL-2.0-or-later
// A run's log file, bounded, and the flasher's flash.out read back.

#include "library/run_log.h"
#include "platform/process.h"
#include "temporary_drive.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace fs = std::filesystem;

TEST(RunLog, KeepsTheFirstAndLastBytesAndTellsTheCut)
{
    TemporaryDrive drive;
    std::string all;
    for (int each = 0; all.size() < 1000; ++each)
        all += "line " + std::to_string(each) + "\n";
    const auto cut = [&](std::size_t size) {
        return all.substr(0, 100) + RunLog::CutLine(size - 200) + all.substr(size - 100, 100);
    };
    const struct {
        std::size_t size, chunk;
        std::string kept;
    } rows[] = {
        {0, 1, ""},
        {150, 7, all.substr(0, 150)},
        {200, 200, all.substr(0, 200)},
        {201, 13, cut(201)},
        {1000, 7, cut(1000)},
        {1000, 1000, cut(1000)},
        {1000, 101, cut(1000)},
    };
    const fs::path file = RunLog::FileFor("run");
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.size) + " bytes in pieces of " + std::to_string(row.chunk));
        std::string error;
        auto log = RunLog::Writer::Create(file, error, 100, 64);
        ASSERT_TRUE(log) << error;
        for (std::size_t at = 0; at < row.size; at += row.chunk)
            log->Append(std::string_view(all).substr(at, std::min(row.chunk, row.size - at)));
        EXPECT_EQ(log->total(), row.size);
        EXPECT_TRUE(log->Finish());
        EXPECT_EQ(TemporaryDrive::readNative(file), row.kept);
        // A file read back bounded the same way.
        drive.write("c:\\whole", all.substr(0, row.size));
        EXPECT_EQ(RunLog::ReadBounded(Drive::NativePath("c:\\whole"), 100, error), row.kept);
    }
    std::string error;
    fs::create_directories(Drive::NativePath("c:\\folder"));
    EXPECT_FALSE(RunLog::Writer::Create(Drive::NativePath("c:\\folder"), error));
    EXPECT_FALSE(error.empty());
}

TEST(RunLog, FlashOutIsReadOnlyWhenWrittenDuringTheRun)
{
    TemporaryDrive drive;
    const fs::path flashOut = Drive::NativePath("c:\\flasher\\flash.out");
    std::string error;
    EXPECT_EQ(RunLog::FlashOutSince(flashOut, fs::file_time_type::clock::now(), 10, error), "");
    drive.write("c:\\flasher\\flash.out", "an earlier run's");
    const auto start = fs::last_write_time(flashOut) + std::chrono::seconds(1);
    EXPECT_EQ(RunLog::FlashOutSince(flashOut, start, 10, error), "");
    fs::last_write_time(flashOut, start + std::chrono::seconds(1));
    EXPECT_EQ(RunLog::FlashOutSince(flashOut, start, 100, error), "an earlier run's");
    EXPECT_EQ(RunLog::FlashOutSince(flashOut, start, 3, error),
              "an " + RunLog::CutLine(10) + "n's");
}

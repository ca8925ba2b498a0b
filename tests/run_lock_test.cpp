// SPDX-License-Identifier: GPL-2.0-or-later
// Drive C's run lock: what Start finds, with real processes standing in for flashers and
// Quorvels, and two Quorvel processes on one drive C.

#include "library/paths.h"
#include "library/run_lock.h"
#include "platform/file_lock.h"
#include "platform/process.h"
#include "temporary_drive.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <mutex>
#include <thread>

namespace fs = std::filesystem;
using RunLock::Finding;

#ifndef _WIN32 // sleep, true and sh stand in for the processes
namespace
{

// A process that runs until stopped, ended by the destructor.
struct Sleeper {
    std::unique_ptr<Platform::RunningProgram> program;
    Sleeper()
    {
        std::string error;
        program = Platform::StartProgram({{"sleep", "60"}}, error);
    }
    ~Sleeper()
    {
        program->Stop();
        while (!program->Ended())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Platform::ProcessIdentity identity() const { return program->identity(); }
};

// A process that has ended.
Platform::ProcessIdentity endedProcess()
{
    std::string error;
    auto program = Platform::StartProgram({{"true"}}, error);
    while (!program->Ended())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return program->identity();
}

void waitFor(const std::function<bool()>& condition)
{
    for (int tries = 0; tries < 400 && !condition(); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
}

} // namespace

TEST(RunLock, WhatStartFindsOnDriveC)
{
    TemporaryDrive drive;
    drive.write("c:\\nk_files\\Lunzo\\Tias\\Tias.ini", "");
    const fs::path file = RunLock::DefaultFile();
    const RunLock::Environment here; // this machine, this process
    const Sleeper flasher, otherQuorvel;
    const auto ended = endedProcess();
    const Platform::ProcessIdentity reused{flasher.identity().id, flasher.identity().started + 1};
    const auto record = [&](const std::string& host, Platform::ProcessIdentity quorvel,
                            std::optional<Platform::ProcessIdentity> running) {
        return RunLock::Format({host, quorvel, running, "run-1", "3210", "nhm5.fls", 1700000000});
    };

    // This process's own run, holding the lock while its flasher runs.
    auto own = RunLock::TakeAtStart(file);
    ASSERT_EQ(own.finding, Finding::Free);
    ASSERT_TRUE(own.lock->Begin("run-0", "3310", "own.fls", 1700000000));
    ASSERT_TRUE(own.lock->SetFlasher(flasher.identity()));
    const auto second = RunLock::TakeAtStart(file);
    EXPECT_EQ(second.finding, Finding::Busy);
    EXPECT_FALSE(second.lock);
    ASSERT_TRUE(second.holder);
    EXPECT_EQ(second.holder->group, "3310");
    EXPECT_EQ(second.holder->image, "own.fls");
    EXPECT_EQ(second.holder->flasher, flasher.identity());
    own.lock->Release();
    EXPECT_EQ(drive.read(Paths::RunLock), "");

    const struct {
        const char* name;
        std::string contents;
        Finding finding;
        bool recordKept;
    } rows[] = {
        {"no run", "", Finding::Free, false},
        {"a live flasher of another live Quorvel",
         record(here.host, otherQuorvel.identity(), flasher.identity()), Finding::Busy, true},
        {"a live flasher left by a dead Quorvel", record(here.host, ended, flasher.identity()),
         Finding::Adopt, true},
        {"a dead flasher", record(here.host, ended, ended), Finding::Free, false},
        {"a reused process id", record(here.host, ended, reused), Finding::Free, false},
        {"a Quorvel that died while staging", record(here.host, ended, std::nullopt), Finding::Free,
         false},
        {"a record cut off", record(here.host, ended, flasher.identity()).substr(0, 40),
         Finding::Free, false},
        {"another host", record("elsewhere", otherQuorvel.identity(), flasher.identity()),
         Finding::OtherHost, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        drive.write(Paths::RunLock, row.contents);
        auto check = RunLock::TakeAtStart(file);
        EXPECT_EQ(check.finding, row.finding);
        EXPECT_EQ(bool(check.lock), row.finding != Finding::Busy);
        EXPECT_EQ(check.holder.has_value(), row.recordKept);
        if (row.finding == Finding::Adopt) {
            EXPECT_EQ(check.lock->holder().runId, "run-1");
            ASSERT_TRUE(check.lock->Adopt());
            EXPECT_EQ(RunLock::Parse(drive.read(Paths::RunLock))->quorvel, here.self);
        }
        check.lock.reset(); // let go, the record left as it is
        EXPECT_EQ(drive.read(Paths::RunLock).empty(), !row.recordKept);
    }
}

#endif

TEST(RunLock, RecordsKeepTheirBytesAndRefuseWhatIsNotOne)
{
    const RunLock::Holder holder{"host\n%", {12, 34},    Platform::ProcessIdentity{56, 78},
                                 "id",      "gr\x01oup", "im age.fls",
                                 -5};
    EXPECT_EQ(RunLock::Parse(RunLock::Format(holder)), holder);
    for (const char* text : {"", "quorvel=1\n", "quorvel=x\nend=\n", "host=%4\nquorvel=1\nend=\n"})
        EXPECT_FALSE(RunLock::Parse(text)) << text;
}

TEST(RunLock, AFileThatCannotBeOpenedIsTold)
{
    TemporaryDrive drive;
    fs::create_directories(RunLock::DefaultFile()); // a folder in its place: root cannot open it
    const auto check = RunLock::TakeAtStart(RunLock::DefaultFile());
    EXPECT_EQ(check.finding, Finding::Failed);
    EXPECT_FALSE(check.error.empty());
}

#ifndef _WIN32
// Two Quorvel processes on one drive C: the second is refused before it stages anything; the
// first killed, its flasher still runs and the next Start adopts it.
TEST(RunLock, ASecondProcessIsRefusedAndAnOrphanedFlasherIsAdopted)
{
    TemporaryDrive drive;
    drive.write("c:\\nk_files\\Lunzo\\Common\\28F008.bin", "loader bytes");
    drive.write("c:\\nk_files\\Lunzo\\Common\\boot.bin", "boot bytes");
    drive.write("c:\\nk_files\\Lunzo\\Phones\\3210\\first.fls", "first image");
    drive.write("c:\\nk_files\\Lunzo\\Phones\\3210\\second.fls", "second image");
    drive.write(Paths::PhoneCatalogue, "[3210]\r\nConfig=X\r\n");
    drive.write(Paths::Flasher, "#!/bin/sh\nexec sleep 60\n");
    fs::permissions(Drive::NativePath(Paths::Flasher), fs::perms::owner_all);

    struct Child {
        std::mutex mutex;
        std::string output;
        std::unique_ptr<Platform::RunningProgram> program;
        Child(const TemporaryDrive& drive, const char* image)
        {
            std::string error;
            program =
                Platform::StartProgram({{QUORVEL_RUN_LOCK_CHILD, drive.root().string(), image},
                                        {},
                                        [this](std::string_view bytes) {
                                            const std::lock_guard lock(mutex);
                                            output += bytes;
                                        }},
                                       error);
        }
        std::string said()
        {
            const std::lock_guard lock(mutex);
            return output;
        }
    };
    Child first(drive, "first.fls");
    waitFor([&] { return first.said().find("running\n") != std::string::npos; });
    ASSERT_EQ(first.said(), "Free\nrunning\n");
    const std::string_view staged[] = {Paths::StagedLoader, Paths::StagedBoot,
                                       "c:\\nk_files\\first.fls", Paths::FlasherConfig};
    std::vector<std::string> before;
    for (const auto& each : staged)
        before.push_back(drive.read(each));

    Child second(drive, "second.fls");
    waitFor([&] { return second.program->Ended().has_value(); });
    EXPECT_EQ(second.said(), "Busy\n");
    EXPECT_EQ(second.program->Ended()->code, 3u);
    for (std::size_t each = 0; each < std::size(staged); ++each)
        EXPECT_EQ(drive.read(staged[each]), before[each]) << staged[each];
    EXPECT_FALSE(drive.exists("c:\\nk_files\\second.fls"));

    // The first Quorvel crashes; its flasher runs on and is taken over.
    ::kill(static_cast<pid_t>(first.program->identity().id), SIGKILL);
    waitFor([&] { return first.program->Ended().has_value(); });
    auto check = RunLock::TakeAtStart(RunLock::DefaultFile());
    ASSERT_EQ(check.finding, Finding::Adopt);
    EXPECT_EQ(check.holder->runId, "child run");
    auto orphan = Platform::FollowProcess(*check.holder->flasher);
    EXPECT_FALSE(orphan->Ended());
    orphan->Stop();
    waitFor([&] { return orphan->Ended().has_value(); });
    ASSERT_TRUE(orphan->Ended());
    EXPECT_FALSE(orphan->Ended()->known);
    check.lock->Release();
    EXPECT_EQ(RunLock::TakeAtStart(RunLock::DefaultFile()).finding, Finding::Free);
}
#endif

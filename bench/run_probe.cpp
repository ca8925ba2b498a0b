// SPDX-License-Identifier: GPL-2.0-or-later
// A run's own costs against what they are compared with.
// Usage:
//   run_probe --lock DRIVE_C RUNS   the staging of the sample run, then taking and checking drive
//                                   C's run lock (recording the run and its flasher, then
//                                   letting go), RUNS times each: prints the medians in ms
//   run_probe --read FILE LOG       a flasher (cat FILE) whose output is read into the bounded
//                                   run log LOG; fails when any byte was missed or LOG is not
//                                   bounded

#include "library/data_folder.h"
#include "library/drive.h"
#include "library/run_lock.h"
#include "library/run_log.h"
#include "library/run_staging.h"
#include "platform/process.h"
#include "timing.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

namespace
{

bool stage()
{
    RunSelection selection;
    Selection::ApplyCommonChip(selection, CommonChip::Intel28F008);
    Selection::ApplyFlashRow(selection, "3210", "nhm5.fls", "200000", "");
    bool staged = false;
    Staging::StageRun(selection, "3210",
                      {.notice = [](const std::string&, auto&) {},
                       .staged = [&staged](const auto&) { staged = true; }});
    return staged;
}

int lock(const std::filesystem::path& drive, int runs)
{
    Drive::SetRoot(drive);
    DataFolder::Set(drive / "data");
    std::vector<double> staging, locking;
    bool fine = stage(); // the checksums recorded once
    const auto self = Platform::ThisProcess();
    for (int run = 0; run < runs; ++run) {
        staging.push_back(Bench::millisecondsOf([&] { fine = stage() && fine; }));
        locking.push_back(Bench::millisecondsOf([&] {
            auto check = RunLock::TakeAtStart(RunLock::DefaultFile());
            fine = check.finding == RunLock::Finding::Free &&
                   check.lock->Begin("run", "3210", "nhm5.fls", 0) &&
                   check.lock->SetFlasher(self) && fine;
            if (check.lock)
                check.lock->Release();
        }));
    }
    if (!fine)
        return 1;
    std::printf("%.3f %.3f\n", Bench::median(staging), Bench::median(locking));
    return 0;
}

int read(const char* file, const char* log)
{
    std::string error;
    auto writer = RunLog::Writer::Create(log, error);
    if (!writer)
        return 1;
    auto program = Platform::StartProgram(
        {{"cat", file}, {}, [&writer](std::string_view bytes) { writer->Append(bytes); }}, error);
    if (!program)
        return 1;
    while (!program->Ended())
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const bool finished = writer->Finish();
    std::error_code ignored;
    return finished && writer->total() == std::filesystem::file_size(file, ignored) &&
                   std::filesystem::file_size(log, ignored) <= 2 * RunLog::KeptBytes + 100
               ? 0
               : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 4 && std::strcmp(argv[1], "--lock") == 0)
        return lock(argv[2], std::atoi(argv[3]));
    if (argc == 4 && std::strcmp(argv[1], "--read") == 0)
        return read(argv[2], argv[3]);
    return 2;
}

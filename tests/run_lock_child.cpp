// SPDX-License-Identifier: GPL-2.0-or-later
// A Quorvel process in little, for run_lock_test.cpp: on the drive C given, it takes the run
// lock and, when it may, stages a run of the 3210 group with the image given and starts the
// flasher; it prints what it found ("Free", "Busy", ...) and, once the flasher runs, "running",
// then follows the flasher to its end. Usage: run_lock_child DRIVE_C IMAGE

#include "library/drive.h"
#include "library/run_lock.h"
#include "library/run_staging.h"

#include <chrono>
#include <cstdio>
#include <thread>

int main(int argc, char* argv[])
{
    if (argc != 3)
        return 2;
    Drive::SetRoot(argv[1]);
    auto check = RunLock::TakeAtStart(RunLock::DefaultFile());
    const char* names[] = {"Free", "Busy", "Adopt", "OtherHost", "Failed"};
    std::printf("%s\n", names[static_cast<int>(check.finding)]);
    std::fflush(stdout);
    if (check.finding != RunLock::Finding::Free ||
        !check.lock->Begin("child run", "3210", argv[2], 0))
        return 3;
    RunSelection selection;
    Selection::ApplyCommonChip(selection, CommonChip::Intel28F008);
    Selection::ApplyFlashRow(selection, "3210", argv[2], "200000", "");
    auto flasher = Staging::StageRun(
        selection, "3210",
        {.notice = [](const std::string& text, const auto&) { std::printf("%s\n", text.c_str()); },
         .start = {.output = [](std::string_view) {}}});
    if (!flasher || !check.lock->SetFlasher(flasher->running()->identity()))
        return 4;
    std::printf("running\n");
    std::fflush(stdout);
    while (!flasher->program->Ended())
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    check.lock->Release();
    return 0;
}

// SPDX-License-Identifier: GPL-2.0-or-later
// One run's staging (copies, deletes, flasher.cfg) on a prepared drive, as a whole process.
// Usage: staging_probe DRIVE_C   (the flasher is not started: none is in place)

#include "library/drive.h"
#include "library/run_staging.h"

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2)
        return 2;
    Drive::SetRoot(argv[1]);
    RunSelection selection;
    Selection::ApplyCommonChip(selection, CommonChip::Intel28F008);
    Selection::ApplyFlashRow(selection, "3210", "image.fls", "200000", "");
    int notices = 0;
    Staging::StageRun(selection, "3210", {.notice = [&](const std::string& text, auto&) {
                          // The only expected notice: no flasher in place to start.
                          if (text.find("could not be started") == std::string::npos)
                              std::fprintf(stderr, "%s\n", text.c_str());
                          ++notices;
                      }});
    return notices == 1 ? 0 : 1;
}

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The choices a flashing run needs, and what each choice in the main window makes of them.
// Every Apply function sets its fields and returns the status line text for the choice. A row
// whose file or group name could lead out of its folder throws UnsafeName (entry_names.h) and
// changes nothing.

#include <string>
#include <string_view>

struct RunSelection {
    std::string LoaderFile;
    std::string LoaderLine;
    std::string BootFile;
    std::string BootLine;
    std::string FlashFile;
    std::string FlashLine;
};

enum class CommonChip { Atmel29F800, Intel28F008, Intel28F160 };

namespace Selection
{

// A common chip type: its loader from the common folder, and the common boot file.
std::string ApplyCommonChip(RunSelection& selection, CommonChip chip);

// A TIA list row: name, type and description as the row shows them.
std::string ApplyTiaRow(RunSelection& selection, std::string_view name, std::string_view type,
                        std::string_view description);

// A boot list row.
std::string ApplyBootRow(RunSelection& selection, std::string_view name,
                         std::string_view description);

// A flash list row of the group page in front.
std::string ApplyFlashRow(RunSelection& selection, std::string_view group, std::string_view name,
                          std::string_view address, std::string_view description);

} // namespace Selection

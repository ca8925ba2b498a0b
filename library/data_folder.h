// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The program's own data folder, outside drive C's library: the journal of runs and the batch
// file that runs a DOS flasher in DOSBox lie there. On Linux it is the folder beside drive C's
// (~/.local/share/Quorvel), on Windows %LOCALAPPDATA%\Quorvel.

#include <filesystem>

namespace DataFolder
{

// The program sets it once at start. Tests give their own folder to what uses it instead.
void Set(const std::filesystem::path& folder);
const std::filesystem::path& Get();

} // namespace DataFolder

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What drive C must hold before a run can work, which Quorvel itself never writes: the library
// folder, the loaders of the three common chip types, the common boot file and the flasher.

#include <string>
#include <system_error>
#include <vector>

namespace DriveCheck
{

// The logical paths of what is missing, in the order above (a folder ends in a backslash).
std::vector<std::string> Missing();

// Whether the library folder itself is missing.
bool LibraryFolderMissing();

// Creates the library's folders (TIA, boot, phones and common folders) and the flasher's folder,
// with any missing parents. The first error, none when all are there.
std::error_code CreateFolders();

} // namespace DriveCheck

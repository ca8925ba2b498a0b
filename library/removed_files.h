// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The Removed folder beside the library: where Check library moves files that no catalogue
// names, under their path below the library, and from where it puts them back. Nothing is
// deleted: a moved file's checksum line goes into the folder's own manifest (the format of
// `sha256sum`, names below the library) and comes back with the file.

#include "platform/file_problem.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace RemovedFiles
{

inline constexpr std::string_view Folder = "c:\\nk_files\\Removed\\";
inline constexpr std::string_view Manifest = "c:\\nk_files\\Removed\\checksums.sha256";

// The files in the folder, by their names below the library, in name order; its manifest aside.
std::vector<std::string> List();

struct [[nodiscard]] Outcome {
    bool moved = false;
    // What went wrong: the file not moved, or its line not carried along (the file was moved).
    std::optional<Platform::FileProblem> problem;
};

// Moves a library file (its name below the library) into the folder, its checksum line, if it
// has one, into the folder's manifest. Never over a file already there.
Outcome Remove(const std::string& name);

// Moves a removed file back to its place in the library, with its line; never over a file
// there.
Outcome PutBack(const std::string& name);

} // namespace RemovedFiles

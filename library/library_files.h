// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Rules the editor dialogs share: bringing a picked file into a library folder, which never
// overwrites, and what counts as an empty field.

#include "platform/file_problem.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace LibraryFiles
{

enum class CopyOutcome {
    Copied,
    AlreadyInLibrary,   // the same bytes are there under that name: nothing is copied
    DifferentInLibrary, // other bytes are there under that name: they stay, nothing is copied
    Failed,
};

struct CopyReport {
    CopyOutcome outcome = CopyOutcome::Failed;
    std::string libraryName; // the file's name in the library, in the library's spelling
    int error = 0;           // why a copy failed, an errno value
    // A copied file whose checksum could not be recorded: the manifest and why.
    std::optional<Platform::FileProblem> checksumFailure;
};

// Creates the library folder with any missing parents, then copies the picked file into it
// under its own name, whole or not at all, and records its checksum, unless a file of that
// name is already there (library_name.h tells which names are the same).
// A name that could not stay in the folder (a "\" or ":" in a file name here) throws
// UnsafeName before anything is done.
CopyReport CopyIntoLibrary(const std::filesystem::path& picked, std::string_view libraryFolder);

// The picked file's name without its folder, as bytes.
std::string FileNameOf(const std::filesystem::path& picked);

// True when nothing is left after removing leading and trailing blanks and control characters.
bool IsBlank(std::string_view text);

} // namespace LibraryFiles

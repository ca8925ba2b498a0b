#pragma once
// Rules the editor dialogs share: bringing a picked file into a library folder, which never
// overwrites, and what counts as an empty field.

#include <filesystem>
#include <string>
#include <string_view>

namespace LibraryFiles
{

enum class CopyOutcome {
    Copied,
    AlreadyInLibrary, // a file of that name is there: it stays, nothing is copied
    Failed,
};

// Creates the library folder with any missing parents, then copies the picked file into it
// under its own name unless a file of that name is already there. A name that could not stay
// in the folder (a "\" or ":" in a file name here) throws UnsafeName before anything is done.
CopyOutcome CopyIntoLibrary(const std::filesystem::path& picked, std::string_view libraryFolder);

// The picked file's name without its folder, as bytes.
std::string FileNameOf(const std::filesystem::path& picked);

// True when nothing is left after removing leading and trailing blanks and control characters.
bool IsBlank(std::string_view text);

} // namespace LibraryFiles

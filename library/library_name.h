// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A file's name inside a library folder, and the one rule by which two such names are the same
// file: ASCII letters without regard to case, as the Windows file system has it, every other
// byte exact. Every place that matches a library name (a picked file against a folder, a
// manifest key, a delete command's pattern, a staged name) goes through this rule, so that a
// name one place takes for another file cannot slip past another place.
//
// Logical paths (c:\...) become this machine's paths once, at the edge: LibraryFile carries
// both forms through the checks and the staging.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace LibraryName
{

// One spelling of a byte for all bytes that are the same.
constexpr char FoldedByte(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The rule for one byte.
constexpr bool SameByte(char a, char b)
{
    return FoldedByte(a) == FoldedByte(b);
}

// The rule for a name (or a path below the library, folder by folder).
bool Same(std::string_view a, std::string_view b);

// The name folded to one spelling of all those that are the same: for ordered keys.
std::string Folded(std::string_view name);

// Orders names so that those that are the same are equivalent (a map key of library names).
struct Less {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

// The spelling under which the folder (a logical path ending in "\") holds a file of this name,
// taken from a listing of the folder on every platform; nothing when it holds none.
std::optional<std::string> FindInFolder(std::string_view folder, std::string_view name);

// Whether the name is one of the names the run writes beside the flash image
// (f_loader.bin, boot.bin): an image of that name would overwrite one of them.
bool IsStagedName(std::string_view name);

} // namespace LibraryName

// A file of drive C in both its forms, resolved once: the logical path as the program names it
// (c:\..., the file name in the spelling the folder holds) and the path on this machine.
struct LibraryFile {
    std::string logical;
    std::filesystem::path native;

    // Maps the logical path to this machine; a file the folder holds under another spelling of
    // its name is taken in that spelling. A file that is not there keeps the name as given.
    static LibraryFile Resolve(std::string_view logicalPath);
};

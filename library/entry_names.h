// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Names from catalogues and picked files become parts of paths: a file in the TIA folder, a
// phone group's folder. Catalogues are edited by hand and shared, so a name that would lead out
// of its folder is never joined into a path (Paths::EntryPath checks).

#include <stdexcept>
#include <string_view>

namespace EntryNames
{

// False for an empty name, "." and "..", a name holding "\", "/" or ":" (a folder separator
// here or on Windows, or a drive), and one holding a control character (NUL among them).
bool IsSafe(std::string_view name);

} // namespace EntryNames

// An entry whose name IsSafe refuses, met where the name would become a file or folder name.
class UnsafeName : public std::runtime_error
{
public:
    explicit UnsafeName(std::string_view name);
};

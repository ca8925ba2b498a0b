// SPDX-License-Identifier: GPL-2.0-or-later
#include "entry_names.h"

#include <algorithm>
#include <string>

namespace EntryNames
{

bool IsSafe(std::string_view name)
{
    // A NUL would end the name early for the system; no file name holds control characters.
    const bool hasControl = std::any_of(
        name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    return !name.empty() && name != "." && name != ".." && !hasControl &&
           name.find_first_of("\\/:") == std::string_view::npos;
}

} // namespace EntryNames

UnsafeName::UnsafeName(std::string_view name)
    : std::runtime_error("\"" + std::string(name) + "\" cannot be used as a file or folder name")
{
}

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The three files of a run, each in its role, and the one table of what each role is called: the
// name the journal keeps it under, and the words the windows use for it.

#include <array>
#include <cstddef>
#include <string_view>

enum class RunRole { Loader, Boot, Image };

namespace RunRoles
{

struct Texts {
    RunRole role;
    std::string_view name;  // as the journal names it
    std::string_view noun;  // in a sentence: "the boot file c:\..."
    std::string_view label; // before a value: "Boot file  c:\..."
};

// Every role, in the order a run stages its files.
inline constexpr std::array<Texts, 3> Table = {{
    {RunRole::Loader, "loader", "loader", "Loader"},
    {RunRole::Boot, "boot", "boot file", "Boot file"},
    {RunRole::Image, "image", "image", "Image"},
}};

constexpr const Texts& Of(RunRole role)
{
    return Table[static_cast<std::size_t>(role)];
}

} // namespace RunRoles

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the writers of the catalogue stress tests write: a TIA catalogue of 800 sections, and
// the n-th write of each writer, into one of them, with a value whose length changes.

#include <string>
#include <string_view>

namespace StressWrites
{

inline constexpr int Sections = 800;

inline std::string SectionName(int index)
{
    return "s" + std::to_string(index);
}

// "[s0]\r\nKey=0\r\n[s1]\r\nKey=1\r\n..."
inline std::string StartingCatalogue()
{
    std::string text;
    for (int index = 0; index < Sections; ++index)
        text += "[" + SectionName(index) + "]\r\nKey=" + std::to_string(index) + "\r\n";
    return text;
}

struct Write {
    std::string section;
    std::string key;
    std::string value;
};

// The writer's name is its key.
inline Write NthWrite(std::string_view writer, long n)
{
    return {SectionName(static_cast<int>((n * 7919) % Sections)), std::string(writer),
            std::string(static_cast<std::size_t>(n % 13 + 1), static_cast<char>('a' + n % 26)) +
                std::to_string(n)};
}

} // namespace StressWrites

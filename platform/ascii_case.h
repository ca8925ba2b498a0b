// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Letter case of names as the Windows file system and profile files compare them: ASCII
// letters only, the same in every process locale (the widgets switch the locale to the user's,
// where std::tolower may turn 'I' into a dotless i). Bytes of 0x80 and above, which differ
// between code pages, are left as they are.

#include <algorithm>
#include <string_view>

namespace AsciiCase
{

constexpr char ToLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char ToUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr bool EqualIgnoringCase(char a, char b)
{
    return ToLower(a) == ToLower(b);
}

constexpr bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return EqualIgnoringCase(x, y);
           });
}

} // namespace AsciiCase

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A path as text for messages and command lines: UTF-8 on Windows (whose narrow path text would
// be the ANSI code page, which cannot hold every name), the path's own bytes elsewhere. The
// programs started on Windows get their command line as wide text made from it (process.h).

#include <filesystem>
#include <string>

namespace Platform
{

inline std::string PathText(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace Platform

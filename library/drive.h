// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The one mapping from the program's logical paths (c:\...) to this machine's file system.

#include <filesystem>
#include <string_view>

namespace Drive
{

// Where drive C lies. The program sets it once at start; tests point it at a temporary folder.
void SetRoot(const std::filesystem::path& root);
const std::filesystem::path& Root();

// Drive C to the drive root and backslashes to the native separator; nothing else is normalised.
// A path that does not start with drive C is only given native separators.
std::filesystem::path NativePath(std::string_view logicalPath);

} // namespace Drive

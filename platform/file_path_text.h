// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A path as the program's text, wherever one becomes text (a message, a name compared with a
// catalogue's, an argument): its bytes as they are on POSIX, UTF-8 on Windows. There string()
// is in whatever narrow encoding the standard library chose, which need not hold the name. The
// windows keep the same rule between Qt and the file system (forms/common/file_path.h).

#include <filesystem>
#include <string>

namespace Platform
{

inline std::string FilePathText(const std::filesystem::path& path)
{
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
#else
    return path.string();
#endif
}

} // namespace Platform

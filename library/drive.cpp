// SPDX-License-Identifier: GPL-2.0-or-later
#include "drive.h"

namespace Drive
{

namespace
{

std::filesystem::path& rootStorage()
{
    static std::filesystem::path root = "c:\\";
    return root;
}

bool startsWithDriveC(std::string_view path)
{
    return path.size() >= 2 && (path[0] == 'c' || path[0] == 'C') && path[1] == ':';
}

} // namespace

void SetRoot(const std::filesystem::path& root)
{
    rootStorage() = root;
}

const std::filesystem::path& Root()
{
    return rootStorage();
}

std::filesystem::path NativePath(std::string_view logicalPath)
{
    std::string rest(startsWithDriveC(logicalPath) ? logicalPath.substr(2) : logicalPath);
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    for (char& c : rest) {
        if (c == '\\')
            c = separator;
    }
    if (!startsWithDriveC(logicalPath))
        return std::filesystem::path(rest);
    // Appending "/x" to a root would replace it; strip the leading separators instead.
    const auto firstNonSeparator = rest.find_first_not_of(separator);
    if (firstNonSeparator == std::string::npos)
        return Root();
    return Root() / rest.substr(firstNonSeparator);
}

} // namespace Drive

// SPDX-License-Identifier: GPL-2.0-or-later
#include "file_problem.h"

#include "files.h"

#include <cerrno>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace Platform
{

std::string ReasonText(int errorCode)
{
    return errorCode == 0 ? std::string() : std::generic_category().message(errorCode);
}

FileProblem CopyProblem(const fs::path& from, const fs::path& to, int copyError)
{
    const auto reason = [copyError](int found) {
        return ReasonText(copyError ? copyError : found);
    };
    std::error_code error;
    // Opened, not read: the source may be a large image.
    if (!fs::is_regular_file(from, error) || !std::ifstream(from, std::ios::binary))
        return {from, reason(fs::exists(from, error) ? EACCES : ENOENT)};
    if (IsReadOnly(to))
        return {to, reason(EACCES)};
    const fs::path folder = to.parent_path();
    if (!fs::is_directory(folder, error))
        return {folder, reason(ENOENT)};
    if (fs::is_directory(to, error))
        return {to, reason(EISDIR)};
    return {to, ReasonText(copyError)};
}

} // namespace Platform

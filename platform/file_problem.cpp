// SPDX-License-Identifier: GPL-2.0-or-later
#include "file_problem.h"

#include "files.h"

#include <cerrno>
#include <system_error>

namespace fs = std::filesystem;

namespace Platform
{

std::string ReasonText(int errorCode)
{
    return errorCode == 0 ? std::string() : std::generic_category().message(errorCode);
}

FileProblem CopyProblem(const fs::path& from, const fs::path& to)
{
    const FileBytes source = ReadFileBytes(from);
    if (source.outcome != ReadOutcome::Read)
        return {from, source.error.message()};
    if (IsReadOnly(to))
        return {to, ReasonText(EACCES)};
    std::error_code error;
    const fs::path folder = to.parent_path();
    if (!fs::is_directory(folder, error))
        return {folder, error ? error.message() : ReasonText(ENOENT)};
    if (fs::is_directory(to, error))
        return {to, ReasonText(EISDIR)};
    return {to, {}};
}

} // namespace Platform

// SPDX-License-Identifier: GPL-2.0-or-later
#include "delete_command.h"

#include "library/drive.h"
#include "library/library_name.h"
#include "library/paths.h"
#include "platform/ascii_case.h"
#include "platform/file_path_text.h"
#include "platform/files.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace DeleteCommand
{

namespace
{

constexpr std::string_view Prefix = "COMMAND.COM /C DEL ";

} // namespace

bool Matches(std::string_view pattern, std::string_view name)
{
    if (pattern.empty())
        return name.empty();
    if (pattern.front() == '*') {
        for (std::size_t skip = 0; skip <= name.size(); ++skip) {
            if (Matches(pattern.substr(1), name.substr(skip)))
                return true;
        }
        return false;
    }
    if (name.empty() ||
        (pattern.front() != '?' && !LibraryName::SameByte(pattern.front(), name.front())))
        return false;
    return Matches(pattern.substr(1), name.substr(1));
}

bool CarryOut(std::string_view commandLine)
{
    // The command word is no library name: it is matched as the command interpreter reads it.
    if (commandLine.size() <= Prefix.size() ||
        !AsciiCase::EqualIgnoringCase(commandLine.substr(0, Prefix.size()), Prefix))
        return false;
    const std::string_view target = commandLine.substr(Prefix.size());
    const std::string pattern = Paths::FileNameOf(target);
    const fs::path folder = Drive::NativePath(Paths::FolderOf(target));

    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const auto& path = entry->path();
        if (entry->is_regular_file(error) &&
            Matches(pattern, Platform::FilePathText(path.filename())) &&
            !Platform::IsReadOnly(path)) {
            std::error_code ignored;
            fs::remove(path, ignored);
        }
    }
    return true;
}

} // namespace DeleteCommand

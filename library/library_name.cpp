// SPDX-License-Identifier: GPL-2.0-or-later
#include "library_name.h"

#include "library/drive.h"
#include "library/paths.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace LibraryName
{

bool Same(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameByte);
}

std::string Folded(std::string_view name)
{
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldedByte);
    return folded;
}

bool Less::operator()(std::string_view a, std::string_view b) const
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(FoldedByte(x)) <
               static_cast<unsigned char>(FoldedByte(y));
    });
}

std::optional<std::string> FindInFolder(std::string_view folder, std::string_view name)
{
    std::error_code error;
    std::optional<std::string> found;
    for (fs::directory_iterator entry(Drive::NativePath(folder), error), end;
         !error && entry != end; entry.increment(error)) {
        std::string listed = entry->path().filename().string();
        // The exact spelling wins where a file system holds more than one.
        if (listed == name)
            return listed;
        if (!found && Same(listed, name))
            found = std::move(listed);
    }
    return found;
}

bool IsStagedName(std::string_view name)
{
    return Same(name, Paths::FileNameOf(Paths::StagedLoader)) ||
           Same(name, Paths::FileNameOf(Paths::StagedBoot));
}

} // namespace LibraryName

LibraryFile LibraryFile::Resolve(std::string_view logicalPath)
{
    const std::string folder = Paths::FolderOf(logicalPath);
    const std::string name = Paths::FileNameOf(logicalPath);
    const auto listed = LibraryName::FindInFolder(folder, name);
    std::string logical = Paths::Join(folder, listed ? *listed : name);
    fs::path native = Drive::NativePath(logical);
    return {std::move(logical), std::move(native)};
}

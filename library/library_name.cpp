// SPDX-License-Identifier: GPL-2.0-or-later
#include "library_name.h"

#include "library/drive.h"
#include "library/paths.h"
#include "platform/file_path_text.h"

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
    // Equal bytes are skipped as they are, and only where they differ are they folded: a run
    // orders thousands of manifest names that share long prefixes ("Phones/3210/...").
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t at = 0;; ++at) {
        at = std::mismatch(a.begin() + at, a.begin() + common, b.begin() + at).first - a.begin();
        if (at == common)
            return a.size() < b.size();
        const auto x = static_cast<unsigned char>(FoldedByte(a[at]));
        const auto y = static_cast<unsigned char>(FoldedByte(b[at]));
        if (x != y)
            return x < y;
    }
}

std::optional<std::string> FindInFolder(std::string_view folder, std::string_view name)
{
    std::error_code error;
    std::optional<std::string> found;
    for (fs::directory_iterator entry(Drive::NativePath(folder), error), end;
         !error && entry != end; entry.increment(error)) {
        std::string listed = Platform::FilePathText(entry->path().filename());
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

// SPDX-License-Identifier: GPL-2.0-or-later
#include "recorded_files.h"

#include "library/catalogue_file.h"
#include "library/drive.h"
#include "library/entry_names.h"
#include "library/paths.h"
#include "platform/hash.h"

#include <filesystem>
#include <system_error>

namespace RecordedFiles
{

std::optional<std::string> LibraryFileDigest(std::string_view logicalPath)
{
    if (logicalPath.size() <= Paths::Library.size() ||
        logicalPath.substr(0, Paths::Library.size()) != Paths::Library)
        return std::nullopt;
    for (std::string_view rest = logicalPath.substr(Paths::Library.size());;) {
        const auto slash = rest.find('\\');
        if (!EntryNames::IsSafe(rest.substr(0, slash)))
            return std::nullopt;
        if (slash == std::string_view::npos)
            break;
        rest.remove_prefix(slash + 1);
    }
    const auto native = Drive::NativePath(logicalPath);
    std::error_code error;
    if (std::filesystem::status(native, error).type() != std::filesystem::file_type::regular)
        return std::nullopt;
    return Platform::HashFile(native);
}

ConfigLine CompareConfig(std::string_view group, std::string_view recordedConfig)
{
    const auto phones = CatalogueFile(Paths::PhoneCatalogue).ReadableSnapshot();
    if (!phones)
        return ConfigLine::Unreadable;
    return phones->ReadString(group, "Config", "") == recordedConfig ? ConfigLine::Same
                                                                     : ConfigLine::Changed;
}

} // namespace RecordedFiles

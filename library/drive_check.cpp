// SPDX-License-Identifier: GPL-2.0-or-later
#include "drive_check.h"

#include "library/drive.h"
#include "library/paths.h"

#include <filesystem>
#include <string_view>

namespace fs = std::filesystem;

namespace DriveCheck
{

namespace
{

bool exists(std::string_view logicalPath)
{
    std::error_code error;
    return fs::exists(Drive::NativePath(logicalPath), error);
}

} // namespace

bool LibraryFolderMissing()
{
    return !exists(Paths::Library);
}

std::vector<std::string> Missing()
{
    std::vector<std::string> missing;
    if (LibraryFolderMissing())
        missing.emplace_back(Paths::Library);
    for (const std::string_view file : Paths::CommonFiles) {
        if (!exists(file))
            missing.emplace_back(file);
    }
    if (!exists(Paths::Flasher))
        missing.emplace_back(Paths::Flasher);
    return missing;
}

std::error_code CreateFolders()
{
    for (const std::string_view folder : {Paths::TiaFolder, Paths::BootFolder, Paths::PhonesFolder,
                                          Paths::CommonFolder, Paths::FlasherFolder}) {
        std::error_code error;
        fs::create_directories(Drive::NativePath(folder), error);
        if (error)
            return error;
    }
    return {};
}

} // namespace DriveCheck

// SPDX-License-Identifier: GPL-2.0-or-later
#include "data_folder.h"

namespace DataFolder
{

namespace
{
std::filesystem::path folder;
}

void Set(const std::filesystem::path& path)
{
    folder = path;
}

const std::filesystem::path& Get()
{
    return folder;
}

} // namespace DataFolder

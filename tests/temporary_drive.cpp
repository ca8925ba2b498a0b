// SPDX-License-Identifier: GPL-2.0-or-later
#include "temporary_drive.h"

#include "platform/files.h"

#include <fstream>
#include <random>

namespace fs = std::filesystem;

TemporaryDrive::TemporaryDrive()
{
    std::random_device random;
    m_root = fs::temp_directory_path() / ("quorvel-test-" + std::to_string(random()));
    fs::create_directories(m_root);
    Drive::SetRoot(m_root);
}

TemporaryDrive::~TemporaryDrive()
{
    std::error_code ignored;
    fs::remove_all(m_root, ignored);
}

void TemporaryDrive::write(std::string_view logicalPath, std::string_view bytes) const
{
    const auto path = Drive::NativePath(logicalPath);
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TemporaryDrive::read(std::string_view logicalPath) const
{
    return readNative(Drive::NativePath(logicalPath));
}

std::string TemporaryDrive::readNative(const fs::path& path)
{
    return Platform::ReadFileBytes(path).bytes.value_or("");
}

bool TemporaryDrive::exists(std::string_view logicalPath) const
{
    return fs::exists(Drive::NativePath(logicalPath));
}

void TemporaryDrive::makeReadOnly(std::string_view logicalPath) const
{
    fs::permissions(Drive::NativePath(logicalPath),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A drive C of its own in a fresh temporary folder for each test, removed afterwards.

#include "library/drive.h"

#include <filesystem>
#include <string>
#include <string_view>

class TemporaryDrive
{
public:
    TemporaryDrive();
    ~TemporaryDrive();
    TemporaryDrive(const TemporaryDrive&) = delete;
    TemporaryDrive& operator=(const TemporaryDrive&) = delete;

    const std::filesystem::path& root() const { return m_root; }
    // The program's data folder for this test, beside drive C; given to what uses it.
    std::filesystem::path dataFolder() const { return m_root / "data"; }

    // Writes bytes at a logical path, creating its folders.
    void write(std::string_view logicalPath, std::string_view bytes) const;
    // The bytes at a logical path; empty when there is no such file.
    std::string read(std::string_view logicalPath) const;
    bool exists(std::string_view logicalPath) const;
    void makeReadOnly(std::string_view logicalPath) const;

    // The bytes of a file of this machine, outside the drive.
    static std::string readNative(const std::filesystem::path& path);

private:
    std::filesystem::path m_root;
};

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A regular file read by blocks at any offset (pread, ReadFile with an offset), never memory
// mapped: a file cut short by another program while it is read gives a short read, not a
// crash. Opening refuses at once what is not a regular file (a FIFO, a device, a folder)
// without waiting on it.

#include "platform/files.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

namespace Platform
{

class FileReader
{
public:
    explicit FileReader(const std::filesystem::path& path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Read when open; Missing, NotAFile or Unreadable (with error()) otherwise.
    ReadOutcome outcome() const { return m_outcome; }
    std::error_code error() const { return m_error; }
    // The size when it was opened.
    std::uint64_t size() const { return m_size; }

    // Reads up to size bytes at the offset: fewer only at the file's end; nothing, with
    // error(), when the system refuses.
    std::optional<std::size_t> ReadAt(std::uint64_t offset, char* into, std::size_t size);

private:
    ReadOutcome m_outcome = ReadOutcome::Missing;
    std::error_code m_error;
    std::uint64_t m_size = 0;
    std::intptr_t m_handle = -1;
};

} // namespace Platform

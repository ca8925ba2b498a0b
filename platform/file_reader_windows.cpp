// SPDX-License-Identifier: GPL-2.0-or-later
#include "file_reader.h"

#include "platform/windows_io.h"

#include <algorithm>

namespace Platform
{

FileReader::FileReader(const std::filesystem::path& path)
{
    // Shared for writing and deleting: the program that appends to it is not in the way.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        m_error = {Windows::ErrnoOf(error), std::generic_category()};
        m_outcome = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                        ? ReadOutcome::Missing
                        : ReadOutcome::Unreadable;
        return;
    }
    LARGE_INTEGER size{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size)) {
        CloseHandle(file);
        m_outcome = ReadOutcome::NotAFile;
        return;
    }
    m_handle = reinterpret_cast<std::intptr_t>(file);
    m_size = std::uint64_t(size.QuadPart);
    m_outcome = ReadOutcome::Read;
}

FileReader::~FileReader()
{
    if (m_outcome == ReadOutcome::Read)
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

std::optional<std::size_t> FileReader::ReadAt(std::uint64_t offset, char* into, std::size_t size)
{
    std::size_t done = 0;
    while (m_outcome == ReadOutcome::Read && done < size) {
        OVERLAPPED at{};
        const std::uint64_t from = offset + done;
        at.Offset = DWORD(from);
        at.OffsetHigh = DWORD(from >> 32);
        const DWORD want = DWORD(std::min<std::size_t>(size - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(reinterpret_cast<HANDLE>(m_handle), into + done, want, &got, &at)) {
            const DWORD error = GetLastError();
            if (error == ERROR_HANDLE_EOF)
                break;
            m_error = {Windows::ErrnoOf(error), std::generic_category()};
            return std::nullopt;
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

} // namespace Platform

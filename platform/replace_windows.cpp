// SPDX-License-Identifier: GPL-2.0-or-later
#include "files.h"
#include "windows_io.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include <string>
#include <windows.h>

namespace fs = std::filesystem;

namespace Platform
{

namespace
{

// The attributes a rewrite carries over from the old file to the new one, with its creation
// time. (The new file has the folder's security, as a file made there by hand would.)
constexpr DWORD KeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                 FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

struct Existing {
    fs::path target; // where the bytes go: the file itself, or what its link points at
    bool found = false;
    DWORD attributes = 0;
    FILETIME created{};
};

// The file as it is now. False when it must not be written: a folder, a read-only file, or
// something that cannot even be looked at (a missing folder among them).
bool lookAt(const fs::path& path, Existing& existing)
{
    existing.target = path;
    // Opening follows links, so that a linked catalogue is written where the link points.
    Windows::Handle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid())
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(file.get(), &information) ||
        (information.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        return false;
    existing.found = true;
    existing.attributes = information.dwFileAttributes;
    existing.created = information.ftCreationTime;
    const DWORD linkAttributes = GetFileAttributesW(path.c_str());
    if (linkAttributes != INVALID_FILE_ATTRIBUTES &&
        (linkAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        wchar_t buffer[MAX_PATH * 4];
        const DWORD length =
            GetFinalPathNameByHandleW(file.get(), buffer, std::size(buffer), FILE_NAME_NORMALIZED);
        if (length == 0 || length >= std::size(buffer))
            return false;
        existing.target = std::wstring(buffer, length);
    }
    return true;
}

// Moves the file's end to size, or its write position to the start (size 0 and no end).
bool setPosition(HANDLE file, std::uint64_t position)
{
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(position);
    return SetFilePointerEx(file, to, nullptr, FILE_BEGIN);
}

// For a folder that lets us change the file but not add one beside it: rewritten in place and
// flushed, as a direct write would do. The room for the new text is taken first, so that a
// full disk refuses before any byte of the old text changes.
bool rewriteInPlace(const fs::path& target, std::string_view bytes)
{
    Windows::Handle file(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file.valid() || !GetFileSizeEx(file.get(), &size))
        return false;
    if (bytes.size() > static_cast<std::uint64_t>(size.QuadPart) &&
        !(setPosition(file.get(), bytes.size()) && SetEndOfFile(file.get())))
        return false;
    return setPosition(file.get(), 0) && Windows::WriteAll(file.get(), bytes) &&
           SetEndOfFile(file.get()) && FlushFileBuffers(file.get()) && file.close();
}

} // namespace

bool ReplaceFileContents(const fs::path& path, std::string_view bytes)
{
    Existing existing;
    if (!lookAt(path, existing))
        return false;
    fs::path temporary;
    DWORD error = 0;
    Windows::Handle file(Windows::CreateTemporary(
        existing.target, existing.attributes & KeptAttributes, temporary, error));
    if (!file.valid())
        return existing.found && error == ERROR_ACCESS_DENIED &&
               rewriteInPlace(existing.target, bytes);
    const bool written =
        Windows::WriteAll(file.get(), bytes) &&
        (!existing.found || SetFileTime(file.get(), &existing.created, nullptr, nullptr)) &&
        FlushFileBuffers(file.get());
    if (file.close() && written && Windows::MoveIntoPlace(temporary, existing.target, true))
        return true;
    DeleteFileW(temporary.c_str()); // ours: made new above, still under its own name
    return false;
}

} // namespace Platform

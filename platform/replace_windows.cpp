#include "files.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <random>
#include <string>
#include <windows.h>

namespace fs = std::filesystem;

namespace Platform
{

namespace
{

class Handle
{
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return m_handle; }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool close()
    {
        const bool closed = !valid() || CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};

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
    Handle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
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

// A file of our own beside the target, under a name nobody else has used: created new, so it
// is never an existing file nor a link. INVALID_HANDLE_VALUE, with the system's error code,
// when the folder refuses it.
HANDLE createTemporary(const fs::path& target, DWORD attributes, fs::path& temporary, DWORD& error)
{
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target;
        temporary.replace_filename(target.filename().wstring() + L"." + std::to_wstring(random()) +
                                   L".tmp");
        const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        attributes & KeptAttributes, nullptr);
        error = GetLastError();
        if (file != INVALID_HANDLE_VALUE || error != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

bool writeAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
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
    Handle file(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file.valid() || !GetFileSizeEx(file.get(), &size))
        return false;
    if (bytes.size() > static_cast<std::uint64_t>(size.QuadPart) &&
        !(setPosition(file.get(), bytes.size()) && SetEndOfFile(file.get())))
        return false;
    return setPosition(file.get(), 0) && writeAll(file.get(), bytes) && SetEndOfFile(file.get()) &&
           FlushFileBuffers(file.get()) && file.close();
}

// Puts the flushed temporary file in the target's place in one step: the name always stands for
// the old or the new file, never for none (ReplaceFile cannot promise that). A file that
// another program holds open refuses for a moment, so a few more tries follow.
bool moveIntoPlace(const fs::path& temporary, const fs::path& target)
{
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(temporary.c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        if (attempt == 10 || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION))
            return false;
        Sleep(20);
    }
}

} // namespace

bool ReplaceFileContents(const fs::path& path, std::string_view bytes)
{
    Existing existing;
    if (!lookAt(path, existing))
        return false;
    fs::path temporary;
    DWORD error = 0;
    Handle file(createTemporary(existing.target, existing.attributes, temporary, error));
    if (!file.valid())
        return existing.found && error == ERROR_ACCESS_DENIED &&
               rewriteInPlace(existing.target, bytes);
    const bool written =
        writeAll(file.get(), bytes) &&
        (!existing.found || SetFileTime(file.get(), &existing.created, nullptr, nullptr)) &&
        FlushFileBuffers(file.get());
    if (file.close() && written && moveIntoPlace(temporary, existing.target))
        return true;
    DeleteFileW(temporary.c_str()); // ours: made new above, still under its own name
    return false;
}

} // namespace Platform

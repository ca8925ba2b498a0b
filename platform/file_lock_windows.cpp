// SPDX-License-Identifier: GPL-2.0-or-later
#include "file_lock.h"

#include <windows.h>

namespace Platform
{

namespace
{

// Windows' locks are mandatory for the bytes they cover: one byte far beyond any contents is
// locked, so that the contents stay readable while the lock is held.
constexpr DWORD LockOffsetHigh = 0x7FFFFFFF;

std::string errorText(DWORD code)
{
    char buffer[256] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.'))
        text.pop_back();
    return text;
}

HANDLE openShared(const std::filesystem::path& path, DWORD access, DWORD creation)
{
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::optional<std::string> readAll(HANDLE file)
{
    std::string bytes;
    char buffer[4096];
    OVERLAPPED at{};
    for (;;) {
        DWORD got = 0;
        at.Offset = static_cast<DWORD>(bytes.size());
        if (!ReadFile(file, buffer, sizeof buffer, &got, &at))
            return GetLastError() == ERROR_HANDLE_EOF ? std::optional<std::string>(bytes)
                                                      : std::nullopt;
        if (got == 0)
            return bytes;
        bytes.append(buffer, got);
    }
}

} // namespace

struct LockedFile::Handle {
    HANDLE file = INVALID_HANDLE_VALUE;
};

LockedFile::LockedFile(std::unique_ptr<Handle> handle) : m_handle(std::move(handle)) {}

LockedFile::~LockedFile()
{
    OVERLAPPED at{};
    at.OffsetHigh = LockOffsetHigh;
    UnlockFileEx(m_handle->file, 0, 1, 0, &at);
    CloseHandle(m_handle->file);
}

std::unique_ptr<LockedFile> LockedFile::TryLock(const std::filesystem::path& path, Outcome& outcome,
                                                std::string& error)
{
    HANDLE file = openShared(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
    if (file == INVALID_HANDLE_VALUE) {
        outcome = Outcome::Failed;
        error = errorText(GetLastError());
        return nullptr;
    }
    OVERLAPPED at{};
    at.OffsetHigh = LockOffsetHigh;
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        const DWORD code = GetLastError();
        CloseHandle(file);
        outcome = code == ERROR_LOCK_VIOLATION ? Outcome::HeldElsewhere : Outcome::Failed;
        error = errorText(code);
        return nullptr;
    }
    outcome = Outcome::Locked;
    auto handle = std::make_unique<Handle>();
    handle->file = file;
    return std::unique_ptr<LockedFile>(new LockedFile(std::move(handle)));
}

std::optional<std::string> LockedFile::Read() const
{
    return readAll(m_handle->file);
}

bool LockedFile::Write(std::string_view bytes)
{
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(m_handle->file, start, nullptr, FILE_BEGIN) ||
        !SetEndOfFile(m_handle->file))
        return false;
    DWORD put = 0;
    OVERLAPPED at{};
    if (!bytes.empty() &&
        (!WriteFile(m_handle->file, bytes.data(), DWORD(bytes.size()), &put, &at) ||
         put != bytes.size()))
        return false;
    return true; // not flushed to disk: a power cut ends the flasher it names too
}

std::optional<std::string> ReadUnlocked(const std::filesystem::path& path)
{
    HANDLE file = openShared(path, GENERIC_READ, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        return code == ERROR_FILE_NOT_FOUND ? std::optional<std::string>(std::string())
                                            : std::nullopt;
    }
    auto bytes = readAll(file);
    CloseHandle(file);
    return bytes;
}

} // namespace Platform

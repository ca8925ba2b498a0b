// SPDX-License-Identifier: GPL-2.0-or-later
#include "files.h"
#include "hash.h"
#include "windows_io.h"

#include <cerrno>
#include <optional>
#include <vector>

namespace fs = std::filesystem;

namespace Platform
{

namespace
{

// Copies the bytes, through the hash when there is one; the system error code of the first
// failure, or 0.
DWORD copyBytes(HANDLE from, HANDLE to, Sha256* hash)
{
    std::vector<char> block(FileBlockSize);
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(from, block.data(), static_cast<DWORD>(block.size()), &read, nullptr))
            return GetLastError();
        if (read == 0)
            return 0;
        const std::string_view bytes(block.data(), read);
        if (hash)
            hash->add(bytes);
        if (!Windows::WriteAll(to, bytes))
            return GetLastError();
    }
}

} // namespace

CopyResult CopyOneFile(const fs::path& from, const fs::path& to, bool replaceExisting,
                       bool forKeeping)
{
    if (const int refused = CopyRefusal(from, to, replaceExisting))
        return {refused, {}};

    Windows::Handle source(CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source.valid())
        return {Windows::ErrnoOf(GetLastError()), {}};
    fs::path temporary;
    DWORD failure = 0;
    // A plain, writable copy: a read-only source's attribute would refuse the next copy.
    Windows::Handle copy(Windows::CreateTemporary(to, FILE_ATTRIBUTE_NORMAL, temporary, failure));
    if (!copy.valid())
        return {Windows::ErrnoOf(failure), {}};

    std::optional<Sha256> hash;
    if (forKeeping)
        hash.emplace();
    failure = copyBytes(source.get(), copy.get(), hash ? &*hash : nullptr);
    if (failure == 0 && forKeeping && !FlushFileBuffers(copy.get()))
        failure = GetLastError();
    if (!copy.close() && failure == 0)
        failure = GetLastError();
    if (failure == 0 && !Windows::MoveIntoPlace(temporary, to, replaceExisting))
        failure = GetLastError();
    if (failure != 0) {
        DeleteFileW(temporary.c_str()); // ours: made new above, still under its own name
        return {Windows::ErrnoOf(failure), {}};
    }
    return {0, hash ? hash->hexDigest() : std::string()};
}

} // namespace Platform

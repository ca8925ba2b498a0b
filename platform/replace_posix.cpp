// SPDX-License-Identifier: GPL-2.0-or-later
#include "files.h"
#include "posix_io.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace Platform
{

namespace
{

// The file that a write to path changes: symbolic links are followed, so that they stay and the
// file they name gets the new contents. Nothing when the links lead round in a circle.
std::optional<fs::path> followLinks(fs::path path)
{
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code notALink;
        const fs::path target = fs::read_symlink(path, notALink);
        if (notALink)
            return path;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return std::nullopt;
}

// For a file in a folder that refuses new files: the file is rewritten where it is, which is
// not one step but is flushed to disk. Room for a longer text is reserved first, so that a full
// disk refuses before any byte changes.
bool rewriteInPlace(const fs::path& file, std::string_view bytes)
{
    const int fd = ::open(file.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {
    };
    const auto size = static_cast<off_t>(bytes.size());
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ok = ok && (size <= info.st_size || ::posix_fallocate(fd, 0, size) == 0);
    ok = ok && Posix::WriteAll(fd, bytes) && ::ftruncate(fd, size) == 0 && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

} // namespace

bool ReplaceFileContents(const fs::path& path, std::string_view bytes)
{
    const auto target = followLinks(path);
    if (!target)
        return false;
    struct stat old {
    };
    const bool exists = ::lstat(target->c_str(), &old) == 0;
    if (exists ? !S_ISREG(old.st_mode) : errno != ENOENT)
        return false;

    fs::path temporary;
    const int fd = Posix::CreateTemporary(*target, temporary);
    if (fd < 0)
        return (errno == EACCES || errno == EPERM) && exists && rewriteInPlace(*target, bytes);

    // The owner stays where this process may keep it (as root); the permissions always.
    [[maybe_unused]] const int ownerKept = exists ? ::fchown(fd, old.st_uid, old.st_gid) : 0;
    bool ok = !exists || ::fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && Posix::WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), target->c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    Posix::SyncFolder(target->parent_path());
    return true;
}

} // namespace Platform

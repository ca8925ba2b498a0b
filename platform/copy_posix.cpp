// SPDX-License-Identifier: GPL-2.0-or-later
#include "files.h"
#include "hash.h"
#include "posix_io.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace Platform
{

namespace
{

class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    bool close()
    {
        const bool closed = m_fd < 0 || ::close(m_fd) == 0;
        m_fd = -1;
        return closed;
    }

private:
    int m_fd;
};

// Copies the bytes, through the hash when there is one; the errno of the first failure, or 0.
int copyBytes(int from, int to, Sha256* hash)
{
    // Without a hash the kernel copies, as cp does, where the file system lets it.
    while (!hash) {
        const ssize_t copied = ::copy_file_range(from, nullptr, to, nullptr, FileBlockSize, 0);
        if (copied == 0)
            return 0;
        if (copied < 0 && errno == EINTR)
            continue;
        if (copied < 0 && errno != EXDEV && errno != ENOSYS && errno != EINVAL &&
            errno != EOPNOTSUPP)
            return errno;
        if (copied < 0)
            break;
    }
    std::vector<char> block(FileBlockSize);
    for (;;) {
        const ssize_t read = ::read(from, block.data(), block.size());
        if (read < 0 && errno == EINTR)
            continue;
        if (read < 0)
            return errno;
        if (read == 0)
            return 0;
        const std::string_view bytes(block.data(), static_cast<std::size_t>(read));
        if (hash)
            hash->add(bytes);
        if (!Posix::WriteAll(to, bytes))
            return errno != 0 ? errno : EIO;
    }
}

// Moves the temporary file to its name: over an existing file only when asked to.
int moveIntoPlace(const fs::path& temporary, const fs::path& to, bool replaceExisting)
{
    if (replaceExisting)
        return ::rename(temporary.c_str(), to.c_str()) == 0 ? 0 : errno;
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A file system that cannot refuse in the same step: a link refuses an existing name.
    if (::link(temporary.c_str(), to.c_str()) != 0)
        return errno;
    ::unlink(temporary.c_str());
    return 0;
}

} // namespace

CopyResult CopyOneFile(const fs::path& from, const fs::path& to, bool replaceExisting,
                       bool forKeeping)
{
    if (const int refused = CopyRefusal(from, to, replaceExisting))
        return {refused, {}};

    Descriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {
    };
    if (source.get() < 0 || ::fstat(source.get(), &info) != 0)
        return {errno, {}};
    fs::path temporary;
    Descriptor copy(Posix::CreateTemporary(to, temporary));
    if (copy.get() < 0)
        return {errno, {}};

    std::optional<Sha256> hash;
    if (forKeeping)
        hash.emplace();
    int failure = copyBytes(source.get(), copy.get(), hash ? &*hash : nullptr);
    // A read-only source must not give a read-only copy that the next copy could not replace.
    if (failure == 0 && (::fchmod(copy.get(), (info.st_mode & 0777) | S_IWUSR) != 0 ||
                         (forKeeping && ::fsync(copy.get()) != 0)))
        failure = errno;
    if (!copy.close() && failure == 0)
        failure = errno;
    if (failure == 0)
        failure = moveIntoPlace(temporary, to, replaceExisting);
    if (failure != 0) {
        ::unlink(temporary.c_str());
        return {failure, {}};
    }
    if (forKeeping)
        Posix::SyncFolder(to.parent_path());
    return {0, hash ? hash->hexDigest() : std::string()};
}

} // namespace Platform

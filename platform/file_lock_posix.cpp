// SPDX-License-Identifier: GPL-2.0-or-later
#include "file_lock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace Platform
{

namespace
{

std::optional<std::string> readAll(int fd)
{
    std::string bytes;
    char buffer[4096];
    for (off_t at = 0;;) {
        const ssize_t got = ::pread(fd, buffer, sizeof buffer, at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return bytes;
        bytes.append(buffer, static_cast<std::size_t>(got));
        at += got;
    }
}

} // namespace

struct LockedFile::Handle {
    int fd = -1;
};

LockedFile::LockedFile(std::unique_ptr<Handle> handle) : m_handle(std::move(handle)) {}

LockedFile::~LockedFile()
{
    ::close(m_handle->fd); // flock's lock goes with the last descriptor of this open
}

std::unique_ptr<LockedFile> LockedFile::TryLock(const std::filesystem::path& path, Outcome& outcome,
                                                std::string& error)
{
    // flock, not fcntl: an fcntl lock belongs to the process, so a second open in this process
    // would neither see it held nor keep it when closed.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        outcome = Outcome::Failed;
        error = std::strerror(errno);
        return nullptr;
    }
    int locked;
    while ((locked = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (locked != 0) {
        const int code = errno;
        ::close(fd);
        outcome = code == EWOULDBLOCK ? Outcome::HeldElsewhere : Outcome::Failed;
        error = std::strerror(code);
        return nullptr;
    }
    outcome = Outcome::Locked;
    auto handle = std::make_unique<Handle>();
    handle->fd = fd;
    return std::unique_ptr<LockedFile>(new LockedFile(std::move(handle)));
}

std::optional<std::string> LockedFile::Read() const
{
    return readAll(m_handle->fd);
}

bool LockedFile::Write(std::string_view bytes)
{
    if (::ftruncate(m_handle->fd, 0) != 0)
        return false;
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t put = ::pwrite(m_handle->fd, bytes.data() + done, bytes.size() - done,
                                     static_cast<off_t>(done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += static_cast<std::size_t>(put);
    }
    // Not flushed to disk: a record that a power cut loses names a flasher the cut ended too.
    return true;
}

std::optional<std::string> ReadUnlocked(const std::filesystem::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? std::optional<std::string>(std::string()) : std::nullopt;
    auto bytes = readAll(fd);
    ::close(fd);
    return bytes;
}

} // namespace Platform

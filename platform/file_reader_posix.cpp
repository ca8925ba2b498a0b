// SPDX-License-Identifier: GPL-2.0-or-later
#include "file_reader.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform
{

FileReader::FileReader(const std::filesystem::path& path)
{
    // Non-blocking, so that opening a FIFO does not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_error = {errno, std::generic_category()};
        m_outcome = errno == ENOENT || errno == ENOTDIR ? ReadOutcome::Missing
                    : errno == ENXIO                    ? ReadOutcome::NotAFile
                                                        : ReadOutcome::Unreadable;
        return;
    }
    struct stat status {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        m_outcome = ReadOutcome::NotAFile;
        ::close(fd);
        return;
    }
    m_handle = fd;
    m_size = std::uint64_t(status.st_size);
    m_outcome = ReadOutcome::Read;
}

FileReader::~FileReader()
{
    if (m_handle >= 0)
        ::close(int(m_handle));
}

std::optional<std::size_t> FileReader::ReadAt(std::uint64_t offset, char* into, std::size_t size)
{
    std::size_t done = 0;
    while (m_handle >= 0 && done < size) {
        const ssize_t got = ::pread(int(m_handle), into + done, size - done, off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            m_error = {errno, std::generic_category()};
            return std::nullopt;
        }
        if (got == 0)
            break;
        done += std::size_t(got);
    }
    return done;
}

} // namespace Platform

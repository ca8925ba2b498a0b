// SPDX-License-Identifier: GPL-2.0-or-later
#include "run_log.h"

#include "library/data_folder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace fs = std::filesystem;

namespace RunLog
{

namespace
{

std::FILE* openFor(const fs::path& path, bool writing)
{
#ifdef _WIN32
    return ::_wfopen(path.c_str(), writing ? L"w+b" : L"rb");
#else
    return std::fopen(path.c_str(), writing ? "w+b" : "rb");
#endif
}

bool seekTo(std::FILE* file, std::uint64_t offset)
{
#ifdef _WIN32
    return ::_fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
    return ::fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

bool readAt(std::FILE* file, std::uint64_t offset, std::uint64_t count, std::string& into)
{
    const std::size_t before = into.size();
    into.resize(before + count);
    return seekTo(file, offset) &&
           std::fread(into.data() + before, 1, count, file) == static_cast<std::size_t>(count);
}

} // namespace

fs::path FileFor(std::string_view runId)
{
    return DataFolder::Get() / "logs" / (std::string(runId) + ".log");
}

std::string CutLine(std::uint64_t leftOut)
{
    return "\n[Quorvel: " + std::to_string(leftOut) + " bytes left out here]\n";
}

Writer::Writer(fs::path path, std::FILE* file, std::uint64_t kept, std::uint64_t flushEvery)
    : m_path(std::move(path)), m_file(file), m_kept(kept), m_flushEvery(flushEvery)
{
}

Writer::~Writer()
{
    if (m_file)
        (void)Finish();
}

std::unique_ptr<Writer> Writer::Create(const fs::path& path, std::string& error, std::uint64_t kept,
                                       std::uint64_t flushEvery)
{
    std::error_code ignored; // a folder that cannot be made shows as the file's error
    fs::create_directories(path.parent_path(), ignored);
    errno = 0;
    std::FILE* file = openFor(path, true);
    if (!file) {
        error = std::strerror(errno != 0 ? errno : EIO);
        return nullptr;
    }
    return std::unique_ptr<Writer>(new Writer(path, file, kept, flushEvery));
}

void Writer::Append(std::string_view bytes)
{
    const std::lock_guard lock(m_mutex);
    if (!m_file)
        return;
    // The head and, until anything must be left out, the rest go straight to the file.
    const std::uint64_t direct =
        m_total < 2 * m_kept ? std::min<std::uint64_t>(bytes.size(), 2 * m_kept - m_total) : 0;
    if (direct > 0 && std::fwrite(bytes.data(), 1, direct, m_file) != direct)
        m_failed = true;
    // Everything after the head also goes into the ring of the last bytes.
    std::string_view after = bytes;
    if (m_total < m_kept)
        after.remove_prefix(std::min<std::uint64_t>(bytes.size(), m_kept - m_total));
    m_total += bytes.size();
    if (after.size() >= m_kept) {
        m_tail.assign(after.substr(after.size() - m_kept));
        m_tailStart = 0;
    } else {
        while (!after.empty()) {
            if (m_tail.size() < m_kept) {
                const std::size_t room =
                    std::min<std::size_t>(after.size(), m_kept - m_tail.size());
                m_tail.append(after.substr(0, room));
                after.remove_prefix(room);
                continue;
            }
            const std::size_t room = std::min<std::size_t>(after.size(), m_kept - m_tailStart);
            m_tail.replace(m_tailStart, room, after.substr(0, room));
            after.remove_prefix(room);
            m_tailStart = (m_tailStart + room) % m_kept;
        }
    }
    if (m_total > 2 * m_kept) {
        m_sinceFlush += bytes.size();
        if (m_sinceFlush >= m_flushEvery)
            flushLocked();
    }
}

void Writer::flushLocked()
{
    m_sinceFlush = 0;
    if (m_total <= 2 * m_kept) {
        m_failed = m_failed || std::fflush(m_file) != 0;
        return;
    }
    // The part after the head only grows (the ring fills, the count gets digits), so writing it
    // over the last one leaves nothing of that behind.
    const std::string cut = CutLine(m_total - m_kept - m_tail.size());
    const bool written =
        seekTo(m_file, m_kept) && std::fwrite(cut.data(), 1, cut.size(), m_file) == cut.size() &&
        std::fwrite(m_tail.data() + m_tailStart, 1, m_tail.size() - m_tailStart, m_file) ==
            m_tail.size() - m_tailStart &&
        std::fwrite(m_tail.data(), 1, m_tailStart, m_file) == m_tailStart &&
        std::fflush(m_file) == 0;
    m_failed = m_failed || !written;
}

void Writer::Flush()
{
    const std::lock_guard lock(m_mutex);
    if (m_file)
        flushLocked();
}

bool Writer::Finish()
{
    const std::lock_guard lock(m_mutex);
    if (!m_file)
        return !m_failed;
    flushLocked();
    m_failed = std::fclose(m_file) != 0 || m_failed;
    m_file = nullptr;
    return !m_failed;
}

std::uint64_t Writer::total() const
{
    const std::lock_guard lock(m_mutex);
    return m_total;
}

std::optional<std::string> ReadBounded(const fs::path& path, std::uint64_t kept, std::string& error)
{
    errno = 0;
    std::FILE* file = openFor(path, false);
    if (!file) {
        error = std::strerror(errno != 0 ? errno : EIO);
        return std::nullopt;
    }
    std::error_code sizeError;
    const std::uint64_t size = fs::file_size(path, sizeError);
    std::string bytes;
    bool read = !sizeError;
    if (read && size <= 2 * kept) {
        read = readAt(file, 0, size, bytes);
    } else if (read) {
        read = readAt(file, 0, kept, bytes);
        bytes += CutLine(size - 2 * kept);
        read = read && readAt(file, size - kept, kept, bytes);
    }
    std::fclose(file);
    if (!read) {
        error = sizeError ? sizeError.message() : std::string(std::strerror(EIO));
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::string> FlashOutSince(const fs::path& path, fs::file_time_type since,
                                         std::uint64_t kept, std::string& error)
{
    std::error_code timeError;
    const auto written = fs::last_write_time(path, timeError);
    if (timeError) {
        std::error_code missing;
        if (!fs::exists(path, missing) && !missing)
            return std::string();
        error = timeError.message();
        return std::nullopt;
    }
    if (written <= since)
        return std::string(); // left by an earlier run
    return ReadBounded(path, kept, error);
}

} // namespace RunLog

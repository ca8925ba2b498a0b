// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A run's log: what the flasher wrote (its standard output and error, and its flash.out when
// asked for), one file per run in the program's data folder. Bounded: the first and the last
// 2 MiB are kept, with a line in between that tells how much was left out.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace RunLog
{

inline constexpr std::uint64_t KeptBytes = 2 * 1024 * 1024;

// logs/<run id>.log in the data folder.
std::filesystem::path FileFor(std::string_view runId);

// The line put where bytes were left out.
std::string CutLine(std::uint64_t leftOut);

class Writer
{
public:
    // Creates the file (and its folder). Null, with the system's reason, when it cannot.
    // The tail kept so far is written out each time `flushEvery` more bytes have come.
    static std::unique_ptr<Writer> Create(const std::filesystem::path& file, std::string& error,
                                          std::uint64_t kept = KeptBytes,
                                          std::uint64_t flushEvery = 8 * 1024 * 1024);
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Any thread.
    void Append(std::string_view bytes);
    // Writes out what is kept of the tail, so that a crash loses little.
    void Flush();
    // Flushes and closes; false when any write failed (a full disk).
    [[nodiscard]] bool Finish();

    std::uint64_t total() const;
    const std::filesystem::path& file() const { return m_path; }

private:
    Writer(std::filesystem::path path, std::FILE* file, std::uint64_t kept,
           std::uint64_t flushEvery);
    void flushLocked();

    mutable std::mutex m_mutex;
    std::filesystem::path m_path;
    std::FILE* m_file;
    std::uint64_t m_kept, m_flushEvery;
    std::uint64_t m_total = 0;
    std::uint64_t m_sinceFlush = 0;
    std::string m_tail; // a ring of the last bytes after the head
    std::size_t m_tailStart = 0;
    bool m_failed = false;
};

// The file's bytes, the first and last `kept` of them with the cut line between. Nothing, with
// the system's reason, when it cannot be read.
std::optional<std::string> ReadBounded(const std::filesystem::path& file, std::uint64_t kept,
                                       std::string& error);

// c:\flasher\flash.out when the flasher wrote it during this run (changed after `since`), read
// bounded; empty when it is missing or older. Nothing, with the reason, when it cannot be read.
std::optional<std::string> FlashOutSince(const std::filesystem::path& file,
                                         std::filesystem::file_time_type since, std::uint64_t kept,
                                         std::string& error);

} // namespace RunLog

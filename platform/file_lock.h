// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A file held with the system's own lock (flock on POSIX, LockFileEx on Windows): the lock goes
// with its holder, also when the holder is killed, and a second open of the file (in another
// process or in this one) cannot take it. The file's contents stay readable by all.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace Platform
{

class LockedFile
{
public:
    enum class Outcome { Locked, HeldElsewhere, Failed };

    // Opens the file (created when missing) and takes its lock without waiting. Null when the
    // lock is held elsewhere (outcome HeldElsewhere) or the file cannot be opened (Failed, with
    // the system's reason in error).
    static std::unique_ptr<LockedFile> TryLock(const std::filesystem::path& path, Outcome& outcome,
                                               std::string& error);

    ~LockedFile(); // releases the lock; the contents stay
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    // The whole contents; nothing when they cannot be read.
    std::optional<std::string> Read() const;
    // Replaces the contents in place (a renamed file would be another file, unlocked). False
    // when the file system refuses.
    bool Write(std::string_view bytes);

private:
    struct Handle;
    explicit LockedFile(std::unique_ptr<Handle> handle);
    std::unique_ptr<Handle> m_handle;
};

// The contents of a file that may be locked, read without its lock; nothing when it cannot be
// read (empty for a missing file).
std::optional<std::string> ReadUnlocked(const std::filesystem::path& path);

} // namespace Platform

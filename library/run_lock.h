// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// One run at a time on a drive C, across Quorvel processes and restarts: a run takes drive C's
// run lock (c:\nk_files\run.lock, beside the staged files) before it stages anything and keeps it
// until the flasher has ended. The system's lock tells whether a Quorvel holds it now; the
// record in the file tells who ran what, so that a flasher that outlived its Quorvel (closed or
// crashed) is found, told from a later process given its id, and taken over.

#include "library/run_lock_record.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace Platform
{
class LockedFile;
}

namespace RunLock
{

// This machine and process, and how a process is told to run; tests give their own.
struct Environment {
    std::string host = Platform::HostName();
    Platform::ProcessIdentity self = Platform::ThisProcess();
    std::function<bool(const Platform::ProcessIdentity&)> isRunning = Platform::IsRunning;
};

struct Check;

// Drive C's run lock, held: what a run holds from before staging until its flasher has ended.
class Lock
{
public:
    ~Lock(); // lets go and leaves the record: a flasher may run on without this Quorvel
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    // Records a new run by this Quorvel, before anything is staged. False when the file
    // cannot be written (the run should not go on).
    [[nodiscard]] bool Begin(std::string runId, std::string group, std::string image,
                             std::int64_t started);
    // Records the started flasher (or DOSBox).
    [[nodiscard]] bool SetFlasher(const Platform::ProcessIdentity& flasher);
    // Takes over the run found (an orphaned flasher): this Quorvel is recorded as its holder.
    [[nodiscard]] bool Adopt();
    // The run is over: the record is cleared and the lock let go.
    void Release();

    const Holder& holder() const { return m_holder; }

private:
    friend Check TakeAtStart(const std::filesystem::path&, const Environment&);
    Lock(std::unique_ptr<Platform::LockedFile> file, Environment environment);
    bool write();

    std::unique_ptr<Platform::LockedFile> m_file;
    Environment m_environment;
    Holder m_holder;
};

enum class Finding {
    Free,      // no run: the lock is held, a stale record cleared without a word
    Busy,      // a flasher runs (or a run is being staged): refuse, nothing held
    Adopt,     // a flasher left by a Quorvel no longer running: the lock is held to take it over
    OtherHost, // a record of another machine, whose processes cannot be looked at: ask first
    Failed,    // the lock file cannot be opened: refuse, with the reason
};

struct Check {
    Finding finding = Finding::Failed;
    std::optional<Holder> holder; // for Busy (when it can be read), Adopt, OtherHost
    std::unique_ptr<Lock> lock;   // for Free, Adopt and OtherHost
    std::string error;            // for Failed
};

// The lock file of drive C: c:\nk_files\run.lock.
std::filesystem::path DefaultFile();

// What Start finds; the lock is taken when the run may go on (for OtherHost, only after the
// user said so; letting it go leaves the other machine's record).
Check TakeAtStart(const std::filesystem::path& file, const Environment& environment = {});

} // namespace RunLock

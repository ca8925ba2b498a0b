// SPDX-License-Identifier: GPL-2.0-or-later
#include "run_lock.h"

#include "library/drive.h"
#include "library/paths.h"
#include "platform/file_lock.h"

namespace RunLock
{

Lock::Lock(std::unique_ptr<Platform::LockedFile> file, Environment environment)
    : m_file(std::move(file)), m_environment(std::move(environment))
{
}

Lock::~Lock() = default;

bool Lock::write()
{
    return m_file && m_file->Write(Format(m_holder));
}

bool Lock::Begin(std::string runId, std::string group, std::string image, std::int64_t started)
{
    m_holder = {m_environment.host, m_environment.self, std::nullopt, std::move(runId),
                std::move(group),   std::move(image),   started};
    return write();
}

bool Lock::SetFlasher(const Platform::ProcessIdentity& flasher)
{
    m_holder.flasher = flasher;
    return write();
}

bool Lock::Adopt()
{
    m_holder.host = m_environment.host;
    m_holder.quorvel = m_environment.self;
    return write();
}

void Lock::Release()
{
    // Emptied, not removed: another Quorvel may have it open, waiting to lock it.
    if (m_file)
        (void)m_file->Write({});
    m_file.reset();
}

std::filesystem::path DefaultFile()
{
    return Drive::NativePath(Paths::RunLock);
}

Check TakeAtStart(const std::filesystem::path& path, const Environment& environment)
{
    Check check;
    auto outcome = Platform::LockedFile::Outcome::Failed;
    auto file = Platform::LockedFile::TryLock(path, outcome, check.error);
    if (outcome == Platform::LockedFile::Outcome::HeldElsewhere) {
        // A Quorvel holds it now (this one or another): its run goes on, whatever it records.
        check.finding = Finding::Busy;
        if (const auto text = Platform::ReadUnlocked(path))
            check.holder = Parse(*text);
        return check;
    }
    if (!file) {
        check.finding = Finding::Failed;
        return check;
    }
    const auto text = file->Read();
    check.holder = text ? Parse(*text) : std::nullopt;
    check.lock.reset(new Lock(std::move(file), environment));
    check.finding = Finding::Free;
    if (!check.holder) {
        // Nothing recorded, or a record cut off by a crash while it was written.
        if (text && !text->empty())
            (void)check.lock->m_file->Write({});
        return check;
    }
    const Holder& holder = *check.holder;
    if (holder.host != environment.host) {
        check.finding = Finding::OtherHost;
        return check;
    }
    if (!holder.flasher || !environment.isRunning(*holder.flasher)) {
        (void)check.lock->m_file->Write({}); // stale: its flasher has ended
        check.holder.reset();
        return check;
    }
    if (holder.quorvel != environment.self && environment.isRunning(holder.quorvel)) {
        // Its Quorvel runs, yet let go of the lock: it still follows its flasher.
        check.finding = Finding::Busy;
        check.lock.reset();
        return check;
    }
    check.finding = Finding::Adopt;
    check.lock->m_holder = holder;
    return check;
}

} // namespace RunLock

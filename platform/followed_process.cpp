// SPDX-License-Identifier: GPL-2.0-or-later
// A process that another started (a flasher left by a Quorvel that ended), followed by its
// identity: its exit code cannot be known.
#include "process.h"
#include "process_identity.h"

namespace Platform
{

namespace
{

class FollowedProcess : public RunningProgram
{
public:
    explicit FollowedProcess(const ProcessIdentity& process) : m_process(process) {}

    std::optional<ProgramEnd> Ended() override
    {
        if (IsRunning(m_process))
            return std::nullopt;
        return ProgramEnd{false, 0, false};
    }
    ProcessIdentity identity() const override { return m_process; }
    void Stop() override { EndProcess(m_process); }

private:
    ProcessIdentity m_process;
};

} // namespace

std::unique_ptr<RunningProgram> FollowProcess(const ProcessIdentity& process)
{
    return std::make_unique<FollowedProcess>(process);
}

} // namespace Platform

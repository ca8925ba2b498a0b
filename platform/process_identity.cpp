// SPDX-License-Identifier: GPL-2.0-or-later
#include "process_identity.h"

namespace Platform
{

bool IsRunning(const ProcessIdentity& process)
{
    return ProcessStartTime(process.id) == process.started;
}

} // namespace Platform

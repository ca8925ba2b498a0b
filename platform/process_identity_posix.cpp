// SPDX-License-Identifier: GPL-2.0-or-later
#include "process_identity.h"

#include "files.h"

#include <charconv>
#include <climits>
#include <csignal>
#include <string_view>
#include <unistd.h>

namespace Platform
{

std::optional<std::uint64_t> ProcessStartTime(std::int64_t id)
{
    if (id <= 0)
        return std::nullopt;
    const auto stat = ReadFileBytes("/proc/" + std::to_string(id) + "/stat").bytes;
    if (!stat)
        return std::nullopt;
    // "pid (name) state ...": the name may hold blanks and parentheses, so count from the last
    // ")". The state is field 3, the start time field 22.
    const auto close = stat->rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    std::string_view rest = std::string_view(*stat).substr(close + 1);
    for (int field = 3; field <= 22; ++field) {
        const auto begin = rest.find_first_not_of(' ');
        if (begin == std::string_view::npos)
            return std::nullopt;
        rest.remove_prefix(begin);
        const auto end = std::min(rest.find(' '), rest.size());
        const std::string_view value = rest.substr(0, end);
        if (field == 3 && (value == "Z" || value == "X"))
            return std::nullopt; // ended, not yet reaped
        if (field == 22) {
            std::uint64_t ticks = 0;
            const auto [stop, error] =
                std::from_chars(value.data(), value.data() + value.size(), ticks);
            if (error != std::errc() || stop != value.data() + value.size())
                return std::nullopt;
            return ticks;
        }
        rest.remove_prefix(end);
    }
    return std::nullopt;
}

void EndProcess(const ProcessIdentity& process)
{
    if (!IsRunning(process))
        return;
    const pid_t id = static_cast<pid_t>(process.id);
    ::kill(::getpgid(id) == id ? -id : id, SIGKILL);
}

ProcessIdentity ThisProcess()
{
    const std::int64_t id = ::getpid();
    return {id, ProcessStartTime(id).value_or(0)};
}

std::string HostName()
{
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

} // namespace Platform

// SPDX-License-Identifier: GPL-2.0-or-later
#include "process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace Platform
{

namespace
{

std::string errorText(int code)
{
    return std::strerror(code);
}

// Waits for the child to end and returns its wait status.
int waitFor(pid_t child)
{
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

template <typename Value> ssize_t readWhole(int fd, Value& value)
{
    ssize_t got;
    do
        got = ::read(fd, &value, sizeof value);
    while (got < 0 && errno == EINTR);
    return got;
}

// What the watcher tells of the program's end.
struct EndRecord {
    int bySignal;
    int code;
};

// In the watcher, a child in a session of its own: starts the program as its own child, so that
// this process never has to reap it, then waits for it and writes how it ended. Only
// async-signal-safe calls: the parent has threads.
[[noreturn]] void runWatcher(char* const argv[], int started, int ended)
{
    ::setsid();
    const pid_t program = ::fork();
    if (program == 0)
        ::execvp(argv[0], argv);
    if (program <= 0) {
        // The program could not be started (or not even forked): the parent is told why.
        const int code = errno;
        [[maybe_unused]] auto written = ::write(started, &code, sizeof code);
        ::_exit(127);
    }
    ::close(started); // the parent's read ends once the program has closed its copy by exec
    const int status = waitFor(program);
    const EndRecord record{WIFSIGNALED(status) ? 1 : 0,
                           WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status)};
    [[maybe_unused]] auto written = ::write(ended, &record, sizeof record);
    ::_exit(0);
}

void closeBoth(const int fds[2])
{
    ::close(fds[0]);
    ::close(fds[1]);
}

// The watcher process and the pipe on which it tells of the program's end.
class WatchedProgram : public StartedProgram
{
public:
    WatchedProgram(pid_t watcher, int ended) : m_watcher(watcher), m_ended(ended) {}
    WatchedProgram(const WatchedProgram&) = delete;
    WatchedProgram& operator=(const WatchedProgram&) = delete;

    ~WatchedProgram() override
    {
        ::close(m_ended);
        // Ending the watcher, which is waiting for the program, leaves the program running.
        if (!m_reaped) {
            ::kill(m_watcher, SIGKILL);
            waitFor(m_watcher);
        }
    }

    std::optional<ProgramEnd> Ended() override
    {
        EndRecord record{};
        if (m_end || readWhole(m_ended, record) != static_cast<ssize_t>(sizeof record))
            return m_end; // nothing new: running still (or the watcher is gone, and the news)
        m_end = ProgramEnd{record.bySignal != 0, static_cast<std::uint32_t>(record.code)};
        // The watcher ends right after writing; reaped later, by the destructor, if not yet.
        m_reaped = ::waitpid(m_watcher, nullptr, WNOHANG) == m_watcher;
        return m_end;
    }

private:
    pid_t m_watcher;
    int m_ended;
    bool m_reaped = false;
    std::optional<ProgramEnd> m_end;
};

// What the program writes to the pipe until it closes its end, the deadline passes or reading
// fails; true when the end was reached.
bool readUntilClosed(int fd, std::chrono::steady_clock::time_point deadline, std::string& output)
{
    using namespace std::chrono;
    for (;;) {
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
        pollfd ready{fd, POLLIN, 0};
        const int polled = left > 0 ? ::poll(&ready, 1, static_cast<int>(left)) : 0;
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            return false;
        char buffer[4096];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0;
        output.append(buffer, static_cast<std::size_t>(got));
    }
}

} // namespace

std::unique_ptr<StartedProgram> StartDetached(const std::vector<std::string>& arguments,
                                              std::string& error)
{
    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    if (argv.size() < 2) {
        error = errorText(ENOENT);
        return nullptr;
    }

    // Both close in the program as it starts: "started" carries a failed start, "ended" the end.
    int started[2], ended[2];
    if (::pipe2(started, O_CLOEXEC) != 0) {
        error = errorText(errno);
        return nullptr;
    }
    if (::pipe2(ended, O_CLOEXEC) != 0) {
        error = errorText(errno);
        closeBoth(started);
        return nullptr;
    }
    const pid_t watcher = ::fork();
    if (watcher < 0) {
        error = errorText(errno);
        closeBoth(started);
        closeBoth(ended);
        return nullptr;
    }
    if (watcher == 0) {
        ::close(started[0]);
        ::close(ended[0]);
        runWatcher(argv.data(), started[1], ended[1]);
    }
    ::close(started[1]);
    ::close(ended[1]);
    int childError = 0;
    const ssize_t got = readWhole(started[0], childError);
    ::close(started[0]);
    if (got == static_cast<ssize_t>(sizeof childError)) {
        ::close(ended[0]);
        waitFor(watcher); // it ends as soon as the failed program has
        error = errorText(childError);
        return nullptr;
    }
    ::fcntl(ended[0], F_SETFL, O_NONBLOCK);
    return std::make_unique<WatchedProgram>(watcher, ended[0]);
}

std::optional<std::string> OutputOf(const std::vector<std::string>& arguments,
                                    std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    int pipeFds[2];
    if (arguments.empty() || ::pipe2(pipeFds, O_CLOEXEC) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    ::posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    std::string output;
    const bool closed = spawned == 0 && readUntilClosed(pipeFds[0], deadline, output);
    ::close(pipeFds[0]);
    if (spawned != 0)
        return std::nullopt;
    // Reaped within the limit in every case; a program that keeps running is killed.
    int status = 0;
    pid_t reaped = 0;
    while (((reaped = ::waitpid(child, &status, WNOHANG)) == 0 || (reaped < 0 && errno == EINTR)) &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (reaped == 0) {
        ::kill(child, SIGKILL);
        waitFor(child);
        return std::nullopt;
    }
    if (!closed || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return output;
}

std::filesystem::path FindProgram(std::string_view name)
{
    const char* path = std::getenv("PATH");
    std::string_view folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!folders.empty()) {
        const auto colon = folders.find(':');
        const std::filesystem::path folder(std::string(folders.substr(0, colon)));
        folders.remove_prefix(colon == std::string_view::npos ? folders.size() : colon + 1);
        const auto candidate =
            (folder.empty() ? std::filesystem::path(".") : folder) / std::string(name);
        if (::access(candidate.c_str(), X_OK) == 0 && !std::filesystem::is_directory(candidate))
            return candidate;
    }
    return {};
}

} // namespace Platform

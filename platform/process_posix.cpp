// SPDX-License-Identifier: GPL-2.0-or-later
#include "process.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <initializer_list>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

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

// What the watcher is given: the program, and the descriptors it talks through (-1: none).
struct WatcherSetup {
    char* const* argv;
    const char* folder;  // null: this process's
    int started;         // carries a failed start, closes at the program's start
    int ended;           // carries the program's id, then its end
    int outputRead = -1; // the program's output, drained once this process no longer reads it
    int outputWrite = -1;
    int life = -1; // ends (EOF) when this process has closed it or has ended
};

void closeAllBut(std::initializer_list<int> kept)
{
    // Copies of other programs' pipes, inherited through fork, would keep them open. No
    // allocation: this runs between fork and exec. The gaps between the kept descriptors are
    // closed in ascending order, the next kept one found afresh each time (they are few).
    unsigned from = 3;
    for (;;) {
        unsigned next = ~0U;
        for (int fd : kept) {
            if (fd >= 0 && static_cast<unsigned>(fd) >= from)
                next = std::min(next, static_cast<unsigned>(fd));
        }
        if (next == ~0U)
            break;
        if (next > from)
            ::close_range(from, next - 1, 0);
        from = next + 1;
    }
    ::close_range(from, ~0U, 0);
}

[[noreturn]] void failStart(int started)
{
    const int code = errno;
    [[maybe_unused]] auto written = ::write(started, &code, sizeof code);
    ::_exit(127);
}

// In the watcher, a child in a session of its own: starts the program as its own child, in a
// process group of its own, so that this process never has to reap it, then waits for it and
// writes how it ended. Only async-signal-safe calls: the parent has threads.
[[noreturn]] void runWatcher(const WatcherSetup& setup)
{
    ::setsid();
    const pid_t program = ::fork();
    if (program == 0) {
        ::setpgid(0, 0);
        if (setup.outputWrite >= 0) {
            const int null = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
            if (null < 0 || ::dup2(null, 0) < 0 || ::dup2(setup.outputWrite, 1) < 0 ||
                ::dup2(setup.outputWrite, 2) < 0)
                failStart(setup.started);
        }
        if (setup.folder && ::chdir(setup.folder) != 0)
            failStart(setup.started);
        ::execvp(setup.argv[0], setup.argv);
        failStart(setup.started);
    }
    if (program < 0)
        failStart(setup.started); // the parent is told why
    ::setpgid(program, program);
    const int id = program;
    [[maybe_unused]] auto told = ::write(setup.ended, &id, sizeof id);
    ::close(setup.started); // the parent's read ends once the program has closed its copy by exec
    if (setup.outputWrite >= 0)
        ::close(setup.outputWrite);
    int status = 0;
    if (setup.life < 0) {
        status = waitFor(program);
    } else {
        // Once this process no longer reads the program's output, the watcher throws it away,
        // so that the program never blocks on a full pipe.
        // The program's end wakes the wait where the system can tell it (a pidfd, Linux 5.3 on),
        // else it is looked at five times a second.
        const int ended = static_cast<int>(::syscall(SYS_pidfd_open, program, 0));
        int life = setup.life, output = -1;
        for (;;) {
            pollfd ready[3] = {{life, POLLIN, 0}, {output, POLLIN, 0}, {ended, POLLIN, 0}};
            if (::poll(ready, 3, ended >= 0 ? -1 : 200) > 0) {
                char bytes[4096];
                if (ready[0].revents != 0 && ::read(life, bytes, sizeof bytes) <= 0) {
                    life = -1; // this process is gone, or no longer reads
                    output = setup.outputRead;
                }
                if (ready[1].revents != 0 && ::read(output, bytes, sizeof bytes) <= 0)
                    output = -1; // all written
            }
            const pid_t reaped = ::waitpid(program, &status, WNOHANG);
            if (reaped == program)
                break;
        }
    }
    const EndRecord record{WIFSIGNALED(status) ? 1 : 0,
                           WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status)};
    [[maybe_unused]] auto written = ::write(setup.ended, &record, sizeof record);
    ::_exit(0);
}

void closeBoth(const int fds[2])
{
    ::close(fds[0]);
    ::close(fds[1]);
}

// Reads the program's output on a thread of its own until the program has closed it, or until
// told to stop through a pipe of its own.
class OutputReader
{
public:
    OutputReader(int fd, std::function<void(std::string_view)> output)
        : m_fd(fd), m_output(std::move(output))
    {
        if (::pipe2(m_wake, O_CLOEXEC) != 0)
            m_wake[0] = m_wake[1] = -1;
        m_thread = std::thread([this] { run(); });
    }
    OutputReader(const OutputReader&) = delete;
    OutputReader& operator=(const OutputReader&) = delete;
    ~OutputReader()
    {
        if (m_wake[1] >= 0) [[maybe_unused]]
            auto written = ::write(m_wake[1], "", 1);
        m_thread.join();
        if (m_wake[0] >= 0)
            closeBoth(m_wake);
        ::close(m_fd);
    }

    bool done() const { return m_done.load(); }

private:
    void run()
    {
        std::vector<char> buffer(64 * 1024);
        for (;;) {
            pollfd ready[2] = {{m_fd, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
            if (::poll(ready, 2, -1) < 0) {
                if (errno == EINTR)
                    continue;
                break;
            }
            if (ready[1].revents != 0)
                return; // told to stop: the output is not all read
            const ssize_t got = ::read(m_fd, buffer.data(), buffer.size());
            if (got < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            if (got <= 0)
                break;
            m_output(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
        }
        m_done = true;
    }

    int m_fd;
    int m_wake[2] = {-1, -1};
    std::function<void(std::string_view)> m_output;
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

// The watcher process and the pipe on which it tells of the program's end.
class WatchedProgram : public RunningProgram
{
public:
    WatchedProgram(pid_t watcher, int ended, ProcessIdentity program, int life,
                   std::unique_ptr<OutputReader> reader)
        : m_watcher(watcher), m_ended(ended), m_program(program), m_life(life),
          m_reader(std::move(reader))
    {
    }
    WatchedProgram(const WatchedProgram&) = delete;
    WatchedProgram& operator=(const WatchedProgram&) = delete;

    ~WatchedProgram() override
    {
        m_reader.reset();
        ::close(m_ended);
        if (m_life >= 0) {
            // The watcher now throws the output away until the program ends; it is reaped
            // here, whenever that is, so that it does not linger as a zombie.
            ::close(m_life);
            if (!m_reaped)
                std::thread([watcher = m_watcher] { waitFor(watcher); }).detach();
        } else if (!m_reaped) {
            // Ending the watcher, which is waiting for the program, leaves the program running.
            ::kill(m_watcher, SIGKILL);
            waitFor(m_watcher);
        }
    }

    std::optional<ProgramEnd> Ended() override
    {
        EndRecord record{};
        if (!m_end && readWhole(m_ended, record) == static_cast<ssize_t>(sizeof record)) {
            m_end = ProgramEnd{record.bySignal != 0, static_cast<std::uint32_t>(record.code)};
            m_endSeen = std::chrono::steady_clock::now();
            // The watcher ends right after writing; reaped later, by the destructor, if not yet.
            m_reaped = ::waitpid(m_watcher, nullptr, WNOHANG) == m_watcher;
        }
        // The end is told once its output is all read; a program that left a child of its own
        // holding the output open is told ended a little later all the same.
        if (m_end && m_reader && !m_reader->done() &&
            std::chrono::steady_clock::now() - m_endSeen < std::chrono::seconds(2))
            return std::nullopt;
        return m_end;
    }

    ProcessIdentity identity() const override { return m_program; }

    void Stop() override
    {
        if (!m_end)
            ::kill(-static_cast<pid_t>(m_program.id), SIGKILL);
    }

private:
    pid_t m_watcher;
    int m_ended;
    ProcessIdentity m_program;
    int m_life;
    std::unique_ptr<OutputReader> m_reader;
    bool m_reaped = false;
    std::optional<ProgramEnd> m_end;
    std::chrono::steady_clock::time_point m_endSeen;
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
    return StartProgram({arguments}, error);
}

std::unique_ptr<RunningProgram> StartProgram(const ProgramStart& start, std::string& error)
{
    std::vector<char*> argv;
    for (const auto& argument : start.arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    if (argv.size() < 2) {
        error = errorText(ENOENT);
        return nullptr;
    }
    const std::string folder = start.folder.string();

    // All close in the program as it starts: "started" carries a failed start, "ended" the end.
    int started[2], ended[2], output[2] = {-1, -1}, life[2] = {-1, -1};
    const auto closeAll = [&] {
        for (int* pair : {started, ended, output, life}) {
            for (int each = 0; each < 2; ++each) {
                if (pair[each] >= 0)
                    ::close(pair[each]);
                pair[each] = -1;
            }
        }
    };
    started[0] = started[1] = ended[0] = ended[1] = -1;
    if (::pipe2(started, O_CLOEXEC) != 0 || ::pipe2(ended, O_CLOEXEC) != 0 ||
        (start.output && (::pipe2(output, O_CLOEXEC) != 0 || ::pipe2(life, O_CLOEXEC) != 0))) {
        error = errorText(errno);
        closeAll();
        return nullptr;
    }
    // A larger pipe lets a program that writes fast be read in fewer, larger pieces.
    if (output[0] >= 0)
        ::fcntl(output[0], F_SETPIPE_SZ, 1024 * 1024);
    const WatcherSetup setup{argv.data(), folder.empty() ? nullptr : folder.c_str(),
                             started[1],  ended[1],
                             output[0],   output[1],
                             life[0]};
    const pid_t watcher = ::fork();
    if (watcher < 0) {
        error = errorText(errno);
        closeAll();
        return nullptr;
    }
    if (watcher == 0) {
        closeAllBut({setup.started, setup.ended, setup.outputRead, setup.outputWrite, setup.life});
        runWatcher(setup);
    }
    for (int* fd : {&started[1], &ended[1], &output[1], &life[0]}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    int childError = 0;
    const ssize_t got = readWhole(started[0], childError);
    int programId = 0;
    const bool told = readWhole(ended[0], programId) == static_cast<ssize_t>(sizeof programId);
    if (got == static_cast<ssize_t>(sizeof childError) || !told) {
        closeAll();
        waitFor(watcher); // it ends as soon as the failed program has
        error = errorText(got == static_cast<ssize_t>(sizeof childError) ? childError : ECHILD);
        return nullptr;
    }
    ::close(started[0]);
    ::fcntl(ended[0], F_SETFL, O_NONBLOCK);
    const ProcessIdentity program{programId, ProcessStartTime(programId).value_or(0)};
    std::unique_ptr<OutputReader> reader;
    if (start.output)
        reader = std::make_unique<OutputReader>(output[0], start.output);
    return std::make_unique<WatchedProgram>(watcher, ended[0], program, life[1], std::move(reader));
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

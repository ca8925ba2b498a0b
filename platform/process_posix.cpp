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

// Forks, and in a grandchild in a session of its own, so that nothing has to reap it, executes
// the arguments. Reports a failed exec through a pipe that closes on a successful one. False
// with errorCode set when the program could not be started.
bool spawn(const std::vector<std::string>& arguments, int& errorCode)
{
    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    int pipeFds[2];
    if (argv.size() < 2 || ::pipe2(pipeFds, O_CLOEXEC) != 0) {
        errorCode = argv.size() < 2 ? ENOENT : errno;
        return false;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        errorCode = errno;
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return false;
    }
    if (child == 0) {
        ::close(pipeFds[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild > 0)
            ::_exit(0);
        if (grandchild == 0)
            ::execvp(argv[0], argv.data());
        // The program could not be started (or not even forked): the parent is told why.
        const int code = errno;
        [[maybe_unused]] auto written = ::write(pipeFds[1], &code, sizeof code);
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    int childError = 0;
    ssize_t got;
    do
        got = ::read(pipeFds[0], &childError, sizeof childError);
    while (got < 0 && errno == EINTR);
    ::close(pipeFds[0]);
    waitFor(child); // the intermediate child
    if (got == static_cast<ssize_t>(sizeof childError)) {
        errorCode = childError;
        return false;
    }
    return true;
}

} // namespace

bool StartDetached(const std::vector<std::string>& arguments, std::string& error)
{
    int errorCode = 0;
    if (!spawn(arguments, errorCode)) {
        error = errorText(errorCode);
        return false;
    }
    return true;
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

#include "process.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
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

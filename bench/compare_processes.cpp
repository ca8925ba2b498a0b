// SPDX-License-Identifier: GPL-2.0-or-later
// Runs a command and its reference alternately, as whole processes, and prints the medians of
// their wall time, CPU time (user + system) and peak memory, and the ratio of each.
// Usage: compare_processes RUNS LABEL COMMAND... --vs REFERENCE...
// The commands' output is discarded; a command that fails stops the comparison.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <vector>

namespace
{

struct Measure {
    double wallMs;
    double cpuMs;
    double peakMiB;
};

double milliseconds(const timeval& time)
{
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
}

Measure run(const std::vector<char*>& command)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execvp(command[0], command.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed (status %d)\n", command[0], status);
        std::exit(1);
    }
    return {std::chrono::duration<double, std::milli>(end - start).count(),
            milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime),
            static_cast<double>(usage.ru_maxrss) / 1024.0};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char* argv[])
{
    std::vector<char*> command, reference;
    bool inReference = false;
    for (int i = 3; i < argc; ++i) {
        if (std::string(argv[i]) == "--vs")
            inReference = true;
        else
            (inReference ? reference : command).push_back(argv[i]);
    }
    const int runs = argc > 3 ? std::atoi(argv[1]) : 0;
    if (runs < 1 || command.empty() || reference.empty()) {
        std::fprintf(stderr, "usage: compare_processes RUNS LABEL COMMAND... --vs REFERENCE...\n");
        return 2;
    }
    command.push_back(nullptr);
    reference.push_back(nullptr);

    run(command); // warms the file cache for both
    run(reference);
    std::vector<double> wall[2], cpu[2], peak[2];
    for (int i = 0; i < runs; ++i) {
        for (int which = 0; which < 2; ++which) {
            const Measure measure = run(which == 0 ? command : reference);
            wall[which].push_back(measure.wallMs);
            cpu[which].push_back(measure.cpuMs);
            peak[which].push_back(measure.peakMiB);
        }
    }
    const auto line = [&](const char* what, const std::vector<double>* values, const char* unit) {
        const double ours = median(values[0]), theirs = median(values[1]);
        std::printf("%-34s %-6s %8.2f %-3s against %8.2f %-3s = %5.2fx\n", argv[2], what, ours,
                    unit, theirs, unit, ours / theirs);
    };
    line("wall", wall, "ms");
    line("CPU", cpu, "ms");
    line("memory", peak, "MiB");
    return 0;
}

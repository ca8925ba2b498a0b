// SPDX-License-Identifier: GPL-2.0-or-later
// Catalogue writes under stress, with writer processes (catalogue_writer): one killed at random
// moments, and two writing one catalogue at once. Short runs here; tools/stress.sh runs them as
// long as asked (QUORVEL_STRESS_SECONDS).

#include "library/catalogue_file.h"
#include "library/paths.h"
#include "library/profile_text.h"
#include "platform/files.h"
#include "stress_writes.h"
#include "temporary_drive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace
{

Clock::time_point endOfRun(double defaultSeconds)
{
    const char* asked = std::getenv("QUORVEL_STRESS_SECONDS");
    const std::chrono::duration<double> seconds(asked ? std::atof(asked) : defaultSeconds);
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(seconds);
}

// Starts a writer that writes from its first-th write on, its reports going to reportFd.
pid_t startWriter(const TemporaryDrive& drive, const char* name, long first, int reportFd)
{
    const std::string root = drive.root().string(), from = std::to_string(first);
    const char* argv[] = {QUORVEL_CATALOGUE_WRITER, root.c_str(), name, from.c_str(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, reportFd, STDOUT_FILENO);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, const_cast<char* const*>(argv), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Writers that are stopped however the test ends.
struct Writers {
    std::vector<pid_t> pids;
    void stop()
    {
        std::erase_if(pids, [](pid_t pid) { return pid <= 0; }); // never kill(-1)
        for (pid_t pid : pids)
            ::kill(pid, SIGKILL);
        for (pid_t pid : pids)
            ::waitpid(pid, nullptr, 0);
        pids.clear();
    }
    ~Writers() { stop(); }
};

// How many writes the reports on fd say have landed, one line each.
long landedWrites(int fd)
{
    long lines = 0;
    char buffer[4096];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
        lines += std::count(buffer, buffer + got, '\n');
    return lines;
}

std::string withWrite(const std::string& text, const char* writer, long n)
{
    const auto write = StressWrites::NthWrite(writer, n);
    return ProfileText::WithValue(text, write.section, write.key, write.value);
}

// Whether the text is the starting catalogue with at most the keys A and B added to sections:
// every section there, in order, and no line torn.
bool isWhole(std::string_view text)
{
    static const std::string starting = StressWrites::StartingCatalogue();
    std::string_view expected = starting;
    int added = -1; // "A=" and "B=" lines since the last "Key=" line, which they must follow
    while (!text.empty()) {
        const auto end = text.find("\r\n");
        if (end == std::string_view::npos)
            return false;
        const std::string_view line = text.substr(0, end + 2);
        text.remove_prefix(line.size());
        if (line.size() >= 6 && (line.starts_with("A=") || line.starts_with("B="))) {
            if (added < 0 || ++added > 2)
                return false;
            continue;
        }
        if (!expected.starts_with(line))
            return false;
        expected.remove_prefix(line.size());
        added = line.starts_with("Key=") ? 0 : -1;
    }
    return expected.empty();
}

} // namespace

TEST(CatalogueStress, KilledWriterLeavesTheVersionBeforeOrAfterItsWrite)
{
    TemporaryDrive drive;
    drive.write(Paths::TiaCatalogue, StressWrites::StartingCatalogue());
    std::string landed = StressWrites::StartingCatalogue();
    long next = 0; // the writer's next write
    std::mt19937 random(std::random_device{}());
    int kills = 0;
    for (const auto end = endOfRun(2); Clock::now() < end; ++kills) {
        int reports[2];
        ASSERT_EQ(::pipe(reports), 0);
        Writers writer{{startWriter(drive, "A", next, reports[1])}};
        ::close(reports[1]);
        ASSERT_GT(writer.pids[0], 0);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 50000));
        writer.stop();
        for (long landedNow = landedWrites(reports[0]); landedNow > 0; --landedNow)
            landed = withWrite(landed, "A", next++);
        ::close(reports[0]);

        const std::string inFlight = withWrite(landed, "A", next);
        const std::string file = drive.read(Paths::TiaCatalogue);
        ASSERT_TRUE(file == landed || file == inFlight) << "kill " << kills << " at write " << next;
        if (file == inFlight) {
            landed = inFlight;
            ++next;
        }
    }
    // What the killed writes left behind is in nobody's way.
    const std::size_t namesInFolder = std::distance(
        fs::directory_iterator(Drive::NativePath(Paths::TiaFolder)), fs::directory_iterator());
    EXPECT_LE(namesInFolder, static_cast<std::size_t>(kills) + 1);
    CatalogueFile(Paths::TiaCatalogue).WriteString("s1", "Key", "end");
    EXPECT_EQ(drive.read(Paths::TiaCatalogue), ProfileText::WithValue(landed, "s1", "Key", "end"));
    std::printf("%d kills, %ld writes\n", kills, next);
}

TEST(CatalogueStress, TwoWritersAtOnceNeverTearTheCatalogue)
{
    TemporaryDrive drive;
    drive.write(Paths::TiaCatalogue, StressWrites::StartingCatalogue());
    const int discard = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    Writers writers{{startWriter(drive, "A", 0, discard), startWriter(drive, "B", 0, discard)}};
    ::close(discard);
    long reads = 0;
    for (const auto end = endOfRun(2); Clock::now() < end; ++reads) {
        const auto file = Platform::ReadFileBytes(Drive::NativePath(Paths::TiaCatalogue));
        ASSERT_EQ(file.outcome, Platform::ReadOutcome::Read) << "read " << reads;
        const std::string bytes = file.bytes.value_or("");
        ASSERT_TRUE(isWhole(bytes)) << "read " << reads << ":\n" << bytes;
        for (pid_t writer : writers.pids) // it ends by itself only when a write was refused
            ASSERT_EQ(::waitpid(writer, nullptr, WNOHANG), 0) << "a write was refused";
    }
    writers.stop();
    const std::string last = drive.read(Paths::TiaCatalogue);
    EXPECT_TRUE(isWhole(last));
    EXPECT_TRUE(last.find("\r\nA=") != last.npos && last.find("\r\nB=") != last.npos);
    std::printf("%ld reads\n", reads);
}

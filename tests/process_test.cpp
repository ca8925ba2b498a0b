// Starting real processes: waited for with their exit code, or left running on their own.

#include "platform/process.h"
#include "temporary_drive.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using Platform::RunCommand;

TEST(RunCommand, WaitsAndGivesTheExitCode)
{
    std::string result = "unchanged";
    RunCommand("true", true, true, result);
    EXPECT_EQ(result, "#0");
    RunCommand("sh -c \"exit 3\"", true, true, result);
    EXPECT_EQ(result, "#3");
    RunCommand("sh -c \"exit 255\"", false, true, result);
    EXPECT_EQ(result, "#255");
}

TEST(RunCommand, FailedStartGivesTheSystemsText)
{
    std::string result;
    RunCommand("no-such-program-here --flag", true, true, result);
    EXPECT_EQ(result, "No such file or directory");
    result.clear();
    RunCommand("", true, true, result);
    EXPECT_FALSE(result.empty());
}

TEST(RunCommand, WithoutWaitResultStaysAndTheProcessRuns)
{
    TemporaryDrive drive;
    const auto marker = Drive::NativePath("c:\\marker");
    std::string result = "unchanged";
    RunCommand("sh -c \"sleep 0.1; echo done > '" + marker.string() + "'\"", true, false, result);
    EXPECT_EQ(result, "unchanged");
    EXPECT_FALSE(drive.exists("c:\\marker"));
    for (int tries = 0; tries < 100 && !drive.exists("c:\\marker"); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(drive.read("c:\\marker"), "done\n");
}

TEST(StartDetached, ReportsAProgramThatCannotStart)
{
    std::string error;
    EXPECT_FALSE(Platform::StartDetached({"/nonexistent/flasher.com"}, error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_TRUE(Platform::StartDetached({"true"}, error));
}

TEST(SplitCommandLine, BlanksSplitAndDoubleQuotesGroup)
{
    EXPECT_EQ(Platform::SplitCommandLine("  a  \"b c\" d\"e f\"  \"\""),
              (std::vector<std::string>{"a", "b c", "de f", ""}));
}

// Starting real processes, left running on their own.

#include "platform/process.h"

#include <gtest/gtest.h>

TEST(StartDetached, ReportsAProgramThatCannotStart)
{
    std::string error;
    EXPECT_FALSE(Platform::StartDetached({"/nonexistent/flasher.com"}, error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_TRUE(Platform::StartDetached({"true"}, error));
}

TEST(OutputOf, TheOutputOfAProgramThatEndsWellInTime)
{
    using namespace std::chrono_literals;
    EXPECT_EQ(Platform::OutputOf({"sh", "-c", "echo out; echo error >&2"}, 5s), "out\n");
    EXPECT_EQ(Platform::OutputOf({"sh", "-c", "echo out; exit 3"}, 5s), std::nullopt);
    EXPECT_EQ(Platform::OutputOf({"sleep", "5"}, 100ms), std::nullopt);
}

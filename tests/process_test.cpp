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

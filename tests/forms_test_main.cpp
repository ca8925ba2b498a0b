// SPDX-License-Identifier: GPL-2.0-or-later
// Widget tests run on Qt's offscreen platform with one application object for all of them.

#include "forms/application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    Application application(argc, argv);
    return RUN_ALL_TESTS();
}

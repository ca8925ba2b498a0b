// SPDX-License-Identifier: GPL-2.0-or-later
// What each choice in the main window writes into the run selection and the status line.

#include "library/run_selection.h"

#include <gtest/gtest.h>

TEST(RunSelection, CommonChipsSetLoaderAndCommonBootAndKeepTheFlashFile)
{
    struct Case {
        CommonChip chip;
        const char* loaderFile;
        const char* loaderLine;
        const char* statusLine;
    };
    const Case cases[] = {
        {CommonChip::Atmel29F800, "c:\\nk_files\\Lunzo\\Common\\29F800.bin",
         "Common Atmel 29F800 type tia file selected", "Atmel W29lv800 type tia file selected"},
        {CommonChip::Intel28F008, "c:\\nk_files\\Lunzo\\Common\\28F008.bin",
         "Common Intel 28F008 type tia file selected", "Intel iw28f008 type tia file selected"},
        {CommonChip::Intel28F160, "c:\\nk_files\\Lunzo\\Common\\28F160.bin",
         "Common Intel 28F160 type tia file selected", "Intel l28f160 type tia file selected"},
    };
    for (const auto& c : cases) {
        RunSelection selection{"x", "x", "x", "x", "flash", "flash line"};
        EXPECT_EQ(Selection::ApplyCommonChip(selection, c.chip), c.statusLine);
        EXPECT_EQ(selection.LoaderFile, c.loaderFile);
        EXPECT_EQ(selection.LoaderLine, c.loaderLine);
        EXPECT_EQ(selection.BootFile, "c:\\nk_files\\Lunzo\\Common\\boot.bin");
        EXPECT_EQ(selection.BootLine, "Common Boot file selected");
        EXPECT_EQ(selection.FlashFile, "flash");
        EXPECT_EQ(selection.FlashLine, "flash line");
    }
}

TEST(RunSelection, RowsSetOnlyTheirOwnFields)
{
    RunSelection selection;
    EXPECT_EQ(Selection::ApplyTiaRow(selection, "a.tia", "Unknown", ""),
              "Tia file= a.tia   [ Type=Unknown Description=]");
    EXPECT_EQ(selection.LoaderFile, "c:\\nk_files\\Lunzo\\Tias\\a.tia");
    EXPECT_EQ(selection.LoaderLine, "a.tia selected as f_loader");
    EXPECT_TRUE(selection.BootFile.empty() && selection.FlashFile.empty());

    EXPECT_EQ(Selection::ApplyBootRow(selection, "b.bin", "nse"),
              "Boot file= b.bin   [  Description=nse]");
    EXPECT_EQ(selection.BootFile, "c:\\nk_files\\Lunzo\\Boots\\b.bin");
    EXPECT_EQ(selection.BootLine, "b.bin selected as boot.bin");

    EXPECT_EQ(Selection::ApplyFlashRow(selection, "3210", "f.fls", "260000", "mcu"),
              "Flash file= f.fls   [ Address=260000 Description=mcu]");
    EXPECT_EQ(selection.FlashFile, "c:\\nk_files\\Lunzo\\Phones\\3210\\f.fls");
    EXPECT_EQ(selection.FlashLine, "f.fls flash selected Address:260000");
    EXPECT_EQ(selection.LoaderFile, "c:\\nk_files\\Lunzo\\Tias\\a.tia");
}

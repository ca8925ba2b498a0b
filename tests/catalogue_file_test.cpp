// SPDX-License-Identifier: GPL-2.0-or-later
// Catalogue files on a drive of their own: defaults, limits, writes and refused writes.

#include "library/catalogue_file.h"
#include "library/paths.h"
#include "temporary_drive.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

class CatalogueFileTest : public testing::Test
{
protected:
    TemporaryDrive drive;
    CatalogueFile tias{Paths::TiaCatalogue};
};

TEST_F(CatalogueFileTest, MissingFolderGivesDefaultsAndNoFile)
{
    std::vector<std::string> names{"left over"};
    tias.ReadSections(names);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(tias.ReadString("a.tia", "Type", "Unknown"), "Unknown");
    EXPECT_EQ(tias.ReadInteger("a.tia", "Status", 2), 2);
    EXPECT_FALSE(tias.ReadBool("a.tia", "Selected", false));
    EXPECT_TRUE(tias.ReadBool("a.tia", "Selected", true));
    EXPECT_FALSE(drive.exists(Paths::TiaFolder));
}

TEST_F(CatalogueFileTest, WritesCreateTheFileInWrittenOrderWithCrLf)
{
    fs::create_directories(Drive::NativePath(Paths::TiaFolder));
    tias.WriteString("b.tia", "TYPE", "28F008");
    tias.WriteInteger("b.tia", "STATUS", 0);
    tias.WriteString("b.tia", "Description", "");
    tias.WriteBool("b.tia", "Selected", false);
    tias.WriteInteger("a.tia", "STATUS", -1);
    tias.WriteBool("b.tia", "selected", true);
    EXPECT_EQ(drive.read(Paths::TiaCatalogue),
              "[b.tia]\r\nTYPE=28F008\r\nSTATUS=0\r\nDescription=\r\nSelected=1\r\n"
              "[a.tia]\r\nSTATUS=-1\r\n");

    std::vector<std::string> names;
    tias.ReadSections(names);
    EXPECT_EQ(names, (std::vector<std::string>{"b.tia", "a.tia"}));
    EXPECT_EQ(tias.ReadString("B.TIA", "Type", "Unknown"), "28F008");
    EXPECT_EQ(tias.ReadString("b.tia", "Description", "default"), "");
    EXPECT_EQ(tias.ReadInteger("b.tia", "Status", 2), 0);
    EXPECT_EQ(tias.ReadInteger("a.tia", "Status", 2), -1);
}

TEST_F(CatalogueFileTest, SavingTwiceKeepsOneSectionAtItsPlace)
{
    drive.write(Paths::TiaCatalogue, "[x.tia]\r\nTYPE=1\r\n[y.tia]\r\nTYPE=2\r\n");
    tias.WriteString("X.TIA", "TYPE", "second");
    std::vector<std::string> names;
    tias.ReadSections(names);
    EXPECT_EQ(names, (std::vector<std::string>{"x.tia", "y.tia"}));
    EXPECT_EQ(tias.ReadString("x.tia", "TYPE", ""), "second");
}

TEST_F(CatalogueFileTest, ValuesAreCutAt2047Characters)
{
    const std::string longValue = std::string(2047, 'a') + std::string(953, 'b');
    drive.write(Paths::TiaCatalogue, "[s]\r\nk=" + longValue + "\r\n");
    EXPECT_EQ(tias.ReadString("s", "k", ""), std::string(2047, 'a'));
}

TEST_F(CatalogueFileTest, NumbersAndFlagsFallBackToTheDefault)
{
    drive.write(Paths::TiaCatalogue,
                "[s]\r\nStatus=x\r\nHex=$1\r\nFlag=abc\r\nTwo=2\r\nHexFlag=0x1\r\nZero=0\r\n");
    EXPECT_EQ(tias.ReadInteger("s", "STATUS", 2), 2);
    EXPECT_EQ(tias.ReadInteger("s", "hex", 2), 1);
    EXPECT_FALSE(tias.ReadBool("s", "Flag", false));
    EXPECT_TRUE(tias.ReadBool("s", "Flag", true));
    EXPECT_TRUE(tias.ReadBool("s", "Two", false));
    EXPECT_TRUE(tias.ReadBool("s", "HexFlag", false));
    EXPECT_FALSE(tias.ReadBool("s", "Zero", true));
}

TEST_F(CatalogueFileTest, EraseSectionRemovesTheEntryAndNothingElse)
{
    drive.write(Paths::TiaCatalogue, "[a]\r\nk=1\r\n[b]\r\nk=2\r\n");
    tias.EraseSection("A");
    EXPECT_EQ(drive.read(Paths::TiaCatalogue), "[b]\r\nk=2\r\n");
    tias.EraseSection("missing");
    EXPECT_EQ(drive.read(Paths::TiaCatalogue), "[b]\r\nk=2\r\n");
}

TEST_F(CatalogueFileTest, ReadOnlyCatalogueRefusesWritesAndStaysUnchanged)
{
    const std::string before = "[a]\r\nk=1\r\n";
    drive.write(Paths::TiaCatalogue, before);
    drive.makeReadOnly(Paths::TiaCatalogue);
    try {
        tias.WriteString("a", "k", "2");
        FAIL() << "a write to a read-only catalogue succeeded";
    } catch (const UnableToWrite& error) {
        EXPECT_STREQ(error.what(), "Unable to write to c:\\nk_files\\Lunzo\\Tias\\Tias.ini");
    }
    EXPECT_THROW(tias.EraseSection("a"), UnableToWrite);
    EXPECT_THROW(tias.WriteBool("b", "Selected", true), UnableToWrite);
    EXPECT_EQ(drive.read(Paths::TiaCatalogue), before);
    EXPECT_EQ(
        fs::directory_iterator(Drive::NativePath(Paths::TiaFolder)).operator*().path().filename(),
        "Tias.ini"); // nothing left beside it
}

TEST_F(CatalogueFileTest, MissingFolderRefusesWritesWithTheLogicalPath)
{
    CatalogueFile flash(Paths::FlashCatalogue("3210"));
    try {
        flash.WriteString("a.fls", "Address", "260000");
        FAIL() << "a write into a missing folder succeeded";
    } catch (const UnableToWrite& error) {
        EXPECT_STREQ(error.what(),
                     "Unable to write to c:\\nk_files\\Lunzo\\Phones\\3210\\Flash.ini");
    }
}

TEST_F(CatalogueFileTest, RewriteKeepsPermissionsAndLeavesNoTemporaryFile)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows has attributes, not permissions (see WindowsReplace)";
#endif
    drive.write(Paths::TiaCatalogue, "[a]\r\nk=1\r\n");
    const auto native = Drive::NativePath(Paths::TiaCatalogue);
    fs::permissions(native, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    tias.WriteString("a", "k", "2");
    EXPECT_EQ(fs::status(native).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(native.parent_path()), fs::directory_iterator()),
              1);
}

TEST(DriveMapping, LogicalPathsLandUnderTheDriveRoot)
{
    Drive::SetRoot("/tmp/root");
    EXPECT_EQ(Drive::NativePath("c:\\nk_files\\Lunzo\\Tias\\Tias.ini"),
              fs::path("/tmp/root/nk_files/Lunzo/Tias/Tias.ini").make_preferred());
    EXPECT_EQ(Drive::NativePath("C:\\flasher\\"), fs::path("/tmp/root/flasher/").make_preferred());
    EXPECT_EQ(Drive::NativePath("c:\\"), fs::path("/tmp/root"));
    EXPECT_EQ(Drive::NativePath("c:\\a\\\\b"), fs::path("/tmp/root/a//b").make_preferred());
    EXPECT_EQ(Paths::FlashCatalogue("3310"), "c:\\nk_files\\Lunzo\\Phones\\3310\\Flash.ini");
}

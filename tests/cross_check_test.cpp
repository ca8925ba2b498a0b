// SPDX-License-Identifier: GPL-2.0-or-later
// A catalogue written on Linux reads the same on Windows, and the reverse. tools/test-windows.sh
// runs this program on both sides with QUORVEL_CROSS_CHECK naming a folder they share: each
// side writes its catalogue there, then reads the other side's.

#include "library/catalogue_file.h"
#include "library/drive.h"
#include "temporary_drive.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <tuple>

namespace fs = std::filesystem;

namespace
{

#ifdef _WIN32
const char* const ThisSide = "windows";
const char* const OtherSide = "linux";
#else
const char* const ThisSide = "linux";
const char* const OtherSide = "windows";
#endif

const std::string Catalogue = "c:\\Cross.ini";
const std::string Cp1252Name = "caf\xE9.tia";
const std::string Utf8Name = std::string("\xC3\x9C") + "ber \xE2\x9C\x93";
const std::string LongValue = std::string(2047, 'v') + std::string(953, 'w');

// The writes, in order: names with a Windows-1252 byte and with UTF-8, blanks and quotes that
// reading removes, an empty value, a value longer than reading returns, line breaks in a value,
// a section and a key written in other letter case, and an erased section.
void writeCatalogue()
{
    CatalogueFile file(Catalogue);
    file.WriteString(Cp1252Name, "TYPE", "28F008");
    file.WriteInteger(Cp1252Name, "STATUS", 0);
    file.WriteString(Cp1252Name, "Description", "  two blanks  ");
    file.WriteBool(Cp1252Name, "Selected", false);
    file.WriteString("gone.tia", "TYPE", "erased below");
    file.WriteString(Utf8Name, "Description", "\"quoted\"");
    file.WriteString(Utf8Name, "Empty", "");
    file.WriteString(Utf8Name, "Long", LongValue);
    file.WriteString("lines", "Description", "one\r\ntwo\nthree");
    file.WriteString("lines", "Status", "$1F");
    file.WriteBool("CAF\xE9.TIA", "selected", true);
    file.WriteInteger("lines", "Negative", -2147483647 - 1);
    file.EraseSection("GONE.TIA");
}

void expectCatalogue(const CatalogueFile& file)
{
    std::vector<std::string> sections;
    file.ReadSections(sections);
    EXPECT_EQ(sections, (std::vector<std::string>{Cp1252Name, Utf8Name, "lines"}));
    const std::tuple<std::string, const char*, std::string> values[] = {
        {Cp1252Name, "Type", "28F008"},
        {Cp1252Name, "Description", "two blanks"},
        {Utf8Name, "description", "quoted"},
        {Utf8Name, "Empty", ""},
        {Utf8Name, "Long", LongValue.substr(0, 2047)},
        {"lines", "Description", "one  two three"},
        {"gone.tia", "TYPE", "(default)"},
    };
    for (const auto& [section, key, value] : values)
        EXPECT_EQ(file.ReadString(section, key, "(default)"), value) << section << " " << key;
    EXPECT_EQ(file.ReadInteger(Cp1252Name, "Status", 2), 0);
    EXPECT_TRUE(file.ReadBool(Cp1252Name, "Selected", false));
    EXPECT_EQ(file.ReadInteger("lines", "STATUS", 2), 31);
    EXPECT_EQ(file.ReadInteger("lines", "Negative", 0), -2147483647 - 1);
}

class CrossCheck : public testing::Test
{
protected:
    void SetUp() override
    {
        const char* folder = std::getenv("QUORVEL_CROSS_CHECK");
        if (!folder)
            GTEST_SKIP() << "QUORVEL_CROSS_CHECK names no shared folder; tools/test-windows.sh "
                            "runs this on both sides";
        shared = folder;
    }

    // Drive C of one side's catalogue.
    fs::path driveOf(const char* side) const { return shared / side; }

    fs::path shared;
};

} // namespace

TEST_F(CrossCheck, ThisSideWritesItsCatalogue)
{
    fs::remove_all(driveOf(ThisSide));
    fs::create_directories(driveOf(ThisSide));
    Drive::SetRoot(driveOf(ThisSide));
    writeCatalogue();
    expectCatalogue(CatalogueFile(Catalogue));
}

TEST_F(CrossCheck, TheOtherSidesCatalogueReadsTheSameAndHasTheSameBytes)
{
    const fs::path other = driveOf(OtherSide) / "Cross.ini";
    ASSERT_TRUE(fs::exists(other)) << "the other side has not written " << other.string();
    Drive::SetRoot(driveOf(OtherSide));
    expectCatalogue(CatalogueFile(Catalogue));
    EXPECT_EQ(TemporaryDrive::readNative(other),
              TemporaryDrive::readNative(driveOf(ThisSide) / "Cross.ini"));
}

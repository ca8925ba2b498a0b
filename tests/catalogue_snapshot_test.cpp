// SPDX-License-Identifier: GPL-2.0-or-later
// A snapshot reads as the catalogue file does, and a list load reads its file once.

#include "library/catalogue_file.h"
#include "library/catalogue_lists.h"
#include "library/paths.h"
#include "library/profile_text.h"
#include "temporary_drive.h"

#include <gtest/gtest.h>

#include <map>

using ProfileText::FindValue;
using ProfileText::SectionNames;

// Lines that the jump from "[" to "[" must not take for headers, or must not miss.
const std::string TrickyText = "\xEF\xBB\xBF"
                               "k=[s]\r\n"
                               "[A@Z[`{\xC1\xDA-Tail]\r\n"
                               "k=1\r\n"
                               "  [s]\r"
                               "v=[t]\r"
                               "k= \"q\" \r"
                               "x[t]\n"
                               "[t]\n"
                               "k=t1\n"
                               "K=t2\n"
                               "[S]\n"
                               "k=second\n"
                               "[unclosed\n"
                               "k=u\n"
                               "[]\n"
                               "k=empty\n"
                               "\t[T] \n"
                               "k=t3";

TEST(ParsedText, AnswersAsTheReadsOfTheWholeText)
{
    EXPECT_EQ(SectionNames(TrickyText),
              (std::vector<std::string>{"A@Z[`{\xC1\xDA-Tail", "s", "t", "S", "T"}));
    // Long names are compared eight letters at a time: A-Z meet a-z, and nothing else folds.
    const std::pair<const char*, std::optional<std::string>> values[] = {
        {"S", "q"},
        {"t", "t1"},
        {"", "empty"},
        {"a@z[`{\xC1\xDA-TAIL", "1"},
        {"A`Z[`{\xC1\xDA-Tail", std::nullopt}, // "@" is not a capital "`"
        {"A@Z{`{\xC1\xDA-Tail", std::nullopt}, // nor "[" one of "{"
        {"A@Z[`{\xE1\xDA-Tail", std::nullopt}, // nor a byte above 0x7F
    };
    for (const auto& [section, expected] : values)
        EXPECT_EQ(FindValue(TrickyText, section, "k"), expected) << section;

    const ProfileText::ParsedText parsed(TrickyText);
    EXPECT_EQ(parsed.SectionNames(), SectionNames(TrickyText));
    EXPECT_EQ(parsed.SectionNames(20), SectionNames(TrickyText, 20));
    std::vector<const char*> sections{"s", " S ", "T", "x", "unclosed"};
    for (const auto& value : values)
        sections.push_back(value.first);
    for (const char* section : sections) {
        for (const char* key : {"k", "K", "v", "x"})
            EXPECT_EQ(parsed.FindValue(section, key), FindValue(TrickyText, section, key))
                << "[" << section << "] " << key;
    }
}

class CatalogueSnapshotTest : public testing::Test
{
protected:
    TemporaryDrive drive;
    CatalogueFile tias{Paths::TiaCatalogue};
};

TEST_F(CatalogueSnapshotTest, ReadsAsTheFileDoes)
{
    drive.write(Paths::TiaCatalogue, "[a.tia]\r\nTYPE=28F008\r\nSTATUS=$1\r\nSelected=x\r\nlong=" +
                                         std::string(3000, 'v') + "\r\n[B.TIA]\r\nStatus=7\r\n");
    const CatalogueSnapshot snapshot = tias.Snapshot();
    std::vector<std::string> fromFile, fromSnapshot{"left over"};
    tias.ReadSections(fromFile);
    snapshot.ReadSections(fromSnapshot);
    EXPECT_EQ(fromSnapshot, fromFile);
    for (const char* section : {"A.TIA", "b.tia", "missing"}) {
        for (const char* key : {"Type", "Status", "Selected", "long", "missing"}) {
            EXPECT_EQ(snapshot.ReadString(section, key, "default"),
                      tias.ReadString(section, key, "default"));
            EXPECT_EQ(snapshot.ReadInteger(section, key, -3), tias.ReadInteger(section, key, -3));
            EXPECT_EQ(snapshot.ReadBool(section, key, true), tias.ReadBool(section, key, true));
        }
    }
    EXPECT_EQ(snapshot.ReadString("a.tia", "long", "").size(), CatalogueFile::MaxValueLength);
}

TEST_F(CatalogueSnapshotTest, EachListLoadReadsItsCatalogueOnce)
{
    drive.write(Paths::TiaCatalogue, "[a.tia]\r\nTYPE=1\r\n[b.tia]\r\nSelected=1\r\n[c.tia]\r\n");
    drive.write(Paths::BootCatalogue, "[a.bin]\r\nSTATUS=0\r\n[b.bin]\r\n");
    drive.write(Paths::FlashCatalogue("3210"), "[a.fls]\r\nAddress=1\r\n[b.fls]\r\n");
    std::map<std::string, int> reads;
    const auto watcher = [&](const std::string& path) { ++reads[path]; };
    std::vector<std::string> names;
    const auto tiaRows = CatalogueLists::ReadTiaRows(names, watcher);
    const auto bootRows = CatalogueLists::ReadBootRows(names, watcher);
    const auto flashRows = CatalogueLists::ReadFlashRows("3210", names, watcher);

    EXPECT_EQ(reads, (std::map<std::string, int>{{std::string(Paths::TiaCatalogue), 1},
                                                 {std::string(Paths::BootCatalogue), 1},
                                                 {Paths::FlashCatalogue("3210"), 1}}));
    EXPECT_EQ(tiaRows.size() + bootRows.size() + flashRows.size(), 7u);
}

// SPDX-License-Identifier: GPL-2.0-or-later
// Names from catalogues and picked files that would lead out of their folder: never joined into
// a path, while reading through them gives what a missing file gives.

#include "library/catalogue_file.h"
#include "library/catalogue_lists.h"
#include "library/checksums.h"
#include "library/delete_command.h"
#include "library/entry_names.h"
#include "library/library_files.h"
#include "library/library_name.h"
#include "library/paths.h"
#include "library/phone_groups.h"
#include "library/run_selection.h"
#include "temporary_drive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace fs = std::filesystem;

TEST(EntryNames, OnlyNamesThatStayInTheirFolderAreSafe)
{
    for (const char* name : {"a.tia", "...", "a..b", " .", "caf\xE9.tia", "3210"})
        EXPECT_TRUE(EntryNames::IsSafe(name)) << name;
    for (const char* name : {"", ".", "..", "..\\..\\x", "a/b", "c:x", "a\\", "/etc"})
        EXPECT_FALSE(EntryNames::IsSafe(name)) << name;
    EXPECT_FALSE(EntryNames::IsSafe(std::string_view("..\0x", 4)));
    EXPECT_STREQ(UnsafeName("..\\..\\x").what(),
                 "\"..\\..\\x\" cannot be used as a file or folder name");
    EXPECT_THROW(Paths::FlashCatalogue(".."), UnsafeName);
}

TEST(EntryNames, ChoosingAnUnsafeRowThrowsAndChangesNothing)
{
    const RunSelection before{"l", "ll", "b", "bl", "f", "fl"};
    const std::function<void(RunSelection&)> choices[] = {
        [](RunSelection& s) { Selection::ApplyTiaRow(s, "..\\..\\..\\etc\\passwd", "", ""); },
        [](RunSelection& s) { Selection::ApplyBootRow(s, "..", ""); },
        [](RunSelection& s) { Selection::ApplyFlashRow(s, "3210", "a/b.fls", "", ""); },
        [](RunSelection& s) { Selection::ApplyFlashRow(s, "..\\..", "a.fls", "", ""); },
    };
    for (const auto& choose : choices) {
        RunSelection selection = before;
        EXPECT_THROW(choose(selection), UnsafeName);
        EXPECT_EQ(selection.LoaderFile + selection.BootFile + selection.FlashFile, "lbf");
        EXPECT_EQ(selection.LoaderLine + selection.BootLine + selection.FlashLine, "llblfl");
    }
}

TEST(EntryNames, FlashListOfAnUnsafeGroupIsEmpty)
{
    TemporaryDrive drive;
    drive.write("c:\\nk_files\\Flash.ini", "[outside.fls]\r\n"); // where "..\.." would lead
    std::vector<std::string> names{"left over"};
    EXPECT_TRUE(CatalogueLists::ReadFlashRows("..\\..", names).empty());
    EXPECT_TRUE(names.empty());
}

#ifndef _WIN32 // a backslash in a file name exists only here
TEST(EntryNames, PickedFileWithABackslashIsNotCopied)
{
    TemporaryDrive drive;
    const fs::path picked = drive.root() / "..\\..\\x.tia"; // one name here, with backslashes
    std::ofstream(picked) << "loader";
    EXPECT_THROW(LibraryFiles::CopyIntoLibrary(picked, Paths::TiaFolder), UnsafeName);
    EXPECT_FALSE(drive.exists(Paths::TiaFolder));
}
#endif

TEST(EntryNames, AGroupWhoseFolderCannotBeMadeIsNotWritten)
{
    TemporaryDrive drive;
    EXPECT_THROW(PhoneGroups::Write({std::string(300, 'g'), "c", ""}), UnableToWrite);
    EXPECT_FALSE(drive.exists(Paths::PhoneCatalogue));
}

#ifdef _WIN32
constexpr bool IsWindows = true;
#else
constexpr bool IsWindows = false;
#endif

// One rule for a phone group's name, wherever a group is matched: the phone catalogue's own.
TEST(PhoneGroups, OneRuleForEveryGroupMatch)
{
    const struct {
        const char* a;
        const char* b;
        bool same;
    } rows[] = {
        {"Nokia 3210", "NOKIA 3210", true}, // ASCII letter case aside
        {" 3210 ", "3210", true},           // and the blanks around a name
        {"32 10", "3210", false},           // the blanks inside exact
        {"3210", "3310", false},
        {"caf\xE9", "CAF\xC9", false}, // other bytes exact
    };
    for (const auto& row : rows)
        EXPECT_EQ(PhoneGroups::SameName(row.a, row.b), row.same) << row.a << "|" << row.b;
}

// One rule for library names, wherever two meet: a folder's listing, a manifest line, a delete
// command's pattern, a staged name.
TEST(LibraryName, OneRuleForEveryMatch)
{
    const struct {
        const char* a;
        const char* b;
        bool same;
    } rows[] = {
        {"foo.tia", "FOO.TIA", true},
        {"Boot.Bin", "bOOT.bIN", true},
        {"caf\xE9.tia", "CAF\xE9.TIA", true},
        {"caf\xE9.tia", "caf\xC9.tia", false}, // no code page's case: other bytes exact
        {"a.tia", "a.tia ", false},
        {"[.tia", "{.tia", false}, // neighbours of the letters stay apart
        {"@.bin", "`.bin", false},
        {"I.fls", "\xFD.fls", false},
    };
    TemporaryDrive drive;
    for (const auto& row : rows) {
        EXPECT_EQ(LibraryName::Same(row.a, row.b), row.same) << row.a << " " << row.b;
        const LibraryName::Less less;
        EXPECT_EQ(!less(row.a, row.b) && !less(row.b, row.a), row.same) << row.a;
        // Ordered as their folded bytes, a name before the longer names it starts.
        EXPECT_EQ(less(row.a, row.b),
                  LibraryName::Folded(row.a) < LibraryName::Folded(row.b) && !row.same)
            << row.a;
        EXPECT_EQ(DeleteCommand::Matches(row.a, row.b), row.same) << row.a;
        // A file name's bytes above 0x7F come back from a listing only in the system's code
        // page, which under Wine need not hold them.
        const bool listable =
            std::string_view(row.a).find_first_of("\x80\xC9\xE9\xFD") == std::string_view::npos ||
            !IsWindows;
        drive.write(Paths::Join(Paths::TiaFolder, row.a), "x");
        if (listable) {
            EXPECT_EQ(LibraryName::FindInFolder(Paths::TiaFolder, row.b).has_value(), row.same)
                << row.b;
        }
        const std::string key = Checksums::KeyOf(Paths::Join(Paths::TiaFolder, row.a));
        Checksums::Manifest manifest;
        manifest.sums[key] = {key, "d"};
        EXPECT_EQ(Checksums::Lookup(manifest, Paths::Join(Paths::TiaFolder, row.b)).has_value(),
                  row.same);
        fs::remove_all(Drive::NativePath(Paths::TiaFolder));
    }
    for (const char* name : {"boot.bin", "BOOT.BIN", "F_Loader.Bin"})
        EXPECT_TRUE(LibraryName::IsStagedName(name)) << name;
    for (const char* name : {"boot.bin.fls", "loader.bin", "boot"})
        EXPECT_FALSE(LibraryName::IsStagedName(name)) << name;
}

// SPDX-License-Identifier: GPL-2.0-or-later
// What only Windows has: its program format, where DOSBox's installer puts it, the command line
// a started program parses, and file attributes kept across a catalogue rewrite.

#include "environment_guard.h"
#include "library/data_folder.h"
#include "library/flasher_launch.h"
#include "library/paths.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/programs.h"
#include "platform/serial_ports.h"
#include "temporary_drive.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>
#include <windows.h>

namespace fs = std::filesystem;

namespace
{

const std::string StandIn = TemporaryDrive::readNative(QUORVEL_STAND_IN_FLASHER);

// What the stand-in wrote beside itself, once it has (it runs on its own, not waited for).
std::string standInLog(const fs::path& folder)
{
    const fs::path log = folder / "stand-in.log";
    for (int tries = 0; tries < 100 && !fs::exists(log); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return TemporaryDrive::readNative(log);
}

std::size_t filesIn(const fs::path& folder)
{
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

} // namespace

TEST(WindowsPrograms, OnlyAWindowsProgramCountsAsNative)
{
    TemporaryDrive drive;
    const struct {
        const char* what;
        std::string bytes;
        bool native;
    } rows[] = {
        {"a Windows program", StandIn, true},
        {"a DOS .exe (MZ, no PE signature)", "MZ" + std::string(62, '\0') + "PE\0\0", false},
        {"a DOS .com image", std::string("\xE9\x00\x01", 3) + std::string(100, '\x90'), false},
        {"an empty file", "", false},
    };
    for (const auto& row : rows) {
        drive.write("c:\\p.com", row.bytes);
        EXPECT_EQ(Platform::IsNativeProgram(Drive::NativePath("c:\\p.com")), row.native)
            << row.what;
    }
}

TEST(WindowsPrograms, DosBoxIsFoundOnThePathFirstThenWhereItsInstallerPutsIt)
{
    TemporaryDrive drive;
    drive.write("c:\\x86\\DOSBox-0.74\\DOSBox.exe", "old");
    drive.write("c:\\x86\\DOSBox-0.74-3\\DOSBox.exe", "new");
    drive.write("c:\\x86\\DOSBox-0.74-9\\readme.txt", "no program here");
    drive.write("c:\\bin\\dosbox.exe", "on the path");
    const std::string empty = Drive::NativePath("c:\\x64").string();
    fs::create_directories(empty);
    const EnvironmentGuard programs("ProgramFiles", empty),
        programs32("ProgramFiles(x86)", Drive::NativePath("c:\\x86").string());
    {
        const EnvironmentGuard path("PATH", empty);
        EXPECT_EQ(Platform::FindDosBox(), Drive::NativePath("c:\\x86\\DOSBox-0.74-3\\DOSBox.exe"));
    }
    const EnvironmentGuard path("PATH",
                                "\"" + Drive::NativePath("c:\\bin").string() + "\";" + empty);
    EXPECT_EQ(Platform::FindDosBox(), Drive::NativePath("c:\\bin\\dosbox.exe"));
}

TEST(WindowsPrograms, AProgramThatCannotStartIsReportedInTheSystemsWords)
{
    TemporaryDrive drive;
    std::string error;
    EXPECT_FALSE(Platform::StartDetached({Drive::NativePath("c:\\missing.exe").string()}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_NE(error.back(), '.') << error;

    // A started one tells its exit code once it has ended.
    const auto program = Platform::StartDetached({"cmd", "/c", "exit 3"}, error);
    ASSERT_TRUE(program) << error;
    std::optional<Platform::ProgramEnd> end;
    for (int look = 0; look < 500 && !(end = program->Ended()); ++look)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(end);
    EXPECT_EQ(end->code, 3u);
}

// DOSBox parses its command line with its own rules; a backslash before a quote must not
// reach it. The stand-in in DOSBox's place records what it was given.
TEST(WindowsPrograms, DosBoxGetsTheMountCommandIntact)
{
    TemporaryDrive drive;
    drive.write(Paths::Flasher, std::string("\xE9\x00\x01", 3));
    drive.write("c:\\bin\\dosbox.exe", StandIn);
    const EnvironmentGuard path("PATH", Drive::NativePath("c:\\bin").string());
    Drive::SetRoot(drive.root() / ""); // ends in a backslash, as the real c:\ does

    std::string failure;
    ASSERT_TRUE(FlasherLaunch::Start(FlasherLaunch::PlanStart(drive.dataFolder()), failure))
        << failure;
    const std::string log = standInLog(Drive::NativePath("c:\\bin"));
    EXPECT_NE(log.find("arguments: 14\nargument: -c\nargument: mount -u c\nargument: -c\n"
                       "argument: mount c \"" +
                       drive.root().string() +
                       "\\.\"\nmounted folder: found\nargument: -c\nargument: mount -u q\n"
                       "argument: -c\nargument: mount q \"" +
                       (drive.root() / "data\\dosbox").string() +
                       "\"\nmounted folder: found\nargument: -c\nargument: c:\nargument: -c\n"
                       "argument: call q:\\RUN.BAT R"),
              std::string::npos)
        << log;
}

// DOSBox reads its command line in the ANSI code page: drive C and the data folder (under the
// user's profile) named with letters outside it still reach it as folders it can open.
TEST(WindowsPrograms, DosBoxOpensFoldersNamedOutsideTheCodePage)
{
    for (const char8_t* name : {u8"Jos\u00e9", u8"\u0141\u00f3d\u017a", u8"\u6771\u4eac"}) {
        TemporaryDrive drive;
        drive.write("c:\\bin\\dosbox.exe", StandIn);
        const EnvironmentGuard path("PATH", Drive::NativePath("c:\\bin").string());
        const fs::path folder = drive.root() / fs::path(name);
        Drive::SetRoot(folder / "drive_c");
        drive.write(Paths::Flasher, std::string("\xE9\x00\x01", 3));
        fs::create_directories(folder / "data");

        std::string failure;
        ASSERT_TRUE(FlasherLaunch::Start(FlasherLaunch::PlanStart(folder / "data"), failure))
            << failure;
        const std::string log = standInLog(drive.root() / "bin");
        std::size_t found = 0;
        for (auto at = log.find("mounted folder: found"); at != std::string::npos;
             at = log.find("mounted folder: found", at + 1))
            ++found;
        EXPECT_EQ(found, 2u) << log;
    }
}

TEST(WindowsPrograms, ComPortsAndDosBoxsOwnConfiguration)
{
    for (const auto& device : Platform::ListSerialDevices())
        EXPECT_TRUE(device.realport.starts_with("COM")) << device.label;
    EXPECT_EQ(Platform::CheckSerialDevice("COM199"), Platform::DeviceAccess::Missing);
    TemporaryDrive drive;
    drive.write("c:\\DOSBox\\dosbox-0.74-3.conf", "");
    const EnvironmentGuard local("LOCALAPPDATA", drive.root().string());
    EXPECT_EQ(Platform::DosBoxUserConfig({}), Drive::NativePath("c:\\DOSBox\\dosbox-0.74-3.conf"));
}

class WindowsReplace : public testing::Test
{
protected:
    void SetUp() override
    {
        drive.write("c:\\lib\\Tias.ini", "old");
        drive.write("c:\\lib\\Tias.ini.new", "not ours");
    }

    fs::path path(const char* name = "Tias.ini") const
    {
        return Drive::NativePath(std::string("c:\\lib\\") + name);
    }

    // The old file's name for the temporary file is someone else's file now and stays.
    void TearDown() override { EXPECT_EQ(drive.read("c:\\lib\\Tias.ini.new"), "not ours"); }

    TemporaryDrive drive;
};

TEST_F(WindowsReplace, KeepsTheAttributesAndLeavesNothingBeside)
{
    ASSERT_TRUE(SetFileAttributesW(path().c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_TRUE(Platform::ReplaceFileContents(path(), "new"));
    EXPECT_EQ(drive.read("c:\\lib\\Tias.ini"), "new");
    EXPECT_EQ(GetFileAttributesW(path().c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));

    ASSERT_TRUE(Platform::ReplaceFileContents(path("New.ini"), "created"));
    EXPECT_EQ(drive.read("c:\\lib\\New.ini"), "created");
    EXPECT_EQ(filesIn(path().parent_path()), 3u);
}

TEST_F(WindowsReplace, RefusesWhatItMustNotWriteAndChangesNothing)
{
    ASSERT_TRUE(SetFileAttributesW(path().c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(Platform::ReplaceFileContents(path(), "new"));
    EXPECT_EQ(drive.read("c:\\lib\\Tias.ini"), "old");

    fs::create_directories(path("Folder.ini"));
    EXPECT_FALSE(Platform::ReplaceFileContents(path("Folder.ini"), "new"));
    EXPECT_TRUE(fs::is_directory(path("Folder.ini")));

    EXPECT_FALSE(Platform::ReplaceFileContents(Drive::NativePath("c:\\missing\\Tias.ini"), "new"));
    EXPECT_FALSE(drive.exists("c:\\missing"));
    EXPECT_EQ(filesIn(path().parent_path()), 3u);
    SetFileAttributesW(path().c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Each write lands whole or is refused; a reader never sees a mixture or an empty file.
TEST_F(WindowsReplace, TwoWritersLeaveOneWholeVersion)
{
    const std::string first(4000, 'a'), second(5000, 'b');
    const auto writer = [this](const std::string& bytes) {
        for (int round = 0; round < 40; ++round)
            Platform::ReplaceFileContents(path(), bytes);
    };
    std::thread one(writer, first), two(writer, second);
    for (int look = 0; look < 40; ++look) {
        std::ifstream in(path(), std::ios::binary);
        if (!in)
            continue; // in use by a writer at that moment: Windows may refuse the open
        const std::string seen{std::istreambuf_iterator<char>(in), {}};
        EXPECT_TRUE(seen == "old" || seen == first || seen == second) << seen.size() << " bytes";
    }
    one.join();
    two.join();
    const std::string last = drive.read("c:\\lib\\Tias.ini");
    EXPECT_TRUE(last == first || last == second);
    EXPECT_EQ(filesIn(path().parent_path()), 2u);
}

// SPDX-License-Identifier: GPL-2.0-or-later
// A flashing run on a drive of its own: staged files, flasher.cfg, the old files cleared, the
// stand-in flasher started, and each way a run can stop.

#include "environment_guard.h"
#include "library/catalogue_file.h"
#include "library/checksums.h"
#include "library/delete_command.h"
#include "library/flasher_launch.h"
#include "library/library_check.h"
#include "library/library_files.h"
#include "library/paths.h"
#include "library/recorded_files.h"
#include "library/removed_files.h"
#include "library/run_staging.h"
#include "platform/files.h"
#include "platform/hash.h"
#include "platform/process.h"
#include "platform/programs.h"
#include "temporary_drive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <thread>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace
{

const std::string StandInLog = "c:\\flasher\\stand-in.log";

// The stand-in flasher: a script beside the tests' sources, on Windows a program of the build.
std::string standInFlasher()
{
#ifdef _WIN32
    return TemporaryDrive::readNative(QUORVEL_STAND_IN_FLASHER);
#else
    return TemporaryDrive::readNative(QUORVEL_SOURCE_DIR "/tools/stand-in-flasher.sh");
#endif
}

} // namespace

class StagingTest : public testing::Test
{
protected:
    void SetUp() override
    {
        drive.write("c:\\nk_files\\Lunzo\\Common\\28F008.bin", "loader bytes");
        drive.write("c:\\nk_files\\Lunzo\\Common\\boot.bin", "boot bytes");
        drive.write("c:\\nk_files\\Lunzo\\Phones\\3210\\new.fls", std::string(100000, '\x5a'));
        drive.write(Paths::PhoneCatalogue, "[3210]\r\nConfig=X\r\n");
        drive.write("c:\\nk_files\\old.fls", "old");
        drive.write("c:\\nk_files\\OLDER.FLS", "older");
        drive.write("c:\\nk_files\\keep.txt", "kept");
        drive.write("c:\\nk_files\\image.bin", "kept too");
        drive.write(Paths::FlasherConfig, "old config");
        installFlasher(standInFlasher(), true);
        Selection::ApplyCommonChip(selection, CommonChip::Intel28F008);
        Selection::ApplyFlashRow(selection, "3210", "new.fls", "200000", "");
    }

    void installFlasher(const std::string& bytes, bool runnable) const
    {
        drive.write(Paths::Flasher, bytes);
        fs::permissions(Drive::NativePath(Paths::Flasher),
                        runnable ? fs::perms::owner_all
                                 : fs::perms::owner_read | fs::perms::owner_write);
    }

    void stage(const char* group = "3210")
    {
        Staging::StageRun(
            selection, group,
            {.notice =
                 [this](const std::string& text, const Platform::FileProblem& problem) {
                     notices.push_back(text);
                     problems.push_back(problem);
                 },
             .dataFolder = drive.dataFolder()});
    }

    // The stand-in's record, once it has written it (it runs on its own, not waited for).
    std::string flasherLog() const
    {
        for (int tries = 0; tries < 100 && !drive.exists(StandInLog); ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return drive.read(StandInLog);
    }

    TemporaryDrive drive;
    RunSelection selection;
    std::vector<std::string> notices;
    std::vector<Platform::FileProblem> problems;
};

TEST_F(StagingTest, FullRunStagesWritesAndStartsTheFlasher)
{
    stage();
    EXPECT_TRUE(notices.empty()) << notices.front();
    EXPECT_EQ(drive.read(Paths::StagedLoader), "loader bytes");
    EXPECT_EQ(drive.read(Paths::StagedBoot), "boot bytes");
    EXPECT_EQ(drive.read("c:\\nk_files\\new.fls"), std::string(100000, '\x5a'));
    EXPECT_EQ(drive.read(Paths::FlasherConfig), "time 300\r\nX\r\nX\r\nX\r\nX\r\nX");
    EXPECT_FALSE(drive.exists("c:\\nk_files\\old.fls"));
    EXPECT_FALSE(drive.exists("c:\\nk_files\\OLDER.FLS"));
    EXPECT_EQ(drive.read("c:\\nk_files\\keep.txt"), "kept");
    EXPECT_EQ(drive.read("c:\\nk_files\\image.bin"), "kept too");

    const std::string log = flasherLog();
    EXPECT_NE(log.find("started\narguments: 0\n"), std::string::npos) << log;
    // In drive C's flasher folder, wherever Quorvel was started from.
    EXPECT_NE(log.find("directory: " + Drive::NativePath("c:\\flasher").string() + "\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("staged: new.fls 100000 bytes"), std::string::npos) << log;
    EXPECT_NE(log.find("staged: f_loader.bin"), std::string::npos) << log;
    EXPECT_NE(log.find("flasher.cfg: 23 bytes"), std::string::npos) << log;
}

TEST_F(StagingTest, ConfigValueIsWrittenFiveTimesByteForByte)
{
    const std::string value = "9 1 3 \"3210\"x";
    CatalogueFile(Paths::PhoneCatalogue).WriteString("3210", "Config", value);
    ASSERT_TRUE(Staging::WriteFlasherConfig("3210", [](const std::string&, auto&) { FAIL(); }));
    const std::string written = drive.read(Paths::FlasherConfig);
    EXPECT_EQ(written.size(), 5 * value.size() + 18);
    EXPECT_EQ(written, "time 300\r\n" + value + "\r\n" + value + "\r\n" + value + "\r\n" + value +
                           "\r\n" + value);
}

TEST_F(StagingTest, MissingLoaderStopsBeforeAnythingIsDeleted)
{
    selection.LoaderFile = "c:\\nk_files\\Lunzo\\Tias\\missing.tia";
    stage();
    EXPECT_EQ(notices, std::vector<std::string>{"F_loader copy failed!"});
    EXPECT_EQ(problems[0].file, Drive::NativePath(selection.LoaderFile)); // the file and why
    EXPECT_EQ(problems[0].reason, Platform::ReasonText(ENOENT));
    EXPECT_TRUE(drive.exists("c:\\nk_files\\old.fls"));
    EXPECT_FALSE(drive.exists(Paths::StagedLoader));
    EXPECT_TRUE(drive.exists(Paths::TiaFolder)); // its folder is made sure of first
}

TEST_F(StagingTest, MissingBootFileStopsAfterTheLoader)
{
    selection.BootFile = "c:\\nk_files\\Lunzo\\Boots\\missing.bin";
    stage();
    EXPECT_EQ(notices, std::vector<std::string>{"Boot file copy failed!"});
    EXPECT_EQ(drive.read(Paths::StagedLoader), "loader bytes");
    EXPECT_TRUE(drive.exists("c:\\nk_files\\old.fls"));
}

TEST_F(StagingTest, MissingFlashFileStopsAfterTheDeletes)
{
    selection.FlashFile = "c:\\nk_files\\Lunzo\\Phones\\3210\\missing.fls";
    stage();
    EXPECT_EQ(notices, std::vector<std::string>{"Flash file copy error!"});
    EXPECT_FALSE(drive.exists("c:\\nk_files\\old.fls"));
    EXPECT_FALSE(drive.exists(Paths::FlasherConfig));
    EXPECT_EQ(drive.read(Paths::StagedBoot), "boot bytes");
}

TEST_F(StagingTest, ChecksumsGuardTheRunFromTheLibraryToTheStagedCopies)
{
    const std::string image = "c:\\nk_files\\Lunzo\\Phones\\3210\\new.fls";
    drive.write(Paths::ChecksumManifest, "not a line\n");
    std::vector<std::string> asked, told;
    std::function<void(const std::string&)> afterCopy;
    const auto stageAnswering = [&](bool yes) {
        notices.clear();
        fs::remove(Drive::NativePath(Paths::StagedLoader));
        Staging::StageRun(
            selection, "3210",
            {.notice = [&](const std::string& text, auto&) { notices.push_back(text); },
             .question = [&](const std::string& text, auto&) { return asked.push_back(text), yes; },
             .inform = [&](const std::string& text) { told.push_back(text); },
             .afterCopy = afterCopy});
    };
    // First staged: the files get their lines; the unreadable line is told of and kept.
    stageAnswering(false);
    EXPECT_TRUE(notices.empty() && asked.empty());
    EXPECT_EQ(told,
              std::vector<std::string>{"1 line(s) of " + std::string(Paths::ChecksumManifest) +
                                       " cannot be read; the files they name are checked as "
                                       "if they had no checksum."});
    const std::string manifest = drive.read(Paths::ChecksumManifest);
    for (const char* key :
         {"\nnot a line\n", "  Common/28F008.bin\n", "  Phones/3210/new.fls\n",
          "\na2ee1e5121a18ba448915bc2d94206f07bb2cf7f41d92b53ceb5db5f11a12c1d  Common/boot.bin\n"})
        EXPECT_NE(("\n" + manifest).find(key), std::string::npos) << key;
#ifndef _WIN32
    const std::string check = "cd '" + Drive::NativePath(Paths::Library).string() +
                              "' && sha256sum --quiet -c checksums.sha256 2>/dev/null";
    EXPECT_EQ(std::system(check.c_str()), 0);
#endif

    // One byte changed: No stages nothing, Yes records the new sum and stages.
    drive.write(image, std::string(99999, '\x5a') + "!");
    stageAnswering(false);
    EXPECT_EQ(asked,
              std::vector<std::string>{image + " has changed since it entered the library. "
                                               "Use it anyway and record its new checksum?"});
    EXPECT_FALSE(drive.exists(Paths::StagedLoader));
    stageAnswering(true);
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(drive.read("c:\\nk_files\\new.fls").back(), '!');
    stageAnswering(false);
    EXPECT_EQ(asked.size(), 2u); // recorded: no more question

    // A staged copy that changes before it is read back stops the run and is not left.
    afterCopy = [&](const std::string& staged) {
        if (staged == Paths::StagedBoot)
            drive.write(staged, "other bytes");
    };
    fs::remove(Drive::NativePath(Paths::FlasherConfig));
    stageAnswering(false);
    EXPECT_EQ(notices, std::vector<std::string>{"The staged copy c:\\nk_files\\boot.bin does not "
                                                "hold the bytes of c:\\nk_files\\Lunzo\\Common\\"
                                                "boot.bin. Nothing was started."});
    EXPECT_FALSE(drive.exists(Paths::StagedBoot));
    EXPECT_FALSE(drive.exists(Paths::FlasherConfig));
}

// Names match by one rule wherever they meet: a catalogue's spelling finds the library's file and
// its manifest line; an image of a staged file's name never reaches the flasher.
TEST_F(StagingTest, OneNameRuleFromCatalogueToStagedCopies)
{
    drive.write("c:\\nk_files\\Lunzo\\Tias\\foo.tia", "tia bytes");
    std::vector<std::string> asked;
    const auto stageAsking = [&] {
        notices.clear();
        Staging::StageRun(
            selection, "3210",
            {.notice = [&](const std::string& text, auto&) { notices.push_back(text); },
             .question = [&](const std::string& text,
                             auto&) { return asked.push_back(text), false; }});
    };
    Selection::ApplyTiaRow(selection, "FOO.TIA", "", "");
    stageAsking();
    EXPECT_TRUE(notices.empty()) << notices.front();
    EXPECT_NE(drive.read(Paths::ChecksumManifest).find("  Tias/foo.tia\n"), std::string::npos);
    drive.write("c:\\nk_files\\Lunzo\\Tias\\foo.tia", "tia bytes changed");
    stageAsking();
    ASSERT_EQ(asked.size(), 1u); // the line recorded for foo.tia is FOO.TIA's
    EXPECT_EQ(asked[0].find("c:\\nk_files\\Lunzo\\Tias\\foo.tia has changed"), 0u);

    for (const char* name : {"BOOT.BIN", "f_Loader.bin"}) {
        drive.write(std::string("c:\\nk_files\\Lunzo\\Phones\\3210\\") + name, "image");
        Selection::ApplyFlashRow(selection, "3210", name, "", "");
        fs::remove(Drive::NativePath(Paths::StagedBoot));
        stageAsking();
        ASSERT_EQ(notices.size(), 1u) << name;
        EXPECT_NE(notices[0].find("has the name of a file the run stages"), std::string::npos);
        EXPECT_FALSE(drive.exists(Paths::StagedBoot)); // nothing staged, nothing started
    }
}

// A manifest that cannot be read stops the run and stays as it is; one that cannot be written
// lets the run go on and is told after it, the same on every system.
TEST_F(StagingTest, ManifestThatCannotBeReadOrWrittenIsNeverDropped)
{
    std::vector<std::string> told;
    const auto stageTelling = [&] {
        notices.clear();
        problems.clear();
        told.clear();
        Staging::StageRun(selection, "3210",
                          {.notice =
                               [&](const std::string& text, const Platform::FileProblem& problem) {
                                   notices.push_back(text);
                                   problems.push_back(problem);
                               },
                           .inform = [&](const std::string& text) { told.push_back(text); }});
    };
    const fs::path manifest = Drive::NativePath(Paths::ChecksumManifest);
    fs::create_directories(manifest / "inside");
    try {
        stageTelling();
        ADD_FAILURE() << "an unreadable manifest did not stop the run";
    } catch (const Staging::ManifestError& error) { // shown in an error box
        EXPECT_NE(std::string(error.what())
                      .find(std::string(Paths::ChecksumManifest) + " cannot be read"),
                  std::string::npos);
        EXPECT_EQ(error.problem().file, manifest);
    }
    EXPECT_FALSE(drive.exists(Paths::StagedLoader));
    EXPECT_TRUE(fs::is_directory(manifest / "inside"));
    const fs::path picked = drive.root() / "new.tia";
    std::ofstream(picked) << "tia";
    const auto copy = LibraryFiles::CopyIntoLibrary(picked, Paths::TiaFolder);
    EXPECT_EQ(copy.outcome, LibraryFiles::CopyOutcome::Copied);
    ASSERT_TRUE(copy.checksumFailure);
    EXPECT_EQ(copy.checksumFailure->file, manifest);
    EXPECT_TRUE(fs::is_directory(manifest / "inside"));

    fs::remove_all(manifest);
    const std::string kept = "0000000000000000000000000000000000000000000000000000000000000000"
                             "  Tias/other.tia\n";
    drive.write(Paths::ChecksumManifest, kept);
    drive.makeReadOnly(Paths::ChecksumManifest);
    stageTelling();
    EXPECT_TRUE(notices.empty()) << notices.front();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].find(Checksums::Recorded::FailureText()), 0u);
    EXPECT_EQ(drive.read(Paths::ChecksumManifest), kept);
    EXPECT_TRUE(LibraryFiles::CopyIntoLibrary(picked, Paths::BootFolder).checksumFailure);
    EXPECT_EQ(drive.read(Paths::ChecksumManifest), kept);
    fs::permissions(manifest, fs::perms::owner_write, fs::perm_options::add);
}

#ifndef _WIN32 // a full disk made with the file size limit
TEST_F(StagingTest, AFullDiskLeavesNoPartOfAFileAndTheNextTryWorks)
{
    const auto filesIn = [&](std::string_view folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Drive::NativePath(folder)))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    const auto withRoomFor = [](rlim_t bytes, const std::function<void()>& action) {
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = old;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
        action();
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldSignal);
    };
    withRoomFor(50000, [&] { stage(); });
    EXPECT_EQ(notices, std::vector<std::string>{"Flash file copy error!"});
    EXPECT_EQ(problems.back().reason, Platform::ReasonText(EFBIG)); // the limit's "disk full"
    EXPECT_EQ(
        filesIn(Paths::LibraryRoot),
        std::vector<std::string>({"Lunzo", "boot.bin", "f_loader.bin", "image.bin", "keep.txt"}));

    const fs::path picked = drive.root() / "big.tia";
    std::ofstream(picked) << std::string(100000, 'x');
    LibraryFiles::CopyReport copy;
    withRoomFor(50000, [&] { copy = LibraryFiles::CopyIntoLibrary(picked, Paths::TiaFolder); });
    EXPECT_EQ(copy.outcome, LibraryFiles::CopyOutcome::Failed);
    EXPECT_EQ(Platform::FileErrorText(copy.error), "Disk full");
    EXPECT_TRUE(filesIn(Paths::TiaFolder).empty());

    EXPECT_EQ(LibraryFiles::CopyIntoLibrary(picked, Paths::TiaFolder).outcome,
              LibraryFiles::CopyOutcome::Copied);
    EXPECT_NE(drive.read(Paths::ChecksumManifest).find("  Tias/big.tia\n"), std::string::npos);
    notices.clear();
    stage();
    EXPECT_TRUE(notices.empty());
}
#endif

TEST_F(StagingTest, MissingOrEmptyConfigStopsBeforeTheFlasherAndASecondStartWorks)
{
    for (const char* catalogue :
         {"[3210]\r\nScheme=a.bmp\r\n", "[3210]\r\nConfig=\r\n", "[other]\r\nConfig=X\r\n"}) {
        drive.write(Paths::PhoneCatalogue, catalogue);
        notices.clear();
        stage();
        EXPECT_EQ(notices, std::vector<std::string>{"The phone configuration file is corrupt"})
            << catalogue;
        EXPECT_EQ(drive.read(Paths::FlasherConfig), "time 300\r\n");
        EXPECT_EQ(drive.read("c:\\nk_files\\new.fls").size(), 100000u);
    }
    // One that cannot be read is told as such, not taken for an empty one.
    fs::remove(Drive::NativePath(Paths::PhoneCatalogue));
    fs::create_directory(Drive::NativePath(Paths::PhoneCatalogue));
    notices.clear();
    stage();
    EXPECT_EQ(notices,
              std::vector<std::string>{"The phone catalogue " + std::string(Paths::PhoneCatalogue) +
                                       " cannot be read"});
    fs::remove(Drive::NativePath(Paths::PhoneCatalogue));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(drive.exists(StandInLog));

    drive.write(Paths::PhoneCatalogue, "[3210]\r\nConfig=X\r\n");
    notices.clear();
    stage();
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(drive.read(Paths::FlasherConfig).size(), 23u);
    EXPECT_NE(flasherLog().find("started"), std::string::npos);
}

TEST_F(StagingTest, FlasherConfigThatCannotBeWrittenRaisesItsError)
{
    const auto expectError = [this](const char* text) {
        try {
            stage();
            ADD_FAILURE() << "no error, expected " << text;
        } catch (const Staging::FlasherConfigError& error) {
            EXPECT_STREQ(error.what(), text);
        }
    };

    drive.makeReadOnly(Paths::FlasherConfig); // the delete leaves a read-only file, as DEL does
    expectError("File access denied");
    EXPECT_EQ(drive.read(Paths::FlasherConfig), "old config");

    fs::permissions(Drive::NativePath(Paths::FlasherConfig), fs::perms::owner_write,
                    fs::perm_options::add); // Windows deletes no read-only file
    fs::remove_all(Drive::NativePath(Paths::FlasherFolder));
    expectError("Invalid filename");
    EXPECT_EQ(drive.read(Paths::StagedLoader), "loader bytes");
}

TEST_F(StagingTest, FlasherConfigOnAFullDiskSaysSo)
{
#ifdef _WIN32
    GTEST_SKIP() << "a full disk is made with /dev/full, which Windows does not have";
#endif
    fs::remove(Drive::NativePath(Paths::FlasherConfig));
    fs::create_symlink("/dev/full", Drive::NativePath(Paths::FlasherConfig));
    try {
        stage();
        ADD_FAILURE() << "no error on a full disk";
    } catch (const Staging::FlasherConfigError& error) {
        EXPECT_STREQ(error.what(), "Disk full");
    }
}

TEST_F(StagingTest, OldFlashImageThatStaysStopsTheRun)
{
    drive.makeReadOnly("c:\\nk_files\\old.fls");
    stage();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("c:\\nk_files\\old.fls"), std::string::npos) << notices[0];
    EXPECT_FALSE(drive.exists("c:\\nk_files\\new.fls"));
    EXPECT_EQ(drive.read(Paths::FlasherConfig), "old config");
}

TEST_F(StagingTest, ARunWithNothingOldToDeleteGoesOn)
{
    fs::remove(Drive::NativePath("c:\\nk_files\\old.fls"));
    fs::remove(Drive::NativePath("c:\\nk_files\\OLDER.FLS"));
    fs::remove(Drive::NativePath(Paths::FlasherConfig));
    stage();
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(drive.read(Paths::FlasherConfig).size(), 23u);
}

TEST_F(StagingTest, FlasherThatCannotStartIsReportedWithEverythingStaged)
{
    fs::remove(Drive::NativePath(Paths::Flasher));
    stage();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0],
              "The flasher c:\\flasher\\flasher.com could not be started: the file is missing.");
    EXPECT_EQ(drive.read(Paths::FlasherConfig).size(), 23u);
    EXPECT_TRUE(drive.exists("c:\\nk_files\\new.fls"));
}

TEST_F(StagingTest, FlasherWithoutTheRunPermissionIsReported)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no run permission";
#endif
    installFlasher(standInFlasher(), false);
    stage();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("not marked as runnable"), std::string::npos) << notices[0];
}

#ifdef _WIN32
const std::string DosBoxName = "dosbox.exe";
const std::string PathListSeparator = ";";
#else
const std::string DosBoxName = "dosbox";
const std::string PathListSeparator = ":";
#endif

TEST_F(StagingTest, DosFlasherRunsInDosBoxWhenItIsInstalled)
{
    installFlasher(std::string("\xE9\x00\x01MZ dos program", 17), false);
    const std::string empty = Drive::NativePath("c:\\empty").string();
    fs::create_directories(empty);
    // Nor where DOSBox's installer puts it on Windows.
    const EnvironmentGuard noInstall("ProgramFiles", empty),
        noInstall32("ProgramFiles(x86)", empty);
    {
        const EnvironmentGuard noDosBox("PATH", empty);
        stage();
        EXPECT_EQ(notices, std::vector<std::string>{
                               "The flasher c:\\flasher\\flasher.com could not be started: it is "
                               "a DOS program, and DOSBox, which runs it, is not installed."});
    }

    drive.write("c:\\bin\\" + DosBoxName, "#!/bin/sh\n");
    fs::permissions(Drive::NativePath("c:\\bin\\" + DosBoxName), fs::perms::owner_all);
    const EnvironmentGuard withDosBox("PATH", empty + PathListSeparator +
                                                  Drive::NativePath("c:\\bin").string());
    const auto plan = FlasherLaunch::PlanStart(drive.dataFolder());
    const fs::path batchFolder = drive.root() / "data" / "dosbox";
    ASSERT_EQ(plan.arguments.size(), 15u);
    const std::string stem = plan.arguments[12].substr(plan.arguments[12].size() - 13, 8);
    EXPECT_EQ(plan.arguments,
              (std::vector<std::string>{
                  Drive::NativePath("c:\\bin\\" + DosBoxName).string(), "-c", "mount -u c", "-c",
                  "mount c \"" + drive.root().string() + "\"", "-c", "mount -u q", "-c",
                  "mount q \"" + batchFolder.string() + "\"", "-c", "c:", "-c",
                  "call q:\\RUN.BAT " + stem + " WAIT", "-c", "exit"}));
    EXPECT_EQ(plan.codeFile, batchFolder / (stem + ".TXT"));
    EXPECT_EQ(plan.markerFile, Drive::NativePath("c:\\flasher\\" + stem + ".RUN"));
    EXPECT_TRUE(FlasherLaunch::PlanStart(drive.dataFolder(), {.closeWhenDone = true})
                    .arguments[12]
                    .ends_with(" CLOSE"));
    EXPECT_EQ(TemporaryDrive::readNative(batchFolder / "RUN.BAT"), FlasherLaunch::BatchText());
}

#ifndef _WIN32
// The real DOSBox, with a user's own configuration whose [autoexec] mounts C elsewhere, holding
// an old flasher that would end with 0: our flasher runs (ending with 3) or, where that C: stays
// (a DOSBox that does not unmount it), the result is unknown; never a success. With DOSBox to
// wait, it still runs once the flasher's code is recorded.
TEST(FlasherLaunch, RealDosBoxRunsOurFlasherOrTellsItDidNot)
{
    const fs::path dosbox = Platform::FindProgram("dosbox");
    if (dosbox.empty())
        GTEST_SKIP() << "needs dosbox (tools/install-deps.sh installs it)";
    TemporaryDrive drive;
    drive.write(Paths::Flasher, "\xB8\x03\x4C\xCD\x21");                        // exit code 3
    drive.write("c:\\elsewhere\\flasher\\flasher.com", "\xB8\x00\x4C\xCD\x21"); // exit code 0
    const fs::path home = drive.root() / "home";
    fs::create_directories(home);
    const auto installDosBox = [&](const std::string& filter) {
        drive.write("c:\\bin\\dosbox",
                    "#!/bin/sh\nfor a in \"$@\"; do shift; " + filter +
                        "set -- \"$@\" \"$a\"; done\nHOME=" + home.string() +
                        " SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy exec timeout 30 " +
                        dosbox.string() + " \"$@\"\n");
        fs::permissions(drive.root() / "bin/dosbox", fs::perms::owner_all);
    };
    const EnvironmentGuard path("PATH", (drive.root() / "bin").string() + ":/usr/bin:/bin");
    installDosBox("");
    const fs::path users = Platform::DosBoxUserConfig(drive.root() / "bin/dosbox");
    ASSERT_FALSE(users.empty());
    std::ofstream(users, std::ios::app)
        << "\n[autoexec]\nmount c \"" << (drive.root() / "elsewhere").string() << "\"\nc:\n";

    const struct {
        const char* filter;
        bool closeWhenDone;
        const char* result;
    } rows[] = {
        {"", true, "failed (exit code 3)"},
        {"[ \"$a\" = \"mount -u c\" ] && continue; ", true,
         "result unknown: DOSBox did not reach the flasher on drive C"},
        {"", false, nullptr}, // waits for a key
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.filter);
        installDosBox(row.filter);
        const auto plan =
            FlasherLaunch::PlanStart(drive.dataFolder(), {.closeWhenDone = row.closeWhenDone});
        std::string failure;
        auto started = FlasherLaunch::Start(plan, failure, {.output = [](std::string_view) {}});
        ASSERT_TRUE(started) << failure;
        EXPECT_TRUE(fs::exists(plan.markerFile));
        std::optional<Platform::ProgramEnd> end;
        for (int look = 0; look < 600 && !(end = started->program->Ended()) &&
                           (row.result || !fs::exists(plan.codeFile));
             ++look)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (!row.result) {
            ASSERT_TRUE(fs::exists(plan.codeFile));
            EXPECT_FALSE(started->program->Ended()) << "DOSBox closed without waiting";
            started->running()->Stop();
            for (int look = 0; look < 200 && !(end = started->program->Ended()); ++look)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            continue;
        }
        ASSERT_TRUE(end);
        EXPECT_EQ(FlasherLaunch::ResultText(FlasherLaunch::ResultOf(*started, *end)), row.result);
        EXPECT_FALSE(fs::exists(plan.markerFile));
    }
}
#endif

// What the batch file recorded, read with DOSBox's own end.
TEST(FlasherLaunch, ResultOfARunTellsTheFlashersOwnCode)
{
    using Kind = FlasherLaunch::Result::Kind;
    TemporaryDrive drive;
    const fs::path codeFile = drive.root() / "R1.TXT";
    const struct {
        FlasherLaunch::Way way;
        const char* recorded; // nullptr: no code file
        Platform::ProgramEnd end;
        Kind kind;
        const char* text;
    } rows[] = {
        {FlasherLaunch::Way::Directly, nullptr, {false, 0}, Kind::Success, "success"},
        {FlasherLaunch::Way::Directly, nullptr, {false, 3}, Kind::Failed, "failed (exit code 3)"},
        {FlasherLaunch::Way::Directly,
         nullptr,
         {true, 9},
         Kind::Signal,
         "failed (ended by signal 9)"},
        {FlasherLaunch::Way::InDosBox, "3\r\n", {false, 0}, Kind::Failed, "failed (exit code 3)"},
        {FlasherLaunch::Way::InDosBox, "0 \r\n", {false, 0}, Kind::Success, "success"},
        {FlasherLaunch::Way::InDosBox,
         "0\r\n",
         {false, 1},
         Kind::Failed,
         "failed (DOSBox exit code 1)"},
        {FlasherLaunch::Way::InDosBox, nullptr, {false, 0}, Kind::Unknown, "result unknown"},
        {FlasherLaunch::Way::InDosBox, "x", {false, 0}, Kind::Unknown, "result unknown"},
        // The batch file found another drive C, or no flasher on it: never a success.
        {FlasherLaunch::Way::InDosBox,
         "DRIVE \r\n",
         {false, 0},
         Kind::Unknown,
         "result unknown: DOSBox did not reach the flasher on drive C"},
        {FlasherLaunch::Way::InDosBox,
         "NOFLASHER \r\n",
         {false, 0},
         Kind::Unknown,
         "result unknown: DOSBox did not reach the flasher on drive C"},
        {FlasherLaunch::Way::Directly,
         nullptr,
         {false, 0, false},
         Kind::Unknown,
         "result unknown: ended while Quorvel was not running"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        fs::remove(codeFile);
        if (row.recorded)
            drive.write("c:\\R1.TXT", row.recorded);
        const FlasherLaunch::Started started{
            row.way, nullptr, row.way == FlasherLaunch::Way::InDosBox ? codeFile : fs::path()};
        const auto result = FlasherLaunch::ResultOf(started, row.end);
        EXPECT_EQ(result.kind, row.kind);
        EXPECT_EQ(FlasherLaunch::ResultText(result), row.text);
        EXPECT_FALSE(fs::exists(codeFile)); // read once
    }
}

TEST(DeleteCommand, MatchesDosPatternsWithoutRegardToCase)
{
    EXPECT_TRUE(DeleteCommand::Matches("*.fls", "a.fls"));
    EXPECT_TRUE(DeleteCommand::Matches("*.fls", "B.FLS"));
    EXPECT_TRUE(DeleteCommand::Matches("*.fls", ".fls"));
    EXPECT_FALSE(DeleteCommand::Matches("*.fls", "a.flsx"));
    EXPECT_FALSE(DeleteCommand::Matches("*.fls", "a.fls.bak"));
    EXPECT_TRUE(DeleteCommand::Matches("flasher.cfg", "FLASHER.CFG"));
    EXPECT_TRUE(DeleteCommand::Matches("a?c", "abc"));
    EXPECT_FALSE(DeleteCommand::CarryOut("COMMAND.COM /C DIR c:\\"));
}

TEST(DeleteCommand, DeletesOnlyInTheFolderItself)
{
    TemporaryDrive drive;
    drive.write("c:\\nk_files\\a.fls", "");
    drive.write("c:\\nk_files\\Lunzo\\Phones\\3210\\b.fls", "");
    fs::create_directories(Drive::NativePath("c:\\nk_files\\folder.fls"));
    EXPECT_TRUE(DeleteCommand::CarryOut(Staging::DeleteOldFlashImages));
    EXPECT_FALSE(drive.exists("c:\\nk_files\\a.fls"));
    EXPECT_TRUE(drive.exists("c:\\nk_files\\Lunzo\\Phones\\3210\\b.fls"));
    EXPECT_TRUE(drive.exists("c:\\nk_files\\folder.fls"));
}

#ifndef _WIN32 // locales built by glibc's localedef
// Under a Turkish single-byte locale std::tolower('I') is a dotless i; matching must not change.
TEST(DeleteCommand, MatchesTheSameInEveryLocale)
{
    TemporaryDrive drive;
    const std::string locale = "tr_TR.ISO-8859-9";
    const std::string build =
        "localedef -i tr_TR -f ISO-8859-9 '" + (drive.root() / locale).string() + "' 2>&1";
    if (std::system(build.c_str()) != 0)
        GTEST_SKIP() << "no locale definitions (Debian package locales)";
    setenv("LOCPATH", drive.root().c_str(), 1);
    ASSERT_NE(std::setlocale(LC_CTYPE, locale.c_str()), nullptr);
    const bool matches = DeleteCommand::Matches("flasher.cfg", "FLASHER.CFG") &&
                         DeleteCommand::Matches("*.FLS", "IMAGE.fls") &&
                         !DeleteCommand::Matches("\xC9.fls", "\xE9.fls");
    std::setlocale(LC_CTYPE, "C");
    unsetenv("LOCPATH");
    EXPECT_TRUE(matches);
}
#endif

// Check library's kinds, each file once in the kind that matters most, with the command line's
// exit code: over a library of the common files and one catalogued TIA file, all with lines,
// changed one way per row.
TEST(LibraryCheck, CountsEveryFileInTheKindThatMattersMost)
{
    const std::string a = "c:\\nk_files\\Lunzo\\Tias\\a.tia";
    const auto digestOf = [](std::string_view logical) {
        return *Platform::HashFile(Drive::NativePath(logical));
    };
    const struct {
        const char* name;
        std::function<void(TemporaryDrive&)> change;
        std::vector<std::string> lines; // among the report's
        int exitCode;
    } rows[] = {
        {"as it entered", [](TemporaryDrive&) {}, {"Tias/a.tia: OK"}, 0},
        {"changed",
         [&](TemporaryDrive& drive) { drive.write(a, "other"); },
         {"Tias/a.tia: FAILED"},
         1},
        {"missing",
         [&](TemporaryDrive&) { fs::remove(Drive::NativePath(a)); },
         {"Tias/a.tia: FAILED missing"},
         1},
        {"catalogued without a line",
         [](TemporaryDrive& drive) {
             drive.write(Paths::TiaCatalogue, "[a.tia]\r\n[b.tia]\r\n");
             drive.write("c:\\nk_files\\Lunzo\\Phones\\3210\\img.fls", "i");
             drive.write(Paths::PhoneCatalogue, "[3210]\r\n");
             drive.write(Paths::FlashCatalogue("3210"), "[img.fls]\r\n");
             drive.write("c:\\nk_files\\Lunzo\\Tias\\b.tia", "b");
         },
         {"Tias/b.tia: NO CHECKSUM YET", "Phones/3210/img.fls: NO CHECKSUM YET"},
         0},
        // Copied by a browse that was cancelled: its line does not make it OK.
        {"a line but no entry",
         [&](TemporaryDrive& drive) {
             const std::string stray = "c:\\nk_files\\Lunzo\\Tias\\stray.tia";
             drive.write(stray, "s");
             ASSERT_TRUE(Checksums::Record({{stray, digestOf(stray)}}));
         },
         {"Tias/stray.tia: NOT CATALOGUED"},
         0},
        // Which files it names cannot be told: none is taken for uncatalogued.
        {"unreadable catalogue",
         [](TemporaryDrive& drive) {
             fs::remove(Drive::NativePath(Paths::TiaCatalogue));
             fs::create_directory(Drive::NativePath(Paths::TiaCatalogue));
             drive.write("c:\\nk_files\\Lunzo\\Tias\\b.tia", "b");
         },
         {"Tias/Tias.ini: FAILED catalogue cannot be read", "Tias/a.tia: OK",
          "Tias/b.tia: NO CHECKSUM YET"},
         1},
        {"unlisted folder",
         [](TemporaryDrive& drive) { drive.write("c:\\nk_files\\Lunzo\\Boots", "no folder"); },
         {"Boots/: FAILED listing"},
         1},
        // More section-name text than the lists' buffer holds: the check reads it all.
        {"catalogue beyond the list buffer",
         [&](TemporaryDrive& drive) {
             std::string text;
             for (int entry = 0; entry < 400; ++entry)
                 text += "[" + std::string(60, 'x') + std::to_string(entry) + ".tia]\r\n";
             drive.write(Paths::TiaCatalogue, text + "[a.tia]\r\n");
         },
         {"Tias/a.tia: OK", "Tias/" + std::string(60, 'x') + "399.tia: FAILED missing"},
         1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TemporaryDrive drive;
        std::map<std::string, std::string> digests;
        for (const auto common : Paths::CommonFiles)
            drive.write(common, "common");
        drive.write(Paths::TiaCatalogue, "[a.tia]\r\n");
        drive.write(a, "a");
        for (const auto file :
             {std::string_view(a), Paths::CommonIntel28F008, Paths::CommonAtmel29F800,
              Paths::CommonIntel28F160, Paths::CommonBoot})
            digests[std::string(file)] = digestOf(file);
        ASSERT_TRUE(Checksums::Record(digests));
        row.change(drive);

        const auto result = LibraryCheck::Run();
        const std::string report = LibraryCheck::Report(result);
        for (const auto& line : row.lines)
            EXPECT_NE(report.find(line + "\n"), std::string::npos) << line << " in\n" << report;
        // Each file once.
        EXPECT_EQ(std::count(report.begin(), report.end(), '\n'),
                  std::ptrdiff_t(result.items.size()));
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(LibraryCheck::PrintReport(), row.exitCode);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), report);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), LibraryCheck::Summary(result) + "\n");
    }
}

// What a run reads of the manifest (its files' lines only) answers as the whole manifest does:
// the first line of a name in any letter case, the library's folder in any letter case, digests
// in lower case, every unreadable line counted.
TEST(Checksums, TheLinesOfARunAnswerAsTheWholeManifest)
{
    TemporaryDrive drive;
    const std::string upper(64, 'A'), lower(64, 'a'), other(64, 'b');
    drive.write(Paths::ChecksumManifest, upper + "  Tias/a.tia\r\n" + other + "  TIAS/A.TIA\n" +
                                             "junk\n\n" + other + " *Common/boot.bin\n" + lower +
                                             "  Phones/3210/x.fls");
    const struct {
        const char* logicalPath;
        std::optional<std::string> digest;
    } rows[] = {
        {"c:\\nk_files\\Lunzo\\Tias\\A.tia", lower},
        {"C:\\NK_FILES\\LUNZO\\Common\\Boot.bin", other},
        {"c:\\nk_files\\Lunzo\\Phones\\3210\\x.fls", lower},
        {"c:\\nk_files\\Lunzo\\Phones\\3210\\gone.fls", std::nullopt},
        {"c:\\nk_files\\Lunzo2\\Tias\\a.tia", std::nullopt},
    };
    std::vector<std::string> run;
    for (const auto& row : rows)
        run.push_back(row.logicalPath);
    const auto whole = Checksums::Read();
    const auto part = Checksums::ReadLinesOf(run);
    EXPECT_EQ(whole.unreadableLines, 2);
    EXPECT_EQ(part.unreadableLines, 2);
    EXPECT_EQ(part.sums.size(), 3u); // nothing of other files
    for (const auto& row : rows) {
        EXPECT_EQ(Checksums::Lookup(part, row.logicalPath), row.digest) << row.logicalPath;
        EXPECT_EQ(Checksums::Lookup(whole, row.logicalPath), row.digest) << row.logicalPath;
    }
}

// Only files with a line are read, with progress and Cancel; the summary counts every kind.
TEST(LibraryCheck, ReadsOnlyFilesWithALineAndCountsEachKind)
{
    TemporaryDrive drive;
    for (const auto common : Paths::CommonFiles)
        drive.write(common, "common");
    drive.write(Paths::TiaCatalogue, "[a.tia]\r\n[gone.tia]\r\n[new.tia]\r\n");
    for (const char* file : {"a.tia", "new.tia", "left.tia"})
        drive.write(Paths::Join(Paths::TiaFolder, file), file);
    ASSERT_TRUE(Checksums::Record(
        {{Paths::Join(Paths::TiaFolder, "a.tia"),
          *Platform::HashFile(Drive::NativePath(Paths::Join(Paths::TiaFolder, "a.tia")))}}));
    std::size_t calls = 0;
    const auto result = LibraryCheck::Run([&](std::size_t, std::size_t total) {
        EXPECT_EQ(total, 1u);
        return ++calls, true;
    });
    EXPECT_EQ(calls, 2u); // before the file, and at the end
    EXPECT_EQ(LibraryCheck::Summary(result), "8 files: 1 OK, 1 missing, 1 not catalogued, 5 no "
                                             "checksum yet.");
    EXPECT_TRUE(LibraryCheck::Run([](auto, auto) { return false; }).cancelled);
}

// Move to Removed keeps the file's line beside it, in Removed's own manifest; putting the file
// back brings the line back.
TEST(LibraryCheck, ARemovedFileComesBackWithItsLine)
{
    TemporaryDrive drive;
    const std::string stray = "c:\\nk_files\\Lunzo\\Phones\\3210\\left.fls";
    drive.write(stray, "left");
    const std::string digest = *Platform::HashFile(Drive::NativePath(stray));
    ASSERT_TRUE(Checksums::Record({{stray, digest}}));

    EXPECT_TRUE(RemovedFiles::Remove("Phones/3210/left.fls").moved);
    EXPECT_FALSE(drive.exists(stray));
    EXPECT_EQ(drive.read("c:\\nk_files\\Removed\\Phones\\3210\\left.fls"), "left");
    EXPECT_EQ(drive.read(RemovedFiles::Manifest), digest + "  Phones/3210/left.fls\n");
    EXPECT_EQ(drive.read(Paths::ChecksumManifest), "");
    EXPECT_EQ(RemovedFiles::List(), std::vector<std::string>{"Phones/3210/left.fls"});
    drive.write(stray, "another"); // not over a file that took its place
    EXPECT_FALSE(RemovedFiles::PutBack("Phones/3210/left.fls").moved);
    fs::remove(Drive::NativePath(stray));

    const auto back = RemovedFiles::PutBack("Phones/3210/left.fls");
    EXPECT_TRUE(back.moved && !back.problem);
    EXPECT_EQ(drive.read(stray), "left");
    EXPECT_EQ(drive.read(Paths::ChecksumManifest), digest + "  Phones/3210/left.fls\n");
    EXPECT_EQ(drive.read(RemovedFiles::Manifest), "");
    EXPECT_TRUE(RemovedFiles::List().empty());
}

// A journal line, which anyone can edit, makes the program read only a regular file inside the
// library: never a device, a FIFO or a file elsewhere.
TEST(RecordedFiles, OnlyARegularFileInTheLibraryIsRead)
{
    TemporaryDrive drive;
    drive.write("c:\\nk_files\\Lunzo\\Tias\\a.tia", "a");
    drive.write("c:\\nk_files\\outside.bin", "o");
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(Drive::NativePath("c:\\nk_files\\Lunzo\\Tias\\fifo.tia").c_str(), 0600), 0);
#endif
    const struct {
        const char* path;
        bool read;
    } rows[] = {
        {"c:\\nk_files\\Lunzo\\Tias\\a.tia", true},
        {"C:\\NK_FILES\\LUNZO\\Tias\\a.tia", false}, // not as the program writes it
        {"c:\\nk_files\\Lunzo\\Tias\\..\\..\\outside.bin", false},
        {"c:\\nk_files\\outside.bin", false},
        {"c:\\nk_files\\Lunzo\\Tias", false},
        {"c:\\nk_files\\Lunzo\\Tias\\fifo.tia", false},
        {"c:\\nk_files\\Lunzo\\Tias\\gone.tia", false},
        {"c:\\nk_files\\Lunzo\\Tias\\/dev/zero", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(RecordedFiles::LibraryFileDigest(row.path).has_value(), row.read) << row.path;
}

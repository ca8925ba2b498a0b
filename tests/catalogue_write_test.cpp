// SPDX-License-Identifier: GPL-2.0-or-later
// How a catalogue is rewritten on this system: through symbolic links, never through a name
// someone else made, in place in a folder that refuses new files, and never at all when the
// file is there but cannot be read.

#include "library/catalogue_file.h"
#include "library/paths.h"
#include "temporary_drive.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

// Runs what in a child process, as the user nobody when asked: root reads and creates files
// whatever their permissions say. True when what returned true.
bool inChild(const std::function<bool()>& what, bool unprivileged)
{
    const pid_t child = ::fork();
    if (child == 0) {
        bool ok = !unprivileged ||
                  (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0);
        try {
            ok = ok && what();
        } catch (...) { // never back into the test run
            ok = false;
        }
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool refused(const std::function<void()>& write)
{
    try {
        write();
    } catch (const UnableToWrite&) {
        return true;
    }
    return false;
}

} // namespace

class CatalogueWriteTest : public testing::Test
{
protected:
    void SetUp() override { drive.write(Paths::TiaCatalogue, Before); }

    // Whether reads give the defaults and every write and erasure is refused.
    bool readsAsMissingAndRefusesWrites() const
    {
        CatalogueFile tias(Paths::TiaCatalogue);
        std::vector<std::string> names{"left over"};
        tias.ReadSections(names);
        return names.empty() && tias.ReadString("a", "k", "default") == "default" &&
               refused([&] { tias.WriteString("b", "k", "2"); }) &&
               refused([&] { tias.EraseSection("a"); });
    }

    // The names in the TIA folder besides the catalogue.
    std::vector<std::string> othersInFolder() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().filename() != "Tias.ini")
                names.push_back(entry.path().filename());
        return names;
    }

    static constexpr std::string_view Before = "[a]\r\nk=1\r\n";
    static constexpr std::string_view After = "[a]\r\nk=1\r\n[b]\r\nk=2\r\n";
    TemporaryDrive drive;
    const fs::path catalogue = Drive::NativePath(Paths::TiaCatalogue);
    const fs::path folder = catalogue.parent_path();
};

TEST_F(CatalogueWriteTest, CatalogueThatCannotBeReadIsNeverRewritten)
{
    const struct {
        const char* what;
        std::function<void()> make;
        bool asNobody;
    } cases[] = {
        {"no read permission",
         [&] {
             drive.write(Paths::TiaCatalogue, Before);
             fs::permissions(catalogue, fs::perms::owner_write | fs::perms::others_write);
         },
         true},
        {"an I/O error", [&] { fs::create_symlink("/proc/self/mem", catalogue); }, false},
        {"a folder", [&] { fs::create_directory(catalogue); }, false},
    };
    fs::permissions(folder, fs::perms::all); // so that nothing else refuses the write
    for (const auto& c : cases) {
        fs::remove_all(catalogue);
        c.make();
        SCOPED_TRACE(c.what);
        const auto type = fs::symlink_status(catalogue).type();
        EXPECT_TRUE(inChild([&] { return readsAsMissingAndRefusesWrites(); }, c.asNobody));
        EXPECT_EQ(fs::symlink_status(catalogue).type(), type);
        if (type == fs::file_type::regular) {
            EXPECT_EQ(drive.read(Paths::TiaCatalogue), Before);
        }
        EXPECT_TRUE(othersInFolder().empty());
    }
}

TEST_F(CatalogueWriteTest, SymbolicLinkStaysAndItsFileGetsTheWrite)
{
    drive.write("c:\\shared\\Tias.ini", Before);
    fs::remove(catalogue);
    fs::create_symlink("../../../shared/Tias.ini", catalogue);
    CatalogueFile(Paths::TiaCatalogue).WriteString("b", "k", "2");
    EXPECT_TRUE(fs::is_symlink(catalogue));
    EXPECT_EQ(drive.read("c:\\shared\\Tias.ini"), After);
    EXPECT_TRUE(othersInFolder().empty());
}

TEST_F(CatalogueWriteTest, NamesBesideTheCatalogueAreNeverWrittenThrough)
{
    drive.write("c:\\outside", "outside");
    fs::create_symlink(drive.root() / "outside", folder / ".Tias.ini.new");
    drive.write("c:\\nk_files\\Lunzo\\Tias\\.Tias.ini.0123abcd.tmp", "left over");
    CatalogueFile(Paths::TiaCatalogue).WriteString("b", "k", "2");
    EXPECT_EQ(drive.read(Paths::TiaCatalogue), After);
    EXPECT_EQ(drive.read("c:\\outside"), "outside");
    EXPECT_TRUE(fs::is_symlink(folder / ".Tias.ini.new"));
    EXPECT_EQ(drive.read("c:\\nk_files\\Lunzo\\Tias\\.Tias.ini.0123abcd.tmp"), "left over");
}

TEST_F(CatalogueWriteTest, FolderThatRefusesNewFilesGetsTheCatalogueRewrittenInPlace)
{
    fs::permissions(catalogue, fs::perms::all);
    fs::permissions(folder, fs::perms::all & ~(fs::perms::group_write | fs::perms::others_write));
    EXPECT_TRUE(inChild(
        [] {
            CatalogueFile(Paths::TiaCatalogue).WriteString("b", "k", "2");
            return true;
        },
        true));
    EXPECT_EQ(drive.read(Paths::TiaCatalogue), After);
}

TEST_F(CatalogueWriteTest, FullDiskRefusesAndLeavesNothingBehind)
{
    EXPECT_TRUE(inChild(
        [] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit small{16, RLIM_INFINITY};
            return ::setrlimit(RLIMIT_FSIZE, &small) == 0 &&
                   refused([] { CatalogueFile(Paths::TiaCatalogue).WriteString("b", "k", "2"); });
        },
        false));
    EXPECT_EQ(drive.read(Paths::TiaCatalogue), Before);
    EXPECT_TRUE(othersInFolder().empty());
}

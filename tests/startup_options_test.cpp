// SPDX-License-Identifier: GPL-2.0-or-later
// The command line read before any window: which drive C a run gets, and what ends the program
// before it starts (help, version, mistakes with exit code 2).

#include "startup/options.h"
#include "temporary_drive.h"

#include <gtest/gtest.h>

#include <vector>

#include <QRegularExpression>

namespace fs = std::filesystem;

namespace
{

const fs::path DefaultRoot = "/default/drive_c";

StartupOptions::Outcome read(QStringList arguments, const QString& variable = {})
{
    arguments.prepend("quorvel");
    return StartupOptions::Read(arguments, variable, DefaultRoot);
}

QString text(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

} // namespace

TEST(StartupOptionsTest, DriveCComesFromTheOptionThenTheVariableThenTheDefault)
{
    const TemporaryDrive named, other;
    const QString root = text(named.root());
    struct Case {
        QStringList arguments;
        QString variable;
        fs::path expected;
    };
    std::vector<Case> cases = {
        {{}, {}, DefaultRoot},
        {{}, root, named.root()},
        {{"--drive-c", root}, text(other.root()), named.root()},
        {{"--drive-c=" + root}, {}, named.root()},
    };
    // Under Wine the temporary folder is on drive C and the working folder on Z: no relative
    // path leads from one to the other.
    if (const fs::path relative = fs::relative(named.root()); !relative.empty())
        cases.push_back({{"--drive-c", text(relative)}, {}, named.root()});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString() + " variable " + c.variable.toStdString());
        const auto outcome = read(c.arguments, c.variable);
        ASSERT_TRUE(outcome.run) << outcome.text.toStdString();
        EXPECT_EQ(outcome.driveRoot, c.expected);
        EXPECT_FALSE(outcome.checkLibrary);
    }
    const auto check = read({"--check-library", "--drive-c", root});
    EXPECT_TRUE(check.run && check.checkLibrary);
    EXPECT_EQ(check.driveRoot, named.root());
}

TEST(StartupOptionsTest, AMistakeEndsWithExitCode2AndAMessage)
{
    const struct {
        QStringList arguments;
        QString variable;
        QString message;
    } cases[] = {
        {{"--frobnicate"}, {}, "'frobnicate'"},
        {{"--drive-c"}, {}, "'--drive-c'"},
        {{"--drive-c="}, {}, "names no folder"},
        {{"stray"}, {}, "Unexpected argument 'stray'."},
        {{"--drive-c", "/no/such/folder"}, {}, "'/no/such/folder' does not"},
        {{}, "/no/such/folder", "'/no/such/folder' (named by QUORVEL_DRIVE_C) does not"},
        {{"--help", "--bad"}, {}, "'bad'"},
        {{"-platform", "xcb"}, {}, "option 'platform'"},
        {{"--history", "0"}, {}, "one number of runs"},
        {{"--history", "5", "6"}, {}, "one number of runs"},
        {{"--history-tsv", "x"}, {}, "one number of runs"},
    };
    for (const auto& c : cases) {
        const auto outcome = read(c.arguments, c.variable);
        SCOPED_TRACE(c.arguments.join(' ').toStdString() + ": " + outcome.text.toStdString());
        EXPECT_TRUE(!outcome.run && outcome.isError && outcome.exitCode == 2);
        EXPECT_TRUE(outcome.text.startsWith("quorvel: ") && outcome.text.contains(c.message) &&
                    outcome.text.endsWith("Try 'quorvel --help' for more information.\n"));
    }
}

TEST(StartupOptionsTest, HelpAndVersionPrintAndEndWithExitCode0)
{
    const auto help = read({"--help"});
    EXPECT_TRUE(!help.run && !help.isError && help.exitCode == 0);
    for (const char* word : {"--drive-c <folder>", "--version", "--check-library",
                             "QUORVEL_DRIVE_C", "/default/drive_c"})
        EXPECT_TRUE(help.text.contains(QLatin1String(word))) << word;
    EXPECT_EQ(read({"-h"}).text, help.text);

    for (const char* option : {"--version", "-v"}) {
        const auto version = read({option});
        EXPECT_TRUE(!version.run && version.exitCode == 0);
        EXPECT_TRUE(
            QRegularExpression("^Quorvel \\d+\\.\\d+\\S*\n$").match(version.text).hasMatch())
            << version.text.toStdString();
    }
}

TEST(StartupOptionsTest, HistoryPrintsTheLastRuns)
{
    const struct {
        QStringList arguments;
        int runs;
        bool tsv;
        bool all = false;
    } cases[] = {
        {{"--history"}, StartupOptions::DefaultHistoryRuns, false},
        {{"--history", "5"}, 5, false},
        {{"--history-tsv", "3"}, 3, true},
        {{"--history", "--history-tsv"}, StartupOptions::DefaultHistoryRuns, true},
        {{"--history", "--long", "2"}, 2, false, true},
    };
    for (const auto& c : cases) {
        const auto outcome = read(c.arguments);
        EXPECT_TRUE(!outcome.run && !outcome.isError && outcome.exitCode == 0);
        EXPECT_EQ(outcome.historyRuns, c.runs) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(outcome.historyTsv, c.tsv);
        EXPECT_EQ(outcome.historyLong, c.all);
    }
}

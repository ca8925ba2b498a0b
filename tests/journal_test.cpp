// SPDX-License-Identifier: GPL-2.0-or-later
// The journal of runs: appended line by line, read back as one record per run, whatever a crash
// left at its end; and the table that `quorvel --history` prints.

#include "journal/history_table.h"
#include "journal/run_journal.h"
#include "temporary_drive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include <sys/stat.h>
#endif

using RunJournal::Outcome;

namespace
{

RunJournal::Record run(const char* group, int minute)
{
    RunJournal::Record record;
    record.id = RunJournal::NewId();
    record.started = QDateTime(QDate(2026, 12, 7), QTime(14, minute));
    record.way = QStringLiteral("DOSBox");
    record.group = group;
    record.config = "9 1 3";
    record.files = {
        {"loader", "c:\\nk_files\\Lunzo\\Common\\28F008.bin", "c:\\nk_files\\f_loader.bin", 6,
         "ab12"},
        {"boot", "c:\\nk_files\\Lunzo\\Common\\boot.bin", "c:\\nk_files\\boot.bin", 4, "cd"},
        {"image", std::string("c:\\nk_files\\Lunzo\\Phones\\") + group + "\\f.fls",
         "c:\\nk_files\\f.fls", 5, "ef"}};
    return record;
}

QString shown(std::string_view bytes)
{
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

} // namespace

TEST(RunJournal, RunsAreReadBackWholeAndACutLastLineIsSkipped)
{
    TemporaryDrive drive;
    const auto file = RunJournal::FileIn(drive.dataFolder());
    QString error;
    auto first = run("3210", 5), second = run("caf\xE9", 20); // a name that is no UTF-8
    ASSERT_TRUE(RunJournal::AppendStart(file, first, error)) << error.toStdString();
    first.ended = first.started.addSecs(420);
    first.outcome = Outcome::Failed;
    first.code = 3;
    first.dosBoxCode = 0;
    first.seconds = 420;
    first.result = "failed (exit code 3)";
    ASSERT_TRUE(RunJournal::AppendEnd(file, first, error));
    ASSERT_TRUE(RunJournal::AppendStart(file, second, error));
    // A crash in the middle of a line.
    std::ofstream(file, std::ios::app) << R"({"run":"x","started":"2026-12)";

    auto read = RunJournal::Read(file);
    ASSERT_EQ(read.runs.size(), 2u);
    EXPECT_EQ(read.unreadableLines, 1);
    const auto& back = read.runs[1];
    EXPECT_EQ(back.started, first.started);
    EXPECT_EQ(back.ended, first.ended);
    EXPECT_EQ(back.outcome, Outcome::Failed);
    EXPECT_EQ(back.code, 3);
    EXPECT_EQ(back.files.size(), 3u);
    EXPECT_EQ(back.file(RunRole::Image)->sha256, "ef");
    EXPECT_EQ(read.runs[0].group, "caf\xE9");
    EXPECT_FALSE(read.runs[0].ended.isValid()); // never completed: unknown

    // Quorvel closes while the second run goes on: the end goes on a line of its own.
    second.ended = second.started.addSecs(30);
    second.outcome = Outcome::RunningAtClose;
    second.seconds = 30;
    ASSERT_TRUE(RunJournal::AppendEnd(file, second, error));
    read = RunJournal::Read(file);
    ASSERT_EQ(read.runs.size(), 2u);
    EXPECT_EQ(read.unreadableLines, 1);
    EXPECT_EQ(read.runs[0].outcome, Outcome::RunningAtClose);

    using HistoryTable::Form;
    const auto rows = [&](Form form) {
        return HistoryTable::Text(read.runs, 5, form, shown).split('\n');
    };
    // Tab-separated: every column of the CSV, the duration in seconds, the exit code.
    const QStringList tsv = rows(Form::TabSeparated);
    EXPECT_EQ(tsv.size(), 4);
    EXPECT_EQ(tsv[0].split('\t'), HistoryTable::LongHeaders());
    EXPECT_EQ(tsv[1].split('\t').mid(0, 8),
              (QStringList{"2026-12-07 14:20", "caf\u00E9", "f.fls", "28F008.bin", "boot.bin",
                           "running when Quorvel closed", "30", ""}));
    EXPECT_EQ(tsv[2].split('\t').mid(0, 8),
              (QStringList{"2026-12-07 14:05", "3210", "f.fls", "28F008.bin", "boot.bin",
                           "failed (exit code 3)", "420", "3"}));
    EXPECT_TRUE(
        tsv[2].endsWith("\tc:\\nk_files\\Lunzo\\Phones\\3210\\f.fls\t5\tef\t")); // no log file
    EXPECT_EQ(rows(Form::Table)[2].toStdString(),
              "2026-12-07 14:05  3210   f.fls  28F008.bin  boot.bin  "
              "failed (exit code 3)         7 min");
    EXPECT_EQ(HistoryTable::Text(read.runs, 1, Form::Table, shown).count('\n'), 2);
}

// A NUL or another control byte in a recorded name is shown escaped and never cuts the output.
TEST(RunJournal, ControlBytesInAFieldAreShownEscaped)
{
    TemporaryDrive drive;
    QString error;
    auto record = run("x", 1);
    record.group = std::string("a\0b\x1b[2J", 7);
    ASSERT_TRUE(RunJournal::AppendStart(RunJournal::FileIn(drive.dataFolder()), record, error));
    const auto read = RunJournal::Read(RunJournal::FileIn(drive.dataFolder()));
    ASSERT_EQ(read.runs.size(), 1u);
    EXPECT_EQ(read.runs[0].group, record.group);
    const QString text = HistoryTable::Text(read.runs, 1, HistoryTable::Form::Table, shown);
    EXPECT_FALSE(text.contains(QChar(0)));
    EXPECT_TRUE(text.contains("a\\x00b\\x1b[2J")) << text.toStdString();
}

// Journals that are no regular file are refused at once; a missing one holds no run.
TEST(RunJournal, AJournalThatIsNoFileIsToldNotWaitedOn)
{
    TemporaryDrive drive;
    const auto file = RunJournal::FileIn(drive.dataFolder());
    std::filesystem::create_directories(file.parent_path());
    EXPECT_TRUE(RunJournal::Read(file).problem.isEmpty()); // missing
    std::filesystem::create_directory(file);
    EXPECT_FALSE(RunJournal::Read(file).problem.isEmpty());
    std::filesystem::remove(file);
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    const auto fifo = RunJournal::Read(file); // would wait for a writer forever
    EXPECT_EQ(fifo.problem, "It is not a regular file.");
    EXPECT_TRUE(fifo.runs.empty());
#endif
}

// The newest runs are read from the end by blocks; a journal cut by another program while it is
// read ends the reading, keeps what was read and is told.
TEST(RunJournal, AJournalCutWhileReadIsToldAndEndsNothing)
{
    TemporaryDrive drive;
    const auto file = RunJournal::FileIn(drive.dataFolder());
    QString error;
    ASSERT_TRUE(RunJournal::AppendStart(file, run("3210", 0), error));
    const std::string line = TemporaryDrive::readNative(file);
    std::ofstream journal(file, std::ios::app);
    for (int more = 1; more < 600; ++more)
        journal << line;
    journal.close();
    ASSERT_GT(std::filesystem::file_size(file), 3 * 64 * 1024u);

    EXPECT_EQ(RunJournal::Read(file, 3).runs.size(), 3u);
    RunJournal::Reader reader(file);
    std::vector<RunJournal::Record> runs;
    EXPECT_TRUE(reader.ReadMore(2, runs));
    std::filesystem::resize_file(file, 1000); // by another descriptor, as a second program would
    while (reader.ReadMore(100, runs)) {
    }
    EXPECT_GE(runs.size(), 2u);
    EXPECT_LT(runs.size(), 600u);
    EXPECT_EQ(reader.problem(), "It became shorter while it was read.");
}

TEST(RunJournal, TheRunsLogFileIsNamedAndOlderRecordsReadWithout)
{
    TemporaryDrive drive;
    const auto file = RunJournal::FileIn(drive.dataFolder());
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file)
        << R"({"run":"old","started":"2026-12-07T13:00:00.000+01:00","way":"directly",)"
        << R"("group":"3210","config":"X","files":[]})" << '\n';
    auto logged = run("3210", 5);
    logged.log = drive.root() / "data" / "logs" / "caf\xC3\xA9.log";
    QString error;
    ASSERT_TRUE(RunJournal::AppendStart(file, logged, error)) << error.toStdString();
    const auto read = RunJournal::Read(file);
    ASSERT_EQ(read.runs.size(), 2u);
    EXPECT_EQ(read.runs[0].log, logged.log);
    EXPECT_TRUE(read.runs[1].log.empty());
    EXPECT_EQ(read.runs[1].group, "3210");
}

// The data folder lies under the user's profile, whose name may hold any letters.
TEST(RunJournal, AJournalInAFolderNamedOutsideAsciiIsWrittenAndRead)
{
    for (const char8_t* name : {u8"Jos\u00e9", u8"\u0141\u00f3d\u017a", u8"\u6771\u4eac"}) {
        TemporaryDrive drive;
        const auto file = drive.root() / std::filesystem::path(name) / "journal.jsonl";
        std::filesystem::create_directories(file.parent_path());
        QString error;
        ASSERT_TRUE(RunJournal::AppendStart(file, run("3210", 5), error)) << error.toStdString();
        EXPECT_EQ(RunJournal::Read(file).runs.size(), 1u);
    }
}

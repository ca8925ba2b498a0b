// SPDX-License-Identifier: GPL-2.0-or-later
// The journal of runs: appended line by line, read back as one record per run, whatever a crash
// left at its end; and the table that `quorvel --history` prints.

#include "journal/history_table.h"
#include "journal/run_journal.h"
#include "temporary_drive.h"

#include <gtest/gtest.h>

#include <fstream>

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
    const auto file = RunJournal::DefaultFile();
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
    EXPECT_EQ(back.file("image")->sha256, "ef");
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

    const auto rows = [&](bool tsv) {
        return HistoryTable::Text(read.runs, 5, tsv, shown).split('\n');
    };
    EXPECT_EQ(rows(true), (QStringList{"When\tGroup\tImage\tLoader\tBoot\tResult\tDuration",
                                       "2026-12-07 14:20\tcaf\u00E9\tf.fls\t28F008.bin\tboot.bin\t"
                                       "running when Quorvel closed\t30 s",
                                       "2026-12-07 14:05\t3210\tf.fls\t28F008.bin\tboot.bin\t"
                                       "failed (exit code 3)\t7 min",
                                       ""}));
    EXPECT_EQ(rows(false)[2].toStdString(), "2026-12-07 14:05  3210   f.fls  28F008.bin  boot.bin  "
                                            "failed (exit code 3)         7 min");
    EXPECT_EQ(HistoryTable::Text(read.runs, 1, false, shown).count('\n'), 2);
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

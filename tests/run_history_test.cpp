// SPDX-License-Identifier: GPL-2.0-or-later
// The Run history window over a journal written here: its filter and CSV export, and Pick again.

#include "forms/common/save_dialog.h"
#include "forms/main_window/main.h"
#include "forms/run/pick_again.h"
#include "forms/run/run_history.h"
#include "journal/run_journal.h"
#include "library/paths.h"
#include "library/run_log.h"
#include "platform/hash.h"
#include "ui_main.h"
#include "window_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>

#include <cstdio>
#include <fstream>

namespace
{

std::string sha256(std::string_view bytes)
{
    Platform::Sha256 hash;
    hash.add(bytes);
    return hash.hexDigest();
}

} // namespace

class RunHistoryTest : public WindowTest
{
protected:
    void SetUp() override
    {
        drive.write(Paths::CommonIntel28F008, "loader");
        drive.write(Paths::CommonBoot, "boot");
        drive.write(Paths::PhoneCatalogue, "[3210]\r\nConfig=X\r\n[3310]\r\nConfig=Y\r\n");
        drive.write(Paths::FlashCatalogue("3210"), "[f.fls]\r\n");
        drive.write(Paths::FlashCatalogue("3310"), "[g.fls]\r\n");
        drive.write("c:\\nk_files\\Lunzo\\Phones\\3210\\f.fls", "image");
        drive.write("c:\\nk_files\\Lunzo\\Phones\\3310\\g.fls", "other");
        addRun("3310", "g.fls", "other", "success", "=cmd|' /C calc'!A0,\"b\"");
        addRun("3210", "f.fls", "image", "failed (exit code 3)", "X");
        start();
        // Opened from its Tools row.
        o_fMain->ShowLibraryPage(LibraryPage::Tools);
        doubleClickRow(o_fMain->ui()->ListView4, 6);
        history = o_fMain->findChild<RunHistory*>();
        ASSERT_TRUE(history && history->isVisible());
        QTest::qWait(0);
    }

    void addRun(const std::string& group, const std::string& image, const std::string& bytes,
                const QString& result, const std::string& config)
    {
        RunJournal::Record run;
        run.id = RunJournal::NewId();
        run.started = QDateTime(QDate(2026, 12, 7), QTime(14, minute++));
        run.way = "directly";
        run.group = group;
        run.config = config;
        const std::string imagePath = Paths::EntryPath(Paths::GroupFolder(group), image);
        run.files = {
            {"loader", std::string(Paths::CommonIntel28F008), "", 6,
             QString::fromStdString(sha256("loader"))},
            {"boot", std::string(Paths::CommonBoot), "", 4, QString::fromStdString(sha256("boot"))},
            {"image", imagePath, "", bytes.size(), QString::fromStdString(sha256(bytes))}};
        run.log = RunLog::FileFor(run.id.toStdString());
        QString error;
        ASSERT_TRUE(RunJournal::AppendStart(RunJournal::DefaultFile(), run, error));
        run.ended = run.started.addSecs(60);
        run.result = result;
        run.outcome =
            result == "success" ? RunJournal::Outcome::Success : RunJournal::Outcome::Failed;
        run.seconds = 60;
        ASSERT_TRUE(RunJournal::AppendEnd(RunJournal::DefaultFile(), run, error));
    }

    RunHistory* history = nullptr;
    int minute = 0;
};

TEST_F(RunHistoryTest, TheFilterPicksTheRowsThatCSVExports)
{
    const struct {
        QString filter;
        QStringList firstCells; // of the CSV rows after the header
    } rows[] = {
        {"", {"2026-12-07 14:01", "2026-12-07 14:00"}},
        {"3310", {"2026-12-07 14:00"}},
        {"EXIT CODE 3", {"2026-12-07 14:01"}},
        {"nothing like it", {}},
    };
    for (const auto& row : rows) {
        history->filter()->setText(row.filter);
        const QStringList lines = QString::fromUtf8(history->Csv()).split(QStringLiteral("\r\n"));
        QStringList firstCells;
        for (qsizetype line = 1; line + 1 < lines.size(); ++line)
            firstCells << lines[line].section(u',', 0, 0);
        EXPECT_EQ(firstCells, row.firstCells) << row.filter.toStdString();
        EXPECT_EQ(history->view()->model()->rowCount(), row.firstCells.size());
    }
    history->filter()->clear();
    const QString csv = QString::fromUtf8(history->Csv());
    EXPECT_TRUE(history->Csv().startsWith("\xEF\xBB\xBFWhen,Group,Image,Loader,Boot,Result,"
                                          "Duration (s),Exit code,Started,"));
    EXPECT_TRUE(csv.contains(QString::fromStdString(sha256("other"))));
    EXPECT_TRUE(csv.section(QStringLiteral("\r\n"), 0, 0).endsWith(",Log file"));
    EXPECT_TRUE(csv.section(QStringLiteral("\r\n"), 1, 1).endsWith(".log"))
        << csv.toStdString(); // the run's log file, by its path

    // Written where the user says; suggested in the documents folder under the day's date.
    const QString target = QString::fromStdString((drive.root() / "runs.csv").string());
    QString suggested;
    SaveDialog::SetAnswerer([&](const QString&, const QString& offered) {
        suggested = offered;
        return target;
    });
    history->findChild<QPushButton*>("ExportButton")->click();
    SaveDialog::SetAnswerer(nullptr);
    EXPECT_TRUE(
        QRegularExpression("/quorvel-runs-\\d{4}-\\d\\d-\\d\\d\\.csv$").match(suggested).hasMatch())
        << suggested.toStdString();
    EXPECT_EQ(QByteArray::fromStdString(TemporaryDrive::readNative(target.toStdString())),
              history->Csv());

    // As a spreadsheet's CSV reader takes it: the hostile Config stays text, the numbers numbers.
    const auto script = drive.root() / "read.py";
    std::ofstream(script) << "import csv, sys\n"
                             "for row in csv.DictReader(open(sys.argv[1], encoding='utf-8-sig')):\n"
                             "    print(row['Config'], row['Duration (s)'], sep='|')\n";
    const std::string command = "python3 '" + script.string() + "' '" + target.toStdString() + "'";
    FILE* python = popen(command.c_str(), "r");
    ASSERT_TRUE(python);
    char output[512] = {};
    const std::size_t got = std::fread(output, 1, sizeof output - 1, python);
    EXPECT_EQ(pclose(python), 0);
    EXPECT_EQ(std::string(output, got), "X|60\n'=cmd|' /C calc'!A0,\"b\"|60\n");
}

TEST_F(RunHistoryTest, PickAgainRestoresTheRunOrSaysWhatChanged)
{
    history->view()->selectRow(0); // the newest: 3210, f.fls
    EXPECT_TRUE(
        history->details()->toPlainText().contains(QString::fromStdString(sha256("image"))));
    EXPECT_TRUE(history->details()->toPlainText().contains(".log\nRun "));
    auto* pickAgain = history->findChild<QPushButton*>("PickAgainButton");
    // Its image was picked on its page before another group's image was.
    clickRow(o_fMain->FlashList(2), 0);
    clickRow(o_fMain->FlashList(3), 0);
    o_fMain->ui()->ToolButton1->click();
    pickAgain->click();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(runSelection.LoaderFile, Paths::CommonIntel28F008);
    EXPECT_EQ(runSelection.BootFile, Paths::CommonBoot);
    EXPECT_EQ(runSelection.FlashFile, "c:\\nk_files\\Lunzo\\Phones\\3210\\f.fls");
    EXPECT_EQ(o_fMain->GroupInFront(), "3210");

    drive.write("c:\\nk_files\\Lunzo\\Phones\\3210\\f.fls", "changed");
    std::filesystem::remove(Drive::NativePath(Paths::CommonBoot));
    runSelection = {};
    pickAgain->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text,
              "The boot file c:\\nk_files\\Lunzo\\Common\\boot.bin is no longer in the library.\n"
              "The image c:\\nk_files\\Lunzo\\Phones\\3210\\f.fls has changed since that run.\n"
              "Nothing was picked.");
    EXPECT_TRUE(runSelection.FlashFile.empty());

    // The other run wrote a Config line that its group no longer has.
    history->view()->selectRow(1);
    messages.clear();
    pickAgain->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.startsWith(
        "The Config line of the phone group 3310 has changed since that run.\n"))
        << messages[0].text.toStdString();
}

// Pick again asks the window that makes the choices only what RunPicks offers: which rows its
// lists have, and to pick some. A loader that is a chip's is picked by its chip; a TIA file's run
// with the common boot file takes that through the 28F008 chip, then the TIA file's row.
TEST(PickAgainPicks, EachFileByItsChipOrItsRow)
{
    struct Window : RunPicks {
        bool HasGroup(const std::string& group) const override { return group == "3210"; }
        std::vector<std::string> RowNames(List list, const std::string& /*group*/) override
        {
            return list == List::Tia    ? std::vector<std::string>{"a.tia", "B.TIA"}
                   : list == List::Boot ? std::vector<std::string>{"x.bin"}
                                        : std::vector<std::string>{"e.fls", "f.fls"};
        }
        void Select(const Picks& picks) override { picked = picks; }
        Picks picked;
    };
    const std::string tia = "c:\\nk_files\\Lunzo\\Tias\\b.tia";
    const std::string boot = "c:\\nk_files\\Lunzo\\Boots\\x.bin";
    const struct {
        std::string loader, boot;
        std::optional<CommonChip> chip;
        std::optional<int> tiaRow, bootRow;
    } rows[] = {
        {std::string(Paths::CommonAtmel29F800),
         std::string(Paths::CommonBoot),
         CommonChip::Atmel29F800,
         {},
         {}},
        {tia, std::string(Paths::CommonBoot), CommonChip::Intel28F008, 1, {}},
        {tia, boot, {}, 1, 0},
    };
    for (const auto& row : rows) {
        RunJournal::Record run;
        run.group = "3210";
        run.files = {{"loader", row.loader, "", 0, ""},
                     {"boot", row.boot, "", 0, ""},
                     {"image", "c:\\nk_files\\Lunzo\\Phones\\3210\\f.fls", "", 0, ""}};
        Window window;
        PickAgain::Pick(window, run);
        EXPECT_EQ(window.picked.chip, row.chip) << row.loader;
        EXPECT_EQ(window.picked.tiaRow, row.tiaRow) << row.loader;
        EXPECT_EQ(window.picked.bootRow, row.bootRow) << row.boot;
        EXPECT_EQ(window.picked.group, "3210");
        EXPECT_EQ(window.picked.flashRow, 1);
    }
}

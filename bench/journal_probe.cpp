// SPDX-License-Identifier: GPL-2.0-or-later
// The journal of runs against what it follows and what it is compared with.
// Usage:
//   journal_probe --append DRIVE_C RUNS   the staging of the sample run, then appending its
//                                         record (flushed to disk), RUNS times each: prints the
//                                         medians in milliseconds and their ratio
//   journal_probe --make FILE COUNT       writes a journal of COUNT runs (each as the program
//                                         writes one, with an id of its own)
//   journal_probe --history FILE COUNT    prints the last COUNT runs as `quorvel --history`
//                                         does, without the program's window libraries

#include "journal/history_table.h"
#include "journal/run_journal.h"
#include "library/drive.h"
#include "library/run_staging.h"
#include "timing.h"

#include <QFile>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace
{

RunJournal::Record sampleRecord(const std::vector<Staging::StagedFile>& staged)
{
    RunJournal::Record record;
    record.id = RunJournal::NewId();
    record.started = QDateTime::currentDateTime();
    record.way = QStringLiteral("DOSBox");
    record.ports = "COM1 \u2192 ttyUSB0";
    record.group = "3210";
    record.config = "9 1 3 3210";
    const QString roles[] = {QStringLiteral("loader"), QStringLiteral("boot"),
                             QStringLiteral("image")};
    for (std::size_t file = 0; file < staged.size(); ++file)
        record.files.push_back({roles[file], staged[file].logicalPath, staged[file].stagedPath,
                                staged[file].size, QString::fromStdString(staged[file].sha256)});
    return record;
}

std::vector<Staging::StagedFile> stage()
{
    RunSelection selection;
    Selection::ApplyCommonChip(selection, CommonChip::Intel28F008);
    Selection::ApplyFlashRow(selection, "3210", "nhm5.fls", "200000", "");
    std::vector<Staging::StagedFile> staged;
    Staging::StageRun(selection, "3210",
                      {.notice = [](const std::string&, auto&) {},
                       .staged = [&staged](const auto& files) { staged = files; }});
    return staged;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 4)
        return 2;
    const std::filesystem::path place = argv[2];
    const int count = std::atoi(argv[3]);
    QString error;
    if (std::strcmp(argv[1], "--history") == 0) {
        const auto journal = RunJournal::Read(place, std::size_t(count));
        const QByteArray table =
            HistoryTable::Text(journal.runs, count, HistoryTable::Form::Table,
                               [](std::string_view bytes) {
                                   return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
                               })
                .toLocal8Bit();
        std::fwrite(table.constData(), 1, std::size_t(table.size()), stdout);
        return journal.problem.isEmpty() ? 0 : 1;
    }
    if (std::strcmp(argv[1], "--append") == 0) {
        Drive::SetRoot(place);
        const auto journal = RunJournal::FileIn(place / "data");
        std::filesystem::remove(journal);
        std::vector<double> staging, appending;
        std::vector<Staging::StagedFile> staged = stage(); // the checksums recorded once
        for (int run = 0; run < count; ++run) {
            staging.push_back(Bench::millisecondsOf([&] { staged = stage(); }));
            const RunJournal::Record record = sampleRecord(staged);
            appending.push_back(
                Bench::millisecondsOf([&] { RunJournal::AppendStart(journal, record, error); }));
        }
        if (staged.size() != 3 || !error.isEmpty())
            return 1;
        std::printf("%.3f %.3f\n", Bench::median(staging), Bench::median(appending));
        return 0;
    }
    // A journal of count runs: one run as the program writes it, then its lines again with new
    // ids, fast (no flush for each).
    const std::filesystem::path one = place.string() + ".one";
    std::filesystem::remove(one);
    RunJournal::Record record =
        sampleRecord({{RunRole::Loader, "c:\\nk_files\\Lunzo\\Common\\28F008.bin",
                       "c:\\nk_files\\f_loader.bin", 65536, std::string(64, 'a')},
                      {RunRole::Boot, "c:\\nk_files\\Lunzo\\Common\\boot.bin",
                       "c:\\nk_files\\boot.bin", 16384, std::string(64, 'b')},
                      {RunRole::Image, "c:\\nk_files\\Lunzo\\Phones\\3210\\image.fls",
                       "c:\\nk_files\\image.fls", 524288, std::string(64, 'c')}});
    RunJournal::AppendStart(one, record, error);
    record.ended = record.started.addSecs(95);
    record.outcome = RunJournal::Outcome::Success;
    record.result = QStringLiteral("success");
    record.seconds = 95;
    RunJournal::AppendEnd(one, record, error);
    QFile in(QString::fromStdString(one.string())), out(QString::fromStdString(place.string()));
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return 1;
    const QByteArray lines = in.readAll();
    for (int run = 0; run < count; ++run)
        out.write(QByteArray(lines).replace(record.id.toLatin1(), RunJournal::NewId().toLatin1()));
    std::filesystem::remove(one);
    return 0;
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "history_table.h"

#include <algorithm>

namespace HistoryTable
{

namespace
{

// The file name of a logical path: what follows its last backslash.
QString fileName(const RunJournal::Record& record, const QString& role, const Shown& shown)
{
    const RunJournal::File* file = record.file(role);
    if (!file)
        return {};
    const std::string& path = file->logicalPath;
    return shown(std::string_view(path).substr(path.rfind('\\') + 1));
}

QString resultOf(const RunJournal::Record& record)
{
    if (!record.ended.isValid())
        return QStringLiteral("no end recorded");
    if (record.outcome == RunJournal::Outcome::RunningAtClose)
        return RunJournal::OutcomeName(record.outcome);
    return record.result.isEmpty() ? RunJournal::OutcomeName(record.outcome) : record.result;
}

QString oneLine(QString cell)
{
    for (QChar& c : cell) {
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    }
    return cell;
}

} // namespace

QStringList Headers()
{
    return {QStringLiteral("When"),    QStringLiteral("Group"), QStringLiteral("Image"),
            QStringLiteral("Loader"),  QStringLiteral("Boot"),  QStringLiteral("Result"),
            QStringLiteral("Duration")};
}

QStringList Cells(const RunJournal::Record& record, const Shown& shown)
{
    return {record.started.toString(u"yyyy-MM-dd HH:mm"),
            shown(record.group),
            fileName(record, QStringLiteral("image"), shown),
            fileName(record, QStringLiteral("loader"), shown),
            fileName(record, QStringLiteral("boot"), shown),
            resultOf(record),
            record.seconds ? DurationText(std::chrono::seconds(*record.seconds)) : QString()};
}

QString DurationText(std::chrono::seconds took)
{
    const auto seconds = std::max<long long>(took.count(), 0);
    if (seconds < 60)
        return QStringLiteral("%1 s").arg(seconds);
    if (seconds < 3600)
        return QStringLiteral("%1 min").arg(seconds / 60);
    return QStringLiteral("%1 h %2 min").arg(seconds / 3600).arg(seconds % 3600 / 60);
}

QString Text(const std::vector<RunJournal::Record>& runs, int count, bool tabSeparated,
             const Shown& shown)
{
    std::vector<QStringList> rows{Headers()};
    for (auto run = runs.begin(); run != runs.end() && int(rows.size()) <= count; ++run)
        rows.push_back(Cells(*run, shown));
    std::vector<qsizetype> widths(rows.front().size(), 0);
    for (auto& row : rows) {
        for (qsizetype column = 0; column < row.size(); ++column) {
            row[column] = oneLine(row[column]);
            widths[column] = std::max(widths[column], row[column].size());
        }
    }
    QString text;
    for (const auto& row : rows) {
        QString line;
        for (qsizetype column = 0; column < row.size(); ++column) {
            if (tabSeparated)
                line += (column ? QStringLiteral("\t") : QString()) + row[column];
            else if (column + 1 < row.size())
                line += row[column].leftJustified(widths[column] + 2);
            else
                line += row[column];
        }
        text += line + u'\n';
    }
    return text;
}

} // namespace HistoryTable

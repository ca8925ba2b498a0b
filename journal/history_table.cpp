// SPDX-License-Identifier: GPL-2.0-or-later
#include "history_table.h"

#include "platform/file_path_text.h"

#include <algorithm>

namespace HistoryTable
{

namespace
{

// The file name of a logical path: what follows its last backslash.
QString fileName(const RunJournal::Record& record, RunRole role, const Shown& shown)
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

// Control characters other than tabs and line ends, shown as "\xNN": a NUL must not end a line
// of output, nor any control byte reach a terminal.
QString escaped(const QString& cell)
{
    QString text;
    for (const QChar c : cell) {
        if ((c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c.unicode() == 0x7F)
            text += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            text += c;
    }
    return text;
}

QStringList escapedAll(QStringList cells)
{
    for (QString& cell : cells)
        cell = escaped(cell);
    return cells;
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
    return escapedAll(
        {record.started.toString(u"yyyy-MM-dd HH:mm"), shown(record.group),
         fileName(record, RunRole::Image, shown), fileName(record, RunRole::Loader, shown),
         fileName(record, RunRole::Boot, shown), resultOf(record),
         record.seconds ? DurationText(std::chrono::seconds(*record.seconds)) : QString()});
}

namespace
{

// The long columns' heading of each role's file: the journal's name of the role, capitalised.
QString roleHeading(const RunRoles::Texts& role)
{
    const QString name = QString::fromLatin1(role.name.data(), qsizetype(role.name.size()));
    return name.left(1).toUpper() + name.mid(1);
}

} // namespace

QStringList LongHeaders()
{
    QStringList headers = Headers();
    headers.last() = QStringLiteral("Duration (s)");
    headers << QStringLiteral("Exit code") << QStringLiteral("Started") << QStringLiteral("Ended")
            << QStringLiteral("Way") << QStringLiteral("Ports") << QStringLiteral("Config");
    for (const auto& role : RunRoles::Table) {
        const QString name = roleHeading(role);
        headers << name + QStringLiteral(" file") << name + QStringLiteral(" size")
                << name + QStringLiteral(" SHA-256");
    }
    headers << QStringLiteral("Log file");
    return headers;
}

QString ExitCode(const RunJournal::Record& record)
{
    if (!record.code || !record.ended.isValid() || record.outcome == RunJournal::Outcome::Signal)
        return {};
    return QString::number(*record.code);
}

QStringList LongCells(const RunJournal::Record& record, const Shown& shown)
{
    QStringList cells = Cells(record, shown);
    cells.last() = record.seconds ? QString::number(*record.seconds) : QString();
    cells << ExitCode(record) << record.started.toString(Qt::ISODate)
          << (record.ended.isValid() ? record.ended.toString(Qt::ISODate) : QString())
          << escaped(record.way) << escaped(shown(record.ports)) << escaped(shown(record.config));
    for (const auto& role : RunRoles::Table) {
        const RunJournal::File* file = record.file(role.role);
        cells << (file ? escaped(shown(file->logicalPath)) : QString())
              << (file ? QString::number(file->size) : QString())
              << (file ? escaped(file->sha256) : QString());
    }
    cells << (record.log.empty() ? QString() : escaped(shown(Platform::FilePathText(record.log))));
    return cells;
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

QString Text(const std::vector<RunJournal::Record>& runs, int count, Form form, const Shown& shown)
{
    const bool tabSeparated = form == Form::TabSeparated;
    const bool all = form != Form::Table;
    std::vector<QStringList> rows{all ? LongHeaders() : Headers()};
    for (auto run = runs.begin(); run != runs.end() && int(rows.size()) <= count; ++run)
        rows.push_back(all ? LongCells(*run, shown) : Cells(*run, shown));
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

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The journal's runs as rows: when, group, image, loader, boot, result, duration; the same for
// the Run history window and for `quorvel --history`.

#include "run_journal.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <string_view>

namespace HistoryTable
{

// How bytes are shown (the program's one decoding).
using Shown = std::function<QString(std::string_view bytes)>;

QStringList Headers();
QStringList Cells(const RunJournal::Record& record, const Shown& shown);

// Every column: those above (the duration in seconds, a number), the exit code, the times,
// how the flasher was started, the Config line and each file's path, size and SHA-256; for the
// CSV export, --history-tsv and --history --long.
QStringList LongHeaders();
QStringList LongCells(const RunJournal::Record& record, const Shown& shown);

// The flasher's exit code as the journal records it; empty for a run ended by a signal or
// without an end.
QString ExitCode(const RunJournal::Record& record);

// "12 s", "7 min", "2 h 5 min".
QString DurationText(std::chrono::seconds took);

// The first count runs (newest first), with a line of headers: columns padded for a terminal, or
// separated by tabs with every column (tabs and line ends inside a cell become blanks). Other
// control characters in a cell (a NUL) are shown escaped ("\x00"), in the cells above too.
enum class Form { Table, LongTable, TabSeparated };
QString Text(const std::vector<RunJournal::Record>& runs, int count, Form form, const Shown& shown);

} // namespace HistoryTable

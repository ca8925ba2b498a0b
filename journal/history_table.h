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

// "12 s", "7 min", "2 h 5 min".
QString DurationText(std::chrono::seconds took);

// The first count runs (newest first), with a line of headers: columns padded for a terminal, or
// separated by tabs (tabs and line ends inside a cell become blanks).
QString Text(const std::vector<RunJournal::Record>& runs, int count, bool tabSeparated,
             const Shown& shown);

} // namespace HistoryTable

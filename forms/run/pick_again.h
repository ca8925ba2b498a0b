// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Pick again: the main window's choices set to a journal run's loader, boot file, phone group and
// flash image, when the library still holds each of them with the bytes that run staged.

#include "forms/run/run_picks.h"
#include "journal/run_journal.h"

#include <QStringList>

namespace PickAgain
{

// What keeps the run from being picked again: each file that is gone from the library or has
// changed since; empty when all are there as they were.
QStringList Problems(RunPicks& window, const RunJournal::Record& run);

// Picks the run's files in the main window, as the user's clicks would. Only after Problems
// found none.
void Pick(RunPicks& window, const RunJournal::Record& run);

} // namespace PickAgain

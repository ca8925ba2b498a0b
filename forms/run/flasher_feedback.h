// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the user is told of a started flasher: the status line says since when and how it runs,
// and when it ends, what came of it; a failure is also shown in an error box. The flasher is
// followed through the event loop to its end, however long it runs, and never waited for.

#include "journal/run_journal.h"
#include "library/flasher_launch.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

class QTimer;

namespace FlasherFeedback
{

// "Flasher running since 14:05 (in DOSBox, COM1 → ttyUSB0)" or "... (directly)".
QString RunningLine(FlasherLaunch::Way way, const QDateTime& since, const std::string& ports = {});
// "Flasher ended at 14:12 after 7 min: success", or ": failed (exit code 3)".
QString EndedLine(const QDateTime& at, std::chrono::seconds took,
                  const FlasherLaunch::Result& result);

// What a watch goes by: its clock and how often it looks at the flasher; tests give their own.
struct Timing {
    std::function<QDateTime()> clock; // none: the system's
    std::chrono::milliseconds lookInterval{100};

    QDateTime now() const { return clock ? clock() : QDateTime::currentDateTime(); }
};

// Follows one started flasher until it ends, then tells, and deletes itself. Deleted before, it
// leaves the flasher running on by itself.
class Watch : public QObject
{
    Q_OBJECT

public:
    Watch(FlasherLaunch::Started started, QObject* parent, Timing timing = {});

    const QDateTime& since() const { return m_since; }
    FlasherLaunch::Way way() const { return m_started.way; }

    // Records the run's start in the journal (its start and way are set here, and its id unless
    // given), and its end
    // when it ends; a journal that cannot be written is told, and the run goes on.
    void keepInJournal(RunJournal::Record record);
    // Quorvel closes while the flasher runs: the journal says so.
    void leftRunning() { recordEnd(RunJournal::Outcome::RunningAtClose, nullptr); }

signals:
    // The flasher ended: the status line, what came of it, and when.
    void ended(const QString& statusLine, const FlasherLaunch::Result& result, const QDateTime& at);

private:
    void look();
    void recordEnd(RunJournal::Outcome outcome, const FlasherLaunch::Result* result);

    FlasherLaunch::Started m_started;
    const Timing m_timing;
    QDateTime m_since;
    QTimer* m_timer;
    std::optional<RunJournal::Record> m_record;
};

} // namespace FlasherFeedback

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the user is told of a started flasher: the status line says since when and how it runs,
// and when it ends, what came of it; a failure is also shown in an error box. The flasher is
// followed through the event loop to its end, however long it runs, and never waited for.

#include "library/flasher_launch.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <string>

class QTimer;

namespace FlasherFeedback
{

// "Flasher running since 14:05 (in DOSBox, COM1 → ttyUSB0)" or "... (directly)".
QString RunningLine(FlasherLaunch::Way way, const QDateTime& since, const std::string& ports = {});
// "Flasher ended at 14:12 after 7 min: success", or ": failed (exit code 3)".
QString EndedLine(const QDateTime& at, std::chrono::seconds took,
                  const FlasherLaunch::Result& result);
// "12 s", "7 min", "2 h 5 min".
QString DurationText(std::chrono::seconds took);

// The time now; tests set a clock of their own (nullptr: the system's).
QDateTime Now();
void SetClock(std::function<QDateTime()> clock);

// How often a running flasher is looked at; tests shorten it.
void SetLookInterval(std::chrono::milliseconds interval);

// Asked before Quorvel closes: true when no flasher runs, or when the user closes all the same
// (the flashers then run on by themselves).
bool MayCloseWhileRunning();

// Follows one started flasher until it ends, then tells, and deletes itself.
class Watch : public QObject
{
    Q_OBJECT

public:
    Watch(FlasherLaunch::Started started, QObject* parent);
    ~Watch() override;

    // The flashers followed now, in the order they were started.
    static const std::vector<Watch*>& Running();

    const QDateTime& since() const { return m_since; }
    FlasherLaunch::Way way() const { return m_started.way; }

signals:
    // The flasher ended: the status line, what came of it, and when.
    void ended(const QString& statusLine, const FlasherLaunch::Result& result, const QDateTime& at);

private:
    void look();

    FlasherLaunch::Started m_started;
    QDateTime m_since;
    QTimer* m_timer;
};

} // namespace FlasherFeedback

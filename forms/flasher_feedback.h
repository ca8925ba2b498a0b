// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the user is told after Start: the status line says how and when the flasher was started,
// and a flasher that ends with a failure within its first seconds is reported in an error box.
// The flasher is watched through the event loop, never waited for; one that keeps running is
// left alone.

#include "library/flasher_launch.h"

#include <QObject>
#include <QString>
#include <QTime>
#include <chrono>
#include <string>

class QTimer;

namespace FlasherFeedback
{

// The status line after a start: "Flasher started in DOSBox at 14:05" or "... directly at ...",
// followed by the serial ports DOSBox was given ("COM1 → ttyUSB0"), if any.
QString StartedLine(FlasherLaunch::Way way, const QTime& at, const std::string& ports = {});

// How long a started flasher is watched, and how often it is looked at.
inline constexpr std::chrono::milliseconds WatchTime{5000};
inline constexpr std::chrono::milliseconds LookEvery{100};

// Watches one started flasher for WatchTime and then deletes itself.
class Watch : public QObject
{
    Q_OBJECT

public:
    Watch(FlasherLaunch::Started started, QObject* parent);

private:
    void look();

    FlasherLaunch::Started m_started;
    QTimer* m_timer;
    int m_looksLeft;
};

} // namespace FlasherFeedback

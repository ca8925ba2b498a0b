// SPDX-License-Identifier: GPL-2.0-or-later
#include "flasher_feedback.h"

#include "handlers.h"
#include "library/drive.h"
#include "library/paths.h"
#include "message_boxes.h"
#include "text.h"

#include <QTimer>
#include <algorithm>

namespace FlasherFeedback
{

namespace
{

std::function<QDateTime()> clock;
std::chrono::milliseconds lookInterval{100};
std::vector<Watch*> running;

} // namespace

QString RunningLine(FlasherLaunch::Way way, const QDateTime& since, const std::string& ports)
{
    QString how = way == FlasherLaunch::Way::InDosBox ? QStringLiteral("in DOSBox")
                                                      : QStringLiteral("directly");
    if (!ports.empty())
        how += QStringLiteral(", ") + fromBytes(ports);
    return QStringLiteral("Flasher running since %1 (%2)").arg(since.toString(u"HH:mm"), how);
}

QString EndedLine(const QDateTime& at, std::chrono::seconds took,
                  const FlasherLaunch::Result& result)
{
    return QStringLiteral("Flasher ended at %1 after %2: %3")
        .arg(at.toString(u"HH:mm"), DurationText(took),
             QString::fromStdString(FlasherLaunch::ResultText(result)));
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

QDateTime Now()
{
    return clock ? clock() : QDateTime::currentDateTime();
}

void SetClock(std::function<QDateTime()> newClock)
{
    clock = std::move(newClock);
}

void SetLookInterval(std::chrono::milliseconds interval)
{
    lookInterval = interval;
}

bool MayCloseWhileRunning()
{
    if (running.empty())
        return true;
    return AskConfirmation(QStringLiteral("The flasher started at %1 is still running. Close "
                                          "Quorvel and leave it running?")
                               .arg(running.back()->since().toString(u"HH:mm")),
                           QMessageBox::No) == QMessageBox::Yes;
}

Watch::Watch(FlasherLaunch::Started started, QObject* parent)
    : QObject(parent), m_started(std::move(started)), m_since(Now()), m_timer(new QTimer(this))
{
    running.push_back(this);
    connect(m_timer, &QTimer::timeout, this, Handlers::Guard(this, &Watch::look));
    m_timer->start(lookInterval);
}

Watch::~Watch()
{
    // The flasher runs on when it is no longer followed (Quorvel closed while it ran).
    std::erase(running, this);
}

const std::vector<Watch*>& Watch::Running()
{
    return running;
}

void Watch::look()
{
    const auto end = m_started.program->Ended();
    if (!end)
        return;
    m_timer->stop();
    std::erase(running, this);
    deleteLater();
    const QDateTime at = Now();
    const auto result = FlasherLaunch::ResultOf(m_started, *end);
    emit ended(EndedLine(at, std::chrono::seconds(m_since.secsTo(at)), result), result, at);
    if (const auto message = FlasherLaunch::FailureMessage(m_started.way, result))
        ShowError(fromBytes(*message), {Drive::NativePath(Paths::Flasher), {}});
}

} // namespace FlasherFeedback

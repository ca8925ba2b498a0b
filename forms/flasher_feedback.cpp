// SPDX-License-Identifier: GPL-2.0-or-later
#include "flasher_feedback.h"

#include "handlers.h"
#include "library/drive.h"
#include "library/paths.h"
#include "message_boxes.h"
#include "text.h"

#include <QTimer>

namespace FlasherFeedback
{

QString StartedLine(FlasherLaunch::Way way, const QTime& at, const std::string& ports)
{
    const QString how = way == FlasherLaunch::Way::InDosBox ? QStringLiteral("in DOSBox")
                                                            : QStringLiteral("directly");
    const QString line = QStringLiteral("Flasher started %1 at %2").arg(how, at.toString(u"HH:mm"));
    return ports.empty() ? line : line + QStringLiteral(", ") + fromBytes(ports);
}

Watch::Watch(FlasherLaunch::Started started, QObject* parent)
    : QObject(parent), m_started(std::move(started)), m_timer(new QTimer(this)),
      m_looksLeft(static_cast<int>(WatchTime / LookEvery))
{
    connect(m_timer, &QTimer::timeout, this, Handlers::Guard(this, &Watch::look));
    m_timer->start(LookEvery);
}

void Watch::look()
{
    const auto end = m_started.program->Ended();
    if (!end && --m_looksLeft > 0)
        return;
    // Done: the flasher ended, or runs on and is left alone.
    m_timer->stop();
    deleteLater();
    if (const auto message =
            end ? FlasherLaunch::EarlyEndMessage(m_started.way, *end) : std::nullopt) {
        ShowError(fromBytes(*message), {Drive::NativePath(Paths::Flasher), {}});
    }
}

} // namespace FlasherFeedback

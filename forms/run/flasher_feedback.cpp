// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/run/flasher_feedback.h"

#include "forms/common/handlers.h"
#include "forms/common/message_boxes.h"
#include "forms/common/text.h"
#include "journal/history_table.h"
#include "library/drive.h"
#include "library/paths.h"

#include <QTimer>

namespace FlasherFeedback
{

namespace
{

void journalProblem(const QString& reason)
{
    ShowNotice(
        nullptr,
        QStringLiteral("The run could not be recorded in the journal of runs: %1").arg(reason),
        {RunJournal::DefaultFile(), {}});
}

RunJournal::Outcome outcomeOf(FlasherLaunch::Result::Kind kind)
{
    using Kind = FlasherLaunch::Result::Kind;
    using RunJournal::Outcome;
    return kind == Kind::Success  ? Outcome::Success
           : kind == Kind::Failed ? Outcome::Failed
           : kind == Kind::Signal ? Outcome::Signal
                                  : Outcome::Unknown;
}

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
        .arg(at.toString(u"HH:mm"), HistoryTable::DurationText(took),
             QString::fromStdString(FlasherLaunch::ResultText(result)));
}

Watch::Watch(FlasherLaunch::Started started, QObject* parent, Timing timing)
    : QObject(parent), m_started(std::move(started)), m_timing(std::move(timing)),
      m_since(m_timing.now()), m_timer(new QTimer(this))
{
    connect(m_timer, &QTimer::timeout, this, Handlers::Guard(this, &Watch::look));
    m_timer->start(m_timing.lookInterval);
}

void Watch::look()
{
    const auto end = m_started.program->Ended();
    if (!end)
        return;
    m_timer->stop();
    deleteLater();
    const QDateTime at = m_timing.now();
    const auto result = FlasherLaunch::ResultOf(m_started, *end);
    recordEnd(outcomeOf(result.kind), &result);
    emit ended(EndedLine(at, std::chrono::seconds(m_since.secsTo(at)), result), result, at);
    if (const auto message = FlasherLaunch::FailureMessage(m_started.way, result))
        ShowError(fromBytes(*message), {Drive::NativePath(Paths::Flasher), {}});
}

void Watch::keepInJournal(RunJournal::Record record)
{
    if (record.id.isEmpty())
        record.id = RunJournal::NewId();
    record.started = m_since;
    record.way = m_started.way == FlasherLaunch::Way::InDosBox ? QStringLiteral("DOSBox")
                                                               : QStringLiteral("directly");
    QString error;
    if (!RunJournal::AppendStart(RunJournal::DefaultFile(), record, error)) {
        journalProblem(error);
        return;
    }
    m_record = std::move(record);
}

void Watch::recordEnd(RunJournal::Outcome outcome, const FlasherLaunch::Result* result)
{
    if (!m_record)
        return;
    RunJournal::Record& record = *m_record;
    record.ended = m_timing.now();
    record.seconds = m_since.secsTo(record.ended);
    record.outcome = outcome;
    if (result) {
        record.result = QString::fromStdString(FlasherLaunch::ResultText(*result));
        if (result->kind == FlasherLaunch::Result::Kind::Signal)
            record.code = result->signal;
        else if (result->flasherCode)
            record.code = *result->flasherCode;
        if (m_started.way == FlasherLaunch::Way::InDosBox)
            record.dosBoxCode = result->programCode;
    }
    QString error;
    const bool written = RunJournal::AppendEnd(RunJournal::DefaultFile(), record, error);
    m_record.reset(); // one end for each run
    if (!written)
        journalProblem(error);
}

} // namespace FlasherFeedback

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A run from Start to its end, in one place: the checks of the choices, the confirmation, the
// staging with the cable question before DOSBox, the start of the flasher, its watch to the end
// and the journal's record of it. The main window hands it the run selection and the phone group
// in front, and shows in its status line what it reports.

#include "forms/run/flasher_feedback.h"
#include "library/run_selection.h"
#include "library/run_staging.h"

#include <QObject>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QWidget;
class To_fConfiguration;
namespace RunLock
{
class Lock;
}

class RunController : public QObject
{
    Q_OBJECT

public:
    // Each run is confirmed in confirmation; the run's questions are asked over window (the main
    // window). timing: how the flashers started are watched.
    RunController(To_fConfiguration& confirmation, QWidget* window,
                  FlasherFeedback::Timing timing = {});
    ~RunController() override;

    // Start pressed in the main window: checks that the choices are complete and that a phone
    // group's page is in front (group; none when no group's is), then shows the confirmation,
    // whose Start stages the run and starts the flasher. Returns once the confirmation closed.
    void Start(const RunSelection& selection, const std::optional<std::string>& group);

    // The flashers followed now, in the order they were started.
    const std::vector<FlasherFeedback::Watch*>& Running() const { return m_running; }

    // Asked before Quorvel closes: true when no flasher runs, or when the user closes all the
    // same; the flashers then run on by themselves. Nothing is recorded: the close may still be
    // refused.
    bool MayClose();
    // Quorvel closes: the journal says the flashers still running were running at the close.
    void Closing();

signals:
    // For the status line: a flasher was started (how, since when, through which port), or one
    // started here ended (when, and what came of it).
    void statusChanged(const QString& line);

private:
    // Start in the confirmation window.
    void stageAndStart(const RunSelection& selection, const std::string& group);
    void followFlasher(FlasherLaunch::Started flasher, const std::string& group,
                       const std::string& ports, const std::vector<Staging::StagedFile>& staged,
                       const QString& runId, std::unique_ptr<RunLock::Lock> lock);
    // Drive C's run lock for a new run, or nothing (told) when the run may not go on.
    std::unique_ptr<RunLock::Lock> takeLock();

    To_fConfiguration& m_confirmation;
    QWidget* const m_window;
    const FlasherFeedback::Timing m_timing;
    std::vector<FlasherFeedback::Watch*> m_running;
    // Each running flasher's hold on drive C's run lock, let go when it ends.
    std::map<FlasherFeedback::Watch*, std::unique_ptr<RunLock::Lock>> m_locks;
};

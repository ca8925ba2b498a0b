// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/run/run_controller.h"

#include "forms/common/file_path.h"
#include "forms/common/message_boxes.h"
#include "forms/common/text.h"
#include "forms/run/cable_step.h"
#include "forms/run/configuration.h"
#include "library/catalogue_file.h"
#include "library/paths.h"
#include "library/run_lock.h"
#include "library/run_roles.h"

#include <QDateTime>
#include <algorithm>

namespace
{

// What the journal keeps of a run's start, beside its time and way.
RunJournal::Record journalRecord(const std::string& group, const std::string& ports,
                                 const std::vector<Staging::StagedFile>& staged)
{
    RunJournal::Record record;
    record.group = group;
    record.ports = ports;
    record.config = CatalogueFile(Paths::PhoneCatalogue).ReadString(group, "Config", "");
    for (const auto& file : staged) {
        record.files.push_back({fromBytes(RunRoles::Of(file.role).name), file.logicalPath,
                                file.stagedPath, file.size, QString::fromStdString(file.sha256)});
    }
    return record;
}

// Why a Start is refused while a flasher runs on drive C, naming that run as its lock records it.
QString busyText(const std::optional<RunLock::Holder>& holder)
{
    if (!holder)
        return QStringLiteral("Another Quorvel is preparing a run on drive C. Nothing was staged; "
                              "try again when it has started its flasher.");
    QString text =
        QStringLiteral("A flasher is still running on drive C, started at %1 for the "
                       "phone group %2 with the image %3")
            .arg(QDateTime::fromSecsSinceEpoch(holder->started).toString(u"yyyy-MM-dd HH:mm"),
                 fromBytes(holder->group), fromBytes(holder->image));
    if (holder->flasher)
        text += QStringLiteral(" (process %1)").arg(holder->flasher->id);
    return text + QStringLiteral(". Nothing was staged: staging now would change the files it is "
                                 "reading. Start again when it has ended.");
}

} // namespace

RunController::RunController(To_fConfiguration& confirmation, QWidget* window,
                             FlasherFeedback::Timing timing)
    : m_confirmation(confirmation), m_window(window), m_timing(std::move(timing))
{
}

// The watches are deleted with the controller: their flashers run on by themselves.
RunController::~RunController() = default;

void RunController::Start(const RunSelection& selection, const std::optional<std::string>& group)
{
    // The first check that fails tells, and ends the start.
    if (selection.LoaderFile.empty()) {
        ShowNotice(nullptr, QStringLiteral("Select Tia file or select one of common flash type!"));
        return;
    }
    if (!group) {
        ShowNotice(nullptr, QStringLiteral("Select Phone Group!"));
        return;
    }
    if (selection.BootFile.empty()) {
        ShowNotice(nullptr, QStringLiteral("Select Boot file "));
        return;
    }
    if (selection.FlashFile.empty()) {
        ShowNotice(nullptr, QStringLiteral("Select Flash file "));
        return;
    }
    // The run shown is the one staged: nothing else can change the choices while it is shown.
    m_confirmation.ShowRun(selection, *group,
                           [this, selection, group] { stageAndStart(selection, *group); });
}

void RunController::stageAndStart(const RunSelection& selection, const std::string& group)
{
    // The staging would replace the files a running flasher is reading: one run at a time on a
    // drive C, whichever Quorvel started it.
    if (!m_running.empty()) {
        ShowError(busyText(m_locks.at(m_running.back())->holder()));
        return;
    }
    auto lock = takeLock();
    if (!lock)
        return;
    const QString runId = RunJournal::NewId();
    if (!lock->Begin(runId.toStdString(), group, selection.FlashFile,
                     QDateTime::currentSecsSinceEpoch())) {
        ShowError(QStringLiteral("The run lock %1 cannot be written. Nothing was staged.")
                      .arg(FilePathText(RunLock::DefaultFile())));
        return;
    }
    std::string ports;
    std::vector<Staging::StagedFile> staged;
    auto flasher = Staging::StageRun(
        selection, group,
        {.notice =
             [](const std::string& text, const Platform::FileProblem& problem) {
                 ShowNotice(nullptr, fromBytes(text), problem);
             },
         .question =
             [](const std::string& text, const std::filesystem::path& file) {
                 return AskConfirmation(fromBytes(text), QMessageBox::No, {file, {}}) ==
                        QMessageBox::Yes;
             },
         .inform = [](const std::string& text) { ShowNotice(nullptr, fromBytes(text)); },
         .beforeDosBox =
             [this, &ports](FlasherLaunch::Plan& plan) {
                 return CableStep::BeforeDosBox(m_window, plan, ports);
             },
         .staged = [&staged](const auto& files) { staged = files; }});
    if (!flasher) {
        lock->Release();
        return;
    }
    if (const auto* running = flasher->running(); running && !lock->SetFlasher(running->identity()))
        ShowNotice(nullptr, QStringLiteral("The run lock %1 cannot be written: another Quorvel may "
                                           "not see that this flasher runs.")
                                .arg(FilePathText(RunLock::DefaultFile())));
    followFlasher(std::move(*flasher), group, ports, staged, runId, std::move(lock));
}

std::unique_ptr<RunLock::Lock> RunController::takeLock()
{
    RunLock::Check check = RunLock::TakeAtStart(RunLock::DefaultFile());
    switch (check.finding) {
    case RunLock::Finding::Free:
        return std::move(check.lock);
    case RunLock::Finding::Busy:
    // A flasher left by a Quorvel that is gone still runs: staging would change its files too.
    case RunLock::Finding::Adopt:
        ShowError(busyText(check.holder));
        return nullptr;
    case RunLock::Finding::OtherHost:
        if (AskConfirmation(
                QStringLiteral("The run lock of drive C was taken by Quorvel on the computer %1 "
                               "for the phone group %2; its flasher may still be running there. "
                               "Stage this run all the same?")
                    .arg(fromBytes(check.holder->host), fromBytes(check.holder->group)),
                QMessageBox::No) != QMessageBox::Yes)
            return nullptr;
        return std::move(check.lock);
    case RunLock::Finding::Failed:
        break;
    }
    ShowError(QStringLiteral("The run lock %1 cannot be taken: %2. Nothing was staged.")
                  .arg(FilePathText(RunLock::DefaultFile()), fromBytes(check.error)));
    return nullptr;
}

void RunController::followFlasher(FlasherLaunch::Started flasher, const std::string& group,
                                  const std::string& ports,
                                  const std::vector<Staging::StagedFile>& staged,
                                  const QString& runId, std::unique_ptr<RunLock::Lock> lock)
{
    auto* watch = new FlasherFeedback::Watch(std::move(flasher), this, m_timing);
    m_running.push_back(watch);
    m_locks.emplace(watch, std::move(lock));
    connect(watch, &FlasherFeedback::Watch::ended, this, [this, watch](const QString& line) {
        std::erase(m_running, watch);
        if (const auto held = m_locks.extract(watch); held && held.mapped())
            held.mapped()->Release();
        emit statusChanged(line);
    });
    emit statusChanged(FlasherFeedback::RunningLine(watch->way(), watch->since(), ports));
    auto record = journalRecord(group, ports, staged);
    record.id = runId;
    watch->keepInJournal(std::move(record));
}

bool RunController::MayClose()
{
    if (m_running.empty())
        return true;
    if (AskConfirmation(QStringLiteral("The flasher started at %1 is still running. Close "
                                       "Quorvel and leave it running?")
                            .arg(m_running.back()->since().toString(u"HH:mm")),
                        QMessageBox::No) != QMessageBox::Yes)
        return false;
    return true;
}

void RunController::Closing()
{
    for (FlasherFeedback::Watch* watch : m_running)
        watch->leftRunning();
}

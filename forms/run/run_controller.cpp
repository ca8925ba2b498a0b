// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/run/run_controller.h"

#include "forms/common/message_boxes.h"
#include "forms/common/text.h"
#include "forms/run/cable_step.h"
#include "forms/run/configuration.h"
#include "library/catalogue_file.h"
#include "library/paths.h"
#include "library/run_roles.h"

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
    // The staging would replace the files a running flasher is reading.
    if (!m_running.empty() &&
        AskConfirmation(QStringLiteral("The flasher started at %1 is still running. Start another "
                                       "one? Two flashers on one phone cable make both runs fail.")
                            .arg(m_running.back()->since().toString(u"HH:mm")),
                        QMessageBox::No) != QMessageBox::Yes)
        return;
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
    if (flasher)
        followFlasher(std::move(*flasher), group, ports, staged);
}

void RunController::followFlasher(FlasherLaunch::Started flasher, const std::string& group,
                                  const std::string& ports,
                                  const std::vector<Staging::StagedFile>& staged)
{
    auto* watch = new FlasherFeedback::Watch(std::move(flasher), this, m_timing);
    m_running.push_back(watch);
    connect(watch, &FlasherFeedback::Watch::ended, this, [this, watch](const QString& line) {
        std::erase(m_running, watch);
        emit statusChanged(line);
    });
    emit statusChanged(FlasherFeedback::RunningLine(watch->way(), watch->since(), ports));
    watch->keepInJournal(journalRecord(group, ports, staged));
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
    for (FlasherFeedback::Watch* watch : m_running)
        watch->leftRunning();
    return true;
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/run/configuration.h"
#include "ui_configuration.h"

#include "forms/common/handlers.h"
#include "forms/common/message_boxes.h"
#include "forms/common/text.h"
#include "forms/common/window_setup.h"
#include "forms/run/cable_step.h"
#include "forms/run/flasher_feedback.h"
#include "library/catalogue_file.h"
#include "library/paths.h"
#include "library/run_staging.h"

To_fConfiguration* o_fConfiguration = nullptr;

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
    const QString roles[] = {QStringLiteral("loader"), QStringLiteral("boot"),
                             QStringLiteral("image")};
    for (std::size_t file = 0; file < staged.size() && file < std::size(roles); ++file) {
        record.files.push_back({roles[file], staged[file].logicalPath, staged[file].stagedPath,
                                staged[file].size, QString::fromStdString(staged[file].sha256)});
    }
    return record;
}

} // namespace

To_fConfiguration::To_fConfiguration(QWidget* parent)
    : QDialog(parent), m_ui(new Ui::To_fConfiguration)
{
    m_ui->setupUi(this);
    WindowSetup::MakeFixedDialog(this, QSize(393, 319));
    WindowSetup::SetButtonGlyphs(m_ui->BitBtn1, m_ui->BitBtn2);
    setFont(WindowSetup::FontOfPixelSize(font(), 11));
    for (auto* box : {m_ui->GroupBox1, m_ui->GroupBox2, m_ui->GroupBox3, m_ui->GroupBox4}) {
        box->setFont(WindowSetup::FontOfPixelSize(font(), 13));
        WindowSetup::SetCaptionColour(box, QColor(0x80, 0, 0));
    }
    for (auto* label : {m_ui->Label1, m_ui->Label2, m_ui->Label3, m_ui->Label4})
        label->setFont(WindowSetup::FontOfPixelSize(font(), 13, QFont::Bold));

    // Start is of the OK kind: the window gets its result first and closes once the handler
    // has returned, whatever the handler did.
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, Handlers::Guard([this] {
                setResult(Accepted);
                const WindowSetup::CloseAfter closeAfter(this, Accepted);
                BitBtn1Click();
            }));
    connect(m_ui->BitBtn2, &QPushButton::clicked, this, Handlers::Guard([this] { reject(); }));
}

To_fConfiguration::~To_fConfiguration() = default;

void To_fConfiguration::ShowRun(const RunSelection& selection, const std::string& group)
{
    m_selection = selection;
    m_group = group;
    Text::Show(m_ui->Label1, selection.LoaderLine);
    Text::Show(m_ui->Label2, selection.BootLine);
    Text::Show(m_ui->Label3, selection.FlashLine);
    Text::Show(m_ui->Label4, group + " phone group selected");
    exec();
}

void To_fConfiguration::BitBtn1Click()
{
    // The staging would replace the files a running flasher is reading.
    const auto& running = FlasherFeedback::Watch::Running();
    if (!running.empty() &&
        AskConfirmation(QStringLiteral("The flasher started at %1 is still running. Start another "
                                       "one? Two flashers on one phone cable make both runs fail.")
                            .arg(running.back()->since().toString(u"HH:mm")),
                        QMessageBox::No) != QMessageBox::Yes)
        return;
    std::string ports;
    std::vector<Staging::StagedFile> staged;
    auto flasher = Staging::StageRun(
        m_selection, m_group,
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
                 return CableStep::BeforeDosBox(parentWidget(), plan, ports);
             },
         .staged = [&staged](const auto& files) { staged = files; }});
    if (!flasher)
        return;
    auto* watch = new FlasherFeedback::Watch(std::move(*flasher), this);
    connect(watch, &FlasherFeedback::Watch::ended, this,
            [this](const QString& statusLine) { emit flasherEnded(statusLine); });
    emit flasherStarted(FlasherFeedback::RunningLine(watch->way(), watch->since(), ports));
    watch->keepInJournal(journalRecord(m_group, ports, staged));
}

#include "tia.h"
#include "pictures.h"
#include "ui_tia.h"

#include "file_entry_steps.h"
#include "handlers.h"
#include "library/catalogue_entries.h"
#include "library/paths.h"
#include "main.h"
#include "text.h"
#include "window_setup.h"

To_fTia* o_fTia = nullptr;

To_fTia::To_fTia(QWidget* parent) : QDialog(parent), m_ui(new Ui::To_fTia)
{
    m_ui->setupUi(this);
    WindowSetup::MakeFixedDialog(this, QSize(395, 232));
    WindowSetup::StyleFileDialog(this, m_ui->GroupBox1);
    setWindowIcon(Pictures::Icon("tia"));
    m_ui->SpeedButton1->setIcon(Pictures::Icon("browse"));
    WindowSetup::SetButtonGlyphs(m_ui->BitBtn1, m_ui->BitBtn2);

    using Handlers::Guard;
    connect(m_ui->SpeedButton1, &QToolButton::clicked, this,
            Guard(this, &To_fTia::SpeedButton1Click));
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, Guard(this, &To_fTia::BitBtn1Click));
    connect(m_ui->BitBtn2, &QPushButton::clicked, this, Guard(this, &To_fTia::BitBtn2Click));
}

To_fTia::~To_fTia() = default;

void To_fTia::showEvent(QShowEvent* event)
{
    Handlers::Run([this] { FormShow(); });
    QDialog::showEvent(event);
}

void To_fTia::FormShow()
{
    o_fMain->ShowLibraryPage(LibraryPage::Tia);
}

void To_fTia::SpeedButton1Click()
{
    FileEntrySteps::Browse(this,
                           {QStringLiteral("Select TIA file"), QStringLiteral("Tia"),
                            QStringLiteral("Nokia TIA files (*.tia)|*.TIA|All files (*.*)|*.*"),
                            QStringLiteral("File copied to the system specified directory"),
                            QStringLiteral("File copy error.")},
                           Paths::TiaFolder, m_ui->Edit1);
}

void To_fTia::BitBtn1Click()
{
    const bool passed = FileEntrySteps::PassChecks({
        {FileEntrySteps::IsBlank(m_ui->Edit1), m_ui->Edit1,
         QStringLiteral("Select TIA file first")},
        {FileEntrySteps::IsBlank(m_ui->Edit2), m_ui->Edit2, QStringLiteral("Enter flash type")},
        {m_ui->o_cbMsgType->statusCode() < 0, m_ui->o_cbMsgType, QStringLiteral("Select status")},
    });
    if (!passed)
        return;

    CatalogueEntries::Write(EntryKind::Tia, {},
                            {.name = Text::Bytes(m_ui->Edit1),
                             .type = Text::Bytes(m_ui->Edit2),
                             .address = {},
                             .status = m_ui->o_cbMsgType->statusCode(),
                             .description = Text::Bytes(m_ui->Edit3)});

    m_ui->Edit1->clear();
    m_ui->Edit2->clear();
    m_ui->o_cbMsgType->setStatusCode(-1);
    m_ui->Edit3->clear();
    o_fMain->LoadTiaList();
    FileEntrySteps::AskToAddAnother(this, QStringLiteral("TIA added successfully. Add new?"));
}

void To_fTia::BitBtn2Click()
{
    reject();
}

void To_fTia::EditTiaEntry(const std::string& name)
{
    const CatalogueEntry entry = CatalogueEntries::Read(EntryKind::Tia, {}, name);
    Text::Show(m_ui->Edit1, entry.name);
    Text::Show(m_ui->Edit2, entry.type);
    m_ui->o_cbMsgType->setStatusCode(entry.status);
    Text::Show(m_ui->Edit3, entry.description);
    exec();
}

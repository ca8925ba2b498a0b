#include "boot.h"
#include "pictures.h"
#include "ui_boot.h"

#include "file_entry_steps.h"
#include "handlers.h"
#include "library/catalogue_entries.h"
#include "library/paths.h"
#include "main.h"
#include "text.h"
#include "window_setup.h"

To_fBoot* o_fBoot = nullptr;

To_fBoot::To_fBoot(QWidget* parent) : QDialog(parent), m_ui(new Ui::To_fBoot)
{
    m_ui->setupUi(this);
    WindowSetup::MakeFixedDialog(this, QSize(396, 237));
    WindowSetup::StyleFileDialog(this, m_ui->GroupBox1);
    setWindowIcon(Pictures::Icon("boot"));
    m_ui->SpeedButton1->setIcon(Pictures::Icon("browse"));
    WindowSetup::SetButtonGlyphs(m_ui->BitBtn1, m_ui->BitBtn2);

    using Handlers::Guard;
    connect(m_ui->SpeedButton1, &QToolButton::clicked, this,
            Guard(this, &To_fBoot::SpeedButton1Click));
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, Guard(this, &To_fBoot::BitBtn1Click));
    connect(m_ui->BitBtn2, &QPushButton::clicked, this, Guard(this, &To_fBoot::BitBtn2Click));
}

To_fBoot::~To_fBoot() = default;

void To_fBoot::showEvent(QShowEvent* event)
{
    Handlers::Run([this] { FormShow(); });
    QDialog::showEvent(event);
}

void To_fBoot::FormShow()
{
    o_fMain->ShowLibraryPage(LibraryPage::Boot);
}

void To_fBoot::SpeedButton1Click()
{
    FileEntrySteps::Browse(this,
                           {QStringLiteral("Select Boot file"), QStringLiteral("bin"),
                            QStringLiteral("Nokia TIA files (*.bin)|*.BIN|All files (*.*)|*.*"),
                            QStringLiteral("Boot file copied to the system specified directory"),
                            QStringLiteral("Boot file copy error.")},
                           Paths::BootFolder, m_ui->Edit1);
}

void To_fBoot::BitBtn1Click()
{
    const bool passed = FileEntrySteps::PassChecks({
        {FileEntrySteps::IsBlank(m_ui->Edit1), m_ui->Edit1,
         QStringLiteral("Select BOOT file first")},
        {m_ui->o_cbMsgType->statusCode() < 0, m_ui->o_cbMsgType, QStringLiteral("Select status")},
    });
    if (!passed)
        return;

    CatalogueEntries::Write(EntryKind::Boot, {},
                            {.name = Text::Bytes(m_ui->Edit1),
                             .type = {},
                             .address = {},
                             .status = m_ui->o_cbMsgType->statusCode(),
                             .description = Text::Bytes(m_ui->Edit3)});

    m_ui->Edit1->clear();
    m_ui->o_cbMsgType->setStatusCode(-1);
    m_ui->Edit3->clear();
    o_fMain->LoadBootList();
    FileEntrySteps::AskToAddAnother(this, QStringLiteral("Boot added successfully. Add new?"));
}

void To_fBoot::BitBtn2Click()
{
    reject();
}

void To_fBoot::EditBootEntry(const std::string& name)
{
    const CatalogueEntry entry = CatalogueEntries::Read(EntryKind::Boot, {}, name);
    Text::Show(m_ui->Edit1, entry.name);
    m_ui->o_cbMsgType->setStatusCode(entry.status);
    Text::Show(m_ui->Edit3, entry.description);
    exec();
}

#include "flash.h"
#include "pictures.h"
#include "ui_flash.h"

#include "file_entry_steps.h"
#include "handlers.h"
#include "library/catalogue_entries.h"
#include "main.h"
#include "text.h"
#include "window_setup.h"

#include <QTreeWidget>

To_fFlash* o_fFlash = nullptr;

To_fFlash::To_fFlash(QWidget* parent) : QDialog(parent), m_ui(new Ui::To_fFlash)
{
    m_ui->setupUi(this);
    WindowSetup::MakeFixedDialog(this, QSize(396, 285));
    WindowSetup::StyleFileDialog(this, m_ui->GroupBox1);
    setWindowIcon(Pictures::Icon("program"));
    m_ui->SpeedButton1->setIcon(Pictures::Icon("browse"));
    WindowSetup::SetButtonGlyphs(m_ui->BitBtn1, m_ui->BitBtn2);

    QPalette groupLabel = m_ui->Label5->palette();
    groupLabel.setColor(QPalette::WindowText, Qt::blue);
    m_ui->Label5->setPalette(groupLabel);
    // The group's name is shown, not edited: the field looks like the window behind it.
    QPalette groupField = m_ui->o_tPhoneGroup->palette();
    groupField.setColor(QPalette::Base, groupField.color(QPalette::Button));
    m_ui->o_tPhoneGroup->setPalette(groupField);

    using Handlers::Guard;
    connect(m_ui->SpeedButton1, &QToolButton::clicked, this,
            Guard(this, &To_fFlash::SpeedButton1Click));
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, Guard(this, &To_fFlash::BitBtn1Click));
    connect(m_ui->BitBtn2, &QPushButton::clicked, this, Guard(this, &To_fFlash::BitBtn2Click));
}

To_fFlash::~To_fFlash() = default;

std::string To_fFlash::group() const
{
    return Text::Bytes(m_ui->o_tPhoneGroup);
}

void To_fFlash::showEvent(QShowEvent* event)
{
    Handlers::Run([this] { FormShow(); });
    QDialog::showEvent(event);
}

void To_fFlash::FormShow()
{
    Text::Show(m_ui->o_tPhoneGroup, o_fMain->ActivePageCaption());
}

void To_fFlash::SpeedButton1Click()
{
    FileEntrySteps::Browse(this,
                           {QStringLiteral("Select Flash file"), QStringLiteral("fls"),
                            QStringLiteral("Nokia Flash files (*.fls)|*.fls|All files (*.*)|*.*"),
                            QStringLiteral("Flash file copied to the system specified directory"),
                            QStringLiteral("Flash file copy error.")},
                           CatalogueEntries::Folder(EntryKind::Flash, group()), m_ui->Edit1);
}

void To_fFlash::BitBtn1Click()
{
    const bool passed = FileEntrySteps::PassChecks({
        {FileEntrySteps::IsBlank(m_ui->Edit1), m_ui->Edit1,
         QStringLiteral("Select Flash file first")},
        {FileEntrySteps::IsBlank(m_ui->Edit2), m_ui->Edit2,
         QStringLiteral("Enter flash start address ")},
        {m_ui->o_cbMsgType->statusCode() < 0, m_ui->o_cbMsgType, QStringLiteral("Select status")},
    });
    if (!passed)
        return;

    const std::string phoneGroup = group();
    CatalogueEntries::Write(EntryKind::Flash, phoneGroup,
                            {.name = Text::Bytes(m_ui->Edit1),
                             .type = {},
                             .address = Text::Bytes(m_ui->Edit2),
                             .status = m_ui->o_cbMsgType->statusCode(),
                             .description = Text::Bytes(m_ui->Edit3)});

    m_ui->Edit1->clear();
    m_ui->Edit2->clear();
    m_ui->o_cbMsgType->setStatusCode(-1);
    m_ui->Edit3->clear();
    // Only a group page holds a flash list.
    if (QTreeWidget* list = o_fMain->ActiveFlashList())
        o_fMain->LoadFlashList(phoneGroup, list);
    FileEntrySteps::AskToAddAnother(this,
                                    QStringLiteral("Flash file added successfully. Add new?"));
}

void To_fFlash::BitBtn2Click()
{
    reject();
}

void To_fFlash::EditFlashEntry(const std::string& name)
{
    Text::Show(m_ui->o_tPhoneGroup, o_fMain->ActivePageCaption());
    const CatalogueEntry entry = CatalogueEntries::Read(EntryKind::Flash, group(), name);
    Text::Show(m_ui->Edit1, entry.name);
    Text::Show(m_ui->Edit2, entry.address);
    m_ui->o_cbMsgType->setStatusCode(entry.status);
    Text::Show(m_ui->Edit3, entry.description);
    exec();
}

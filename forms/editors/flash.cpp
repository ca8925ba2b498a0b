// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/editors/flash.h"
#include "ui_flash.h"

#include "forms/common/text.h"

To_fFlash* o_fFlash = nullptr;

namespace
{

const EntryTexts Texts{{QStringLiteral("Select Flash file"), QStringLiteral("fls"),
                        QStringLiteral("Nokia Flash files (*.fls)|*.fls|All files (*.*)|*.*"),
                        QStringLiteral("Flash file copied to the system specified directory"),
                        QStringLiteral("Flash file copy error.")},
                       QStringLiteral("Select Flash file first"),
                       QStringLiteral("Enter flash start address "),
                       QStringLiteral("Flash file added successfully. Add new?")};

} // namespace

To_fFlash::To_fFlash(OpenDialog& openDialog, QWidget* parent)
    : FileEntryEditor(EntryKind::Flash, Texts, openDialog, parent), m_ui(new Ui::To_fFlash)
{
    m_ui->setupUi(this);
    setUpEntryEditor(
        {QSize(396, 285), "program", m_ui->GroupBox1, m_ui->SpeedButton1, m_ui->BitBtn1,
         m_ui->BitBtn2},
        {m_ui->Edit1, m_ui->Edit2, &CatalogueEntry::address, m_ui->o_cbMsgType, m_ui->Edit3});

    QPalette groupLabel = m_ui->Label5->palette();
    groupLabel.setColor(QPalette::WindowText, Qt::blue);
    m_ui->Label5->setPalette(groupLabel);
    // The group's name is shown, not edited: the field looks like the window behind it.
    QPalette groupField = m_ui->o_tPhoneGroup->palette();
    groupField.setColor(QPalette::Base, groupField.color(QPalette::Button));
    m_ui->o_tPhoneGroup->setPalette(groupField);
}

To_fFlash::~To_fFlash() = default;

std::string To_fFlash::group() const
{
    return Text::Bytes(m_ui->o_tPhoneGroup);
}

void To_fFlash::ShowForGroup(const std::string& group)
{
    Text::Show(m_ui->o_tPhoneGroup, group);
    exec();
}

void To_fFlash::EditFlashEntry(const std::string& group, const std::string& name)
{
    Text::Show(m_ui->o_tPhoneGroup, group);
    editEntry(name);
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/editors/tia.h"
#include "ui_tia.h"

To_fTia* o_fTia = nullptr;

namespace
{

const EntryTexts Texts{{QStringLiteral("Select TIA file"), QStringLiteral("Tia"),
                        QStringLiteral("Nokia TIA files (*.tia)|*.TIA|All files (*.*)|*.*"),
                        QStringLiteral("File copied to the system specified directory"),
                        QStringLiteral("File copy error.")},
                       QStringLiteral("Select TIA file first"),
                       QStringLiteral("Enter flash type"),
                       QStringLiteral("TIA added successfully. Add new?")};

} // namespace

To_fTia::To_fTia(OpenDialog& openDialog, QWidget* parent)
    : FileEntryEditor(EntryKind::Tia, Texts, openDialog, parent), m_ui(new Ui::To_fTia)
{
    m_ui->setupUi(this);
    setUpEntryEditor(
        {QSize(395, 232), "tia", m_ui->GroupBox1, m_ui->SpeedButton1, m_ui->BitBtn1, m_ui->BitBtn2},
        {m_ui->Edit1, m_ui->Edit2, &CatalogueEntry::type, m_ui->o_cbMsgType, m_ui->Edit3});
}

To_fTia::~To_fTia() = default;

// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/editors/boot.h"
#include "ui_boot.h"

To_fBoot* o_fBoot = nullptr;

namespace
{

// A boot entry has no second field: its notice is never shown.
const EntryTexts Texts{{QStringLiteral("Select Boot file"), QStringLiteral("bin"),
                        QStringLiteral("Nokia TIA files (*.bin)|*.BIN|All files (*.*)|*.*"),
                        QStringLiteral("Boot file copied to the system specified directory"),
                        QStringLiteral("Boot file copy error.")},
                       QStringLiteral("Select BOOT file first"),
                       {},
                       QStringLiteral("Boot added successfully. Add new?")};

} // namespace

To_fBoot::To_fBoot(OpenDialog& openDialog, QWidget* parent)
    : FileEntryEditor(EntryKind::Boot, Texts, openDialog, parent), m_ui(new Ui::To_fBoot)
{
    m_ui->setupUi(this);
    setUpEntryEditor({QSize(396, 237), "boot", m_ui->GroupBox1, m_ui->SpeedButton1, m_ui->BitBtn1,
                      m_ui->BitBtn2},
                     {m_ui->Edit1, nullptr, nullptr, m_ui->o_cbMsgType, m_ui->Edit3});
}

To_fBoot::~To_fBoot() = default;

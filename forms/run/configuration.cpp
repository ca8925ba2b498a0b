// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/run/configuration.h"
#include "ui_configuration.h"

#include "forms/common/handlers.h"
#include "forms/common/text.h"
#include "forms/common/window_setup.h"

To_fConfiguration* o_fConfiguration = nullptr;

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

void To_fConfiguration::ShowRun(const RunSelection& selection, const std::string& group,
                                const std::function<void()>& start)
{
    Text::Show(m_ui->Label1, selection.LoaderLine);
    Text::Show(m_ui->Label2, selection.BootLine);
    Text::Show(m_ui->Label3, selection.FlashLine);
    Text::Show(m_ui->Label4, group + " phone group selected");
    m_start = start;
    exec();
    m_start = nullptr;
}

void To_fConfiguration::BitBtn1Click()
{
    if (m_start)
        m_start();
}

#include "configuration.h"
#include "ui_configuration.h"

#include "library/run_staging.h"
#include "main.h"
#include "message_boxes.h"
#include "text.h"
#include "window_setup.h"

#include <QStyle>

To_fConfiguration* o_fConfiguration = nullptr;

To_fConfiguration::To_fConfiguration(QWidget* parent)
    : QDialog(parent), m_ui(new Ui::To_fConfiguration)
{
    m_ui->setupUi(this);
    WindowSetup::MakeFixedDialog(this, QSize(393, 319));
    m_ui->BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    m_ui->BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    setFont(WindowSetup::FontOfPixelSize(font(), 11));
    for (auto* box : {m_ui->GroupBox1, m_ui->GroupBox2, m_ui->GroupBox3, m_ui->GroupBox4}) {
        box->setFont(WindowSetup::FontOfPixelSize(font(), 13));
        WindowSetup::SetCaptionColour(box, QColor(0x80, 0, 0));
    }
    for (auto* label : {m_ui->Label1, m_ui->Label2, m_ui->Label3, m_ui->Label4})
        label->setFont(WindowSetup::FontOfPixelSize(font(), 13, QFont::Bold));

    // Start is of the OK kind: the window gets its result first and closes once the handler
    // has returned, whatever the handler did.
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, [this] {
        setResult(Accepted);
        const WindowSetup::CloseAfter closeAfter(this, Accepted);
        BitBtn1Click();
    });
    connect(m_ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

To_fConfiguration::~To_fConfiguration() = default;

void To_fConfiguration::BitBtn1Click()
{
    Staging::StageRun(runSelection, toBytes(o_fMain->currentPhoneGroup()),
                      [](const std::string& text) { ShowNotice(nullptr, fromBytes(text)); });
}

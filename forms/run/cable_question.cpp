// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/run/cable_question.h"

#include "forms/common/handlers.h"
#include "forms/common/text.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <map>

namespace CableQuestion
{

namespace
{

Answerer& answererStorage()
{
    static Answerer answerer;
    return answerer;
}

class Window : public QDialog
{
public:
    Window(QWidget* parent, const Shown& shown) : QDialog(parent), m_devices(shown.devices)
    {
        setObjectName(QStringLiteral("CableQuestion"));
        setWindowTitle(QStringLiteral("Phone cable"));
        setMinimumWidth(460);
        auto* layout = new QVBoxLayout(this);
        auto* text = new QLabel(this);
        text->setTextFormat(Qt::PlainText);
        text->setWordWrap(true);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse); // the command can be copied
        text->setText(shown.text);
        layout->addWidget(text);

        auto* buttons = new QDialogButtonBox(this);
        const bool adapterAbsent = shown.finding.trouble == CableCheck::Trouble::Missing;
        if (CableCheck::OffersPick(shown.finding.trouble))
            addPick(layout, buttons, shown.finding.mapping.port, !adapterAbsent);
        QPushButton* lookAgain =
            addButton(buttons, QStringLiteral("&Look again"), Choice::LookAgain);
        lookAgain->setObjectName(QStringLiteral("LookAgainButton"));
        // With the mapped adapter unplugged, plugging it in is the likely way on: a hasty Enter
        // must not remap the port to whatever else is there.
        if (adapterAbsent)
            lookAgain->setDefault(true);
        addButton(buttons, QStringLiteral("&Go on anyway"), Choice::GoOn);
        addButton(buttons, QStringLiteral("Cancel"), Choice::Cancel);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::clicked, this,
                Handlers::Guard([this](QAbstractButton* button) { answerWith(button); }));
    }

    Answer answer;

private:
    void addPick(QVBoxLayout* layout, QDialogButtonBox* buttons, int port, bool preselect)
    {
        auto* form = new QFormLayout;
        m_port = new QComboBox(this);
        m_port->setObjectName(QStringLiteral("PortBox"));
        for (int number = 1; number <= DosBoxSerial::PortCount; ++number)
            m_port->addItem(QString::fromStdString(DosBoxSerial::PortName(number)));
        m_port->setCurrentIndex(port - 1);
        form->addRow(QStringLiteral("COM &port:"), m_port);
        m_list = new QListWidget(this);
        m_list->setObjectName(QStringLiteral("DeviceList"));
        for (const auto& device : m_devices)
            m_list->addItem(fromBytes(device.label));
        if (preselect)
            m_list->setCurrentRow(0);
        form->addRow(m_devices.empty() ? QStringLiteral("No serial device is plugged in.")
                                       : QStringLiteral("&Device:"),
                     m_list);
        layout->addLayout(form);
        QPushButton* use = addButton(buttons, QStringLiteral("&Use this device"), Choice::Use);
        use->setObjectName(QStringLiteral("UseButton"));
        use->setEnabled(preselect && !m_devices.empty());
        use->setDefault(preselect);
        // Usable once the user has picked a device.
        connect(m_list, &QListWidget::currentRowChanged, use,
                [use](int row) { use->setEnabled(row >= 0); });
    }

    QPushButton* addButton(QDialogButtonBox* buttons, const QString& caption, Choice choice)
    {
        QPushButton* button = buttons->addButton(caption, QDialogButtonBox::ActionRole);
        m_choices[button] = choice;
        return button;
    }

    void answerWith(QAbstractButton* button)
    {
        answer.choice = m_choices.at(button);
        const int row = m_list ? m_list->currentRow() : -1;
        if (answer.choice == Choice::Use && row >= 0)
            answer.mapping = {m_port->currentIndex() + 1,
                              m_devices[static_cast<std::size_t>(row)].realport};
        else if (answer.choice == Choice::Use)
            answer.choice = Choice::LookAgain; // no device picked
        accept();
    }

    std::vector<Platform::SerialDevice> m_devices;
    std::map<QAbstractButton*, Choice> m_choices;
    QComboBox* m_port = nullptr;
    QListWidget* m_list = nullptr;
};

} // namespace

Answer Ask(QWidget* parent, const CableCheck::Finding& finding)
{
    Shown shown{finding, fromBytes(CableCheck::QuestionText(finding)), {}};
    if (CableCheck::OffersPick(finding.trouble)) {
        for (auto& device : Platform::ListSerialDevices()) {
            if (DosBoxSerial::CanName(device.realport))
                shown.devices.push_back(std::move(device));
        }
    }
    if (const auto& answerer = answererStorage())
        return answerer(shown);
    Window window(parent, shown);
    window.exec();
    return window.answer;
}

void SetAnswerer(Answerer answerer)
{
    answererStorage() = std::move(answerer);
}

} // namespace CableQuestion

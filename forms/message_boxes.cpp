#include "message_boxes.h"

#include "text.h"

#include <QApplication>
#include <QCloseEvent>
#include <QWidget>

namespace MessageBoxes
{

namespace
{

Answerer& answererStorage()
{
    static Answerer answerer;
    return answerer;
}

// A box that tells its close box apart from Esc, which presses the escape button.
class MessageBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;
    bool closedByCloseBox = false;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        closedByCloseBox = event->spontaneous();
        QMessageBox::closeEvent(event);
    }
};

} // namespace

QMessageBox::StandardButton Show(QMessageBox::Icon icon, const QString& caption,
                                 const QString& text, QMessageBox::StandardButtons buttons,
                                 QMessageBox::StandardButton defaultButton,
                                 QMessageBox::StandardButton escapeButton)
{
    if (const auto& answerer = answererStorage())
        return answerer(ShownMessage{icon, caption, text, buttons, defaultButton, escapeButton});
    // Right after the file-open dialog has closed no window is active yet: the box then
    // belongs to the dialog that is open.
    QWidget* parent = QApplication::activeWindow();
    if (!parent)
        parent = QApplication::activeModalWidget();
    MessageBox box(icon, caption, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    if (escapeButton != QMessageBox::NoButton)
        box.setEscapeButton(escapeButton);
    const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
    return box.closedByCloseBox ? ClosedByCloseBox : answer;
}

void SetAnswerer(Answerer answerer)
{
    answererStorage() = std::move(answerer);
}

} // namespace MessageBoxes

bool ShowNotice(QWidget* control, const QString& text)
{
    MessageBoxes::Show(QMessageBox::Information, QStringLiteral("Information"), text,
                       QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok);
    if (control)
        control->setFocus(Qt::OtherFocusReason);
    return true;
}

QMessageBox::StandardButton AskConfirmation(const QString& text,
                                            QMessageBox::StandardButton defaultButton)
{
    return MessageBoxes::Show(QMessageBox::Question, QStringLiteral("Confirm"), text,
                              QMessageBox::Yes | QMessageBox::No, defaultButton, QMessageBox::No);
}

void ShowError(const QString& text)
{
    MessageBoxes::Show(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok,
                       QMessageBox::Ok, QMessageBox::Ok);
}

QString UnexpectedErrorText(const QString& text)
{
    if (!text.isEmpty() && text.back().unicode() > '.')
        return text + QLatin1Char('.');
    return text;
}

void ShowUnexpectedError(const std::exception& error)
{
    ShowUnexpectedError(fromBytes(error.what()));
}

void ShowUnexpectedError(const QString& text)
{
    MessageBoxes::Show(QMessageBox::Critical, QApplication::applicationName(),
                       UnexpectedErrorText(text), QMessageBox::Ok, QMessageBox::Ok,
                       QMessageBox::Ok);
}

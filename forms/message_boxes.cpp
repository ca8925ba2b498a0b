#include "message_boxes.h"

#include <QApplication>
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

} // namespace

QMessageBox::StandardButton Show(QMessageBox::Icon icon, const QString& caption,
                                 const QString& text, QMessageBox::StandardButtons buttons)
{
    if (const auto& answerer = answererStorage())
        return answerer(ShownMessage{icon, caption, text});
    QMessageBox box(icon, caption, text, buttons, QApplication::activeWindow());
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void SetAnswerer(Answerer answerer)
{
    answererStorage() = std::move(answerer);
}

} // namespace MessageBoxes

bool ShowNotice(QWidget* control, const QString& text)
{
    MessageBoxes::Show(QMessageBox::Information, QStringLiteral("Information"), text,
                       QMessageBox::Ok);
    if (control)
        control->setFocus(Qt::OtherFocusReason);
    return true;
}

QMessageBox::StandardButton AskConfirmation(const QString& text)
{
    return MessageBoxes::Show(QMessageBox::Question, QStringLiteral("Confirm"), text,
                              QMessageBox::Yes | QMessageBox::No);
}

QString UnexpectedErrorText(const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    if (!bytes.isEmpty() && static_cast<unsigned char>(bytes.back()) > '.')
        return text + QLatin1Char('.');
    return text;
}

void ShowUnexpectedError(const std::exception& error)
{
    ShowUnexpectedError(QString::fromLocal8Bit(error.what()));
}

void ShowUnexpectedError(const QString& text)
{
    MessageBoxes::Show(QMessageBox::Critical, QApplication::applicationName(),
                       UnexpectedErrorText(text), QMessageBox::Ok);
}

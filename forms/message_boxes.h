#pragma once
// Every message box of the program goes through here, so that tests can read and answer them
// without a person: setAnswerer() replaces the box by a function.

#include <QMessageBox>
#include <QString>
#include <exception>
#include <functional>

class QWidget;

struct ShownMessage {
    QMessageBox::Icon icon;
    QString caption;
    QString text;
};

namespace MessageBoxes
{

using Answerer = std::function<QMessageBox::StandardButton(const ShownMessage&)>;

// Shows a modal box and returns the button that closed it.
QMessageBox::StandardButton Show(QMessageBox::Icon icon, const QString& caption,
                                 const QString& text, QMessageBox::StandardButtons buttons);

// For tests: answer every box with this function instead of showing it (nullptr shows again).
void SetAnswerer(Answerer answerer);

} // namespace MessageBoxes

// An information box with one OK button; afterwards the focus goes to control, when given.
// Always true: callers end their operation after the notice.
bool ShowNotice(QWidget* control, const QString& text);

// A question with Yes and No and the caption "Confirm"; the button that closed it.
QMessageBox::StandardButton AskConfirmation(const QString& text);

// The box for an error that no operation handled: caption Quorvel, error icon, the text with a
// full stop added unless it already ends in a punctuation mark at or below ".".
void ShowUnexpectedError(const QString& text);
void ShowUnexpectedError(const std::exception& error);
QString UnexpectedErrorText(const QString& text);

#pragma once
// Every message box of the program goes through here, so that tests can read and answer them
// without a person: SetAnswerer() replaces the box by a function. Boxes show plain text.

#include <QMessageBox>
#include <QString>
#include <exception>
#include <functional>

class QWidget;

struct ShownMessage {
    QMessageBox::Icon icon;
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::StandardButton escapeButton = QMessageBox::NoButton;
};

namespace MessageBoxes
{

// What an answerer returns, and Show, when the box was closed by its title bar's close box.
inline constexpr QMessageBox::StandardButton ClosedByCloseBox = QMessageBox::NoButton;

using Answerer = std::function<QMessageBox::StandardButton(const ShownMessage&)>;

// Shows a modal box and returns the button that closed it, or ClosedByCloseBox.
QMessageBox::StandardButton Show(QMessageBox::Icon icon, const QString& caption,
                                 const QString& text, QMessageBox::StandardButtons buttons,
                                 QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
                                 QMessageBox::StandardButton escapeButton = QMessageBox::NoButton);

// For tests: answer every box with this function instead of showing it (nullptr shows again).
void SetAnswerer(Answerer answerer);

} // namespace MessageBoxes

// An information box with one OK button; afterwards the focus goes to control, when given.
// Always true: callers end their operation after the notice.
bool ShowNotice(QWidget* control, const QString& text);

// A question with Yes (the default unless another is given) and No (also Esc) and the caption
// "Confirm".
QMessageBox::StandardButton
AskConfirmation(const QString& text, QMessageBox::StandardButton defaultButton = QMessageBox::Yes);

// An error message with one OK button, such as a failed copy.
void ShowError(const QString& text);

// The box for an error that no operation handled: caption Quorvel, error icon, the text with a
// full stop added when its last character's code is above that of the full stop.
void ShowUnexpectedError(const QString& text);
void ShowUnexpectedError(const std::exception& error);
QString UnexpectedErrorText(const QString& text);

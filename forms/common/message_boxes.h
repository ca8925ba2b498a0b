// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Every message box of the program goes through here, so that tests can read and answer them
// without a person: SetAnswerer() replaces the box by a function. Boxes show plain text.
// A message about a file adds, below its own text, where the file lies on this machine (when
// drive C is a folder, that is not the c:\ path the text names) and the system's reason.

#include "platform/file_problem.h"

#include <QMap>
#include <QMessageBox>
#include <QString>
#include <exception>
#include <functional>

class QWidget;

struct ShownMessage {
    QMessageBox::Icon icon;
    QString caption;
    QString text; // the first line: the program's own text
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::StandardButton escapeButton = QMessageBox::NoButton;
    QString details = {};                                        // the lines below it, if any
    QMap<QMessageBox::StandardButton, QString> buttonTexts = {}; // instead of the standard ones
};

namespace MessageBoxes
{

// What an answerer returns, and Show, when the box was closed by its title bar's close box.
inline constexpr QMessageBox::StandardButton ClosedByCloseBox = QMessageBox::NoButton;

using Answerer = std::function<QMessageBox::StandardButton(const ShownMessage&)>;

// Shows a modal box and returns the button that closed it, or ClosedByCloseBox.
QMessageBox::StandardButton Show(const ShownMessage& message);

// The lines a file problem adds below text: the file's path on this machine unless the text
// names it so already, then the reason; each when known.
QString Details(const QString& text, const Platform::FileProblem& problem);

// For tests: answer every box with this function instead of showing it (nullptr shows again).
void SetAnswerer(Answerer answerer);

} // namespace MessageBoxes

// An information box with one OK button; afterwards the focus goes to control, when given.
// Always true: callers end their operation after the notice.
bool ShowNotice(QWidget* control, const QString& text, const Platform::FileProblem& problem = {});

// A question with Yes (the default unless another is given) and No (also Esc) and the caption
// "Confirm"; the file it is about, when given, below the text as for a notice.
QMessageBox::StandardButton
AskConfirmation(const QString& text, QMessageBox::StandardButton defaultButton = QMessageBox::Yes,
                const Platform::FileProblem& problem = {});

// An error message with one OK button, such as a failed copy.
void ShowError(const QString& text, const Platform::FileProblem& problem = {});

// The box for an error that no operation handled: caption Quorvel, error icon, the text with a
// full stop added when its last character's code is above that of the full stop. A
// Platform::FileError adds its problem below.
void ShowUnexpectedError(const QString& text);
void ShowUnexpectedError(const std::exception& error);
QString UnexpectedErrorText(const QString& text);

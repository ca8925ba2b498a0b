// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/common/message_boxes.h"

#include "forms/common/file_path.h"
#include "forms/common/pictures.h"
#include "forms/common/text.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QStyle>
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

// The program's own picture for a kind of box, drawn for every usual screen scale where the
// style's may be scaled; null for a kind the program does not show.
const char* pictureOf(QMessageBox::Icon icon)
{
    switch (icon) {
    case QMessageBox::Information:
        return "information";
    case QMessageBox::Question:
        return "question";
    case QMessageBox::Critical:
        return "error";
    default:
        return nullptr;
    }
}

} // namespace

QMessageBox::StandardButton Show(const ShownMessage& message)
{
    if (const auto& answerer = answererStorage())
        return answerer(message);
    // Right after the file-open dialog has closed no window is active yet: the box then
    // belongs to the dialog that is open.
    QWidget* parent = QApplication::activeWindow();
    if (!parent)
        parent = QApplication::activeModalWidget();
    const QString text =
        message.details.isEmpty() ? message.text : message.text + u'\n' + message.details;
    MessageBox box(message.icon, message.caption, text, message.buttons, parent);
    box.setTextFormat(Qt::PlainText);
    if (const char* picture = pictureOf(message.icon)) {
        const int size = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
        box.setIconPixmap(
            Pictures::Icon(picture).pixmap(QSize(size, size), box.devicePixelRatio()));
    }
    // Where the style shows glyphs on the box's buttons, ours, drawn for the screen's scale.
    for (QAbstractButton* button : box.buttons()) {
        const auto role = box.buttonRole(button);
        if (!button->icon().isNull())
            button->setIcon(Pictures::Icon(
                role == QMessageBox::AcceptRole || role == QMessageBox::YesRole ? "ok" : "cancel"));
    }
    if (message.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(message.defaultButton);
    if (message.escapeButton != QMessageBox::NoButton)
        box.setEscapeButton(message.escapeButton);
    for (auto text = message.buttonTexts.begin(); text != message.buttonTexts.end(); ++text) {
        if (QAbstractButton* button = box.button(text.key()))
            button->setText(text.value());
    }
    const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
    return box.closedByCloseBox ? ClosedByCloseBox : answer;
}

void SetAnswerer(Answerer answerer)
{
    answererStorage() = std::move(answerer);
}

QString Details(const QString& text, const Platform::FileProblem& problem)
{
    QStringList lines;
    if (const QString path = FilePathText(problem.file); !path.isEmpty() && !text.contains(path))
        lines << path;
    if (!problem.reason.empty())
        lines << fromBytes(problem.reason);
    return lines.join(u'\n');
}

} // namespace MessageBoxes

namespace
{

// A box with one OK button, which Enter and Esc press too.
void showWithOk(QMessageBox::Icon icon, const QString& caption, const QString& text,
                const QString& details)
{
    MessageBoxes::Show(
        {icon, caption, text, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok, details});
}

} // namespace

bool ShowNotice(QWidget* control, const QString& text, const Platform::FileProblem& problem)
{
    showWithOk(QMessageBox::Information, QStringLiteral("Information"), text,
               MessageBoxes::Details(text, problem));
    if (control)
        control->setFocus(Qt::OtherFocusReason);
    return true;
}

QMessageBox::StandardButton AskConfirmation(const QString& text,
                                            QMessageBox::StandardButton defaultButton,
                                            const Platform::FileProblem& problem)
{
    return MessageBoxes::Show({QMessageBox::Question, QStringLiteral("Confirm"), text,
                               QMessageBox::Yes | QMessageBox::No, defaultButton, QMessageBox::No,
                               MessageBoxes::Details(text, problem)});
}

void ShowError(const QString& text, const Platform::FileProblem& problem)
{
    showWithOk(QMessageBox::Critical, QStringLiteral("Error"), text,
               MessageBoxes::Details(text, problem));
}

QString UnexpectedErrorText(const QString& text)
{
    if (!text.isEmpty() && text.back().unicode() > '.')
        return text + QLatin1Char('.');
    return text;
}

void ShowUnexpectedError(const std::exception& error)
{
    const QString text = UnexpectedErrorText(fromBytes(error.what()));
    const auto* fileError = dynamic_cast<const Platform::FileError*>(&error);
    showWithOk(QMessageBox::Critical, QApplication::applicationName(), text,
               fileError ? MessageBoxes::Details(text, fileError->problem()) : QString());
}

void ShowUnexpectedError(const QString& text)
{
    showWithOk(QMessageBox::Critical, QApplication::applicationName(), UnexpectedErrorText(text),
               {});
}

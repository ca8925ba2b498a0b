// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/common/window_setup.h"

#include "forms/common/pictures.h"
#include "forms/common/readable_colours.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace WindowSetup
{

namespace
{

class CentreOnShow : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Not when the window is restored from its minimised state: it stays where it was.
        if (event->type() == QEvent::Show && !event->spontaneous())
            CentreOnScreen(static_cast<QWidget*>(watched));
        return false;
    }
};

// Whether a window of the program stands on its own beside the owner (the schematic window).
bool OtherWindowShown(const QWidget* owner)
{
    const auto windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [owner](const QWidget* window) {
        return window != owner && window->windowType() == Qt::Window && window->isVisible();
    });
}

// A closed dialog hands the focus back to the window it belongs to. Left to the window manager,
// the focus can end nowhere when a question and its dialog close one right after the other.
// With the schematic window shown the window manager chooses: activating the owner would put
// the schematic window behind it.
class ActivateOwnerOnHide : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && !event->spontaneous()) {
            const QWidget* parent = static_cast<QWidget*>(watched)->parentWidget();
            QWidget* owner = parent ? parent->window() : nullptr;
            if (owner && owner->isVisible() && !OtherWindowShown(owner))
                owner->activateWindow();
        }
        return false;
    }
};

} // namespace

void CentreOnScreen(QWidget* window)
{
    if (const QScreen* screen = window->screen()) {
        // The client area is placed, so that the frame is centred whether or not the window
        // manager has framed the window yet.
        const QMargins margins = FrameMargins(window);
        QRect frame = window->geometry().marginsAdded(margins);
        frame.moveCenter(screen->availableGeometry().center());
        window->setGeometry(frame.marginsRemoved(margins));
    }
}

void CentreOnScreenWhenShown(QWidget* window)
{
    window->installEventFilter(new CentreOnShow(window));
}

void MakeFixedDialog(QDialog* dialog, QSize clientSize)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog->setFixedSize(clientSize);
    dialog->setSizeGripEnabled(false);
    CentreOnScreenWhenShown(dialog);
    dialog->installEventFilter(new ActivateOwnerOnHide(dialog));
}

QMargins FrameMargins(const QWidget* window)
{
    const QWindow* handle = window->windowHandle();
    if (handle && !handle->frameMargins().isNull())
        return handle->frameMargins();
    // Not framed yet (before its first showing): the frame of a shown window is the best guess.
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        const QWindow* otherHandle = other->windowHandle();
        if (other != window && other->isVisible() && otherHandle &&
            !otherHandle->frameMargins().isNull())
            return otherHandle->frameMargins();
    }
    return {};
}

void SetButtonGlyphs(QAbstractButton* ok, QAbstractButton* cancel)
{
    ok->setIcon(Pictures::Icon("ok"));
    cancel->setIcon(Pictures::Icon("cancel"));
}

QFont FontOfPixelSize(QFont font, int pixels, QFont::Weight weight)
{
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
}

void StyleFileDialog(QDialog* dialog, QGroupBox* box)
{
    // Fonts made whole here, so that nothing of the bold caption font is passed on to the fields.
    const QString family = dialog->font().family();
    box->setFont(QFont(family, 10, QFont::Bold));
    SetCaptionColour(box, QColor(0x80, 0, 0));

    for (auto* label : box->findChildren<QLabel*>()) {
        label->setFont(QFont(family, 8, QFont::Bold));
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, QColor(0, 0, 0x80));
        label->setPalette(palette);
    }
    for (auto* edit : box->findChildren<QLineEdit*>())
        edit->setFont(QFont(family, 10, QFont::Normal));
    for (auto* picker : box->findChildren<QComboBox*>())
        picker->setFont(QFont(family, 8, QFont::Normal));
}

void SetCaptionColour(QGroupBox* box, const QColor& colour)
{
    // Colours set later (the labels' navy) are kept readable as well.
    for (auto* child : box->findChildren<QWidget*>()) {
        QPalette palette = child->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        child->setPalette(palette);
        ReadableColours::Keep(child);
    }
    QPalette palette = box->palette();
    palette.setColor(QPalette::WindowText, colour);
    box->setPalette(palette);
    ReadableColours::Keep(box);
}

} // namespace WindowSetup

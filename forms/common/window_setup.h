// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Settings that several windows share.

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QMargins>
#include <QSize>

class QAbstractButton;
class QGroupBox;

namespace WindowSetup
{

// A fixed-size dialog with only a close box in its title bar, centred on the screen at every
// showing (a child of the main window would otherwise open over it); closing it activates the
// window it belongs to.
void MakeFixedDialog(QDialog* dialog, QSize clientSize);

// Centres the window, frame included, on its screen: now, or whenever it is shown.
void CentreOnScreen(QWidget* window);
void CentreOnScreenWhenShown(QWidget* window);

// The window's frame margins; before the window manager has framed it, those of another shown
// window.
QMargins FrameMargins(const QWidget* window);

// The pictures of a dialog's buttons of the OK kind (a tick) and of the Cancel kind (a cross),
// drawn for every usual screen scale.
void SetButtonGlyphs(QAbstractButton* ok, QAbstractButton* cancel);

// Draws the group box's caption in the colour; its contents keep black text. These colours, and
// any its contents are given later, are kept readable on the palette's background.
void SetCaptionColour(QGroupBox* box, const QColor& colour);

// The look of the file dialogs: the group box caption maroon, bold, 10 point; its labels navy,
// bold, 8 point; its text boxes black, 10 point; the status picker black, 8 point.
void StyleFileDialog(QDialog* dialog, QGroupBox* box);

// The font in the given height in pixels, as the window layouts give their fonts.
QFont FontOfPixelSize(QFont font, int pixels, QFont::Weight weight = QFont::Normal);

// Ends a modal dialog with a result when it goes out of scope, also when a handler throws.
class CloseAfter
{
public:
    CloseAfter(QDialog* dialog, int result) : m_dialog(dialog), m_result(result) {}
    ~CloseAfter() { m_dialog->done(m_result); }
    CloseAfter(const CloseAfter&) = delete;
    CloseAfter& operator=(const CloseAfter&) = delete;

private:
    QDialog* m_dialog;
    int m_result;
};

} // namespace WindowSetup

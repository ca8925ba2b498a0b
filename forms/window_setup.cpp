#include "window_setup.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QScreen>
#include <QStyle>

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
        if (event->type() == QEvent::Show) {
            auto* window = static_cast<QWidget*>(watched);
            if (const QScreen* screen = window->screen()) {
                QRect frame = window->frameGeometry();
                frame.moveCenter(screen->availableGeometry().center());
                window->move(frame.topLeft());
            }
        }
        return false;
    }
};

} // namespace

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
}

void SetButtonGlyphs(QAbstractButton* ok, QAbstractButton* cancel)
{
    ok->setIcon(ok->style()->standardIcon(QStyle::SP_DialogOkButton));
    cancel->setIcon(cancel->style()->standardIcon(QStyle::SP_DialogCancelButton));
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
    for (auto* child : box->findChildren<QWidget*>()) {
        QPalette palette = child->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        child->setPalette(palette);
    }
    QPalette palette = box->palette();
    palette.setColor(QPalette::WindowText, colour);
    box->setPalette(palette);
}

} // namespace WindowSetup

#include "window_setup.h"

#include <QGroupBox>
#include <QPalette>

namespace WindowSetup
{

void MakeFixedDialog(QDialog* dialog, QSize clientSize)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog->setFixedSize(clientSize);
    dialog->setSizeGripEnabled(false);
}

QFont FontOfPixelSize(QFont font, int pixels, QFont::Weight weight)
{
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
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

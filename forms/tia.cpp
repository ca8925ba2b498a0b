#include "tia.h"

#include "window_setup.h"

To_fTia* o_fTia = nullptr;

To_fTia::To_fTia(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Tia file "));
    WindowSetup::MakeFixedDialog(this, QSize(395, 232));
}

#include "flash.h"

#include "window_setup.h"

To_fFlash* o_fFlash = nullptr;

To_fFlash::To_fFlash(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Flash file"));
    WindowSetup::MakeFixedDialog(this, QSize(396, 285));
}

void To_fFlash::EditFlashEntry(const std::string& /*name*/) {}

#include "boot.h"

#include "window_setup.h"

To_fBoot* o_fBoot = nullptr;

To_fBoot::To_fBoot(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Boot file"));
    WindowSetup::MakeFixedDialog(this, QSize(396, 237));
}

void To_fBoot::EditBootEntry(const std::string& /*name*/) {}

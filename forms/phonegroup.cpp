#include "phonegroup.h"

#include "window_setup.h"

To_fPhoneGroup* o_fPhoneGroup = nullptr;

To_fPhoneGroup::To_fPhoneGroup(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Phone group"));
    WindowSetup::MakeFixedDialog(this, QSize(341, 195));
}

void To_fPhoneGroup::ShowPhoneGroupDialog() {}

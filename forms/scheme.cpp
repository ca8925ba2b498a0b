#include "scheme.h"

To_fScheme* o_fScheme = nullptr;

To_fScheme::To_fScheme(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("o_fScheme"));
    resize(419, 333);
}

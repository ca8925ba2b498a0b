// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A window that comes back where the user left it, in this run and the next: its size and
// position go into the user's settings (QSettings, the platform's native format) when it is
// hidden or the program ends.

#include <QSize>
#include <QString>

class QWidget;

namespace RememberedPlace
{

// At every showing the window takes the size and position it had when it was last hidden. The
// first time it takes the given frame size, centred on the screen; so it does when the place
// it was left at is no longer wholly on the screens.
void Keep(QWidget* window, const QString& name, QSize firstFrameSize);

} // namespace RememberedPlace

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A window that comes back where the user left it, in this run and the next: its size, position
// and maximised state go into the settings store when it is hidden or the program ends.

#include <QSize>
#include <QString>

class QWidget;

namespace RememberedPlace
{

// What the first size given to Keep measures.
enum class Measure { Frame, Client };

// At every showing the window takes the place it had when it was last hidden. The first time it
// takes the given size, centred on the screen. A place is always fitted to the screens as they
// are now: a size larger than the screen shrinks to it, and a window no longer wholly on the
// screens is centred, so that its title bar can always be reached.
void Keep(QWidget* window, const QString& name, QSize firstSize, Measure measure = Measure::Frame);

} // namespace RememberedPlace

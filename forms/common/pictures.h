// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QIcon>

namespace Pictures
{

// One of the program's own pictures by its name ("program", "browse", "ok", ...), with every
// size drawn for it, decoded once (when first drawn) and shared by every window that shows it.
QIcon Icon(const char* name);

} // namespace Pictures

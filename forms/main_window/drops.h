// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Files dropped on the main window open in the dialog of their kind, one after the other, as if
// browsed there: TIA files, boot files, flash files (in the dialog of the group in front) and
// schematic pictures (in the phone group dialog).

#include <functional>
#include <optional>
#include <string>

class QTabWidget;
class QWidget;

namespace Drops
{

// The phone group whose page is in front now; none when no group's page is.
using GroupInFront = std::function<std::optional<std::string>()>;

// The window takes drops of local files. Dropped on a group's tab (the pages' tabs from
// firstGroupPage on), that group comes to the front first; the files open once the drop has
// ended: the dialogs are modal, and the program the files come from waits for the drop to end.
void Accept(QWidget* window, QTabWidget* pages, int firstGroupPage, GroupInFront groupInFront);

} // namespace Drops

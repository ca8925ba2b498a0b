// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The Tools list of the main window: a row for each editor dialog, Check library and the run
// history; a double-click acts by the row's position.

#include "forms/editors/catalogue_editor.h"

#include <functional>
#include <optional>
#include <string>

class QTreeWidget;
class QWidget;
class RunHistory;

namespace ToolsList
{

void AddRows(QTreeWidget* list);

// Told when Check library removed an entry from a list's catalogue, so that the list is reloaded.
using ListChanged = std::function<void(EditedList list, const std::string& group)>;

// Opens what the row at this position stands for: an editor dialog as it stands (the flash file
// dialog only for the group whose page is in front, groupInFront), Check library over window,
// or the run history.
void Open(int row, QWidget* window, const std::optional<std::string>& groupInFront,
          RunHistory& history, const ListChanged& listChanged);

} // namespace ToolsList

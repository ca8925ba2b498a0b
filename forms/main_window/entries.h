// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A list's entry opened in its editor, or removed from its catalogue after a question: a
// double-click or Enter on a row opens it, Delete removes it.

#include "library/catalogue_entries.h"

#include <string>

class QTreeWidget;

namespace Entries
{

// Opens the entry in its editor; the group names a flash entry's phone group. An entry the
// catalogue does not hold opens as a new one, its name filled in.
void Edit(EntryKind kind, const std::string& group, const std::string& name);

// Opens the list's highlighted row in its editor; group: the list's phone group, for a flash
// list.
void Open(EntryKind kind, const QTreeWidget* list, const std::string& group);

// A key released in the list: Enter opens the highlighted row, Delete removes its entry from the
// catalogue after a question, only the entry (the library file and the run selection stay).
// Modifiers are not looked at: Shift+Delete removes, Ctrl+Enter opens. True when the entry was
// removed: the list is to be read again.
bool KeyUp(EntryKind kind, const QTreeWidget* list, const std::string& group, int key);

} // namespace Entries

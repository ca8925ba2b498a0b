// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The main window's find field: as its text changes, the lists shown hide the rows that do not
// hold it (only rows: what is chosen for the run stays chosen). Ctrl+F (the platform's Find key)
// moves the focus into it with its text selected; Esc empties it; Enter hands the focus to the
// list in front instead of pressing the window's default button.

#include <functional>
#include <vector>

class QLineEdit;
class QTreeWidget;
class QWidget;

namespace FindField
{

// The lists the field finds rows in; either may give a null list.
struct Lists {
    // The lists the window shows now.
    std::function<std::vector<QTreeWidget*>()> shown;
    // The list Enter hands the focus to.
    std::function<QTreeWidget*()> inFront;
};

void SetUp(QLineEdit* field, QWidget* window, Lists lists);

} // namespace FindField

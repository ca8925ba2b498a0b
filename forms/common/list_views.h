// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The report-style lists of the main window: rows from a catalogue, a select notification for
// every row that changes its selected state (whether the user or the program changed it), the
// double-click, key-up and column-click notifications, and sorting by a comparison.

#include <QTreeWidget>
#include <functional>
#include <vector>

struct CatalogueRow;

namespace ListViews
{

using SelectHandler = std::function<void(QTreeWidgetItem* item, bool selected)>;
using ListHandler = std::function<void()>;
using KeyHandler = std::function<void(int key)>;
using ColumnHandler = std::function<void(int column)>;
// Negative, zero or positive as row a goes before, with or after row b.
using RowCompare = int (*)(const QTreeWidgetItem* a, const QTreeWidgetItem* b);

// Calls handler for each row that loses its selection, then for each row that gains it; an
// error of one call ends that call only.
void ConnectSelectItem(QTreeWidget* list, QObject* context, SelectHandler handler);

// Calls handler after a double-click with the left button on a row of the list.
void ConnectDblClick(QTreeWidget* list, QObject* context, ListHandler handler);

// Calls handler with the Qt key code of each key released in the list (auto-repeat aside) whose
// press the list had too: the release of the Enter that closed a dialog or a message box is
// not a key of the list. Enter ends in the list, so it never presses the window's default
// button.
void ConnectKeyUp(QTreeWidget* list, KeyHandler handler);

// Calls handler with the column whose header was clicked.
void ConnectColumnClick(QTreeWidget* list, QObject* context, ColumnHandler handler);

// A new list that fills the page, with the template's columns and the settings all lists share.
QTreeWidget* CreateListLike(const QTreeWidget* templateList, QWidget* page);

// Applies the settings all lists share: one selected row at most, no editing, 16-pixel icons,
// columns the user can widen, the last column taking the room the others leave (at least its
// given width), and a cell's whole text as its tooltip when the cell cuts it.
void SetUpReportList(QTreeWidget* list, const std::vector<int>& columnWidths);

// Adds a row at the end: caption, sub-items and the picture of the given number.
QTreeWidgetItem* AddRow(QTreeWidget* list, const CatalogueRow& row);

// Adds rows at the end in one insertion, filled before they join the list, so that the list
// is told once instead of once per cell; their items in order.
QList<QTreeWidgetItem*> AddRows(QTreeWidget* list, const std::vector<CatalogueRow>& rows);

// Makes the row the one selected row, as a click would.
void SelectRow(QTreeWidget* list, QTreeWidgetItem* item);

// The highlighted row, or null; a row the find field hides is not acted on.
QTreeWidgetItem* HighlightedRow(const QTreeWidget* list);

// The selected row, also when the find field hides it; or null.
QTreeWidgetItem* SelectedRow(const QTreeWidget* list);

// Sorts the rows ascending by compare, keeping the highlighted row and raising no select
// notification; the header shows no sort mark. A later AddRow appends at the end again.
void SortRows(QTreeWidget* list, RowCompare compare);

// Shows only the rows with a cell that holds the text, in any letter case; an empty text shows
// every row. Selection and highlight are left as they are: a hidden row stays chosen.
void Filter(QTreeWidget* list, const QString& text);

// Removes every row without any select notification.
void Clear(QTreeWidget* list);

// The list's rows replaced by these, shown as Filter shows them for the text; the rows marked
// selected are selected in their order, each selection told before the next, as if added one
// by one.
void Fill(QTreeWidget* list, const std::vector<CatalogueRow>& rows, const QString& text);

} // namespace ListViews

#pragma once
// The report-style lists of the main window: rows from a catalogue, and a select notification
// for every row that changes its selected state, whether the user or the program changed it.

#include <QTreeWidget>
#include <functional>
#include <vector>

struct CatalogueRow;

namespace ListViews
{

using SelectHandler = std::function<void(QTreeWidgetItem* item, bool selected)>;

// Calls handler for each row that loses its selection, then for each row that gains it.
void ConnectSelectItem(QTreeWidget* list, QObject* context, SelectHandler handler);

// Applies the settings all lists share: one selected row at most, no editing, 16-pixel icons.
void SetUpReportList(QTreeWidget* list, const std::vector<int>& columnWidths);

// Adds a row at the end: caption, sub-items and the picture of the given number.
QTreeWidgetItem* AddRow(QTreeWidget* list, const CatalogueRow& row);

// Adds rows at the end in one insertion, filled before they join the list, so that the list
// is told once instead of once per cell; their items in order.
QList<QTreeWidgetItem*> AddRows(QTreeWidget* list, const std::vector<CatalogueRow>& rows);

// Makes the row the one selected row, as a click would.
void SelectRow(QTreeWidget* list, QTreeWidgetItem* item);

// Removes every row without any select notification.
void Clear(QTreeWidget* list);

} // namespace ListViews

#include "list_views.h"

#include "library/catalogue_lists.h"
#include "main.h"
#include "text.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSignalBlocker>

namespace ListViews
{

void ConnectSelectItem(QTreeWidget* list, QObject* context, SelectHandler handler)
{
    QObject::connect(
        list->selectionModel(), &QItemSelectionModel::selectionChanged, context,
        [list, handler](const QItemSelection& selected, const QItemSelection& deselected) {
            const auto notify = [&](const QItemSelection& rows, bool isSelected) {
                for (const QModelIndex& index : rows.indexes()) {
                    if (index.column() == 0)
                        handler(list->itemFromIndex(index), isSelected);
                }
            };
            notify(deselected, false);
            notify(selected, true);
        });
}

void SetUpReportList(QTreeWidget* list, const std::vector<int>& columnWidths)
{
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setIconSize(QSize(16, 16));
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->header()->setStretchLastSection(false);
    for (int column = 0; column < static_cast<int>(columnWidths.size()); ++column)
        list->header()->resizeSection(column, columnWidths[static_cast<size_t>(column)]);
}

namespace
{

// A row not yet in any list, so that filling it in notifies nobody.
QTreeWidgetItem* newItem(const CatalogueRow& row)
{
    auto* item = new QTreeWidgetItem;
    item->setText(0, fromBytes(row.caption));
    for (int column = 0; column < static_cast<int>(row.subItems.size()); ++column)
        item->setText(column + 1, fromBytes(row.subItems[static_cast<size_t>(column)]));
    item->setIcon(0, To_fMain::statusIcon(row.picture));
    return item;
}

} // namespace

QTreeWidgetItem* AddRow(QTreeWidget* list, const CatalogueRow& row)
{
    auto* item = newItem(row);
    list->addTopLevelItem(item);
    return item;
}

QList<QTreeWidgetItem*> AddRows(QTreeWidget* list, const std::vector<CatalogueRow>& rows)
{
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const auto& row : rows)
        items.append(newItem(row));
    list->addTopLevelItems(items);
    return items;
}

void SelectRow(QTreeWidget* list, QTreeWidgetItem* item)
{
    const QModelIndex index = list->indexFromItem(item);
    list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                       QItemSelectionModel::Rows);
}

void Clear(QTreeWidget* list)
{
    const QSignalBlocker blocker(list->selectionModel());
    list->clear();
}

} // namespace ListViews

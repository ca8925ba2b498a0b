#include "list_views.h"

#include "handlers.h"
#include "image_list.h"
#include "library/catalogue_lists.h"
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
                    if (index.column() == 0) {
                        QTreeWidgetItem* item = list->itemFromIndex(index);
                        Handlers::Run([&] { handler(item, isSelected); });
                    }
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

QTreeWidgetItem* AddRow(QTreeWidget* list, const CatalogueRow& row)
{
    auto* item = new QTreeWidgetItem(list);
    Text::Show(item, 0, row.caption);
    for (int column = 0; column < static_cast<int>(row.subItems.size()); ++column)
        Text::Show(item, column + 1, row.subItems[static_cast<size_t>(column)]);
    item->setIcon(0, ImageList1::Icon(row.picture));
    return item;
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

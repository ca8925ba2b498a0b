// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/common/list_views.h"

#include "forms/common/handlers.h"
#include "forms/common/image_list.h"
#include "forms/common/text.h"
#include "library/catalogue_lists.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

namespace ListViews
{

namespace
{

constexpr int PlaceRole = Qt::UserRole + 1;

// Qt's sort asks the rows for their order; each row answers by the place SortRows gave it.
class Row : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem& other) const override
    {
        return data(0, PlaceRole).toInt() < other.data(0, PlaceRole).toInt();
    }
};

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Turns a list's key events into key-up notifications.
class KeyUpFilter : public QObject
{
public:
    KeyUpFilter(QTreeWidget* list, KeyHandler handler)
        : QObject(list), m_handler(std::move(handler))
    {
        list->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* press = static_cast<QKeyEvent*>(event);
            if (!press->isAutoRepeat())
                m_pressed.insert(press->key());
            // The list would pass Enter on to the window, which presses its default button.
            return isEnter(press->key());
        }
        case QEvent::KeyRelease: {
            const auto* release = static_cast<QKeyEvent*>(event);
            if (release->isAutoRepeat() || m_pressed.erase(release->key()) == 0)
                return false;
            const int key = release->key();
            Handlers::Run([&] { m_handler(key); });
            return true;
        }
        case QEvent::FocusOut:
            m_pressed.clear();
            return false;
        default:
            return false;
        }
    }

private:
    KeyHandler m_handler;
    std::set<int> m_pressed;
};

// Shows a cell's whole text as its tooltip when the cell shows it cut: shortened with "…" in a
// narrow column, or running past the list's edge.
class CutTextToolTips : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (event->type() != QEvent::ToolTip)
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        if (isCut(cell, view)) {
            QToolTip::showText(event->globalPos(), Text::PlainToolTip(cell.text), view->viewport(),
                               cell.rect);
        } else {
            QToolTip::hideText();
        }
        return true;
    }

private:
    static bool isCut(const QStyleOptionViewItem& cell, const QAbstractItemView* view)
    {
        // The style draws the text in its text rectangle less a margin on either side.
        const QStyle* style = view->style();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        const QRect room = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, view)
                               .adjusted(margin, 0, -margin, 0);
        const int width = cell.fontMetrics.horizontalAdvance(cell.text);
        return width > room.width() || room.left() < 0 ||
               room.left() + width > view->viewport()->width();
    }
};

// The last column (the description) takes what the others leave of the list's width, and never
// less than its first width; the first column (the name) grows to show whole names while the list
// has room beyond the first widths. The user may still widen any column by dragging its edge.
class LastColumnFollower : public QObject
{
public:
    LastColumnFollower(QTreeWidget* list, std::vector<int> firstWidths)
        : QObject(list), m_list(list), m_firstWidths(std::move(firstWidths))
    {
        list->viewport()->installEventFilter(this);
        connect(list->header(), &QHeaderView::sectionResized, this, [this](int column) {
            if (column != lastColumn())
                follow();
        });
        // A list refilled while in sight has names of other lengths; one out of sight is
        // measured when it comes into sight, so that a start measures no hidden list.
        connect(list->model(), &QAbstractItemModel::rowsInserted, this, [this] {
            if (m_list->isVisible())
                fitName();
        });
    }

    const std::vector<int>& firstWidths() const { return m_firstWidths; }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show) {
            fitName();
            follow();
        }
        return false;
    }

private:
    int lastColumn() const { return m_list->columnCount() - 1; }

    // Between its first width and what the list can spare for it: the room beyond the first
    // width of the description and the widths of the columns between.
    void fitName()
    {
        const int last = lastColumn();
        if (last < 1 || m_firstWidths.size() != static_cast<std::size_t>(last + 1))
            return;
        int room = m_list->viewport()->width() - m_firstWidths.back();
        for (int column = 1; column < last; ++column)
            room -= m_list->header()->sectionSize(column);
        const int first = m_firstWidths.front();
        const QAbstractItemView* view = m_list; // where the width of the names is public
        const int name = std::clamp(view->sizeHintForColumn(0), first, std::max(first, room));
        if (name != m_list->header()->sectionSize(0))
            m_list->header()->resizeSection(0, name);
    }

    void follow()
    {
        const int last = lastColumn();
        int others = 0;
        for (int column = 0; column < last; ++column)
            others += m_list->header()->sectionSize(column);
        m_list->header()->resizeSection(
            last, std::max(m_firstWidths.back(), m_list->viewport()->width() - others));
    }

    QTreeWidget* m_list;
    const std::vector<int> m_firstWidths;
};

} // namespace

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

void ConnectDblClick(QTreeWidget* list, QObject* context, ListHandler handler)
{
    QObject::connect(list, &QAbstractItemView::doubleClicked, context,
                     [handler = std::move(handler)] {
                         // The view reports a double-click of any button.
                         if (QGuiApplication::mouseButtons() & Qt::LeftButton)
                             Handlers::Run(handler);
                     });
}

void ConnectKeyUp(QTreeWidget* list, KeyHandler handler)
{
    // The filter is the list's child, so it goes with the list.
    new KeyUpFilter(list, std::move(handler));
}

void ConnectColumnClick(QTreeWidget* list, QObject* context, ColumnHandler handler)
{
    list->header()->setSectionsClickable(true);
    QObject::connect(
        list->header(), &QHeaderView::sectionClicked, context,
        [handler = std::move(handler)](int column) { Handlers::Run([&] { handler(column); }); });
}

QTreeWidget* CreateListLike(const QTreeWidget* templateList, QWidget* page)
{
    auto* list = new QTreeWidget(page);
    QStringList labels;
    std::vector<int> widths;
    for (int column = 0; column < templateList->columnCount(); ++column) {
        labels << templateList->headerItem()->text(column);
        widths.push_back(templateList->header()->sectionSize(column));
    }
    // The first widths, not the widths the name and the description have grown to.
    for (const QObject* child : templateList->children()) {
        if (const auto* follower = dynamic_cast<const LastColumnFollower*>(child))
            widths = follower->firstWidths();
    }
    list->setHeaderLabels(labels);
    SetUpReportList(list, widths);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list);
    return list;
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
    // The user may widen a column by dragging its edge; the given widths are the first ones.
    list->header()->setSectionResizeMode(QHeaderView::Interactive);
    list->setItemDelegate(new CutTextToolTips(list));
    for (int column = 0; column < static_cast<int>(columnWidths.size()); ++column)
        list->header()->resizeSection(column, columnWidths[static_cast<size_t>(column)]);
    if (!columnWidths.empty())
        new LastColumnFollower(list, columnWidths);
}

namespace
{

// A row not yet in any list, so that filling it in notifies nobody.
QTreeWidgetItem* newItem(const CatalogueRow& row)
{
    auto* item = new Row;
    Text::Show(item, 0, row.caption);
    for (int column = 0; column < static_cast<int>(row.subItems.size()); ++column)
        Text::Show(item, column + 1, row.subItems[static_cast<size_t>(column)]);
    item->setIcon(0, ImageList1::Icon(row.picture));
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

QTreeWidgetItem* HighlightedRow(const QTreeWidget* list)
{
    const auto rows = list->selectedItems();
    return rows.isEmpty() ? nullptr : rows.first();
}

QTreeWidgetItem* SelectedRow(const QTreeWidget* list)
{
    const auto rows = list->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : list->itemFromIndex(rows.first());
}

void SortRows(QTreeWidget* list, RowCompare compare)
{
    std::vector<QTreeWidgetItem*> rows;
    for (int index = 0; index < list->topLevelItemCount(); ++index)
        rows.push_back(list->topLevelItem(index));
    std::stable_sort(rows.begin(), rows.end(),
                     [compare](const auto* a, const auto* b) { return compare(a, b) < 0; });
    for (int place = 0; place < static_cast<int>(rows.size()); ++place)
        rows[static_cast<size_t>(place)]->setData(0, PlaceRole, place);
    // Qt's own sort moves the rows with their highlight and tells no one of a selection change.
    list->sortItems(0, Qt::AscendingOrder);
}

void Filter(QTreeWidget* list, const QString& text)
{
    const int columns = list->columnCount();
    for (int index = 0; index < list->topLevelItemCount(); ++index) {
        QTreeWidgetItem* row = list->topLevelItem(index);
        bool shown = text.isEmpty();
        for (int column = 0; column < columns && !shown; ++column)
            shown = row->text(column).contains(text, Qt::CaseInsensitive);
        if (row->isHidden() == shown)
            row->setHidden(!shown);
    }
}

void Clear(QTreeWidget* list)
{
    const QSignalBlocker blocker(list->selectionModel());
    list->clear();
}

void Fill(QTreeWidget* list, const std::vector<CatalogueRow>& rows, const QString& text)
{
    Clear(list);
    const auto items = AddRows(list, rows);
    Filter(list, text);
    for (std::size_t index = 0; index < rows.size(); ++index) {
        if (rows[index].selected)
            SelectRow(list, items[static_cast<qsizetype>(index)]);
    }
}

} // namespace ListViews

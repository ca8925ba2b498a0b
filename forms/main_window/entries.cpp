// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/main_window/entries.h"

#include "forms/common/list_views.h"
#include "forms/common/message_boxes.h"
#include "forms/common/text.h"
#include "forms/editors/boot.h"
#include "forms/editors/flash.h"
#include "forms/editors/tia.h"

namespace Entries
{

namespace
{

QString removalQuestion(EntryKind kind)
{
    switch (kind) {
    case EntryKind::Tia:
        return QStringLiteral("Delete selected TIA file from list?");
    case EntryKind::Boot:
        return QStringLiteral("Delete selected Boot file from list?");
    case EntryKind::Flash:
        break;
    }
    return QStringLiteral("Delete selected Flash file from list?");
}

} // namespace

void Edit(EntryKind kind, const std::string& group, const std::string& name)
{
    switch (kind) {
    case EntryKind::Tia:
        o_fTia->EditTiaEntry(name);
        break;
    case EntryKind::Boot:
        o_fBoot->EditBootEntry(name);
        break;
    case EntryKind::Flash:
        o_fFlash->EditFlashEntry(group, name);
        break;
    }
}

void Open(EntryKind kind, const QTreeWidget* list, const std::string& group)
{
    if (const QTreeWidgetItem* row = ListViews::HighlightedRow(list))
        Edit(kind, group, Text::Bytes(row, 0));
}

bool KeyUp(EntryKind kind, const QTreeWidget* list, const std::string& group, int key)
{
    const QTreeWidgetItem* row = ListViews::HighlightedRow(list);
    if (!row)
        return false;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        Open(kind, list, group);
    if (key != Qt::Key_Delete || AskConfirmation(removalQuestion(kind)) != QMessageBox::Yes)
        return false;
    CatalogueEntries::Erase(kind, group, Text::Bytes(row, 0));
    return true;
}

} // namespace Entries

// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/main_window/tools_list.h"

#include "forms/check/check_library.h"
#include "forms/common/handlers.h"
#include "forms/common/image_list.h"
#include "forms/common/list_views.h"
#include "forms/editors/boot.h"
#include "forms/editors/flash.h"
#include "forms/editors/phonegroup.h"
#include "forms/editors/tia.h"
#include "forms/main_window/entries.h"
#include "forms/run/run_history.h"
#include "library/catalogue_lists.h"

namespace ToolsList
{

namespace
{

enum Row { AddTia, AddBoot, AddPhoneGroup, AddFlash, MoreTools, CheckLibrary, ShowRunHistory };

void showLibraryCheck(QWidget* window, const ListChanged& listChanged)
{
    CheckLibraryWindow check(window);
    QObject::connect(
        &check, &CheckLibraryWindow::openEditor, window,
        Handlers::Guard([](EntryKind kind, const std::string& group, const std::string& name) {
            // A new entry: the editor finds no section of that name and fills in the name.
            Entries::Edit(kind, group, name);
        }));
    QObject::connect(&check, &CheckLibraryWindow::entryRemoved, window,
                     Handlers::Guard([&listChanged](EntryKind kind, const std::string& group) {
                         listChanged(kind == EntryKind::Tia    ? EditedList::Tia
                                     : kind == EntryKind::Boot ? EditedList::Boot
                                                               : EditedList::Flash,
                                     group);
                     }));
    check.exec();
}

} // namespace

void AddRows(QTreeWidget* list)
{
    static const char* const rows[][2] = {
        {"TIA", "Add new TIA file"},
        {"Boot", "Add new Boot file"},
        {"Phone Group", "Add new Phone group"},
        {"Flash", "Add new flash file to selected phone group"},
        {"Tools", "Add new tool tho this list"},
        {"Check library", "Check every library file against its checksum and the catalogues"},
        {"Run history", "Every run of the flasher, with its files and result"},
    };
    for (const auto& row : rows)
        ListViews::AddRow(list, CatalogueRow{row[0], {row[1]}, ImageList1::ToolsPicture, false});
}

void Open(int row, QWidget* window, const std::optional<std::string>& groupInFront,
          RunHistory& history, const ListChanged& listChanged)
{
    // The dialogs are shown as they stand: what their fields hold is their own business.
    switch (row) {
    case AddTia:
        o_fTia->exec();
        break;
    case AddBoot:
        o_fBoot->exec();
        break;
    case AddPhoneGroup:
        o_fPhoneGroup->ShowPhoneGroupDialog(groupInFront);
        break;
    case AddFlash:
        // The flash file dialog takes its group from the page in front.
        if (groupInFront)
            o_fFlash->ShowForGroup(*groupInFront);
        break;
    case CheckLibrary:
        showLibraryCheck(window, listChanged);
        break;
    case ShowRunHistory:
        history.Open();
        break;
    default:
        break;
    }
}

} // namespace ToolsList

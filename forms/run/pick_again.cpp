// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/run/pick_again.h"
#include "ui_main.h"

#include "forms/common/list_views.h"
#include "forms/common/text.h"
#include "forms/main_window/main.h"
#include "library/library_name.h"
#include "library/paths.h"
#include "library/recorded_files.h"

namespace PickAgain
{

namespace
{

// The row of the list whose library file is the path (the list's folder and the row's name):
// the journal keeps the spelling the folder holds, the catalogue its own.
QTreeWidgetItem* rowOf(const QTreeWidget* list, std::string_view folder, const std::string& path)
{
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = list->topLevelItem(row);
        if (LibraryName::Same(Paths::EntryPath(folder, Text::Bytes(item, 0)), path))
            return item;
    }
    return nullptr;
}

// Selects the row anew, so that its choice is made even when it was the list's selected row
// while another list's choice was made after it.
void pickRow(QTreeWidget* list, QTreeWidgetItem* row)
{
    list->clearSelection();
    ListViews::SelectRow(list, row);
}

QToolButton* chipButton(const To_fMain& window, const std::string& loader)
{
    if (LibraryName::Same(loader, Paths::CommonAtmel29F800))
        return window.ui()->ToolButton1;
    if (LibraryName::Same(loader, Paths::CommonIntel28F008))
        return window.ui()->ToolButton2;
    if (LibraryName::Same(loader, Paths::CommonIntel28F160))
        return window.ui()->ToolButton3;
    return nullptr;
}

// The group page's list, made and read now when the page was never in front.
QTreeWidget* flashList(To_fMain& window, int page)
{
    return page < 0 ? nullptr : window.FlashList(page);
}

// Whether the library lists the run's file: a chip or a row for the loader, a row for the boot
// file (or the common one, which comes with a chip) and the image.
bool listed(To_fMain& window, const RunJournal::Record& run, const RunJournal::File& file)
{
    const auto* ui = window.ui();
    if (file.role == QLatin1String("loader"))
        return chipButton(window, file.logicalPath) ||
               rowOf(ui->ListView1, Paths::TiaFolder, file.logicalPath);
    if (file.role == QLatin1String("boot")) // the common one comes with the chips
        return LibraryName::Same(file.logicalPath, Paths::CommonBoot) ||
               rowOf(ui->ListView3, Paths::BootFolder, file.logicalPath);
    const QTreeWidget* list = flashList(window, window.GroupPage(run.group));
    return list && rowOf(list, Paths::GroupFolder(run.group), file.logicalPath);
}

} // namespace

QStringList Problems(To_fMain& window, const RunJournal::Record& run)
{
    QStringList problems;
    if (window.GroupPage(run.group) < 0) {
        problems << QStringLiteral("The phone group %1 is no longer in the library.")
                        .arg(fromBytes(run.group));
    } else if (const auto config = RecordedFiles::CompareConfig(run.group, run.config);
               config != RecordedFiles::ConfigLine::Same) {
        problems << (config == RecordedFiles::ConfigLine::Changed
                         ? QStringLiteral("The Config line of the phone group %1 has changed "
                                          "since that run.")
                               .arg(fromBytes(run.group))
                         : QStringLiteral("The phone catalogue %1 cannot be read.")
                               .arg(fromBytes(std::string(Paths::PhoneCatalogue))));
    }
    for (const QString& role :
         {QStringLiteral("loader"), QStringLiteral("boot"), QStringLiteral("image")}) {
        const RunJournal::File* file = run.file(role);
        if (!file) {
            problems << QStringLiteral("The run names no %1 file.").arg(role);
            continue;
        }
        const QString what =
            QStringLiteral("The %1 %2")
                .arg(role == QLatin1String("boot") ? QStringLiteral("boot file") : role,
                     fromBytes(file->logicalPath));
        const auto digest = RecordedFiles::LibraryFileDigest(file->logicalPath);
        if (!digest || !listed(window, run, *file))
            problems << what + QStringLiteral(" is no longer in the library.");
        else if (QString::fromStdString(*digest) != file->sha256)
            problems << what + QStringLiteral(" has changed since that run.");
    }
    return problems;
}

void Pick(To_fMain& window, const RunJournal::Record& run)
{
    auto* ui = window.ui();
    const std::string& loader = run.file("loader")->logicalPath;
    const std::string& boot = run.file("boot")->logicalPath;
    // A chip sets the common boot file too; a boot row after it sets another.
    QToolButton* chip = chipButton(window, loader);
    if (!chip && LibraryName::Same(boot, Paths::CommonBoot))
        ui->ToolButton2->click(); // the common boot file, then the run's TIA file
    if (chip) {
        chip->click();
        chip->setChecked(true);
        window.ShowLibraryPage(LibraryPage::Common);
    } else if (QTreeWidgetItem* row = rowOf(ui->ListView1, Paths::TiaFolder, loader)) {
        pickRow(ui->ListView1, row);
    }
    if (QTreeWidgetItem* row = rowOf(ui->ListView3, Paths::BootFolder, boot))
        pickRow(ui->ListView3, row);
    const int page = window.GroupPage(run.group);
    ui->PageControl2->setCurrentIndex(page);
    QTreeWidget* list = flashList(window, page);
    if (QTreeWidgetItem* row =
            rowOf(list, Paths::GroupFolder(run.group), run.file("image")->logicalPath))
        pickRow(list, row);
}

} // namespace PickAgain

// SPDX-License-Identifier: GPL-2.0-or-later
// Quorvel's start as the program does it, ending as soon as the main window has been shown.
// Usage: startup_probe [--bare | --bare-text | --from-memory] DRIVE_C
//   --bare         a plain Qt Widgets window of the same size, started the same way: the reference
//   --bare-text    the same with one line of text in it: what showing any text costs (fonts)
//   --from-memory  the same seven windows with the main window's lists and group tabs built from
//                  rows already in memory (those of make-libraries.sh's limits library), with
//                  DRIVE_C empty: what the widgets cost without our catalogue reading
// Every mode ends the process once the events of the first showing (layout, first paint) have
// been handled, without tearing anything down: what is timed is the start, not the exit.

#include "forms/application.h"
#include "forms/common/list_views.h"
#include "forms/main_window/main.h"
#include "forms/windows.h"
#include "library/catalogue_lists.h"
#include "library/drive.h"
#include "ui_main.h"

#include <QHeaderView>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <memory>

namespace
{

std::vector<CatalogueRow> rows(int count, const std::string& name, const std::string& suffix,
                               bool withType)
{
    std::vector<CatalogueRow> made;
    for (int i = 0; i < count; ++i) {
        const std::string number = std::to_string(i);
        CatalogueRow row{name + number + suffix, {}, i % 3, i == count - 1 && withType};
        if (withType)
            row.subItems.push_back("28F" + number);
        row.subItems.push_back("Number " + number + " of " + name);
        made.push_back(std::move(row));
    }
    return made;
}

void fill(QTreeWidget* list, const std::vector<CatalogueRow>& rows)
{
    const auto items = ListViews::AddRows(list, rows);
    for (std::size_t index = 0; index < rows.size(); ++index) {
        if (rows[index].selected)
            ListViews::SelectRow(list, items[static_cast<qsizetype>(index)]);
    }
}

// The main window's lists and group pages as the limits library fills them, made the way the
// main window makes them.
void buildFromMemory(To_fMain& window)
{
    auto* ui = window.ui();
    fill(ui->ListView1, rows(800, "loader", ".tia", true));
    fill(ui->ListView3, rows(800, "boot", ".bin", false));
    // A group's page gets its flash list when it first comes to the front, after the start.
    for (int group = 1; group <= 60; ++group)
        ui->PageControl2->addTab(new QWidget, QStringLiteral("group%1").arg(group));
}

} // namespace

int main(int argc, char* argv[])
{
    Application application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    Drive::SetRoot(arguments.last().toStdString());

    std::unique_ptr<Windows> windows;
    QWidget plain;
    if (arguments.contains(QStringLiteral("--bare")) ||
        arguments.contains(QStringLiteral("--bare-text"))) {
        plain.resize(599, 349);
        if (arguments.contains(QStringLiteral("--bare-text")))
            new QLabel(QStringLiteral("Lunzos Nokia Quorvel v1.0"), &plain);
        plain.show();
    } else {
        windows = std::make_unique<Windows>();
        if (arguments.contains(QStringLiteral("--from-memory")))
            buildFromMemory(*o_fMain);
        o_fMain->show();
    }
    QTimer::singleShot(0, &application, [] { std::_Exit(0); });
    return application.exec();
}

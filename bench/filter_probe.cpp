// SPDX-License-Identifier: GPL-2.0-or-later
// A keystroke in the main window's find field over the TIA list of a library at its limits (800
// rows), from the key to the window painted again, against one load of that list.
// Usage: filter_probe DRIVE_C ROUNDS. Prints the two medians in milliseconds: keystroke, load.

#include "forms/application.h"
#include "forms/main_window/main.h"
#include "forms/windows.h"
#include "library/drive.h"
#include "timing.h"
#include "ui_main.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

void press(QWidget* field, Qt::Key key, const QString& text)
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(field, &down);
    QApplication::sendEvent(field, &up);
    // The posted layout and repaint of the list, as the event loop does them next.
    QApplication::processEvents();
}

} // namespace

int main(int argc, char* argv[])
{
    Application application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 3)
        return 2;
    Drive::SetRoot(arguments.at(1).toStdString());
    const int rounds = arguments.at(2).toInt();

    Windows windows;
    o_fMain->show();
    auto* ui = o_fMain->ui();
    ui->PageControl1->setCurrentWidget(ui->TabSheet1);
    QApplication::processEvents();

    QElapsedTimer clock;
    std::vector<double> loads, keys;
    const QString typed = QStringLiteral("loader79");
    for (int round = 0; round < rounds; ++round) {
        clock.start();
        o_fMain->LoadTiaList();
        QApplication::processEvents();
        loads.push_back(clock.nsecsElapsed() / 1e6);
        for (const QChar letter : typed) {
            clock.start();
            press(ui->FindEdit, Qt::Key_unknown, QString(letter));
            keys.push_back(clock.nsecsElapsed() / 1e6);
        }
        for (int i = 0; i < typed.size(); ++i) {
            clock.start();
            press(ui->FindEdit, Qt::Key_Backspace, {});
            keys.push_back(clock.nsecsElapsed() / 1e6);
        }
    }
    std::printf("%.3f %.3f\n", Bench::median(keys), Bench::median(loads));
    return 0;
}

// SPDX-License-Identifier: GPL-2.0-or-later
// From the double-click on a Tools row to the first paint of the window it opens, in the
// program's own windows. Usage: history_probe --tia|--history DRIVE_C DATA_FOLDER
// (prints milliseconds; the Run history window reads DATA_FOLDER/runs.jsonl)

#include "forms/application.h"
#include "forms/main_window/main.h"
#include "forms/windows.h"
#include "library/data_folder.h"
#include "library/drive.h"
#include "ui_main.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace
{

// Ends the process at the first paint of a window other than the main window.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(const QElapsedTimer& clock) : m_clock(clock) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget && widget->window() != o_fMain) {
            std::printf("%.3f\n", double(m_clock.nsecsElapsed()) / 1e6);
            std::fflush(stdout);
            std::_Exit(0);
        }
        return false;
    }

private:
    const QElapsedTimer& m_clock;
};

} // namespace

int main(int argc, char* argv[])
{
    Application application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 4)
        return 2;
    Drive::SetRoot(arguments[2].toStdString());
    DataFolder::Set(arguments[3].toStdString());
    const int row = arguments[1] == QLatin1String("--history") ? 5 : 0;
    Windows windows;
    o_fMain->show();
    o_fMain->ShowLibraryPage(LibraryPage::Tools);
    QElapsedTimer clock;
    FirstPaint firstPaint(clock);
    // Once the main window is up: Enter on the row, which opens it as a double-click does.
    QTimer::singleShot(200, [&] {
        QTreeWidget* tools = o_fMain->ui()->ListView4;
        tools->setCurrentItem(tools->topLevelItem(row));
        application.installEventFilter(&firstPaint);
        clock.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, {}),
            release(QEvent::KeyRelease, Qt::Key_Return, {});
        QCoreApplication::sendEvent(tools, &press);
        QCoreApplication::sendEvent(tools, &release);
    });
    return application.exec();
}

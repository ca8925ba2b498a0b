// Quorvel's start as the program does it, ending as soon as the main window has been shown;
// with --bare, a plain Qt Widgets window of the same size started the same way instead.
// Usage: startup_probe [--bare] DRIVE_C

#include "forms/application.h"
#include "forms/main.h"
#include "forms/windows.h"
#include "library/drive.h"

#include <QTimer>
#include <QWidget>
#include <memory>

int main(int argc, char* argv[])
{
    Application application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const bool bare = arguments.contains(QStringLiteral("--bare"));
    Drive::SetRoot(arguments.last().toStdString());

    std::unique_ptr<Windows> windows;
    QWidget plain;
    if (bare) {
        plain.resize(599, 349);
        plain.show();
    } else {
        windows = std::make_unique<Windows>();
        o_fMain->show();
    }
    // Quits once the events of the first showing (layout, first paint) have been handled.
    QTimer::singleShot(0, &application, &QCoreApplication::quit);
    return application.exec();
}

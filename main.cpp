// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/main.h"
#include "forms/application.h"
#include "forms/file_path.h"
#include "forms/first_run.h"
#include "forms/handlers.h"
#include "forms/windows.h"
#include "library/drive.h"
#include "library/library_check.h"
#include "startup/options.h"

#include <QFile>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>

namespace
{

// Drive C: the real one on Windows, elsewhere a folder in the user's data location.
std::filesystem::path defaultDriveRoot()
{
#ifdef _WIN32
    return "c:\\";
#else
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return FilePath(data + QStringLiteral("/Quorvel/drive_c"));
#endif
}

QStringList commandLine(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    const StartupOptions::Outcome options = StartupOptions::Read(
        commandLine(argc, argv), qEnvironmentVariable(StartupOptions::DriveVariable),
        defaultDriveRoot());
    if (!options.run) {
        std::fputs(options.text.toLocal8Bit().constData(), options.isError ? stderr : stdout);
        return options.exitCode;
    }

    if (options.checkLibrary) {
        Drive::SetRoot(options.driveRoot);
        return LibraryCheck::PrintReport();
    }

    // Ties the windows to the desktop entry (its name without ".desktop"), for their icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUORVEL_APP_ID));
    Application application(argc, argv);
    Drive::SetRoot(options.driveRoot);
    Windows windows;
    o_fMain->show();
    // Once the window is up, so that the notice stands over it.
    QTimer::singleShot(0, o_fMain, Handlers::Guard(&FirstRun::ShowNoticeIfNeeded));
    application.exec();
    return 0;
}

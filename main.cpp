// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/main_window/main.h"
#include "forms/application.h"
#include "forms/common/file_path.h"
#include "forms/common/handlers.h"
#include "forms/common/text.h"
#include "forms/main_window/first_run.h"
#include "forms/windows.h"
#include "journal/history_table.h"
#include "library/data_folder.h"
#include "library/drive.h"
#include "library/library_check.h"
#include "startup/options.h"

#include <QFile>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

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

// The program's own data (the journal of runs, DOSBox's batch file): beside drive C's folder
// elsewhere, %LOCALAPPDATA%\Quorvel on Windows.
std::filesystem::path dataFolder()
{
    return FilePath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                    QStringLiteral("/Quorvel"));
}

// The arguments as typed: on Windows from the wide command line, as argv holds them in the ANSI
// code page, which cannot hold every folder name.
QStringList commandLine([[maybe_unused]] int argc, [[maybe_unused]] char* argv[])
{
    QStringList arguments;
#ifdef _WIN32
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            arguments.append(QString::fromWCharArray(wide[i]));
        LocalFree(wide);
        return arguments;
    }
#endif
    for (int i = 0; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    return arguments;
}

#ifdef _WIN32
// A program of the window subsystem has no console of its own: what --history, --help and
// --check-library print goes to the console it was started from, unless it is redirected.
void useParentConsole()
{
    if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_UNKNOWN &&
        AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
    }
}
#endif

// --history: the journal's last runs as a table, what cannot be read of it told on stderr; only
// as much of its end is read as the runs asked for need.
int printHistory(const StartupOptions::Outcome& options)
{
    const auto file = RunJournal::DefaultFile();
    const auto journal = RunJournal::Read(file, std::size_t(options.historyRuns));
    if (!journal.problem.isEmpty() && journal.runs.empty()) {
        std::fprintf(stderr, "The journal %s cannot be read: %s\n",
                     FilePathText(file).toLocal8Bit().constData(),
                     journal.problem.toLocal8Bit().constData());
        return 2;
    }
    if (!journal.problem.isEmpty())
        std::fprintf(stderr, "The journal %s could not be read to its start: %s\n",
                     FilePathText(file).toLocal8Bit().constData(),
                     journal.problem.toLocal8Bit().constData());
    if (journal.runs.empty()) {
        std::fprintf(stderr, "No run is recorded in %s yet.\n",
                     FilePathText(file).toLocal8Bit().constData());
    }
    if (journal.unreadableLines > 0)
        std::fprintf(stderr, "%d line(s) of the journal cannot be read and are left out.\n",
                     journal.unreadableLines);
    using HistoryTable::Form;
    const Form form = options.historyTsv    ? Form::TabSeparated
                      : options.historyLong ? Form::LongTable
                                            : Form::Table;
    const QByteArray table =
        HistoryTable::Text(journal.runs, options.historyRuns, form, fromBytes).toLocal8Bit();
    std::fwrite(table.constData(), 1, std::size_t(table.size()), stdout);
    return journal.problem.isEmpty() ? 0 : 2;
}

} // namespace

int main(int argc, char* argv[])
{
#ifdef _WIN32
    useParentConsole();
#endif
    const StartupOptions::Outcome options = StartupOptions::Read(
        commandLine(argc, argv), qEnvironmentVariable(StartupOptions::DriveVariable),
        defaultDriveRoot());
    DataFolder::Set(dataFolder());
    if (options.historyRuns > 0)
        return printHistory(options);
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

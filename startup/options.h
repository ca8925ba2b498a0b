// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The program's command line: the folder that stands for drive C, --help and --version. It is
// read before the application object exists, so that help, the version and a mistake need no
// display and open no window.

#include <QString>
#include <QStringList>

#include <filesystem>

namespace StartupOptions
{

// The environment variable that names the drive C folder when the option does not.
inline constexpr char DriveVariable[] = "QUORVEL_DRIVE_C";

// Either the program runs on driveRoot, or it prints text and ends with exitCode, or it prints
// the journal's last historyRuns runs.
struct Outcome {
    bool run = false;
    std::filesystem::path driveRoot;
    QString text;
    bool isError = false;
    int exitCode = 0;
    int historyRuns = 0;
    bool historyTsv = false;
    bool historyLong = false;  // every column, as the CSV export has them
    bool checkLibrary = false; // check the library on driveRoot and print it, open no window
};

// How many runs --history prints when it is given no number.
inline constexpr int DefaultHistoryRuns = 10;

// Exit code for a command line that cannot be used: an unknown option, a missing value or a
// drive C folder that does not exist.
inline constexpr int UsageError = 2;

// arguments as the program got them (the first is the program); driveVariable is the value of
// DriveVariable (empty when unset); defaultRoot is the drive C used when neither names one.
// The option wins over the variable; a named folder must exist and is made absolute.
Outcome Read(const QStringList& arguments, const QString& driveVariable,
             const std::filesystem::path& defaultRoot);

} // namespace StartupOptions

// SPDX-License-Identifier: GPL-2.0-or-later
#include "options.h"

#include "forms/common/file_path.h"

#include <QCommandLineParser>
#include <QFile>

#include <system_error>

namespace fs = std::filesystem;

namespace StartupOptions
{

namespace
{

Outcome printAndEnd(const QString& text)
{
    Outcome outcome;
    outcome.text = text;
    return outcome;
}

Outcome usageError(const QString& program, const QString& message)
{
    Outcome outcome;
    outcome.text =
        QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n").arg(program, message);
    outcome.isError = true;
    outcome.exitCode = UsageError;
    return outcome;
}

} // namespace

Outcome Read(const QStringList& arguments, const QString& driveVariable,
             const fs::path& defaultRoot)
{
    const QString program = arguments.isEmpty() ? QStringLiteral("quorvel") : arguments.first();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prepares and starts firmware flashing runs for older mobile phones."));
    // Our own help option: the standard one also offers Qt's options, which are not read here.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption drive(
        QStringLiteral("drive-c"),
        QStringLiteral("Use <folder> as drive C. Without this option: the folder in %1 when it is "
                       "set, else %2.")
            .arg(QLatin1String(DriveVariable), FilePathText(defaultRoot)),
        QStringLiteral("folder"));
    const QCommandLineOption history(
        QStringLiteral("history"),
        QStringLiteral("Print the last N runs of the journal (default %1) and exit.")
            .arg(DefaultHistoryRuns));
    const QCommandLineOption historyTsv(QStringLiteral("history-tsv"),
                                        QStringLiteral("The same, separated by tabs, with "
                                                       "every column of the CSV export."));
    const QCommandLineOption historyLong(
        QStringLiteral("long"),
        QStringLiteral("With --history: every column (exit code, checksums, ...)."));
    const QCommandLineOption checkLibrary(
        QStringLiteral("check-library"),
        QStringLiteral("Check every library file against checksums.sha256 and the catalogues, "
                       "print the findings as sha256sum -c does and exit: 0 when nothing is "
                       "changed, missing or unreadable, 1 otherwise."));
    parser.addOptions({help, version, drive, history, historyTsv, historyLong, checkLibrary});
    parser.addPositionalArgument(QStringLiteral("N"), QStringLiteral("With --history."),
                                 QStringLiteral("[N]"));
    // "-platform" is reported as one unknown option, not as eight unknown letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);

    if (!parser.parse(arguments))
        return usageError(program, parser.errorText());
    if (parser.isSet(help)) {
        // Without an application object the parser cannot know the program's name.
        return printAndEnd(parser.helpText().replace(QStringLiteral("<executable_name>"), program));
    }
    if (parser.isSet(version))
        return printAndEnd(QStringLiteral("Quorvel " QUORVEL_VERSION "\n"));

    if (parser.isSet(history) || parser.isSet(historyTsv)) {
        const QStringList numbers = parser.positionalArguments();
        bool isNumber = numbers.isEmpty();
        const int runs = isNumber ? DefaultHistoryRuns : numbers.first().toInt(&isNumber);
        if (numbers.size() > 1 || !isNumber || runs < 1) {
            return usageError(program, QStringLiteral("--history takes one number of runs, 1 or "
                                                      "more."));
        }
        Outcome outcome = printAndEnd({});
        outcome.historyRuns = runs;
        outcome.historyTsv = parser.isSet(historyTsv);
        outcome.historyLong = parser.isSet(historyLong);
        return outcome;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return usageError(
            program,
            QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first()));
    }
    Outcome outcome;
    outcome.run = true;
    outcome.checkLibrary = parser.isSet(checkLibrary);
    outcome.driveRoot = defaultRoot;
    QString named;
    QString source;
    if (parser.isSet(drive)) {
        named = parser.value(drive);
        if (named.isEmpty())
            return usageError(program, QStringLiteral("The option --drive-c names no folder."));
    } else if (!driveVariable.isEmpty()) {
        named = driveVariable;
        source = QStringLiteral(" (named by %1)").arg(QLatin1String(DriveVariable));
    } else {
        return outcome;
    }

    // Absolute, because the flasher's own tools (DOSBox) get the folder too.
    std::error_code error;
    const fs::path root = fs::absolute(FilePath(named), error).lexically_normal();
    if (error || !fs::is_directory(root, error)) {
        return usageError(
            program,
            QStringLiteral("The drive C folder '%1'%2 does not exist.").arg(named, source));
    }
    outcome.driveRoot = root;
    return outcome;
}

} // namespace StartupOptions

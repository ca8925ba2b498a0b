// SPDX-License-Identifier: GPL-2.0-or-later
#include "options.h"

#include "forms/file_path.h"

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
    const QCommandLineOption checkLibrary(
        QStringLiteral("check-library"),
        QStringLiteral("Check every library file against checksums.sha256 and the catalogues, "
                       "print the findings as sha256sum -c does and exit: 0 when nothing is "
                       "changed or missing, 1 otherwise."));
    parser.addOptions({help, version, drive, checkLibrary});
    // "-platform" is reported as one unknown option, not as eight unknown letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);

    if (!parser.parse(arguments))
        return usageError(program, parser.errorText());
    if (!parser.positionalArguments().isEmpty()) {
        return usageError(
            program,
            QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first()));
    }
    if (parser.isSet(help)) {
        // Without an application object the parser cannot know the program's name.
        return printAndEnd(parser.helpText().replace(QStringLiteral("<executable_name>"), program));
    }
    if (parser.isSet(version))
        return printAndEnd(QStringLiteral("Quorvel " QUORVEL_VERSION "\n"));

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

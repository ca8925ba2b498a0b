// The command line read before any window: which drive C a run gets, and what ends the program
// before it starts (help, version, mistakes with exit code 2).

#include "startup/options.h"
#include "temporary_drive.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace fs = std::filesystem;

namespace
{

const fs::path DefaultRoot = "/default/drive_c";

StartupOptions::Outcome read(QStringList arguments, const QString& variable = {})
{
    arguments.prepend(QStringLiteral("quorvel"));
    return StartupOptions::Read(arguments, variable, DefaultRoot);
}

QString text(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

} // namespace

TEST(StartupOptionsTest, DriveCComesFromTheOptionThenTheVariableThenTheDefault)
{
    const TemporaryDrive named;
    const TemporaryDrive other;
    const QString relative = text(fs::relative(named.root(), fs::current_path()));
    const struct {
        QStringList arguments;
        QString variable;
        fs::path expected;
    } cases[] = {
        {{}, {}, DefaultRoot},
        {{}, text(named.root()), named.root()},
        {{QStringLiteral("--drive-c"), text(named.root())}, text(other.root()), named.root()},
        {{QStringLiteral("--drive-c=") + text(named.root())}, {}, named.root()},
        {{QStringLiteral("--drive-c"), relative}, {}, named.root()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString() + " variable " + c.variable.toStdString());
        const auto outcome = read(c.arguments, c.variable);
        ASSERT_TRUE(outcome.run) << outcome.text.toStdString();
        EXPECT_EQ(outcome.driveRoot, c.expected);
    }
}

TEST(StartupOptionsTest, AMistakeEndsWithExitCode2AndAMessage)
{
    const QString missing = QStringLiteral("/no/such/folder");
    const struct {
        QStringList arguments;
        QString variable;
        QString message;
    } cases[] = {
        {{QStringLiteral("--frobnicate")}, {}, QStringLiteral("Unknown option 'frobnicate'.")},
        {{QStringLiteral("--drive-c")}, {}, QStringLiteral("Missing value after '--drive-c'.")},
        {{QStringLiteral("--drive-c=")}, {}, QStringLiteral("names no folder")},
        {{QStringLiteral("stray")}, {}, QStringLiteral("Unexpected argument 'stray'.")},
        {{QStringLiteral("--drive-c"), missing}, {}, QStringLiteral("'/no/such/folder' does not")},
        {{}, missing, QStringLiteral("'/no/such/folder' (named by QUORVEL_DRIVE_C) does not")},
        {{QStringLiteral("--help"), QStringLiteral("--bad")}, {}, QStringLiteral("'bad'")},
        {{QStringLiteral("-platform"), QStringLiteral("xcb")},
         {},
         QStringLiteral("option 'platform'")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const auto outcome = read(c.arguments, c.variable);
        EXPECT_FALSE(outcome.run);
        EXPECT_TRUE(outcome.isError);
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_TRUE(outcome.text.startsWith(QStringLiteral("quorvel: ")))
            << outcome.text.toStdString();
        EXPECT_TRUE(outcome.text.contains(c.message)) << outcome.text.toStdString();
        EXPECT_TRUE(
            outcome.text.endsWith(QStringLiteral("Try 'quorvel --help' for more information.\n")));
    }
}

TEST(StartupOptionsTest, HelpAndVersionPrintAndEndWithExitCode0)
{
    const auto help = read({QStringLiteral("--help")});
    EXPECT_FALSE(help.run);
    EXPECT_FALSE(help.isError);
    EXPECT_EQ(help.exitCode, 0);
    for (const char* word :
         {"--drive-c <folder>", "--version", "QUORVEL_DRIVE_C", "/default/drive_c"})
        EXPECT_TRUE(help.text.contains(QLatin1String(word))) << word;
    EXPECT_EQ(read({QStringLiteral("-h")}).text, help.text);

    for (const char* option : {"--version", "-v"}) {
        const auto version = read({QLatin1String(option)});
        EXPECT_FALSE(version.run);
        EXPECT_EQ(version.exitCode, 0);
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^Quorvel \\d+\\.\\d+\\S*\n$"))
                        .match(version.text)
                        .hasMatch())
            << version.text.toStdString();
    }
}

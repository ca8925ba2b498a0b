// Start in the run confirmation window, as the user reaches it from the main window.

#include "environment_guard.h"
#include "forms/configuration.h"
#include "forms/flasher_feedback.h"
#include "forms/main.h"
#include "library/paths.h"
#include "ui_configuration.h"
#include "ui_main.h"
#include "window_fixture.h"

#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <filesystem>

namespace fs = std::filesystem;

class RunWindowTest : public WindowTest
{
protected:
    void SetUp() override
    {
        drive.write("c:\\nk_files\\Lunzo\\Common\\28F008.bin", "loader");
        drive.write("c:\\nk_files\\Lunzo\\Common\\boot.bin", "boot");
        drive.write(Paths::PhoneCatalogue, "[3210]\r\nConfig=X\r\n");
        drive.write(Paths::FlashCatalogue("3210"), "[f.fls]\r\nAddress=200000\r\n");
        drive.write("c:\\nk_files\\Lunzo\\Phones\\3210\\f.fls", "image");
        std::filesystem::create_directories(Drive::NativePath(Paths::FlasherFolder));
        start();
        clickRow(o_fMain->ui()->PageControl2->widget(2)->findChild<QTreeWidget*>(), 0);
    }

    void confirmRun()
    {
        // Clicked, not Enter: a late activation of the window can move its focus to Exit.
        QTimer::singleShot(0, [] { o_fConfiguration->ui()->BitBtn1->click(); });
        o_fMain->ui()->BitBtn1->click();
    }
};

TEST_F(RunWindowTest, StartStagesTheRunAndCloses)
{
    confirmRun();
    EXPECT_FALSE(o_fConfiguration->isVisible());
    EXPECT_EQ(drive.read(Paths::StagedLoader), "loader");
    EXPECT_EQ(drive.read("c:\\nk_files\\f.fls"), "image");
    EXPECT_EQ(drive.read(Paths::FlasherConfig), std::string("time 300\r\nX\r\nX\r\nX\r\nX\r\nX"));
    // No flasher is in place here: the run says so, after staging everything.
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Information");
    EXPECT_EQ(messages[0].text,
              "The flasher c:\\flasher\\flasher.com could not be started: the file is missing.");
}

TEST_F(RunWindowTest, FlasherConfigErrorShowsTheErrorBoxAndTheWindowCloses)
{
    std::filesystem::remove_all(Drive::NativePath(Paths::FlasherFolder));
    confirmRun();
    EXPECT_FALSE(o_fConfiguration->isVisible());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Quorvel");
    EXPECT_EQ(messages[0].text, "Invalid filename.");
    EXPECT_EQ(drive.read("c:\\nk_files\\f.fls"), "image");
}

TEST_F(RunWindowTest, StatusLineTellsHowTheFlasherStartedAndAnEarlyFailureIsShown)
{
    const std::string dosProgram("\xE9\x00\x01", 3);
    const struct {
        std::string flasher;
        const char* dosBox; // a DOSBox of its own on the search path
        const char* how;
        const char* failure;
    } rows[] = {
        {drive.readNative(QUORVEL_SOURCE_DIR "/tools/stand-in-flasher.sh"), nullptr, "directly",
         nullptr},
        {"#!/bin/sh\nexit 3\n", nullptr, "directly",
         "The flasher c:\\flasher\\flasher.com ended at once with exit code 3."},
        {dosProgram, "#!/bin/sh\nexit 1\n", "in DOSBox",
         "DOSBox, which runs the flasher c:\\flasher\\flasher.com, ended at once with exit code "
         "1."},
    };
    const EnvironmentGuard path("PATH",
                                Drive::NativePath("c:\\bin").string() + ":" + std::getenv("PATH"));
    const auto install = [this](std::string_view file, std::string_view bytes) {
        drive.write(file, bytes);
        fs::permissions(Drive::NativePath(file), fs::perms::owner_all);
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.how);
        install(Paths::Flasher, row.flasher);
        if (row.dosBox)
            install("c:\\bin\\dosbox", row.dosBox);
        messages.clear();
        confirmRun();
        EXPECT_TRUE(o_fMain->statusLine().contains(QRegularExpression(
            QStringLiteral("^Flasher started %1 at \\d\\d:\\d\\d$").arg(row.how))))
            << o_fMain->statusLine().toStdString();
        // Watched until it ends (here at once), through the event loop.
        EXPECT_TRUE(QTest::qWaitFor(
            [] { return o_fConfiguration->findChildren<FlasherFeedback::Watch*>().isEmpty(); }));
        if (!row.failure) {
            EXPECT_TRUE(messages.empty());
            continue;
        }
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, row.failure);
        EXPECT_EQ(messages[0].details,
                  QString::fromStdString(Drive::NativePath(Paths::Flasher).string()));
    }
}

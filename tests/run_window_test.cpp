// Start in the run confirmation window, as the user reaches it from the main window.

#include "forms/configuration.h"
#include "forms/main.h"
#include "library/paths.h"
#include "ui_configuration.h"
#include "ui_main.h"
#include "window_fixture.h"

#include <QTest>
#include <QTimer>
#include <filesystem>

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
        QTimer::singleShot(0, [] { QTest::keyClick(o_fConfiguration, Qt::Key_Return); });
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

// SPDX-License-Identifier: GPL-2.0-or-later
// Choosing in the main window, Start's checks and the run confirmation window.

#include "forms/main_window/main.h"
#include "forms/run/configuration.h"
#include "library/paths.h"
#include "ui_configuration.h"
#include "ui_main.h"
#include "window_fixture.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

namespace
{

const std::string CommonBoot = "c:\\nk_files\\Lunzo\\Common\\boot.bin";

QTreeWidget* flashList(const QString& group)
{
    QTabWidget* pages = o_fMain->ui()->PageControl2;
    for (int index = 2; index < pages->count(); ++index) {
        if (pages->tabText(index) == group)
            return o_fMain->FlashList(index);
    }
    return nullptr;
}

} // namespace

class SelectionTest : public WindowTest
{
protected:
    void SetUp() override
    {
        drive.write(Paths::TiaCatalogue,
                    "[a.tia]\r\nTYPE=28F008\r\nDescription=loader\r\n[b.tia]\r\n");
        drive.write(Paths::BootCatalogue, "[x.bin]\r\nDescription=boot\r\n");
        drive.write(Paths::PhoneCatalogue, "[3210]\r\nConfig=c\r\n[3310]\r\nConfig=d\r\n");
        drive.write(Paths::FlashCatalogue("3210"),
                    "[f.fls]\r\nAddress=200000\r\nDescription=mcu\r\n");
        drive.write(Paths::FlashCatalogue("3310"), "[g.fls]\r\nAddress=260000\r\n");
        start();
        ui = o_fMain->ui();
    }

    // Runs Start in the main window; when the run confirmation window opens, answers it with key.
    bool pressStart(Qt::Key key = Qt::Key_Escape)
    {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            shown = o_fConfiguration->isVisible();
            QTest::keyClick(o_fConfiguration, key);
        });
        ui->BitBtn1->click();
        QTest::qWait(0); // lets an unused single shot run before `shown` goes out of scope
        return shown;
    }

    Ui::To_fMain* ui = nullptr;
};

TEST_F(SelectionTest, FirstStateIsTheCommon28F008Choice)
{
    EXPECT_EQ(runSelection.LoaderFile, "c:\\nk_files\\Lunzo\\Common\\28F008.bin");
    EXPECT_EQ(runSelection.LoaderLine, "Common Intel 28F008 type tia file selected");
    EXPECT_EQ(runSelection.BootFile, CommonBoot);
    EXPECT_EQ(runSelection.BootLine, "Common Boot file selected");
    EXPECT_TRUE(runSelection.FlashFile.empty() && runSelection.FlashLine.empty());
    EXPECT_FALSE(o_fMain->GroupPageInFront());
}

TEST_F(SelectionTest, EachChoiceWritesItsFieldsAndTheStatusLine)
{
    clickRow(ui->ListView3, 0);
    EXPECT_EQ(o_fMain->statusLine(), "Boot file= x.bin   [  Description=boot]");
    EXPECT_EQ(runSelection.BootFile, "c:\\nk_files\\Lunzo\\Boots\\x.bin");

    ui->PageControl1->setCurrentWidget(ui->TabSheet6);
    ui->ToolButton1->click();
    EXPECT_EQ(o_fMain->statusLine(), "Atmel W29lv800 type tia file selected");
    EXPECT_EQ(runSelection.BootFile, CommonBoot); // the boot row's choice is replaced
    EXPECT_EQ(ui->ListView3->selectedItems().size(), 1);
    EXPECT_TRUE(ui->ToolButton1->isChecked() && !ui->ToolButton2->isChecked());

    ui->ToolButton3->click();
    clickRow(ui->ListView1, 0);
    EXPECT_EQ(o_fMain->statusLine(), "Tia file= a.tia   [ Type=28F008 Description=loader]");
    EXPECT_EQ(runSelection.LoaderFile, "c:\\nk_files\\Lunzo\\Tias\\a.tia");
    EXPECT_EQ(runSelection.BootFile, CommonBoot);
    EXPECT_TRUE(ui->ToolButton3->isChecked());

    clickRow(flashList("3210"), 0);
    EXPECT_EQ(o_fMain->statusLine(), "Flash file= f.fls   [ Address=200000 Description=mcu]");
    EXPECT_EQ(runSelection.FlashFile, "c:\\nk_files\\Lunzo\\Phones\\3210\\f.fls");
    EXPECT_EQ(runSelection.FlashLine, "f.fls flash selected Address:200000");
    EXPECT_EQ(runSelection.LoaderFile, "c:\\nk_files\\Lunzo\\Tias\\a.tia");

    // Bringing other pages to the front changes nothing.
    const RunSelection before = runSelection;
    const QString line = o_fMain->statusLine();
    ui->PageControl1->setCurrentWidget(ui->TabSheet2);
    showGroupPage("3310");
    EXPECT_EQ(o_fMain->statusLine(), line);
    EXPECT_EQ(runSelection.FlashFile, before.FlashFile);
    EXPECT_EQ(runSelection.LoaderFile, before.LoaderFile);

    // A button that is down applies its choice again when pressed.
    ui->ToolButton3->click();
    EXPECT_TRUE(ui->ToolButton3->isChecked());
    EXPECT_EQ(o_fMain->statusLine(), "Intel l28f160 type tia file selected");
}

TEST_F(SelectionTest, DeselectingTheHighlightedTiaTakesItAgain)
{
    clickRow(ui->ListView1, 1);
    ui->ToolButton1->click();
    ui->ListView1->clearSelection();
    EXPECT_EQ(runSelection.LoaderFile, "c:\\nk_files\\Lunzo\\Tias\\b.tia");
    EXPECT_EQ(o_fMain->statusLine(), "Tia file= b.tia   [ Type=Unknown Description=]");
    EXPECT_TRUE(ui->ToolButton1->isChecked());
}

TEST_F(SelectionTest, RememberedTiaWinsOverAChipButtonAfterAReload)
{
    ui->ToolButton3->click();
    drive.write(Paths::TiaCatalogue, "[a.tia]\r\n[b.tia]\r\nSelected=1\r\n");
    o_fMain->LoadTiaList();
    EXPECT_EQ(runSelection.LoaderFile, "c:\\nk_files\\Lunzo\\Tias\\b.tia");
    EXPECT_EQ(runSelection.BootFile, CommonBoot);
    EXPECT_TRUE(ui->ToolButton3->isChecked());
}

TEST_F(SelectionTest, FlashFileChosenOnOnePageStaysWhenAnotherComesToTheFront)
{
    clickRow(flashList("3210"), 0);
    showGroupPage("3310");
    EXPECT_EQ(o_fMain->ActivePageCaption(), "3310");
    EXPECT_EQ(runSelection.FlashFile, "c:\\nk_files\\Lunzo\\Phones\\3210\\f.fls");

    EXPECT_TRUE(pressStart());
    EXPECT_TRUE(messages.empty());
    auto* labels = o_fConfiguration->ui();
    EXPECT_EQ(labels->Label1->text(), "Common Intel 28F008 type tia file selected");
    EXPECT_EQ(labels->Label2->text(), "Common Boot file selected");
    EXPECT_EQ(labels->Label3->text(), "f.fls flash selected Address:200000");
    EXPECT_EQ(labels->Label4->text(), "3310 phone group selected");
}

TEST_F(SelectionTest, StartChecksInTheirOrderOneMessageEach)
{
    clickRow(flashList("3210"), 0);
    ui->PageControl2->setCurrentWidget(ui->TabSheet5);
    EXPECT_FALSE(pressStart());
    EXPECT_EQ(takeMessages(), std::vector<QString>{"Select Phone Group!"});

    runSelection.LoaderFile.clear();
    runSelection.BootFile.clear();
    EXPECT_FALSE(pressStart());
    EXPECT_EQ(takeMessages(),
              std::vector<QString>{"Select Tia file or select one of common flash type!"});

    runSelection.LoaderFile = "x";
    showGroupPage("3310");
    EXPECT_FALSE(pressStart());
    EXPECT_EQ(takeMessages(), std::vector<QString>{"Select Boot file "});

    runSelection.BootFile = "y";
    runSelection.FlashFile.clear();
    EXPECT_FALSE(pressStart());
    EXPECT_EQ(takeMessages(), std::vector<QString>{"Select Flash file "});
    EXPECT_EQ(messages.size(), 0u);
}

TEST_F(SelectionTest, ConfirmationWindowAnswersEnterAndEsc)
{
    clickRow(flashList("3210"), 0);
    showGroupPage("3210");

    EXPECT_TRUE(pressStart(Qt::Key_Escape));
    EXPECT_FALSE(o_fConfiguration->isVisible());
    EXPECT_EQ(o_fConfiguration->result(), QDialog::Rejected);

    EXPECT_TRUE(pressStart(Qt::Key_Return));
    EXPECT_FALSE(o_fConfiguration->isVisible());
    EXPECT_EQ(o_fConfiguration->result(), QDialog::Accepted);
}

TEST_F(SelectionTest, ConfirmationWindowLayout)
{
    auto* window = o_fConfiguration->ui();
    EXPECT_EQ(o_fConfiguration->size(), QSize(393, 319));
    EXPECT_EQ(o_fConfiguration->windowTitle(), "Flasher Start configuration");
    EXPECT_EQ(window->GroupBox2->title(), "Selected Boot ");
    EXPECT_EQ(window->GroupBox4->geometry(), QRect(8, 136, 377, 57));
    EXPECT_EQ(window->GroupBox1->palette().color(QPalette::WindowText), QColor(0x80, 0, 0));
    EXPECT_EQ(window->Label1->palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_TRUE(window->Label1->font().bold());
    EXPECT_FALSE(window->Label1->wordWrap());
    EXPECT_LE(window->Label1->geometry().right(), window->GroupBox1->width());
    EXPECT_TRUE(window->BitBtn1->isDefault());
}

TEST_F(SelectionTest, KeyboardReachesTheChipsAndTheListOfTheGroupInFront)
{
    QApplication::setActiveWindow(o_fMain);
    showGroupPage("3310");
    ui->PageControl1->tabBar()->setFocus();
    std::vector<QWidget*> stops;
    for (int step = 0; step < 4; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        stops.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(stops, (std::vector<QWidget*>{ui->ToolButton2, ui->PageControl2->tabBar(),
                                            flashList("3310"), ui->BitBtn1}));

    // Arrows move between the chips without picking; Space or Enter picks, and starts nothing.
    const struct {
        Qt::Key key;
        QToolButton* focused;
        QToolButton* picked;
    } keys[] = {{Qt::Key_Down, ui->ToolButton3, ui->ToolButton2},
                {Qt::Key_Down, ui->ToolButton3, ui->ToolButton2},
                {Qt::Key_Space, ui->ToolButton3, ui->ToolButton3},
                {Qt::Key_Up, ui->ToolButton2, ui->ToolButton3},
                {Qt::Key_Left, ui->ToolButton1, ui->ToolButton3},
                {Qt::Key_Return, ui->ToolButton1, ui->ToolButton1}};
    ui->ToolButton2->setFocus();
    for (const auto& row : keys) {
        QTest::keyClick(QApplication::focusWidget(), row.key);
        EXPECT_EQ(QApplication::focusWidget(), row.focused) << row.key;
        EXPECT_TRUE(row.picked->isChecked()) << row.key;
    }
    EXPECT_EQ(o_fMain->statusLine(), "Atmel W29lv800 type tia file selected");
    EXPECT_TRUE(messages.empty());
}

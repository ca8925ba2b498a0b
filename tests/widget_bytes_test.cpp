// SPDX-License-Identifier: GPL-2.0-or-later
// What the widgets do with catalogue text: bytes kept exactly through selection, run, close and
// editing; plain text only; keys and answers that must not reach what they should not.

#include "forms/common/text.h"
#include "forms/editors/tia.h"
#include "forms/main_window/main.h"
#include "forms/run/configuration.h"
#include "library/paths.h"
#include "library/run_selection.h"
#include "ui_main.h"
#include "ui_tia.h"
#include "window_fixture.h"

#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

TEST(DisplayText, Utf8WhereValidElseWindows1252)
{
    const struct {
        std::string bytes;
        QString shown;
    } cases[] = {
        {"caf\xC3\xA9", QStringLiteral("caf\u00E9")},
        {"caf\xE9", QStringLiteral("caf\u00E9")},
        {"\x80 \x9F \x81", QStringLiteral("\u20AC \u0178 \u0081")},
        {"plain", QStringLiteral("plain")},
        // A value cut inside its last character: the rest stays UTF-8.
        {"\xCE\xA9 caf\xC3\xA9 \xE2\x82", QStringLiteral("\u03A9 caf\u00E9 \uFFFD")},
        {"caf\xE9 \xC3", QStringLiteral("caf\u00E9 \u00C3")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fromBytes(c.bytes), c.shown) << c.bytes;
}

using WidgetBytesTest = WindowTest;

TEST_F(WidgetBytesTest, NamesKeepTheirBytesThroughSelectRunEditAndClose)
{
    const std::string tia = "caf\xE9.tia";
    const std::string group = "gr\xFC";
    const std::string image = "f\xE9.fls";
    drive.write(Paths::TiaCatalogue,
                "[" + tia + "]\r\nTYPE=t\r\nSTATUS=0\r\nDescription=x <br> y\r\n");
    drive.write(Paths::Join(Paths::TiaFolder, tia), "loader");
    drive.write(Paths::PhoneCatalogue, "[" + group + "]\r\nConfig=c\r\n");
    drive.write(Paths::FlashCatalogue(group), "[" + image + "]\r\nAddress=1\r\n");
    drive.write(Paths::Join(Paths::GroupFolder(group), image), "image");
    drive.write(Paths::Join(Paths::CommonFolder, "boot.bin"), "boot");
    start();
    auto* ui = o_fMain->ui();

    clickRow(ui->ListView1, 0);
    EXPECT_EQ(runSelection.LoaderFile, Paths::Join(Paths::TiaFolder, tia));
    auto* statusPanel = ui->StatusBar1->findChild<QLabel*>(QStringLiteral("StatusPanel"));
    EXPECT_EQ(statusPanel->textFormat(), Qt::PlainText);
    EXPECT_TRUE(statusPanel->text().contains(QStringLiteral("x <br> y")));

    showGroupPage(fromBytes(group));
    EXPECT_EQ(o_fMain->ActivePageCaption(), group);
    clickRow(activeFlashList(), 0);
    EXPECT_EQ(runSelection.FlashFile, Paths::Join(Paths::GroupFolder(group), image));

    whileShown([] { QTest::keyClick(o_fConfiguration, Qt::Key_Return); },
               [&] { ui->BitBtn1->click(); });
    EXPECT_EQ(drive.read(Paths::StagedLoader), "loader");
    EXPECT_EQ(drive.read(Paths::Join(Paths::LibraryRoot, image)), "image");

    answer = QMessageBox::No;
    whileShown(
        [] {
            o_fTia->ui()->BitBtn1->click();
            o_fTia->reject(); // in case OK refused
        },
        [&] { o_fTia->EditTiaEntry(tia); });
    clickRow(ui->ListView1, 0);
    o_fMain->close();
    EXPECT_EQ(drive.read(Paths::TiaCatalogue),
              "[" + tia + "]\r\nTYPE=t\r\nSTATUS=0\r\nDescription=x <br> y\r\nSelected=1\r\n");
}

TEST_F(WidgetBytesTest, TemplatePageTakesNoKeysChipsAreOneTabStopAndButtonsShowGlyphs)
{
    start();
    auto* ui = o_fMain->ui();
    EXPECT_FALSE(ui->PageControl2->isTabEnabled(0));
    for (auto* chip : {ui->ToolButton1, ui->ToolButton2, ui->ToolButton3})
        EXPECT_EQ(chip->focusPolicy(), chip->isChecked() ? Qt::TabFocus : Qt::NoFocus);
    EXPECT_FALSE(o_fTia->ui()->BitBtn1->icon().isNull());
    EXPECT_FALSE(o_fTia->ui()->BitBtn2->icon().isNull());
    EXPECT_EQ(o_fTia->parentWidget(), o_fMain);
}

TEST_F(WidgetBytesTest, OnlyNoClosesAnEditorAfterAddNew)
{
    start();
    drive.write("c:\\nk_files\\Lunzo\\Tias\\a.tia", "");
    o_fTia->show();
    for (const auto& [answered, staysOpen] : {std::pair{MessageBoxes::ClosedByCloseBox, true},
                                              {QMessageBox::Yes, true},
                                              {QMessageBox::No, false}}) {
        answer = answered;
        setFields(o_fTia, {"a.tia", "t", "0", ""});
        o_fTia->ui()->BitBtn1->click();
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.back().defaultButton, QMessageBox::Yes);
        EXPECT_EQ(messages.back().escapeButton, QMessageBox::No);
        EXPECT_EQ(o_fTia->isVisible(), staysOpen) << answered;
    }
}

TEST_F(WidgetBytesTest, AnAmpersandInAGroupNameIsNoAccessKey)
{
    drive.write(Paths::PhoneCatalogue, "[AT&T]\r\n");
    start();
    QTabWidget* pages = o_fMain->ui()->PageControl2;
    EXPECT_EQ(pages->tabText(2), "AT&&T");
    pages->setCurrentIndex(2);
    EXPECT_EQ(o_fMain->ActivePageCaption(), "AT&T");
}

// SPDX-License-Identifier: GPL-2.0-or-later
// Finding in a large library: the find field, reaching any phone group, and files dropped on the
// main window.

#include "forms/list_views.h"
#include "forms/main.h"
#include "library/paths.h"
#include "ui_main.h"
#include "window_fixture.h"

#include <QApplication>
#include <QTest>

namespace
{

QStringList shownRows(const QTreeWidget* list)
{
    QStringList captions;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        if (!list->topLevelItem(row)->isHidden())
            captions << list->topLevelItem(row)->text(0);
    }
    return captions;
}

} // namespace

class FindTest : public WindowTest
{
protected:
    void SetUp() override
    {
        // "Mot\xf6r" is Windows-1252, shown as "Motör".
        drive.write(Paths::TiaCatalogue, "[Alpha.tia]\r\nTYPE=28F008\r\nDescription=first\r\n"
                                         "[beta.tia]\r\nTYPE=AM29\r\nDescription=Mot\xf6r\r\n"
                                         "[gamma.tia]\r\nDescription=second\r\n");
        drive.write(Paths::BootCatalogue, "[boot.bin]\r\nDescription=for the Alpha board\r\n");
        drive.write(Paths::PhoneCatalogue, "[3210]\r\n[8850]\r\n");
        drive.write(Paths::FlashCatalogue("3210"),
                    "[x.fls]\r\nAddress=260000\r\nDescription=\xd6l\r\n[y.fls]\r\n");
        start();
        ui = o_fMain->ui();
    }

    Ui::To_fMain* ui = nullptr;
};

TEST_F(FindTest, TheFieldShowsTheRowsThatHoldItsTextInAnyCase)
{
    showGroupPage("3210");
    const struct {
        QString text;
        QStringList tia, boot, flash;
    } rows[] = {
        {"alp", {"Alpha.tia"}, {"boot.bin"}, {}},
        {"SECOND", {"gamma.tia"}, {}, {}},
        {"am29", {"beta.tia"}, {}, {}},
        {"MOTÖR", {"beta.tia"}, {}, {}},
        {"2600", {}, {}, {"x.fls"}},
        {"öL", {}, {}, {"x.fls"}},
        {"", {"Alpha.tia", "beta.tia", "gamma.tia"}, {"boot.bin"}, {"x.fls", "y.fls"}},
    };
    for (const auto& row : rows) {
        ui->FindEdit->setText(row.text);
        EXPECT_EQ(shownRows(ui->ListView1), row.tia) << row.text.toStdString();
        EXPECT_EQ(shownRows(ui->ListView3), row.boot) << row.text.toStdString();
        EXPECT_EQ(shownRows(activeFlashList()), row.flash) << row.text.toStdString();
    }

    // A group page first shown, and a list loaded again, show only what is found.
    ui->FindEdit->setText("nothing");
    drive.write(Paths::FlashCatalogue("8850"), "[z.fls]\r\n");
    showGroupPage("8850");
    EXPECT_EQ(activeFlashList()->topLevelItemCount(), 1);
    EXPECT_TRUE(shownRows(activeFlashList()).isEmpty());
    o_fMain->LoadTiaList();
    EXPECT_EQ(ui->ListView1->topLevelItemCount(), 3);
    EXPECT_TRUE(shownRows(ui->ListView1).isEmpty());
}

TEST_F(FindTest, APickedRowFoundNoMoreStaysPickedAndEscShowsAllAgain)
{
    clickRow(ui->ListView1, 1);
    ASSERT_EQ(ui->ListView1->selectedItems().size(), 1);
    const QString said = o_fMain->statusLine();
    const RunSelection chosen = runSelection;

    QApplication::setActiveWindow(o_fMain);
    QTest::keyClick(o_fMain, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(ui->FindEdit->hasFocus());
    QTest::keyClicks(ui->FindEdit, "gam");
    EXPECT_EQ(shownRows(ui->ListView1), QStringList({"gamma.tia"}));
    ASSERT_NE(ListViews::SelectedRow(ui->ListView1), nullptr);
    EXPECT_EQ(ListViews::SelectedRow(ui->ListView1)->text(0), "beta.tia");
    EXPECT_EQ(o_fMain->statusLine(), said);
    EXPECT_EQ(runSelection.LoaderFile, chosen.LoaderFile);

    // Enter neither starts a run nor closes; Esc empties the field and leaves the window open.
    QTest::keyClick(ui->FindEdit, Qt::Key_Return);
    EXPECT_TRUE(messages.empty());
    ui->FindEdit->setFocus();
    QTest::keyClick(ui->FindEdit, Qt::Key_Escape);
    EXPECT_EQ(ui->FindEdit->text(), "");
    EXPECT_TRUE(o_fMain->isVisible());
    EXPECT_EQ(shownRows(ui->ListView1).size(), 3);
    EXPECT_EQ(runSelection.LoaderFile, chosen.LoaderFile);

    // Closed while it is hidden, the chosen TIA is still remembered.
    ui->FindEdit->setText("gam");
    ui->BitBtn2->click();
    EXPECT_TRUE(drive.read(Paths::TiaCatalogue).find("\r\nSelected=1") != std::string::npos);
}

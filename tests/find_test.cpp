// SPDX-License-Identifier: GPL-2.0-or-later
// Finding in a large library: the find field, reaching any phone group, and files dropped on the
// main window.

#include "forms/common/list_views.h"
#include "forms/editors/boot.h"
#include "forms/editors/flash.h"
#include "forms/editors/phonegroup.h"
#include "forms/editors/tia.h"
#include "forms/main_window/main.h"
#include "library/paths.h"
#include "test_pictures.h"
#include "ui_main.h"
#include "window_fixture.h"

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

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

TEST_F(FindTest, AnyGroupIsReachedByTypingOnTheTabsOrFromTheGroupsList)
{
    drive.write(Paths::PhoneCatalogue, "[3210]\r\n[8850]\r\n[8210]\r\n[5110]\r\n[alpha]\r\n");
    o_fMain->LoadPhoneGroups();
    QTabBar* tabs = ui->PageControl2->tabBar();
    QApplication::setActiveWindow(o_fMain);
    const struct {
        const char* typed;
        std::string front;
    } rows[] = {{"88", "8850"}, {"5", "5110"}, {"AL", "alpha"}, {"888", "8210"}, {"x", "8210"}};
    for (const auto& row : rows) {
        tabs->setFocus();
        QTest::keyClicks(tabs, row.typed);
        EXPECT_EQ(o_fMain->GroupInFront(), row.front) << row.typed;
        tabs->clearFocus(); // what was typed is forgotten
    }

    // The scroll arrows bring the next group to the front: the tab in front stays in sight.
    for (auto* arrow : tabs->findChildren<QToolButton*>()) {
        if (arrow->arrowType() == Qt::LeftArrow)
            emit arrow->pressed();
    }
    EXPECT_EQ(o_fMain->GroupInFront(), "8850");

    auto* button = ui->PageControl2->findChild<QToolButton*>("GroupsButton");
    ASSERT_NE(button, nullptr);
    button->click();
    auto* list = QApplication::activePopupWidget();
    ASSERT_NE(list, nullptr);
    auto* names = list->findChild<QListWidget*>();
    QStringList shown;
    for (int row = 0; row < names->count(); ++row)
        shown << names->item(row)->text();
    EXPECT_EQ(shown, QStringList({"3210", "5110", "8210", "8850", "alpha"}));
    QTest::keyClicks(list->findChild<QLineEdit*>(), "21");
    EXPECT_TRUE(names->item(1)->isHidden() && !names->item(2)->isHidden());
    QTest::keyClick(list->findChild<QLineEdit*>(), Qt::Key_Down);
    QTest::keyClick(list->findChild<QLineEdit*>(), Qt::Key_Return);
    EXPECT_EQ(o_fMain->GroupInFront(), "8210");
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

class DropTest : public EditorDialogTest
{
protected:
    void SetUp() override
    {
        drive.write(Paths::PhoneCatalogue, "[3210]\r\n[3310]\r\n");
        start();
        QApplication::setActiveWindow(o_fMain);
    }

    // Drops the files on the main window at a point, as a file manager does; each dialog that
    // opens is closed once its browse has told what it did.
    std::vector<QWidget*> drop(const QStringList& files, QPoint at)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : files)
            urls << QUrl::fromLocalFile(file);
        data.setUrls(urls);
        std::vector<QWidget*> shown;
        std::size_t told = messages.size();
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog && messages.size() > told) {
                shown.push_back(dialog);
                told = messages.size();
                dialog->reject();
            }
        });
        watch.start(0);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(o_fMain, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(o_fMain, &dropped);
        QTest::qWait(0);
        return shown;
    }

    QPoint tabOf(const QString& group) const
    {
        QTabWidget* pages = o_fMain->ui()->PageControl2;
        for (int index = 2; index < pages->count(); ++index) {
            if (pages->tabText(index) == group)
                return pages->tabBar()->mapTo(o_fMain, pages->tabBar()->tabRect(index).center());
        }
        return {};
    }
};

TEST_F(DropTest, EachKindOpensItsDialogAsIfBrowsedThereOneAfterTheOther)
{
    const QString tia = pickable("c:\\in\\new.tia", "t"), boot = pickable("c:\\in\\b.bin", "b");
    const QString flash = pickable("c:\\in\\f.fls", "f"), other = pickable("c:\\in\\notes.txt", "");
    const QString picture = pickable("c:\\in\\s.bmp");
    std::filesystem::copy_file(TestPictures::Sample("bmp"), picture.toStdString());
    const QPoint onLists = o_fMain->ui()->ListView1->mapTo(o_fMain, QPoint(5, 5));
    const struct {
        QStringList files;
        QPoint at;
        std::vector<QWidget*> dialogs;
        std::vector<QString> told;
    } rows[] = {
        {{tia, boot},
         onLists,
         {o_fTia, o_fBoot},
         {"File copied to the system specified directory",
          "Boot file copied to the system specified directory"}},
        {{flash}, onLists, {}, {"Drop the flash file \"f.fls\" on the page of its phone group."}},
        {{flash},
         tabOf("3310"),
         {o_fFlash},
         {"Flash file copied to the system specified directory"}},
        {{picture},
         onLists,
         {o_fPhoneGroup},
         {"Scheme file copied to the system specified directory"}},
        {{other},
         onLists,
         {},
         {"Quorvel cannot take \"notes.txt\": drop TIA files (.tia), boot files (.bin), flash "
          "files (.fls) or schematic pictures."}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(drop(row.files, row.at), row.dialogs) << row.files.join(' ').toStdString();
        EXPECT_EQ(takeMessages(), row.told);
    }
    // Browsed as the user would: the file copied into the library, the open dialog never shown.
    EXPECT_TRUE(drive.exists("c:\\nk_files\\Lunzo\\Tias\\new.tia"));
    EXPECT_TRUE(drive.exists("c:\\nk_files\\Lunzo\\Boots\\b.bin"));
    EXPECT_TRUE(drive.exists("c:\\nk_files\\Lunzo\\Phones\\3310\\f.fls"));
    EXPECT_TRUE(drive.exists("c:\\nk_files\\Lunzo\\Phones\\s.bmp"));
    EXPECT_EQ(o_fMain->GroupInFront(), "3310");
    EXPECT_TRUE(seenDialogs.empty());
}

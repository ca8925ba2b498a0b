// SPDX-License-Identifier: GPL-2.0-or-later
// The Tools list, sorting a flash list, and opening and removing entries from the lists.

#include "forms/editors/boot.h"
#include "forms/editors/flash.h"
#include "forms/editors/phonegroup.h"
#include "forms/editors/tia.h"
#include "forms/main_window/main.h"
#include "library/paths.h"
#include "ui_boot.h"
#include "ui_main.h"
#include "ui_phonegroup.h"
#include "ui_tia.h"
#include "window_fixture.h"

#include <QHeaderView>
#include <QTest>

namespace
{

QStringList captions(const QTreeWidget* list)
{
    QStringList texts;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        texts << list->topLevelItem(row)->text(0);
    return texts;
}

QString highlighted(const QTreeWidget* list)
{
    const auto rows = list->selectedItems();
    return rows.isEmpty() ? QString() : rows.first()->text(0);
}

} // namespace

class ListActionsTest : public WindowTest
{
protected:
    void SetUp() override
    {
        drive.write(Paths::TiaCatalogue, "[a.tia]\r\nTYPE=28F008\r\n[b.tia]\r\n");
        drive.write(Paths::BootCatalogue, "[x.bin]\r\n[y.bin]\r\n");
        drive.write(Paths::PhoneCatalogue, "[3210]\r\n[3310]\r\n");
        drive.write(Paths::FlashCatalogue("3210"), "[f.fls]\r\nAddress=1\r\n");
        drive.write(Paths::FlashCatalogue("3310"),
                    "[_z.fls]\r\nAddress=1\r\n[b.fls]\r\nAddress=2\r\n[A.fls]\r\nAddress=3\r\n"
                    "[f.fls]\r\nAddress=0\r\n[a-1.fls]\r\nAddress=4\r\n");
        drive.write("c:\\nk_files\\Lunzo\\Tias\\a.tia", "loader");
        start();
        ui = o_fMain->ui();
    }

    QTreeWidget* flashList(const QString& group)
    {
        showGroupPage(group);
        return activeFlashList();
    }

    Ui::To_fMain* ui = nullptr;
};

TEST_F(ListActionsTest, ToolsRowsDescribeThemselvesAndOpenTheirDialogByPosition)
{
    QTreeWidget* tools = ui->ListView4;
    clickRow(tools, 3);
    EXPECT_EQ(o_fMain->statusLine(),
              "Function= Flash   [ Description=Add new flash file to selected phone group]");

    // The row's position decides, not its caption.
    tools->topLevelItem(0)->setText(0, "Boot");
    EXPECT_EQ(modalShownBy([&] { doubleClickRow(tools, 0); }), o_fTia);
    EXPECT_EQ(modalShownBy([&] { doubleClickRow(tools, 1); }), o_fBoot);
    EXPECT_EQ(modalShownBy([&] { doubleClickRow(tools, 4); }), nullptr);
    EXPECT_EQ(modalShownBy([&] { doubleClickRow(tools, 3); }), nullptr); // About in front
    showGroupPage("3210");
    EXPECT_EQ(modalShownBy([&] { doubleClickRow(tools, 3); }), o_fFlash);
    EXPECT_EQ(modalShownBy([&] { doubleClickRow(tools, 2); }), o_fPhoneGroup);
    EXPECT_EQ(o_fPhoneGroup->ui()->Edit1->text(), "3210"); // filled from the group in front

    // A double-click on an empty spot takes the highlight away and does nothing.
    EXPECT_EQ(modalShownBy([&] { doubleClickRow(tools, EmptySpot); }), nullptr);
    EXPECT_TRUE(messages.empty());

    // Enter opens the row with the focus mark, selected or not.
    tools->setFocus();
    tools->selectionModel()->setCurrentIndex(tools->model()->index(1, 0),
                                             QItemSelectionModel::NoUpdate);
    ASSERT_TRUE(tools->selectedItems().isEmpty());
    EXPECT_EQ(modalShownBy([&] { QTest::keyClick(tools, Qt::Key_Return); }), o_fBoot);
    EXPECT_EQ(o_fMain->statusLine(), "Function= Boot   [ Description=Add new Boot file]");
}

TEST_F(ListActionsTest, AnyHeaderSortsByFileNameUntilTheNextLoad)
{
    QTreeWidget* list = flashList("3310");
    clickRow(list, 1);
    const QString line = o_fMain->statusLine();

    QHeaderView* header = list->header();
    const QPoint address(header->sectionViewportPosition(1) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, address);
    EXPECT_EQ(captions(list), QStringList({"a-1.fls", "A.fls", "b.fls", "f.fls", "_z.fls"}));
    EXPECT_EQ(highlighted(list), "b.fls");
    EXPECT_FALSE(header->isSortIndicatorShown());
    EXPECT_EQ(o_fMain->statusLine(), line); // no select notification

    o_fMain->LoadFlashList("3310", list);
    EXPECT_EQ(captions(list), QStringList({"_z.fls", "b.fls", "A.fls", "f.fls", "a-1.fls"}));
}

TEST_F(ListActionsTest, DeleteAsksWithTheListsTextAndNoOrEscKeepsEverything)
{
    const std::pair<QTreeWidget*, const char*> cases[] = {
        {ui->ListView1, "Delete selected TIA file from list?"},
        {ui->ListView3, "Delete selected Boot file from list?"},
        {flashList("3310"), "Delete selected Flash file from list?"},
    };
    const auto catalogues = [this] {
        return drive.read(Paths::TiaCatalogue) + drive.read(Paths::BootCatalogue) +
               drive.read(Paths::FlashCatalogue("3310"));
    };
    const std::string before = catalogues();
    for (const auto& [list, question] : cases) {
        const QStringList rows = captions(list);
        QTest::keyClick(list, Qt::Key_Delete);
        EXPECT_TRUE(messages.empty()) << "no highlighted row, no box";

        clickRow(list, 1);
        for (const auto no : {QMessageBox::No, MessageBoxes::ClosedByCloseBox}) {
            answer = no;
            QTest::keyClick(list, Qt::Key_Delete, Qt::ShiftModifier);
            EXPECT_EQ(takeMessages(), std::vector<QString>{question});
            EXPECT_EQ(captions(list), rows);
            EXPECT_EQ(highlighted(list), rows[1]);
        }
    }
    EXPECT_EQ(catalogues(), before);
}

TEST_F(ListActionsTest, YesErasesOnlyTheEntryOfTheListsCatalogue)
{
    // The loader choice: the run selection, the status line and the library file stay.
    clickRow(ui->ListView1, 0);
    const QString line = o_fMain->statusLine();
    answer = QMessageBox::Yes;
    QTest::keyClick(ui->ListView1, Qt::Key_Delete);
    EXPECT_EQ(drive.read(Paths::TiaCatalogue), "[b.tia]\r\n");
    EXPECT_EQ(captions(ui->ListView1), QStringList({"b.tia"}));
    EXPECT_EQ(runSelection.LoaderFile, "c:\\nk_files\\Lunzo\\Tias\\a.tia");
    EXPECT_EQ(o_fMain->statusLine(), line);
    EXPECT_EQ(drive.read("c:\\nk_files\\Lunzo\\Tias\\a.tia"), "loader");

    // A flash entry: only from the group in front.
    QTreeWidget* list = flashList("3310");
    clickRow(list, 3);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(drive.read(Paths::FlashCatalogue("3310")),
              "[_z.fls]\r\nAddress=1\r\n[b.fls]\r\nAddress=2\r\n[A.fls]\r\nAddress=3\r\n"
              "[a-1.fls]\r\nAddress=4\r\n");
    EXPECT_EQ(drive.read(Paths::FlashCatalogue("3210")), "[f.fls]\r\nAddress=1\r\n");
    EXPECT_EQ(captions(list), QStringList({"_z.fls", "b.fls", "A.fls", "a-1.fls"}));
    EXPECT_EQ(captions(flashList("3210")), QStringList({"f.fls"}));
}

TEST_F(ListActionsTest, EnterAndDoubleClickOpenTheEntryAndEnterDoesNotStartARun)
{
    QTreeWidget* list = ui->ListView1;
    clickRow(list, 0);
    // Start would say "Select Phone Group!": About is in front.
    EXPECT_EQ(modalShownBy([&] { QTest::keyClick(list, Qt::Key_Return); }), o_fTia);
    EXPECT_EQ(o_fTia->ui()->Edit2->text(), "28F008");
    // The release of an Enter pressed elsewhere (one that closed a dialog) opens nothing.
    EXPECT_EQ(modalShownBy([&] { QTest::keyRelease(list, Qt::Key_Return); }), nullptr);
    EXPECT_EQ(modalShownBy([&] { doubleClickRow(list, 1); }), o_fTia);
    EXPECT_EQ(o_fTia->ui()->Edit1->text(), "b.tia");
    list->clearSelection();
    EXPECT_EQ(modalShownBy([&] { QTest::keyClick(list, Qt::Key_Enter); }), nullptr);

    // The boot and the flash lists open their own editors.
    clickRow(ui->ListView3, 1);
    EXPECT_EQ(modalShownBy([&] { QTest::keyClick(ui->ListView3, Qt::Key_Return); }), o_fBoot);
    EXPECT_EQ(o_fBoot->ui()->Edit1->text(), "y.bin");
    EXPECT_EQ(modalShownBy([&] { doubleClickRow(flashList("3210"), 0); }), o_fFlash);
    EXPECT_EQ(fieldsOf(o_fFlash), QStringList({"3210", "f.fls", "1", "-1", ""}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(ListActionsTest, EnterAndSpaceOpenFromTheToolsListAndNeverStartARun)
{
    // A flash file chosen with its group in front: Start would open the run confirmation.
    QTreeWidget* flash = flashList("3210");
    clickRow(flash, 0);
    const struct {
        QTreeWidget* list;
        int row;
        Qt::Key key;
        QWidget* opens;
    } rows[] = {
        {ui->ListView4, 0, Qt::Key_Return, o_fTia},  {ui->ListView4, 1, Qt::Key_Space, o_fBoot},
        {ui->ListView4, 3, Qt::Key_Enter, o_fFlash}, {ui->ListView4, 4, Qt::Key_Return, nullptr},
        {ui->ListView1, 0, Qt::Key_Space, nullptr},  {flash, 0, Qt::Key_Space, nullptr},
        {flash, 0, Qt::Key_Return, o_fFlash},
    };
    for (const auto& row : rows) {
        clickRow(row.list, row.row);
        EXPECT_EQ(modalShownBy([&] { QTest::keyClick(row.list, row.key); }), row.opens)
            << row.list->objectName().toStdString() << " row " << row.row << " key " << row.key;
    }
    EXPECT_TRUE(messages.empty());
}

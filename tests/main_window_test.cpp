// SPDX-License-Identifier: GPL-2.0-or-later
// The main window: start-up, the lists built from the catalogues, remembering the TIA at close.

#include "forms/check/check_library.h"
#include "forms/common/file_path.h"
#include "forms/common/image_list.h"
#include "forms/editors/flash.h"
#include "forms/editors/tia.h"
#include "forms/main_window/first_run.h"
#include "forms/main_window/main.h"
#include "library/catalogue_file.h"
#include "library/drive.h"
#include "library/paths.h"
#include "ui_main.h"
#include "window_fixture.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <functional>

namespace
{

QStringList rowTexts(QTreeWidgetItem* item)
{
    QStringList texts;
    for (int column = 0; column < item->columnCount(); ++column)
        texts << item->text(column);
    return texts;
}

bool showsPicture(QTreeWidgetItem* item, int picture)
{
    return item->icon(0).pixmap(16, 16).toImage() ==
           ImageList1::Icon(picture).pixmap(16, 16).toImage();
}

QString realPath(std::string_view logicalPath)
{
    return FilePathText(Drive::NativePath(logicalPath));
}

QStringList groupPages()
{
    QStringList captions;
    QTabWidget* pages = o_fMain->ui()->PageControl2;
    for (int index = 2; index < pages->count(); ++index)
        captions << pages->tabText(index);
    return captions;
}

} // namespace

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, EmptyLibraryStartsWithEmptyListsAndNoMessage)
{
    start();
    auto* ui = o_fMain->ui();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(ui->ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(ui->ListView3->topLevelItemCount(), 0);
    EXPECT_EQ(ui->PageControl2->count(), 2);
    EXPECT_EQ(ui->PageControl1->currentWidget(), ui->TabSheet6);
    EXPECT_EQ(ui->PageControl2->currentWidget(), ui->TabSheet5);
    EXPECT_FALSE(ui->PageControl2->isTabVisible(0));
    EXPECT_TRUE(ui->ToolButton2->isChecked());
    EXPECT_FALSE(ui->ToolButton1->isChecked() || ui->ToolButton3->isChecked());
    EXPECT_EQ(o_fMain->statusLine(), "Intel iw28f008 type tia file selected");
    EXPECT_FALSE(drive.exists(Paths::Library));
}

TEST_F(MainWindowTest, LayoutFollowsTheWindowDesign)
{
    start();
    auto* ui = o_fMain->ui();
    EXPECT_EQ(o_fMain->size(), QSize(599, 349));
    EXPECT_EQ(o_fMain->windowTitle(), "Lunzos Nokia Quorvel v1.0");
    EXPECT_EQ(ui->PageControl1->geometry(), QRect(8, 8, 201, 265));
    EXPECT_EQ(ui->PageControl2->geometry(), QRect(216, 8, 377, 265));
    EXPECT_EQ(ui->BitBtn1->geometry(), QRect(400, 280, 89, 33));
    EXPECT_TRUE(ui->BitBtn1->isDefault());
    EXPECT_EQ(ui->CheckBox1->text(), "Flasher autocerrado  ");
    EXPECT_EQ(ui->CheckBox2->text(), "Handle Flash.out file");
    EXPECT_EQ(ui->ListView1->header()->sectionSize(2), 200);
    ASSERT_EQ(ui->ListView4->topLevelItemCount(), 7);
    EXPECT_EQ(rowTexts(ui->ListView4->topLevelItem(3)),
              QStringList({"Flash", "Add new flash file to selected phone group"}));
    EXPECT_EQ(ui->ListView4->topLevelItem(4)->text(1), "Add new tool tho this list");
    for (int row = 0; row < 7; ++row)
        EXPECT_TRUE(showsPicture(ui->ListView4->topLevelItem(row), 3));
    for (int index = 0; index < ui->PageControl1->count(); ++index)
        EXPECT_TRUE(ui->PageControl1->tabBar()->tabRect(index).right() < ui->PageControl1->width())
            << "tab " << index << " is cut off";
    for (QAbstractButton* box : {static_cast<QAbstractButton*>(ui->CheckBox1),
                                 static_cast<QAbstractButton*>(ui->CheckBox2)})
        EXPECT_LE(box->sizeHint().width(), box->width()) << box->text().toStdString();

    // Focus order: left page control, right page control, Start, CheckBox1, Exit, CheckBox2.
    QWidget* expected[] = {ui->PageControl2, ui->BitBtn1, ui->CheckBox1, ui->BitBtn2,
                           ui->CheckBox2};
    QWidget* widget = ui->PageControl1;
    for (QWidget* next : expected) {
        do
            widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisibleTo(o_fMain) ||
               (widget != next && widget->parentWidget() != o_fMain));
        EXPECT_EQ(widget, next);
    }

    // Grown, the pages take the room, the buttons keep to the corner, and the description
    // column takes what the other columns leave.
    EXPECT_EQ(o_fMain->minimumSize(), QSize(599, 349));
    o_fMain->resize(1400, 700);
    EXPECT_EQ(ui->BitBtn2->geometry(), QRect(1400 - 95, 700 - 69, 89, 33));
    EXPECT_EQ(ui->PageControl2->geometry().bottomRight(), QPoint(1400 - 7, 700 - 77));
    EXPECT_GT(ui->PageControl1->width(), 201);
    ui->PageControl1->setCurrentWidget(ui->TabSheet1);
    const QHeaderView* header = ui->ListView1->header();
    EXPECT_EQ(header->sectionSize(0), 100);
    EXPECT_EQ(header->sectionSize(0) + header->sectionSize(1) + header->sectionSize(2),
              ui->ListView1->viewport()->width());
}

TEST_F(MainWindowTest, ListsShowTheCataloguesInFileOrder)
{
    drive.write(Paths::TiaCatalogue,
                "[b.tia]\r\nTYPE=28F008\r\nSTATUS=0\r\nDescription=  first  \r\n"
                "[a.tia]\r\nStatus=x\r\n"
                "[c.tia]\r\nSTATUS=0x1\r\n[d.tia]\r\nSTATUS=3\r\n[e.tia]\r\nSTATUS=7\r\n");
    drive.write(Paths::BootCatalogue,
                "[boot2.bin]\r\nSTATUS=$1\r\nDescription=nse\r\n[boot1.bin]\r\n");
    drive.write(Paths::PhoneCatalogue, "[3310]\r\nConfig=x\r\n[3210]\r\nConfig=y\r\n");
    drive.write(Paths::FlashCatalogue("3210"),
                "[z.fls]\r\nAddress=260000\r\nSTATUS=1\r\nDescription=d\r\n[y.fls]\r\n");
    start();
    auto* ui = o_fMain->ui();

    ASSERT_EQ(ui->ListView1->topLevelItemCount(), 5);
    EXPECT_EQ(rowTexts(ui->ListView1->topLevelItem(0)), QStringList({"b.tia", "28F008", "first"}));
    EXPECT_EQ(rowTexts(ui->ListView1->topLevelItem(1)), QStringList({"a.tia", "Unknown", ""}));
    EXPECT_TRUE(showsPicture(ui->ListView1->topLevelItem(0), 0));
    EXPECT_TRUE(showsPicture(ui->ListView1->topLevelItem(1), 2));
    EXPECT_TRUE(showsPicture(ui->ListView1->topLevelItem(2), 1));
    EXPECT_TRUE(showsPicture(ui->ListView1->topLevelItem(3), 3));
    EXPECT_TRUE(ui->ListView1->topLevelItem(4)->icon(0).isNull());

    ASSERT_EQ(ui->ListView3->topLevelItemCount(), 2);
    EXPECT_EQ(rowTexts(ui->ListView3->topLevelItem(0)), QStringList({"boot2.bin", "nse"}));
    EXPECT_TRUE(showsPicture(ui->ListView3->topLevelItem(0), 1));
    EXPECT_TRUE(showsPicture(ui->ListView3->topLevelItem(1), 2));

    EXPECT_EQ(groupPages(), QStringList({"3310", "3210"}));
    auto* empty = o_fMain->FlashList(2);
    auto* flash = o_fMain->FlashList(3);
    EXPECT_EQ(empty->topLevelItemCount(), 0);
    ASSERT_EQ(flash->topLevelItemCount(), 2);
    EXPECT_EQ(rowTexts(flash->topLevelItem(0)), QStringList({"z.fls", "260000", "d"}));
    EXPECT_EQ(rowTexts(flash->topLevelItem(1)), QStringList({"y.fls", "", ""}));
    EXPECT_TRUE(showsPicture(flash->topLevelItem(0), 1));
    EXPECT_EQ(flash->header()->sectionSize(1), 70);
    EXPECT_EQ(flash->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(ui->PageControl2->currentWidget(), ui->TabSheet5);
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindowTest, ACutCellShowsItsWholeTextAtThePointer)
{
    const std::string name = "loader_for_the_intel_28f160_chips_of_the_3310_and_3330_v2.tia";
    drive.write(Paths::TiaCatalogue, "[" + name + "]\r\nTYPE=x\r\n[loader_28f160_3310.tia]\r\n");
    drive.write(Paths::PhoneCatalogue, "[3210 <b>GSM</b>]\r\n");
    start();
    auto* list = o_fMain->ui()->ListView1;
    o_fMain->ui()->PageControl1->setCurrentWidget(o_fMain->ui()->TabSheet1);
    const auto toolTipAt = [list](int column, int row = 0) {
        for (QWidget* shown : QApplication::topLevelWidgets()) {
            if (shown->inherits("QTipLabel"))
                shown->hide(); // at once: hideText() lets it fade out
        }
        const QPoint at = list->visualRect(list->model()->index(row, column)).center();
        QHelpEvent event(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_TRUE(toolTipAt(0).contains(QString::fromStdString(name)));
    EXPECT_EQ(toolTipAt(1), ""); // the type "x" is whole
    EXPECT_EQ(list->header()->sectionResizeMode(0), QHeaderView::Interactive);
    EXPECT_TRUE(o_fMain->ui()->PageControl2->tabToolTip(2).contains("3210 &lt;b&gt;GSM"));
    // Grown, the window shows a name cut before whole; made small again, the name gives the
    // room back to the description.
    EXPECT_NE(toolTipAt(0, 1), "");
    o_fMain->resize(1400, 700);
    EXPECT_EQ(toolTipAt(0, 1), "");
    o_fMain->resize(599, 349);
    EXPECT_EQ(list->header()->sectionSize(0), 100);
}

TEST_F(MainWindowTest, RememberedTiaRowIsTheRunsLoaderAfterStart)
{
    drive.write(Paths::TiaCatalogue,
                "[a.tia]\r\nSelected=0\r\n[b.tia]\r\nSelected=1\r\n[c.tia]\r\nSelected=2\r\n");
    drive.write(Paths::BootCatalogue, "[x.bin]\r\nSelected=1\r\n[y.bin]\r\n");
    start();
    auto* ui = o_fMain->ui();
    ASSERT_EQ(ui->ListView1->selectedItems().size(), 1);
    EXPECT_EQ(ui->ListView1->selectedItems().first()->text(0), "c.tia");
    ASSERT_EQ(ui->ListView3->selectedItems().size(), 1);
    EXPECT_EQ(ui->ListView3->selectedItems().first()->text(0), "x.bin");
    // The highlighted TIA row is the loader, as if clicked; the boot file stays the common one.
    EXPECT_EQ(runSelection.LoaderFile, "c:\\nk_files\\Lunzo\\Tias\\c.tia");
    EXPECT_EQ(runSelection.BootFile, "c:\\nk_files\\Lunzo\\Common\\boot.bin");
    EXPECT_EQ(o_fMain->statusLine(), "Tia file= c.tia   [ Type=Unknown Description=]");

    o_fMain->LoadTiaList();
    EXPECT_EQ(runSelection.LoaderFile, "c:\\nk_files\\Lunzo\\Tias\\c.tia");
    EXPECT_EQ(o_fMain->statusLine(), "Tia file= c.tia   [ Type=Unknown Description=]");
}

TEST_F(MainWindowTest, ReloadRebuildsListsAndPagesFromTheFiles)
{
    drive.write(Paths::PhoneCatalogue, "[3210]\r\n[3310]\r\n[5110]\r\n");
    drive.write(Paths::FlashCatalogue("3310"), "[a.fls]\r\n");
    start();
    showGroupPage("3310");
    auto* oldPage = o_fMain->ui()->PageControl2->currentWidget();

    drive.write(Paths::PhoneCatalogue, "[3210]\r\n[3310]\r\n[5110]\r\n[6110]\r\n");
    drive.write(Paths::FlashCatalogue("3310"), "[a.fls]\r\n[b.fls]\r\n");
    drive.write(Paths::TiaCatalogue, "[new.tia]\r\n");
    o_fMain->LoadPhoneGroups();
    o_fMain->LoadTiaList();

    auto* ui = o_fMain->ui();
    EXPECT_EQ(groupPages(), QStringList({"3210", "3310", "5110", "6110"}));
    EXPECT_EQ(ui->PageControl2->currentWidget(), ui->TabSheet5);
    for (int index = 2; index < ui->PageControl2->count(); ++index)
        EXPECT_NE(ui->PageControl2->widget(index), oldPage);
    EXPECT_EQ(o_fMain->FlashList(3)->topLevelItemCount(), 2);
    EXPECT_EQ(ui->ListView1->topLevelItemCount(), 1);
}

TEST_F(MainWindowTest, AGroupPageIsMadeAndReadWhenItFirstComesToTheFront)
{
    drive.write(Paths::PhoneCatalogue, "[3210]\r\n[3310]\r\n");
    drive.write(Paths::FlashCatalogue("3310"), "[old.fls]\r\n");
    start();
    QTabWidget* pages = o_fMain->ui()->PageControl2;
    const auto made = [pages](int index) {
        return pages->widget(index)->findChild<QTreeWidget*>() != nullptr;
    };
    EXPECT_FALSE(made(2) || made(3));

    // Changed since the start (or since the pages were rebuilt), before the page was shown.
    for (const bool rebuilt : {false, true}) {
        drive.write(Paths::FlashCatalogue("3310"), rebuilt ? "[b.fls]\r\n" : "[new.fls]\r\n");
        if (rebuilt)
            o_fMain->LoadPhoneGroups();
        showGroupPage("3310");
        ASSERT_NE(activeFlashList(), nullptr);
        EXPECT_EQ(activeFlashList()->topLevelItemCount(), 1);
        EXPECT_EQ(activeFlashList()->topLevelItem(0)->text(0), rebuilt ? "b.fls" : "new.fls");
        EXPECT_FALSE(made(2));
    }
}

// Check library catalogues a flash file of any group, whichever page is in front.
TEST_F(MainWindowTest, AFlashEntryWrittenForAGroupBehindReloadsOnlyThatGroupsPage)
{
    drive.write(Paths::PhoneCatalogue, "[3210]\r\n[3310]\r\n");
    drive.write(Paths::FlashCatalogue("3210"), "[a.fls]\r\n");
    start();
    showGroupPage("3310");
    showGroupPage("3210");
    drive.write(Paths::FlashCatalogue("3310"), "[stray.fls]\r\n");
    emit o_fFlash->written(EditedList::Flash, "3310");
    EXPECT_EQ(rowTexts(activeFlashList()->topLevelItem(0)).first(), "a.fls");
    EXPECT_EQ(activeFlashList()->topLevelItemCount(), 1);
    showGroupPage("3310");
    EXPECT_EQ(activeFlashList()->topLevelItemCount(), 1);
}

TEST_F(MainWindowTest, ClosingRemembersTheHighlightedTiaOnly)
{
    drive.write(Paths::TiaCatalogue, "[a.tia]\r\nSelected=0\r\n[b.tia]\r\nTYPE=x\r\n");
    start();
    clickRow(o_fMain->ui()->ListView1, 1);
    QTest::keyClick(o_fMain, Qt::Key_Escape);
    EXPECT_FALSE(o_fMain->isVisible());
    EXPECT_EQ(drive.read(Paths::TiaCatalogue),
              "[a.tia]\r\nSelected=0\r\n[b.tia]\r\nTYPE=x\r\nSelected=1\r\n");
}

TEST_F(MainWindowTest, ClosingWithoutHighlightedTiaWritesNothing)
{
    start();
    o_fMain->ui()->BitBtn2->click();
    EXPECT_FALSE(o_fMain->isVisible());
    EXPECT_FALSE(drive.exists(Paths::TiaCatalogue));
}

TEST_F(MainWindowTest, ReadOnlyTiaCatalogueKeepsTheWindowOpen)
{
    drive.write(Paths::TiaCatalogue, "[a.tia]\r\n");
    drive.makeReadOnly(Paths::TiaCatalogue);
    start();
    clickRow(o_fMain->ui()->ListView1, 0);
    o_fMain->ui()->BitBtn2->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Quorvel");
    EXPECT_EQ(messages[0].icon, QMessageBox::Critical);
    EXPECT_EQ(messages[0].text, "Unable to write to c:\\nk_files\\Lunzo\\Tias\\Tias.ini.");
    EXPECT_EQ(messages[0].details, realPath(Paths::TiaCatalogue) + "\nPermission denied");
    EXPECT_TRUE(o_fMain->isVisible());
    EXPECT_EQ(drive.read(Paths::TiaCatalogue), "[a.tia]\r\n");

    o_fMain->ui()->ListView1->clearSelection();
    o_fMain->ui()->BitBtn2->click();
    EXPECT_FALSE(o_fMain->isVisible());
}

TEST(UnexpectedErrorText, FullStopOnlyAfterCharactersAboveIt)
{
    EXPECT_EQ(UnexpectedErrorText("Unable to write to c:\\x.ini"), "Unable to write to c:\\x.ini.");
    EXPECT_EQ(UnexpectedErrorText("Disk full"), "Disk full.");
    EXPECT_EQ(UnexpectedErrorText("Done."), "Done.");
    EXPECT_EQ(UnexpectedErrorText("Stop!"), "Stop!");
    EXPECT_EQ(UnexpectedErrorText("code 5"), "code 5."); // digits lie above the full stop
    EXPECT_EQ(UnexpectedErrorText("a-"), "a-");
    EXPECT_EQ(UnexpectedErrorText(""), "");
}

TEST(MessageDetails, RealPathBelowWhenTheTextDoesNotNameItThenTheReason)
{
    const QString real = FilePathText(std::filesystem::path("/drive/nk_files/a.bmp"));
    const struct {
        QString text;
        Platform::FileProblem problem;
        QString details;
    } rows[] = {
        {"Cannot open file c:\\nk_files\\a.bmp.",
         {"/drive/nk_files/a.bmp", "Is a directory"},
         real + "\nIs a directory"},
        {"Cannot open file " + real + ".",
         {"/drive/nk_files/a.bmp", "Permission denied"},
         "Permission denied"},
        {"File copy error.", {{}, "No such file or directory"}, "No such file or directory"},
        {"Select status", {}, ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(MessageBoxes::Details(row.text, row.problem), row.details)
            << row.text.toStdString();
}

TEST_F(WindowTest, FirstRunNoticeNamesDriveCListsWhatIsMissingAndCreatesTheFolders)
{
    start();
    answer = QMessageBox::Yes; // Create Folders, then (not offered again) the notice closes
    FirstRun::ShowNoticeIfNeeded();
    ASSERT_EQ(messages.size(), 2u);
    const QString missing = "\n    nk_files/Lunzo/Common/28F008.bin\n    nk_files/Lunzo/Common/"
                            "29F800.bin\n    nk_files/Lunzo/Common/28F160.bin\n    "
                            "nk_files/Lunzo/Common/boot.bin\n    flasher/flasher.com\n";
    EXPECT_TRUE(messages[0].text.startsWith("Drive C is the folder " + FilePathText(drive.root())))
        << messages[0].text.toStdString();
    EXPECT_TRUE(messages[0].text.contains("\n    nk_files/Lunzo/" + missing))
        << messages[0].text.toStdString();
    EXPECT_EQ(messages[0].buttons, QMessageBox::Yes | QMessageBox::Open | QMessageBox::Close);
    EXPECT_FALSE(messages[1].text.contains("nk_files/Lunzo/\n")) << messages[1].text.toStdString();
    EXPECT_TRUE(messages[1].text.contains(missing)) << messages[1].text.toStdString();
    EXPECT_EQ(messages[1].buttons, QMessageBox::Open | QMessageBox::Close);
    for (const auto folder : {Paths::TiaFolder, Paths::BootFolder, Paths::PhonesFolder,
                              Paths::CommonFolder, Paths::FlasherFolder})
        EXPECT_TRUE(drive.exists(folder)) << folder;

    // A drive C with everything a run needs (the demo's) shows nothing.
    for (const auto* name : {"28F008.bin", "29F800.bin", "28F160.bin", "boot.bin"})
        drive.write(Paths::Join(Paths::CommonFolder, name), "");
    drive.write(Paths::Flasher, "");
    messages.clear();
    FirstRun::ShowNoticeIfNeeded();
    EXPECT_TRUE(messages.empty());
}

namespace
{

class ThrowingObject : public QObject
{
protected:
    bool event(QEvent*) override { throw std::runtime_error("I/O error 21"); }
};

} // namespace

TEST_F(WindowTest, AnErrorNoHandlerCatchesEndsInTheErrorBox)
{
    ThrowingObject object;
    QEvent event(QEvent::User);
    QApplication::sendEvent(&object, &event);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Quorvel");
    EXPECT_EQ(messages[0].text, "I/O error 21.");
}

TEST_F(WindowTest, NoticeMovesTheFocusOnlyWhenGivenAControl)
{
    start();
    QApplication::setActiveWindow(o_fMain);
    auto* ui = o_fMain->ui();
    ui->CheckBox2->setFocus();
    EXPECT_TRUE(ShowNotice(nullptr, "first"));
    EXPECT_EQ(QApplication::focusWidget(), ui->CheckBox2);
    EXPECT_TRUE(ShowNotice(ui->BitBtn2, "second"));
    EXPECT_EQ(QApplication::focusWidget(), ui->BitBtn2);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].caption, "Information");
    EXPECT_EQ(messages[1].icon, QMessageBox::Information);
}

TEST_F(WindowTest, WindowsOpenCentredOnTheScreen)
{
    start();
    const QPoint centre = o_fMain->screen()->availableGeometry().center();
    EXPECT_EQ(o_fMain->frameGeometry().center(), centre);
    QPoint dialogCentre;
    QTimer::singleShot(0, [&] {
        dialogCentre = o_fTia->frameGeometry().center();
        o_fTia->reject();
    });
    o_fTia->exec();
    EXPECT_EQ(dialogCentre, centre);
}

TEST_F(WindowTest, AClosedDialogHandsTheFocusBackToTheMainWindow)
{
    start();
    QTimer::singleShot(0, [&] {
        QApplication::setActiveWindow(o_fTia);
        o_fTia->reject();
    });
    o_fTia->exec();
    QTest::qWait(0);
    EXPECT_EQ(QApplication::activeWindow(), o_fMain);
}

TEST_F(MainWindowTest, TheFocusedChipAndLeftTabShowAFocusMark)
{
    start();
    auto* ui = o_fMain->ui();
    QApplication::setActiveWindow(o_fMain);
    for (QWidget* widget : {static_cast<QWidget*>(ui->ToolButton2),
                            static_cast<QWidget*>(ui->PageControl1->tabBar())}) {
        ui->BitBtn1->setFocus();
        const QImage unfocused = widget->grab().toImage();
        widget->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(widget->hasFocus());
        EXPECT_NE(widget->grab().toImage(), unfocused) << widget->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, ComesBackAsItWasLeftMaximisedOrNot)
{
    for (const bool maximised : {true, false}) {
        start();
        o_fMain->setWindowState(maximised ? Qt::WindowMaximized : Qt::WindowNoState);
        if (!maximised)
            o_fMain->resize(700, 400);
        o_fMain->ui()->BitBtn2->click();
        windows.reset();
        start();
        EXPECT_EQ(o_fMain->isMaximized(), maximised);
        if (!maximised) {
            EXPECT_EQ(o_fMain->size(), QSize(700, 400));
        }
        windows.reset();
    }
}

namespace
{

// Opens Check library from its Tools row and, once its findings are listed, hands them to act
// before the window is closed.
void whileCheckLibraryShowsFindings(const std::function<void(QDialog*, QTreeWidget*)>& act)
{
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        auto* findings = window ? window->findChild<QTreeWidget*>("Findings") : nullptr;
        if (!findings || findings->topLevelItemCount() == 0)
            return;
        poll.stop();
        act(window, findings);
        window->findChild<QPushButton*>("CancelButton")->click();
    });
    poll.start(10);
    QTreeWidget* tools = o_fMain->ui()->ListView4;
    tools->setCurrentItem(tools->topLevelItem(5));
    QTest::keyClick(tools, Qt::Key_Return);
}

} // namespace

// The Tools row "Check library": the window hashes, lists what needs a look and moves a file
// left by a cancelled browse into Removed, its line with it.
TEST_F(MainWindowTest, CheckLibraryListsWhatNeedsALookAndMovesAStrayFile)
{
    drive.write(Paths::TiaCatalogue, "[a.tia]\r\n[gone.tia]\r\n");
    drive.write("c:\\nk_files\\Lunzo\\Tias\\a.tia", "a");
    drive.write("c:\\nk_files\\Lunzo\\Tias\\stray.tia", "s");
    const std::string strayLine =
        "043a718774c572bd8a25adbeb1bfcd5c0256ae11cecf9f9c3f925d0e52beaf89  Tias/stray.tia\n";
    drive.write(Paths::ChecksumManifest, std::string(64, '0') + "  Tias/a.tia\n" + strayLine);
    for (const auto common : Paths::CommonFiles)
        drive.write(common, "");
    start();
    QStringList listed;
    QString summary;
    whileCheckLibraryShowsFindings([&](QDialog* window, QTreeWidget* findings) {
        for (int row = 0; row < findings->topLevelItemCount(); ++row)
            listed << findings->topLevelItem(row)->text(0) + " " +
                          findings->topLevelItem(row)->text(1);
        summary = window->findChild<QLabel*>("Summary")->text();
        findings->setCurrentItem(findings->findItems("Tias/stray.tia", Qt::MatchExactly)[0]);
        window->findChild<QPushButton*>("MoveButton")->click();
        EXPECT_EQ(findings->currentItem()->text(1), "moved to Removed");
        EXPECT_FALSE(window->findChild<QPushButton*>("MoveButton")->isEnabled());
    });
    EXPECT_EQ(listed,
              QStringList({"Common/28F008.bin no checksum yet", "Common/28F160.bin no checksum yet",
                           "Common/29F800.bin no checksum yet", "Common/boot.bin no checksum yet",
                           "Tias/a.tia changed", "Tias/gone.tia missing",
                           "Tias/stray.tia not catalogued"}));
    EXPECT_TRUE(summary.startsWith("7 files: 0 OK, 1 changed, 1 missing, 1 not catalogued, 4 no "
                                   "checksum yet."))
        << summary.toStdString();
    EXPECT_EQ(drive.read("c:\\nk_files\\Removed\\Tias\\stray.tia"), "s");
    EXPECT_FALSE(drive.exists("c:\\nk_files\\Lunzo\\Tias\\stray.tia"));
    EXPECT_EQ(drive.read(Paths::ChecksumManifest), std::string(64, '0') + "  Tias/a.tia\n");
    EXPECT_EQ(drive.read("c:\\nk_files\\Removed\\checksums.sha256"), strayLine);
    EXPECT_TRUE(messages.empty());
}

// A row follows its action: catalogued by its editor, it offers no move any more; a missing
// file's line goes after a question, and its catalogue entry after another. With a catalogue
// that cannot be read, nothing in its folder can be acted on.
TEST_F(MainWindowTest, CheckLibraryRowsFollowTheirActions)
{
    drive.write(Paths::BootCatalogue, "[gone.bin]\r\n");
    drive.write(Paths::ChecksumManifest, std::string(64, '0') + "  Boots/gone.bin\n");
    drive.write("c:\\nk_files\\Lunzo\\Tias\\stray.tia", "s");
    for (const auto common : Paths::CommonFiles)
        drive.write(common, "");
    CheckLibraryWindow window;
    // As the editor would: the entry written under the name it was given.
    QObject::connect(&window, &CheckLibraryWindow::openEditor,
                     [&](EntryKind, const std::string&, const std::string& name) {
                         CatalogueFile(Paths::TiaCatalogue).WriteString(name, "TYPE", "x");
                     });
    int removed = 0;
    QObject::connect(&window, &CheckLibraryWindow::entryRemoved, [&] { ++removed; });
    answer = QMessageBox::Yes;
    QStringList done;
    QTimer::singleShot(0, [&] {
        auto* findings = window.findChild<QTreeWidget*>("Findings");
        while (findings->topLevelItemCount() == 0)
            QTest::qWait(10);
        const auto act = [&](const char* file, const char* button) {
            findings->setCurrentItem(findings->findItems(file, Qt::MatchExactly)[0]);
            window.findChild<QPushButton*>(button)->click();
            done << findings->currentItem()->text(1) +
                        (window.findChild<QPushButton*>("MoveButton")->isEnabled() ? " movable"
                                                                                   : "");
        };
        act("Tias/stray.tia", "EditButton");
        act("Boots/gone.bin", "ForgetButton");
        window.reject();
    });
    window.exec();
    EXPECT_EQ(done, QStringList({"catalogued", "line and entry removed"}));
    EXPECT_EQ(messages.size(), 2u); // the line, then the entry
    EXPECT_EQ(removed, 1);
    EXPECT_EQ(drive.read(Paths::BootCatalogue), "");
    EXPECT_EQ(drive.read(Paths::ChecksumManifest), "");

    // The TIA catalogue unreadable: its folder's files offer nothing.
    std::filesystem::remove(Drive::NativePath(Paths::TiaCatalogue));
    std::filesystem::create_directory(Drive::NativePath(Paths::TiaCatalogue));
    drive.write("c:\\nk_files\\Lunzo\\Tias\\other.tia", "o");
    CheckLibraryWindow again;
    QStringList offered;
    QTimer::singleShot(0, [&] {
        auto* findings = again.findChild<QTreeWidget*>("Findings");
        while (findings->topLevelItemCount() == 0)
            QTest::qWait(10);
        for (int row = 0; row < findings->topLevelItemCount(); ++row) {
            findings->setCurrentItem(findings->topLevelItem(row));
            QString buttons;
            for (auto* button : again.findChildren<QPushButton*>()) {
                if (button->isEnabled() && button->objectName() != "CancelButton")
                    buttons += " " + button->objectName();
            }
            offered << findings->currentItem()->text(0) + ":" + buttons;
        }
        again.reject();
    });
    again.exec();
    EXPECT_EQ(
        offered,
        QStringList({"Common/28F008.bin: RecordNewButton", "Common/28F160.bin: RecordNewButton",
                     "Common/29F800.bin: RecordNewButton", "Common/boot.bin: RecordNewButton",
                     "Tias/other.tia: RecordNewButton", "Tias/stray.tia: RecordNewButton",
                     "Tias/Tias.ini: RecordNewButton"}));
}

// A stray flash file can be catalogued only in a folder a phone group names: an entry elsewhere
// would show in no list.
TEST_F(MainWindowTest, CheckLibraryCataloguesAStrayFlashFileOnlyInAGroupsFolder)
{
    drive.write(Paths::PhoneCatalogue, "[3310]\r\n");
    drive.write("c:\\nk_files\\Lunzo\\Phones\\3310\\a.fls", "a");
    drive.write("c:\\nk_files\\Lunzo\\Phones\\gone\\b.fls", "b");
    for (const auto common : Paths::CommonFiles)
        drive.write(common, "");
    start();
    QStringList listed;
    whileCheckLibraryShowsFindings([&](QDialog* window, QTreeWidget* findings) {
        for (int row = 0; row < findings->topLevelItemCount(); ++row) {
            findings->setCurrentItem(findings->topLevelItem(row));
            listed << findings->topLevelItem(row)->text(0) + " " +
                          (window->findChild<QPushButton*>("EditButton")->isEnabled() ? "editor"
                                                                                      : "none");
        }
    });
    EXPECT_EQ(listed.filter("Phones/"),
              QStringList({"Phones/3310/a.fls editor", "Phones/gone/b.fls none"}));
}

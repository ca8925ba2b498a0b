// The boot and the flash file dialogs: layout, adding and editing entries, OK's checks, and a
// catalogue that refuses the write.

#include "forms/boot.h"
#include "forms/flash.h"
#include "forms/main.h"
#include "forms/open_dialog.h"
#include "library/paths.h"
#include "ui_boot.h"
#include "ui_flash.h"
#include "ui_main.h"
#include "window_fixture.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>

namespace
{

const std::string Flash3210 = Paths::FlashCatalogue("3210");
const std::string Flash3310 = Paths::FlashCatalogue("3310");

struct Control {
    const char* name;
    QRect rect; // labels: position only
    const char* text;
    bool picture;
};

void expectLayout(const QDialog* dialog, std::initializer_list<Control> controls)
{
    for (const Control& control : controls) {
        SCOPED_TRACE(control.name);
        const auto* widget = dialog->findChild<QWidget*>(control.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->pos(), control.rect.topLeft());
        if (!control.rect.isEmpty()) {
            EXPECT_EQ(widget->size(), control.rect.size());
        }
        const char* text = qobject_cast<const QGroupBox*>(widget) ? "title" : "text";
        EXPECT_EQ(widget->property(text).toString(), control.text);
        EXPECT_EQ(!widget->property("icon").value<QIcon>().isNull(), control.picture);
    }
}

// The controls that Tab visits, in the order it visits them.
QStringList tabStops(QDialog* dialog)
{
    QStringList names;
    for (QWidget* widget = dialog->nextInFocusChain(); widget != dialog;
         widget = widget->nextInFocusChain()) {
        if (widget->window() == dialog && widget->isVisibleTo(dialog) &&
            (widget->focusPolicy() & Qt::TabFocus))
            names << widget->objectName();
    }
    return names;
}

} // namespace

class BootFlashDialogTest : public EditorDialogTest
{
protected:
    void SetUp() override
    {
        drive.write(Paths::PhoneCatalogue, "[3210]\r\n[3310]\r\n");
        start();
        boot = o_fBoot->ui();
        flash = o_fFlash->ui();
    }

    void fillBoot(const QString& name, int status, const QString& description = {})
    {
        boot->Edit1->setText(name);
        boot->o_cbMsgType->setStatusCode(status);
        boot->Edit3->setText(description);
    }

    void fillFlash(const QString& name, const QString& address, int status)
    {
        flash->Edit1->setText(name);
        flash->Edit2->setText(address);
        flash->o_cbMsgType->setStatusCode(status);
    }

    Ui::To_fBoot* boot = nullptr;
    Ui::To_fFlash* flash = nullptr;
};

TEST_F(BootFlashDialogTest, Layout)
{
    EXPECT_EQ(o_fBoot->size(), QSize(396, 237));
    EXPECT_EQ(o_fBoot->windowTitle(), "Boot file");
    EXPECT_FALSE(o_fBoot->windowIcon().isNull());
    expectLayout(o_fBoot, {
                              {"GroupBox1", {8, 8, 377, 177}, "Boot file info", false},
                              {"Label1", {8, 24, 0, 0}, "Boot file", false},
                              {"Edit1", {16, 40, 161, 24}, "", false},
                              {"SpeedButton1", {184, 40, 49, 25}, "", true},
                              {"Label4", {8, 72, 0, 0}, "Status", false},
                              {"o_cbMsgType", {16, 88, 201, 22}, "", false},
                              {"Label3", {8, 120, 0, 0}, "Description", false},
                              {"Edit3", {16, 136, 345, 24}, "", false},
                              {"BitBtn1", {192, 192, 89, 33}, "&Ok", true},
                              {"BitBtn2", {296, 192, 89, 33}, "&Close", true},
                          });
    EXPECT_EQ(tabStops(o_fBoot),
              QStringList({"Edit1", "o_cbMsgType", "Edit3", "BitBtn1", "BitBtn2"}));
    EXPECT_TRUE(boot->o_cbMsgType->paintsIcons());
    EXPECT_TRUE(boot->BitBtn1->isDefault());

    EXPECT_EQ(o_fFlash->size(), QSize(396, 285));
    EXPECT_EQ(o_fFlash->windowTitle(), "Flash file");
    EXPECT_EQ(o_fFlash->windowIcon().pixmap(32).toImage(),
              o_fMain->windowIcon().pixmap(32).toImage());
    expectLayout(o_fFlash, {
                               {"GroupBox1", {8, 8, 377, 225}, "Flash file info", false},
                               {"Label5", {8, 24, 0, 0}, "In Phone Group", false},
                               {"o_tPhoneGroup", {16, 40, 161, 24}, "", false},
                               {"Label1", {8, 72, 0, 0}, "Flash file", false},
                               {"Edit1", {16, 88, 161, 24}, "", false},
                               {"SpeedButton1", {184, 88, 49, 25}, "", true},
                               {"Label2", {248, 72, 0, 0}, "Start address", false},
                               {"Edit2", {256, 88, 105, 24}, "", false},
                               {"Label4", {8, 120, 0, 0}, "Status", false},
                               {"o_cbMsgType", {16, 136, 201, 22}, "", false},
                               {"Label3", {8, 168, 0, 0}, "Description", false},
                               {"Edit3", {16, 184, 345, 24}, "", false},
                               {"BitBtn1", {192, 240, 89, 33}, "&Ok", true},
                               {"BitBtn2", {296, 240, 89, 33}, "&Close", true},
                           });
    EXPECT_EQ(tabStops(o_fFlash),
              QStringList({"Edit1", "Edit2", "o_cbMsgType", "Edit3", "BitBtn1", "BitBtn2"}));
    EXPECT_FALSE(flash->o_cbMsgType->paintsIcons());
    EXPECT_TRUE(flash->o_tPhoneGroup->isReadOnly());
    EXPECT_EQ(flash->o_tPhoneGroup->palette().color(QPalette::Base),
              flash->o_tPhoneGroup->palette().color(QPalette::Button));
    EXPECT_EQ(flash->Label5->palette().color(QPalette::WindowText), QColor(Qt::blue));
    EXPECT_TRUE(flash->Label5->font().bold());
}

TEST_F(BootFlashDialogTest, AddsABootEntryEndToEnd)
{
    o_fMain->ShowLibraryPage(LibraryPage::Common);
    showDialog(o_fBoot);
    EXPECT_EQ(o_fMain->ui()->PageControl1->currentIndex(), static_cast<int>(LibraryPage::Boot));

    nextPick = pickable("c:\\download\\new.bin", "boot");
    boot->SpeedButton1->click();
    ASSERT_EQ(seenDialogs.size(), 1u);
    EXPECT_EQ(seenDialogs[0].Title, "Select Boot file");
    EXPECT_EQ(seenDialogs[0].DefaultExt, "bin");
    EXPECT_EQ(seenDialogs[0].Filter, "Nokia TIA files (*.bin)|*.BIN|All files (*.*)|*.*");
    EXPECT_EQ(boot->Edit1->text(), "new.bin");
    EXPECT_EQ(drive.read("c:\\nk_files\\Lunzo\\Boots\\new.bin"), "boot");
    EXPECT_EQ(takeMessages(),
              std::vector<QString>{"Boot file copied to the system specified directory"});

    boot->o_cbMsgType->setStatusCode(2);
    answer = QMessageBox::Yes;
    boot->BitBtn1->click();
    EXPECT_EQ(takeMessages(), std::vector<QString>{"Boot added successfully. Add new?"});
    EXPECT_EQ(drive.read(Paths::BootCatalogue),
              "[new.bin]\r\nSTATUS=2\r\nDescription=\r\nSelected=0\r\n");
    EXPECT_TRUE(boot->Edit1->text().isEmpty() && boot->Edit3->text().isEmpty());
    EXPECT_EQ(boot->o_cbMsgType->statusCode(), -1);
    EXPECT_TRUE(o_fBoot->isVisible());
    ASSERT_EQ(o_fMain->ui()->ListView3->topLevelItemCount(), 1);
    EXPECT_EQ(o_fMain->ui()->ListView3->topLevelItem(0)->text(0), "new.bin");

    fillBoot("second.bin", 0, "d");
    answer = QMessageBox::No;
    boot->BitBtn1->click();
    EXPECT_FALSE(o_fBoot->isVisible());
    EXPECT_EQ(o_fMain->ui()->ListView3->topLevelItemCount(), 2);
}

TEST_F(BootFlashDialogTest, AddsAFlashEntryToTheGroupInFront)
{
    showGroupPage("3310");
    o_fMain->ShowLibraryPage(LibraryPage::Tia);
    showDialog(o_fFlash);
    EXPECT_EQ(flash->o_tPhoneGroup->text(), "3310");
    EXPECT_EQ(o_fMain->ui()->PageControl1->currentIndex(), static_cast<int>(LibraryPage::Tia));

    nextPick = pickable("c:\\download\\v5.fls", "image");
    flash->SpeedButton1->click();
    ASSERT_EQ(seenDialogs.size(), 1u);
    EXPECT_EQ(seenDialogs[0].Title, "Select Flash file");
    EXPECT_EQ(seenDialogs[0].DefaultExt, "fls");
    EXPECT_EQ(seenDialogs[0].Filter, "Nokia Flash files (*.fls)|*.fls|All files (*.*)|*.*");
    EXPECT_EQ(drive.read("c:\\nk_files\\Lunzo\\Phones\\3310\\v5.fls"), "image");
    EXPECT_EQ(takeMessages(),
              std::vector<QString>{"Flash file copied to the system specified directory"});

    flash->Edit2->setText(" not hex ");
    flash->o_cbMsgType->setStatusCode(0);
    flash->Edit3->setText("v5");
    answer = QMessageBox::Yes;
    flash->BitBtn1->click();
    EXPECT_EQ(takeMessages(), std::vector<QString>{"Flash file added successfully. Add new?"});
    EXPECT_EQ(drive.read(Flash3310),
              "[v5.fls]\r\nAddress= not hex \r\nSTATUS=0\r\nDescription=v5\r\n");
    EXPECT_TRUE(flash->Edit1->text().isEmpty() && flash->Edit2->text().isEmpty() &&
                flash->Edit3->text().isEmpty());
    EXPECT_EQ(flash->o_cbMsgType->statusCode(), -1);
    EXPECT_EQ(flash->o_tPhoneGroup->text(), "3310");
    EXPECT_EQ(o_fMain->ActivePageCaption(), "3310");
    EXPECT_EQ(o_fMain->ActiveFlashList()->topLevelItemCount(), 1);

    fillFlash("v6.fls", "0", 1);
    answer = QMessageBox::No;
    flash->BitBtn1->click();
    EXPECT_FALSE(o_fFlash->isVisible());
    EXPECT_EQ(o_fMain->ActiveFlashList()->topLevelItemCount(), 2);
    EXPECT_FALSE(drive.exists(Flash3210));
}

TEST_F(BootFlashDialogTest, ChecksRunInOrderAndFocusTheFieldToCorrect)
{
    showGroupPage("3210");
    const struct {
        QDialog* dialog;
        std::function<void()> fill;
        const char* notice;
        QWidget* focus;
    } cases[] = {
        {o_fBoot, [&] { fillBoot("", 0); }, "Select BOOT file first", boot->Edit1},
        {o_fBoot, [&] { fillBoot(" \t", 0); }, "Select BOOT file first", boot->Edit1},
        {o_fBoot, [&] { fillBoot("b.bin", -1); }, "Select status", boot->o_cbMsgType},
        {o_fFlash, [&] { fillFlash(" ", "0", 0); }, "Select Flash file first", flash->Edit1},
        {o_fFlash, [&] { fillFlash("f.fls", "  ", 0); }, "Enter flash start address ",
         flash->Edit2},
        {o_fFlash, [&] { fillFlash("f.fls", "0", 5); }, "Select status", flash->o_cbMsgType},
    };
    for (const auto& check : cases) {
        SCOPED_TRACE(check.notice);
        showDialog(check.dialog);
        check.fill();
        check.dialog->findChild<QPushButton*>("BitBtn1")->click();
        EXPECT_EQ(takeMessages(), std::vector<QString>{check.notice});
        EXPECT_EQ(QApplication::focusWidget(), check.focus);
        EXPECT_TRUE(check.dialog->isVisible());
    }
    EXPECT_FALSE(drive.exists(Paths::BootCatalogue));
    EXPECT_FALSE(drive.exists(Flash3210));
}

TEST_F(BootFlashDialogTest, BrowsingNeverOverwritesALibraryFile)
{
    drive.write("c:\\nk_files\\Lunzo\\Boots\\b.bin", "library");
    nextPick = pickable("c:\\download\\b.bin", "picked");
    boot->SpeedButton1->click();
    EXPECT_EQ(boot->Edit1->text(), "b.bin");
    EXPECT_EQ(drive.read("c:\\nk_files\\Lunzo\\Boots\\b.bin"), "library");

    // Each group has its own copy: a file in one group's folder does not stop the copy to another.
    drive.write("c:\\nk_files\\Lunzo\\Phones\\3210\\f.fls", "library");
    nextPick = pickable("c:\\download\\f.fls", "picked");
    showGroupPage("3210");
    showDialog(o_fFlash);
    flash->SpeedButton1->click();
    EXPECT_EQ(drive.read("c:\\nk_files\\Lunzo\\Phones\\3210\\f.fls"), "library");
    EXPECT_TRUE(messages.empty());

    o_fFlash->hide();
    showGroupPage("3310");
    showDialog(o_fFlash);
    flash->SpeedButton1->click();
    EXPECT_EQ(drive.read("c:\\nk_files\\Lunzo\\Phones\\3310\\f.fls"), "picked");
    EXPECT_EQ(takeMessages(),
              std::vector<QString>{"Flash file copied to the system specified directory"});
}

TEST_F(BootFlashDialogTest, EditingABootEntryRewritesItAndResetsSelected)
{
    drive.write(Paths::BootCatalogue, "[a.bin]\r\nSTATUS=1\r\nDescription=old\r\nSelected=1\r\n"
                                      "Extra=e\r\n[b.bin]\r\nSTATUS=0\r\n");
    o_fMain->LoadBootList();
    o_fMain->ShowLibraryPage(LibraryPage::Common);
    answer = QMessageBox::No;
    QStringList shown;
    whileShown(
        [&] {
            shown << boot->Edit1->text() << QString::number(boot->o_cbMsgType->statusCode())
                  << boot->Edit3->text();
            EXPECT_EQ(o_fMain->ui()->PageControl1->currentIndex(),
                      static_cast<int>(LibraryPage::Boot));
            boot->Edit3->setText("new");
            boot->BitBtn1->click();
        },
        [] { o_fBoot->EditBootEntry("a.bin"); });
    EXPECT_EQ(shown, QStringList({"a.bin", "1", "old"}));
    EXPECT_EQ(drive.read(Paths::BootCatalogue),
              "[a.bin]\r\nSTATUS=1\r\nDescription=new\r\nSelected=0\r\nExtra=e\r\n"
              "[b.bin]\r\nSTATUS=0\r\n");
}

TEST_F(BootFlashDialogTest, EditingAFlashEntryKeepsItsOtherKeysAndTheOtherGroups)
{
    // A name written on Windows in its code page, not valid UTF-8, in two groups.
    const std::string name = "caf\xE9.fls";
    const std::string in3210 = "[" + name + "]\r\nAddress=100\r\nSTATUS=0\r\nDescription=d\r\n";
    drive.write(Flash3210, in3210);
    drive.write(Flash3310, "[" + name + "]\r\nSize=4\r\nAddress=200\r\nSTATUS=2\r\n");
    showGroupPage("3310");
    answer = QMessageBox::No;
    QStringList shown;
    whileShown(
        [&] {
            shown << flash->o_tPhoneGroup->text() << flash->Edit1->text() << flash->Edit2->text()
                  << QString::number(flash->o_cbMsgType->statusCode()) << flash->Edit3->text();
            flash->Edit2->setText("300");
            flash->BitBtn1->click();
        },
        [&] { o_fFlash->EditFlashEntry(name); });
    EXPECT_EQ(shown, QStringList({"3310", "caf\u00e9.fls", "200", "2", ""}));
    EXPECT_EQ(drive.read(Flash3310),
              "[" + name + "]\r\nSize=4\r\nAddress=300\r\nSTATUS=2\r\nDescription=\r\n");
    EXPECT_EQ(drive.read(Flash3210), in3210);
    EXPECT_EQ(o_fMain->ActiveFlashList()->topLevelItem(0)->text(1), "300");
}

TEST_F(BootFlashDialogTest, EntryOpenedInOneGroupIsStoredInTheGroupInFrontAtTheNextShowing)
{
    const std::string in3210 = "[f.fls]\r\nAddress=100\r\nSTATUS=1\r\nDescription=d\r\n";
    drive.write(Flash3210, in3210);
    showGroupPage("3210");
    whileShown([&] { flash->BitBtn2->click(); }, [] { o_fFlash->EditFlashEntry("f.fls"); });

    showGroupPage("3310");
    answer = QMessageBox::No;
    QStringList shown;
    whileShown(
        [&] {
            shown << flash->o_tPhoneGroup->text() << flash->Edit1->text() << flash->Edit2->text();
            flash->BitBtn1->click();
        },
        [] { o_fFlash->exec(); });
    EXPECT_EQ(shown, QStringList({"3310", "f.fls", "100"}));
    EXPECT_EQ(drive.read(Flash3310), in3210);
    EXPECT_EQ(drive.read(Flash3210), in3210);
    EXPECT_EQ(o_fMain->ActivePageCaption(), "3310");
    EXPECT_EQ(o_fMain->ActiveFlashList()->topLevelItemCount(), 1);
}

TEST_F(BootFlashDialogTest, ReadOnlyCatalogueEndsOkAtTheWrite)
{
    showGroupPage("3310");
    const struct {
        QDialog* dialog;
        std::function<void()> fill;
        std::string catalogue;
        QLineEdit* name;
    } cases[] = {
        {o_fBoot, [&] { fillBoot("b.bin", 2, "d"); }, std::string(Paths::BootCatalogue),
         boot->Edit1},
        {o_fFlash, [&] { fillFlash("f.fls", "0", 2); }, Flash3310, flash->Edit1},
    };
    for (const auto& write : cases) {
        SCOPED_TRACE(write.catalogue);
        drive.write(write.catalogue, "[a]\r\n");
        drive.makeReadOnly(write.catalogue);
        showDialog(write.dialog);
        write.fill();
        // Through the event loop, as a user's click.
        QTest::mouseClick(write.dialog->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].caption, "Quorvel");
        EXPECT_EQ(messages[0].text,
                  QString::fromStdString("Unable to write to " + write.catalogue + "."));
        messages.clear();
        EXPECT_FALSE(write.name->text().isEmpty());
        EXPECT_TRUE(write.dialog->isVisible());
        EXPECT_EQ(drive.read(write.catalogue), "[a]\r\n");
    }
}

// SPDX-License-Identifier: GPL-2.0-or-later
// The boot and the flash file dialogs: layout, adding and editing entries, OK's checks, and a
// catalogue that refuses the write.

#include "forms/editors/boot.h"
#include "forms/editors/flash.h"
#include "forms/main_window/main.h"
#include "library/paths.h"
#include "ui_boot.h"
#include "ui_flash.h"
#include "ui_main.h"
#include "window_fixture.h"

#include <QApplication>
#include <QTest>
#include <functional>

namespace
{

const std::string Flash3210 = Paths::FlashCatalogue("3210");
const std::string Flash3310 = Paths::FlashCatalogue("3310");

struct Control {
    const char* name;
    QRect rect; // labels: position only
    const char* text;
    bool picture = false;
};

// Client size, caption, the controls, and the controls that Tab visits in their order.
void expectLayout(QDialog* dialog, QSize size, const char* title,
                  std::initializer_list<Control> controls, const QStringList& tabOrder)
{
    EXPECT_EQ(dialog->size(), size);
    EXPECT_EQ(dialog->windowTitle(), title);
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
    QStringList stops;
    for (QWidget* widget = dialog->nextInFocusChain(); widget != dialog;
         widget = widget->nextInFocusChain()) {
        if (widget->window() == dialog && widget->isVisibleTo(dialog) &&
            (widget->focusPolicy() & Qt::TabFocus))
            stops << widget->objectName();
    }
    EXPECT_EQ(stops, tabOrder);
}

} // namespace

class BootFlashDialogTest : public EditorDialogTest
{
protected:
    void SetUp() override
    {
        drive.write(Paths::PhoneCatalogue, "[3210]\r\n[3310]\r\n");
        answer = QMessageBox::No; // "Add new?" closes the dialog
        start();
        boot = o_fBoot->ui();
        flash = o_fFlash->ui();
    }

    Ui::To_fBoot* boot = nullptr;
    Ui::To_fFlash* flash = nullptr;
};

TEST_F(BootFlashDialogTest, Layout)
{
    expectLayout(o_fBoot, {396, 237}, "Boot file",
                 {
                     {"GroupBox1", {8, 8, 377, 177}, "Boot file info"},
                     {"Label1", {8, 24, 0, 0}, "Boot file"},
                     {"Edit1", {16, 40, 161, 24}, ""},
                     {"SpeedButton1", {184, 40, 49, 25}, "", true},
                     {"Label4", {8, 72, 0, 0}, "Status"},
                     {"o_cbMsgType", {16, 88, 201, 22}, ""},
                     {"Label3", {8, 120, 0, 0}, "Description"},
                     {"Edit3", {16, 136, 345, 24}, ""},
                     {"BitBtn1", {192, 192, 89, 33}, "&Ok", true},
                     {"BitBtn2", {296, 192, 89, 33}, "&Close", true},
                 },
                 {"Edit1", "SpeedButton1", "o_cbMsgType", "Edit3", "BitBtn1", "BitBtn2"});
    EXPECT_FALSE(o_fBoot->windowIcon().isNull());
    EXPECT_TRUE(boot->o_cbMsgType->paintsIcons());
    EXPECT_TRUE(boot->BitBtn1->isDefault());

    expectLayout(o_fFlash, {396, 285}, "Flash file",
                 {
                     {"GroupBox1", {8, 8, 377, 225}, "Flash file info"},
                     {"Label5", {8, 24, 0, 0}, "In Phone Group"},
                     {"o_tPhoneGroup", {16, 40, 161, 24}, ""},
                     {"Label1", {8, 72, 0, 0}, "Flash file"},
                     {"Edit1", {16, 88, 161, 24}, ""},
                     {"SpeedButton1", {184, 88, 49, 25}, "", true},
                     {"Label2", {248, 72, 0, 0}, "Start address"},
                     {"Edit2", {256, 88, 105, 24}, ""},
                     {"Label4", {8, 120, 0, 0}, "Status"},
                     {"o_cbMsgType", {16, 136, 201, 22}, ""},
                     {"Label3", {8, 168, 0, 0}, "Description"},
                     {"Edit3", {16, 184, 345, 24}, ""},
                     {"BitBtn1", {192, 240, 89, 33}, "&Ok", true},
                     {"BitBtn2", {296, 240, 89, 33}, "&Close", true},
                 },
                 {"Edit1", "SpeedButton1", "Edit2", "o_cbMsgType", "Edit3", "BitBtn1", "BitBtn2"});
    EXPECT_EQ(o_fFlash->windowIcon().pixmap(32).toImage(),
              o_fMain->windowIcon().pixmap(32).toImage());
    EXPECT_FALSE(flash->o_cbMsgType->paintsIcons());
    EXPECT_TRUE(flash->o_tPhoneGroup->isReadOnly());
    EXPECT_EQ(flash->o_tPhoneGroup->palette().color(QPalette::Base),
              flash->o_tPhoneGroup->palette().color(QPalette::Button));
    EXPECT_EQ(flash->Label5->palette().color(QPalette::WindowText), QColor(Qt::blue));
    EXPECT_TRUE(flash->Label5->font().bold());
}

TEST_F(BootFlashDialogTest, AddsAnEntryEndToEndAndKeepsTheDialogWhenTheWriteIsRefused)
{
    showGroupPage("3310");
    flash->o_tPhoneGroup->setText("3310"); // as the main window hands it over when it opens
    const struct {
        QDialog* dialog;
        LibraryPage page; // in front once the dialog shows: the flash dialog switches none
        QStringList picker;
        const char* name;      // of the file picked
        std::string folder;    // the file's copy in the library
        const char* elsewhere; // a file of that name that does not stop the copy
        std::vector<QString> messages;
        QStringList fields;
        std::string catalogue, written;
        QStringList cleared;
        QTreeWidget* list;
    } adds[] = {
        {o_fBoot,
         LibraryPage::Boot,
         {"Select Boot file", "bin", "Nokia TIA files (*.bin)|*.BIN|All files (*.*)|*.*"},
         "new.bin",
         std::string(Paths::BootFolder),
         "c:\\nk_files\\Lunzo\\Tias\\new.bin",
         {"Boot file copied to the system specified directory",
          "Boot added successfully. Add new?"},
         {"new.bin", "2", "d"},
         std::string(Paths::BootCatalogue),
         "[new.bin]\r\nSTATUS=2\r\nDescription=d\r\nSelected=0\r\n",
         {"", "-1", ""},
         o_fMain->ui()->ListView3},
        {o_fFlash,
         LibraryPage::Tia,
         {"Select Flash file", "fls", "Nokia Flash files (*.fls)|*.fls|All files (*.*)|*.*"},
         "new.fls",
         Paths::GroupFolder("3310"),
         "c:\\nk_files\\Lunzo\\Phones\\3210\\new.fls",
         {"Flash file copied to the system specified directory",
          "Flash file added successfully. Add new?"},
         {"3310", "new.fls", " not hex ", "0", "v5"},
         Flash3310,
         "[new.fls]\r\nAddress= not hex \r\nSTATUS=0\r\nDescription=v5\r\n",
         {"3310", "", "", "-1", ""},
         activeFlashList()},
    };
    for (const auto& add : adds) {
        SCOPED_TRACE(add.catalogue);
        o_fMain->ShowLibraryPage(LibraryPage::Tia);
        showDialog(add.dialog);
        EXPECT_EQ(o_fMain->ui()->PageControl1->currentIndex(), static_cast<int>(add.page));
        auto* ok = add.dialog->findChild<QPushButton*>("BitBtn1");

        drive.write(add.elsewhere, "elsewhere");
        const std::string picked = "c:\\download\\" + std::string(add.name);
        nextPick = pickable(picked.c_str(), "picked");
        auto* browse = add.dialog->findChild<QToolButton*>("SpeedButton1");
        browse->click();
        EXPECT_EQ(pickerTexts(), add.picker);
        EXPECT_EQ(drive.read(add.folder + add.name), "picked");
        // The same bytes under the same name, letter case aside, are not copied again; the
        // field shows the library's spelling.
        nextPick =
            pickable(QString::fromStdString(picked).toUpper().toStdString().c_str(), "picked");
        setFields(add.dialog, add.cleared);
        browse->click();
        EXPECT_TRUE(fieldsOf(add.dialog).contains(add.name));
        EXPECT_EQ(drive.read(add.folder + add.name), "picked");
        setFields(add.dialog, add.fields);
        answer = QMessageBox::Yes;
        ok->click();
        EXPECT_EQ(takeMessages(), add.messages);
        EXPECT_EQ(drive.read(add.catalogue), add.written);
        EXPECT_EQ(fieldsOf(add.dialog), add.cleared);
        EXPECT_TRUE(add.dialog->isVisible());
        ASSERT_EQ(add.list->topLevelItemCount(), 1);
        EXPECT_EQ(add.list->topLevelItem(0)->text(0), add.name);

        answer = QMessageBox::No;
        drive.write(add.folder + "next", "");
        setFields(add.dialog, QStringList(add.fields).replaceInStrings(add.name, "next"));
        ok->click();
        EXPECT_EQ(takeMessages(), std::vector<QString>{add.messages.back()});
        EXPECT_FALSE(add.dialog->isVisible());
        EXPECT_EQ(add.list->topLevelItemCount(), 2);

        // A catalogue that refuses the write ends OK with the unexpected-error box.
        drive.makeReadOnly(add.catalogue);
        const std::string before = drive.read(add.catalogue);
        showDialog(add.dialog);
        setFields(add.dialog, add.fields);
        QTest::mouseClick(ok, Qt::LeftButton); // through the event loop, as a user's click
        EXPECT_EQ(takeMessages(), std::vector<QString>{QString::fromStdString(
                                      "Unable to write to " + add.catalogue + ".")});
        EXPECT_EQ(fieldsOf(add.dialog), add.fields);
        EXPECT_TRUE(add.dialog->isVisible());
        EXPECT_EQ(drive.read(add.catalogue), before);
        add.dialog->hide();
    }
    EXPECT_FALSE(drive.exists(Flash3210));
}

TEST_F(BootFlashDialogTest, ChecksRunInOrderAndFocusTheFieldToCorrect)
{
    showGroupPage("3210");
    const struct {
        QDialog* dialog;
        QStringList fields;
        const char* notice;
        QWidget* focus;
    } cases[] = {
        {o_fBoot, {"", "0", ""}, "Select BOOT file first", boot->Edit1},
        {o_fBoot, {" \t", "0", ""}, "Select BOOT file first", boot->Edit1},
        {o_fBoot, {"b.bin", "-1", ""}, "Select status", boot->o_cbMsgType},
        {o_fFlash, {"3210", " ", "0", "0", ""}, "Select Flash file first", flash->Edit1},
        {o_fFlash, {"3210", "f.fls", "  ", "0", ""}, "Enter flash start address ", flash->Edit2},
        {o_fFlash, {"3210", "f.fls", "0", "5", ""}, "Select status", flash->o_cbMsgType},
        // A name the library does not hold (a failed or cancelled browse copy), and an image
        // that would take a staged file's place.
        {o_fBoot,
         {"b.bin", "0", ""},
         "The file \"b.bin\" is not in the library folder c:\\nk_files\\Lunzo\\Boots\\. "
         "Browse for it again.",
         boot->Edit1},
        {o_fFlash,
         {"3210", "BOOT.BIN", "0", "0", ""},
         "A flash file may not be named \"BOOT.BIN\": a run stages the loader and the boot file "
         "under the names f_loader.bin and boot.bin beside it. Rename the file and browse for it "
         "again.",
         flash->Edit1},
    };
    for (const auto& check : cases) {
        SCOPED_TRACE(check.notice);
        showDialog(check.dialog);
        setFields(check.dialog, check.fields);
        check.dialog->findChild<QPushButton*>("BitBtn1")->click();
        EXPECT_EQ(takeMessages(), std::vector<QString>{check.notice});
        EXPECT_EQ(QApplication::focusWidget(), check.focus);
        EXPECT_TRUE(check.dialog->isVisible());
    }
    EXPECT_FALSE(drive.exists(Paths::BootCatalogue));
    EXPECT_FALSE(drive.exists(Flash3210));
}

TEST_F(BootFlashDialogTest, EditingABootEntryRewritesItAndResetsSelected)
{
    drive.write(Paths::BootCatalogue, "[a.bin]\r\nSTATUS=1\r\nDescription=old\r\nSelected=1\r\n"
                                      "Extra=e\r\n[b.bin]\r\nSTATUS=0\r\n");
    drive.write(Paths::Join(Paths::BootFolder, "a.bin"), "");
    QStringList shown;
    whileShown(
        [&] {
            shown = fieldsOf(o_fBoot);
            boot->Edit3->setText("new");
            boot->BitBtn1->click();
        },
        [] { o_fBoot->EditBootEntry("a.bin"); });
    EXPECT_EQ(shown, QStringList({"a.bin", "1", "old"}));
    EXPECT_EQ(drive.read(Paths::BootCatalogue),
              "[a.bin]\r\nSTATUS=1\r\nDescription=new\r\nSelected=0\r\nExtra=e\r\n"
              "[b.bin]\r\nSTATUS=0\r\n");
}

TEST_F(BootFlashDialogTest, EditingAFlashEntryKeepsItsOtherKeysAndStoresInTheGroupInFront)
{
    // A name written on Windows in its code page, not valid UTF-8, in two groups.
    const std::string name = "caf\xE9.fls";
    const std::string in3210 = "[" + name + "]\r\nAddress=100\r\nSTATUS=0\r\nDescription=d\r\n";
    drive.write(Flash3210, in3210);
    drive.write(Flash3310, "[" + name + "]\r\nSize=4\r\nAddress=200\r\nSTATUS=2\r\n");
    drive.write(Paths::GroupFolder("3310") + name, "");
    QStringList shown;
    const auto okWhileShown = [&](const std::function<void()>& open) {
        whileShown(
            [&] {
                shown << fieldsOf(o_fFlash);
                flash->Edit3->setText(flash->Edit3->text() + "+");
                flash->BitBtn1->click();
            },
            open);
    };
    showGroupPage("3310");
    okWhileShown([&] { o_fFlash->EditFlashEntry("3310", name); });
    EXPECT_EQ(drive.read(Flash3310),
              "[" + name + "]\r\nSize=4\r\nAddress=200\r\nSTATUS=2\r\nDescription=+\r\n");
    EXPECT_EQ(activeFlashList()->topLevelItem(0)->text(2), "+");

    // Opened in one group and closed, then stored from another group's page at the next showing.
    showGroupPage("3210");
    whileShown([&] { flash->BitBtn2->click(); }, [&] { o_fFlash->EditFlashEntry("3210", name); });
    showGroupPage("3310");
    okWhileShown([] { o_fFlash->ShowForGroup("3310"); });
    EXPECT_EQ(shown, QStringList({"3310", "caf\u00e9.fls", "200", "2", "", //
                                  "3310", "caf\u00e9.fls", "100", "0", "d"}));
    EXPECT_EQ(drive.read(Flash3310),
              "[" + name + "]\r\nSize=4\r\nAddress=100\r\nSTATUS=0\r\nDescription=d+\r\n");
    EXPECT_EQ(drive.read(Flash3210), in3210);
}

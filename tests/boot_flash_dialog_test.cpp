// The boot and the flash file dialogs: layout, adding and editing entries, OK's checks, and a
// catalogue that refuses the write.

#include "forms/boot.h"
#include "forms/flash.h"
#include "forms/main.h"
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
                 {"Edit1", "o_cbMsgType", "Edit3", "BitBtn1", "BitBtn2"});
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
                 {"Edit1", "Edit2", "o_cbMsgType", "Edit3", "BitBtn1", "BitBtn2"});
    EXPECT_EQ(o_fFlash->windowIcon().pixmap(32).toImage(),
              o_fMain->windowIcon().pixmap(32).toImage());
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
    EXPECT_EQ(pickerTexts(), QStringList({"Select Boot file", "bin",
                                          "Nokia TIA files (*.bin)|*.BIN|All files (*.*)|*.*"}));
    EXPECT_EQ(drive.read("c:\\nk_files\\Lunzo\\Boots\\new.bin"), "boot");
    EXPECT_EQ(takeMessages(),
              std::vector<QString>{"Boot file copied to the system specified directory"});

    setFields(o_fBoot, {"new.bin", "2", ""});
    answer = QMessageBox::Yes;
    boot->BitBtn1->click();
    EXPECT_EQ(takeMessages(), std::vector<QString>{"Boot added successfully. Add new?"});
    EXPECT_EQ(drive.read(Paths::BootCatalogue),
              "[new.bin]\r\nSTATUS=2\r\nDescription=\r\nSelected=0\r\n");
    EXPECT_EQ(fieldsOf(o_fBoot), QStringList({"", "-1", ""}));
    EXPECT_TRUE(o_fBoot->isVisible());
    ASSERT_EQ(o_fMain->ui()->ListView3->topLevelItemCount(), 1);
    EXPECT_EQ(o_fMain->ui()->ListView3->topLevelItem(0)->text(0), "new.bin");

    setFields(o_fBoot, {"second.bin", "0", "d"});
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
    EXPECT_EQ(pickerTexts(), QStringList({"Select Flash file", "fls",
                                          "Nokia Flash files (*.fls)|*.fls|All files (*.*)|*.*"}));
    EXPECT_EQ(drive.read("c:\\nk_files\\Lunzo\\Phones\\3310\\v5.fls"), "image");
    EXPECT_EQ(takeMessages(),
              std::vector<QString>{"Flash file copied to the system specified directory"});

    setFields(o_fFlash, {"3310", "v5.fls", " not hex ", "0", "v5"});
    answer = QMessageBox::Yes;
    flash->BitBtn1->click();
    EXPECT_EQ(takeMessages(), std::vector<QString>{"Flash file added successfully. Add new?"});
    EXPECT_EQ(drive.read(Flash3310),
              "[v5.fls]\r\nAddress= not hex \r\nSTATUS=0\r\nDescription=v5\r\n");
    EXPECT_EQ(fieldsOf(o_fFlash), QStringList({"3310", "", "", "-1", ""})); // the group stays
    EXPECT_EQ(o_fMain->ActiveFlashList()->topLevelItemCount(), 1);

    setFields(o_fFlash, {"3310", "v6.fls", "0", "1", ""});
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
    for (const char* group : {"3210", "3310"}) {
        showGroupPage(group);
        showDialog(o_fFlash);
        flash->SpeedButton1->click();
        o_fFlash->hide();
    }
    EXPECT_EQ(drive.read("c:\\nk_files\\Lunzo\\Phones\\3210\\f.fls"), "library");
    EXPECT_EQ(drive.read("c:\\nk_files\\Lunzo\\Phones\\3310\\f.fls"), "picked");
    EXPECT_EQ(takeMessages(),
              std::vector<QString>{"Flash file copied to the system specified directory"});
}

TEST_F(BootFlashDialogTest, EditingABootEntryRewritesItAndResetsSelected)
{
    drive.write(Paths::BootCatalogue, "[a.bin]\r\nSTATUS=1\r\nDescription=old\r\nSelected=1\r\n"
                                      "Extra=e\r\n[b.bin]\r\nSTATUS=0\r\n");
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
    okWhileShown([&] { o_fFlash->EditFlashEntry(name); });
    EXPECT_EQ(drive.read(Flash3310),
              "[" + name + "]\r\nSize=4\r\nAddress=200\r\nSTATUS=2\r\nDescription=+\r\n");
    EXPECT_EQ(o_fMain->ActiveFlashList()->topLevelItem(0)->text(2), "+");

    // Opened in one group and closed, then stored from another group's page at the next showing.
    showGroupPage("3210");
    whileShown([&] { flash->BitBtn2->click(); }, [&] { o_fFlash->EditFlashEntry(name); });
    showGroupPage("3310");
    okWhileShown([] { o_fFlash->exec(); });
    EXPECT_EQ(shown, QStringList({"3310", "caf\u00e9.fls", "200", "2", "", //
                                  "3310", "caf\u00e9.fls", "100", "0", "d"}));
    EXPECT_EQ(drive.read(Flash3310),
              "[" + name + "]\r\nSize=4\r\nAddress=100\r\nSTATUS=0\r\nDescription=d+\r\n");
    EXPECT_EQ(drive.read(Flash3210), in3210);
}

TEST_F(BootFlashDialogTest, ReadOnlyCatalogueEndsOkAtTheWrite)
{
    showGroupPage("3310");
    const struct {
        QDialog* dialog;
        std::string catalogue;
        QStringList fields;
    } cases[] = {
        {o_fBoot, std::string(Paths::BootCatalogue), {"b.bin", "2", ""}},
        {o_fFlash, Flash3310, {"3310", "f.fls", "0", "2", ""}},
    };
    for (const auto& write : cases) {
        SCOPED_TRACE(write.catalogue);
        drive.write(write.catalogue, "[a]\r\n");
        drive.makeReadOnly(write.catalogue);
        showDialog(write.dialog);
        setFields(write.dialog, write.fields);
        // Through the event loop, as a user's click.
        QTest::mouseClick(write.dialog->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
        // The full stop: the unexpected-error box.
        EXPECT_EQ(takeMessages(), std::vector<QString>{QString::fromStdString(
                                      "Unable to write to " + write.catalogue + ".")});
        EXPECT_EQ(fieldsOf(write.dialog), write.fields);
        EXPECT_TRUE(write.dialog->isVisible());
        EXPECT_EQ(drive.read(write.catalogue), "[a]\r\n");
    }
}

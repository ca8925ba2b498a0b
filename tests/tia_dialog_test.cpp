// SPDX-License-Identifier: GPL-2.0-or-later
// The TIA dialog: browsing into the library, OK's checks and writes, editing an entry, and the
// status picker's painting.

#include "forms/common/open_dialog.h"
#include "forms/editors/status_picker.h"
#include "forms/editors/tia.h"
#include "forms/main_window/main.h"
#include "library/paths.h"
#include "ui_main.h"
#include "ui_tia.h"
#include "window_fixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QTimer>

class TiaDialogTest : public EditorDialogTest
{
protected:
    void SetUp() override
    {
        start();
        ui = o_fTia->ui();
    }

    void fill(const QString& name, const QString& type, int status, const QString& description)
    {
        ui->Edit1->setText(name);
        ui->Edit2->setText(type);
        ui->o_cbMsgType->setStatusCode(status);
        ui->Edit3->setText(description);
    }

    Ui::To_fTia* ui = nullptr;
};

TEST_F(TiaDialogTest, AddsAnEntryEndToEnd)
{
    showDialog(o_fTia);
    nextPick = pickable("c:\\download\\New.TIA", "loader");
    ui->SpeedButton1->click();
    ASSERT_EQ(seenDialogs.size(), 1u);
    EXPECT_EQ(seenDialogs[0].Title, "Select TIA file");
    EXPECT_EQ(seenDialogs[0].DefaultExt, "Tia");
    EXPECT_EQ(seenDialogs[0].Filter, "Nokia TIA files (*.tia)|*.TIA|All files (*.*)|*.*");
    EXPECT_EQ(seenDialogs[0].Options, OpenDialog::FileMustExist | OpenDialog::EnableSizing);
    EXPECT_EQ(ui->Edit1->text(), "New.TIA");
    EXPECT_EQ(drive.read("c:\\nk_files\\Lunzo\\Tias\\New.TIA"), "loader");
    EXPECT_EQ(takeMessages(),
              std::vector<QString>{"File copied to the system specified directory"});

    ui->Edit2->setText(" 28F008 ");
    ui->o_cbMsgType->setStatusCode(0);
    ui->Edit3->setText("desc");
    answer = QMessageBox::Yes;
    ui->BitBtn1->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Confirm");
    EXPECT_EQ(messages[0].text, "TIA added successfully. Add new?");
    messages.clear();
    EXPECT_EQ(drive.read(Paths::TiaCatalogue),
              "[New.TIA]\r\nTYPE= 28F008 \r\nSTATUS=0\r\nDescription=desc\r\nSelected=0\r\n");
    EXPECT_TRUE(ui->Edit1->text().isEmpty() && ui->Edit2->text().isEmpty() &&
                ui->Edit3->text().isEmpty());
    EXPECT_EQ(ui->o_cbMsgType->statusCode(), -1);
    EXPECT_TRUE(o_fTia->isVisible());
    ASSERT_EQ(o_fMain->ui()->ListView1->topLevelItemCount(), 1);
    EXPECT_EQ(o_fMain->ui()->ListView1->topLevelItem(0)->text(1), "28F008"); // reading trims

    // The next browse starts from the path picked last; No closes the dialog.
    nextPick = pickable("c:\\download\\second.tia", "other");
    ui->SpeedButton1->click();
    EXPECT_EQ(seenDialogs[1].FileName,
              QString::fromStdString(Drive::NativePath("c:\\download\\New.TIA").string()));
    fill(ui->Edit1->text(), "29F800", 2, "");
    answer = QMessageBox::No;
    ui->BitBtn1->click();
    EXPECT_FALSE(o_fTia->isVisible());
    EXPECT_EQ(o_fMain->ui()->ListView1->topLevelItemCount(), 2);
}

TEST_F(TiaDialogTest, ChecksRunInOrderAndFocusTheFieldToCorrect)
{
    showDialog(o_fTia);
    ui->BitBtn1->click();
    EXPECT_EQ(takeMessages(), std::vector<QString>{"Select TIA file first"});
    EXPECT_EQ(QApplication::focusWidget(), ui->Edit1);

    fill(" \t", "x", 0, "");
    ui->BitBtn1->click();
    EXPECT_EQ(takeMessages(), std::vector<QString>{"Select TIA file first"});

    fill("a.tia", "   ", -1, "");
    ui->BitBtn1->click();
    EXPECT_EQ(takeMessages(), std::vector<QString>{"Enter flash type"});
    EXPECT_EQ(QApplication::focusWidget(), ui->Edit2);

    fill("a.tia", "x", 5, "");
    ui->BitBtn1->click();
    EXPECT_EQ(takeMessages(), std::vector<QString>{"Select status"});
    EXPECT_EQ(QApplication::focusWidget(), ui->o_cbMsgType);

    // A name whose file the library does not hold (a failed or cancelled browse copy).
    fill("a.tia", "x", 0, "");
    ui->BitBtn1->click();
    EXPECT_EQ(takeMessages(), std::vector<QString>{"The file \"a.tia\" is not in the library "
                                                   "folder c:\\nk_files\\Lunzo\\Tias\\. "
                                                   "Browse for it again."});
    EXPECT_EQ(QApplication::focusWidget(), ui->Edit1);

    EXPECT_FALSE(drive.exists(Paths::TiaCatalogue));
    EXPECT_TRUE(o_fTia->isVisible());
    EXPECT_EQ(ui->Edit1->text(), "a.tia");
}

TEST_F(TiaDialogTest, BrowsingNeverOverwritesALibraryFile)
{
    drive.write("c:\\nk_files\\Lunzo\\Tias\\a.tia", "library");
    nextPick = pickable("c:\\download\\a.tia", "different");
    ui->SpeedButton1->click();
    EXPECT_EQ(ui->Edit1->text(), "a.tia");
    EXPECT_EQ(drive.read("c:\\nk_files\\Lunzo\\Tias\\a.tia"), "library");
    EXPECT_EQ(takeMessages(), std::vector<QString>{
                                  "The library already holds a file named \"a.tia\", which differs "
                                  "from the picked file " +
                                  nextPick.value() +
                                  ". The library's file is kept and used; the picked file was not "
                                  "copied."});

    fill("kept.tia", "type", 1, "text");
    nextPick.reset();
    ui->SpeedButton1->click();
    EXPECT_EQ(ui->Edit1->text(), "kept.tia");
    EXPECT_EQ(ui->Edit2->text(), "type");
    EXPECT_TRUE(messages.empty());

    nextPick = QString::fromStdString(Drive::NativePath("c:\\download\\gone.tia").string());
    ui->SpeedButton1->click();
    EXPECT_EQ(ui->Edit1->text(), "gone.tia");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "File copy error.");

    // A name that reached us changed, not being text in the system's encoding: the field stays.
    nextPick = QString::fromStdString(Drive::NativePath("c:\\download\\caf").string()) +
               QChar::ReplacementCharacter + ".tia";
    ui->SpeedButton1->click();
    EXPECT_EQ(ui->Edit1->text(), "gone.tia");
    EXPECT_EQ(messages.back().text, "The name of the picked file \"caf\uFFFD.tia\" cannot be read. "
                                    "Rename the file and pick it again.");
    EXPECT_EQ(messages[0].icon, QMessageBox::Critical);
}

TEST_F(TiaDialogTest, EditingRewritesTheSectionInPlaceAndResetsSelected)
{
    drive.write(Paths::TiaCatalogue,
                "[x.tia]\r\nTYPE=old\r\nSTATUS=1\r\nDescription=d\r\nSelected=1\r\nExtra=e\r\n"
                "[y.tia]\r\nTYPE=y\r\n");
    drive.write("c:\\nk_files\\Lunzo\\Tias\\x.tia", "");
    o_fMain->LoadTiaList();
    o_fMain->ui()->PageControl1->setCurrentIndex(0);
    answer = QMessageBox::No;
    QStringList shown;
    QTimer::singleShot(0, [&] {
        shown << ui->Edit1->text() << ui->Edit2->text()
              << QString::number(ui->o_cbMsgType->statusCode()) << ui->Edit3->text();
        EXPECT_EQ(o_fMain->ui()->PageControl1->currentWidget(), o_fMain->ui()->TabSheet1);
        ui->Edit2->setText("new");
        ui->BitBtn1->click();
    });
    o_fTia->EditTiaEntry("x.tia");
    EXPECT_EQ(shown, QStringList({"x.tia", "old", "1", "d"}));
    EXPECT_FALSE(o_fTia->isVisible());
    EXPECT_EQ(drive.read(Paths::TiaCatalogue),
              "[x.tia]\r\nTYPE=new\r\nSTATUS=1\r\nDescription=d\r\nSelected=0\r\nExtra=e\r\n"
              "[y.tia]\r\nTYPE=y\r\n");
}

TEST_F(TiaDialogTest, EntryWithoutStatusOpensWithNothingChosen)
{
    drive.write(Paths::TiaCatalogue, "[z.tia]\r\nSTATUS=7\r\n");
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(ui->o_cbMsgType->statusCode(), -1);
        EXPECT_EQ(ui->Edit2->text(), "");
        ui->Edit2->setText("t");
        ui->BitBtn1->click();
        ui->BitBtn2->click();
    });
    o_fTia->EditTiaEntry("z.tia");
    EXPECT_EQ(takeMessages(), std::vector<QString>{"Select status"});
    EXPECT_EQ(ui->Edit1->text(), "z.tia"); // Close keeps the fields
}

TEST_F(TiaDialogTest, ReadOnlyCatalogueEndsOkAtTheWrite)
{
    drive.write(Paths::TiaCatalogue, "[a.tia]\r\n");
    drive.makeReadOnly(Paths::TiaCatalogue);
    drive.write("c:\\nk_files\\Lunzo\\Tias\\b.tia", "");
    showDialog(o_fTia);
    fill("b.tia", "t", 2, "d");
    QTest::mouseClick(ui->BitBtn1, Qt::LeftButton); // through the event loop, as a user's click
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Quorvel");
    EXPECT_EQ(messages[0].text, "Unable to write to c:\\nk_files\\Lunzo\\Tias\\Tias.ini.");
    EXPECT_EQ(ui->Edit1->text(), "b.tia");
    EXPECT_TRUE(o_fTia->isVisible());
    EXPECT_EQ(drive.read(Paths::TiaCatalogue), "[a.tia]\r\n");
}

TEST_F(TiaDialogTest, BrowseAnswersAltBAndEnterNotOk)
{
    showDialog(o_fTia);
    ui->SpeedButton1->setFocus();
    QTest::keyClick(o_fTia, Qt::Key_B, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return seenDialogs.size() == 1; })); // an animated click
    QTest::keyClick(ui->SpeedButton1, Qt::Key_Return);
    EXPECT_EQ(seenDialogs.size(), 2u);
    EXPECT_TRUE(messages.empty()) << "OK was pressed";
}

TEST_F(TiaDialogTest, LayoutAndPatch)
{
    EXPECT_EQ(o_fTia->size(), QSize(395, 232));
    EXPECT_EQ(o_fTia->windowTitle(), "Tia file ");
    EXPECT_EQ(ui->GroupBox1->title(), "Tia file info");
    EXPECT_EQ(ui->o_cbMsgType->geometry(), QRect(16, 88, 201, 22));
    EXPECT_EQ(ui->SpeedButton1->focusPolicy(), Qt::TabFocus);
    EXPECT_TRUE(ui->Edit1->isReadOnly());
    EXPECT_TRUE(ui->BitBtn1->isDefault());
    EXPECT_EQ(ui->Label1->palette().color(QPalette::WindowText), QColor(0, 0, 0x80));
    EXPECT_FALSE(ui->Edit2->font().bold());
    EXPECT_EQ(ui->o_cbMsgType->count(), 3);
    EXPECT_EQ(ui->o_cbMsgType->itemText(0), "The file is Working properly");
    EXPECT_EQ(ui->o_cbMsgType->itemText(2), "The file is Not Tested");
    showDialog(o_fTia);
    ui->SpeedButton2->click();
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(o_fTia->isVisible());
}

namespace
{

const QColor Untouched(Qt::magenta);

// One item of the open list, painted as the list paints it, on an untouched background.
QImage paintOpenItem(StatusPicker& picker, int row, bool selected)
{
    QImage image(201, 16, QImage::Format_ARGB32);
    image.fill(Untouched);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.initFrom(picker.view());
    option.rect = QRect(0, 0, 201, 16);
    option.state =
        selected ? QStyle::State_Selected | QStyle::State_Enabled : QStyle::State_Enabled;
    picker.view()->itemDelegate()->paint(&painter, option, picker.model()->index(row, 0));
    return image;
}

bool isIconPixel(const QImage& image, int x, int y)
{
    const QColor colour = image.pixelColor(x, y);
    return colour != Untouched && colour != QColor(Qt::black);
}

} // namespace

TEST_F(TiaDialogTest, PickerPaintsIconAtFiveAndHighlightsTheTextOnly)
{
    StatusPicker& picker = *ui->o_cbMsgType;
    const QColor highlight = picker.palette().color(QPalette::Highlight);

    const QImage selected = paintOpenItem(picker, 1, true);
    EXPECT_EQ(selected.pixelColor(2, 8), Untouched); // the strip left of the text is not filled
    EXPECT_NE(selected.pixelColor(20, 8), highlight);
    EXPECT_TRUE(isIconPixel(selected, 12, 8)); // the icon's white disc or its cross
    EXPECT_EQ(selected.pixelColor(21, 15), highlight);
    EXPECT_EQ(selected.pixelColor(200, 0), highlight);

    const QImage plain = paintOpenItem(picker, 0, false);
    EXPECT_EQ(plain.pixelColor(200, 0), picker.palette().color(QPalette::Base));

    // Without icons (the flash file dialog's picker) the whole item is filled and no icon drawn.
    picker.setPaintsIcons(false);
    const QImage textOnly = paintOpenItem(picker, 1, true);
    picker.setPaintsIcons(true);
    EXPECT_EQ(textOnly.pixelColor(0, 8), highlight);
    EXPECT_EQ(textOnly.pixelColor(12, 15), highlight);
}

TEST_F(TiaDialogTest, ClosedPickerShowsTheChosenItemOrNothing)
{
    showDialog(o_fTia);
    StatusPicker& picker = *ui->o_cbMsgType;
    const QColor base = picker.palette().color(QPalette::Base);
    const int middle = picker.height() / 2;

    picker.setStatusCode(-1);
    const QImage empty = picker.grab().toImage();
    EXPECT_EQ(empty.pixelColor(12, middle), base);

    picker.setStatusCode(2);
    picker.setFocus();
    const QImage chosen = picker.grab().toImage();
    EXPECT_NE(chosen.pixelColor(12, middle), base);
    EXPECT_NE(chosen.pixelColor(12, middle), picker.palette().color(QPalette::Highlight));
    EXPECT_EQ(chosen.pixelColor(150, middle - 7), picker.palette().color(QPalette::Highlight));
}

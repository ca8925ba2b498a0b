// SPDX-License-Identifier: GPL-2.0-or-later
// The phone group dialog: filling from the group in front, browsing for a schematic, OK's checks
// and writes, and the pictures it keeps.

#include "forms/common/handlers.h"
#include "forms/editors/phonegroup.h"
#include "forms/main_window/main.h"
#include "forms/schematic/scheme.h"
#include "library/paths.h"
#include "platform/pictures/picture.h"
#include "platform/pictures/vector_drawing.h"
#include "test_pictures.h"
#include "ui_main.h"
#include "ui_phonegroup.h"
#include "ui_scheme.h"
#include "window_fixture.h"

#include <QApplication>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <csignal>

namespace fs = std::filesystem;
using namespace TestPictures;
using VectorDrawing::DefaultTimeLimit;

namespace
{

// Whether the widget shows the test drawing stretched over the whole of it.
bool showsDrawing(QWidget* widget)
{
    const QImage image = widget->grab().toImage();
    const QRect box(QPoint(0, 0), widget->size());
    return Near(ColourAt(image, box, 40, 30), White) && Near(ColourAt(image, box, 110, 20), Blue) &&
           Near(ColourAt(image, box, 150, 75), Green);
}

} // namespace

class PhoneGroupDialogTest : public EditorDialogTest
{
protected:
    void SetUp() override
    {
        start();
        ui = o_fPhoneGroup->ui();
    }

    // A picture of the tests in the library's phones folder, or elsewhere to be picked.
    void putPicture(const char* logicalPath, const char* extension)
    {
        drive.write(logicalPath, TemporaryDrive::readNative(Sample(extension)));
    }

    // Runs ShowPhoneGroupDialog as the Tools list does, with `whileOpen` run once it is shown.
    void openDialog(const std::function<void()>& whileOpen)
    {
        const QObject thisCall; // ends the timer with this call, also when the dialog never opens
        QTimer::singleShot(0, &thisCall, [&] {
            QApplication::setActiveWindow(o_fPhoneGroup);
            whileOpen();
            if (o_fPhoneGroup->isVisible())
                ui->BitBtn2->click();
        });
        Handlers::Run([] { o_fPhoneGroup->ShowPhoneGroupDialog(o_fMain->GroupInFront()); });
    }

    Ui::To_fPhoneGroup* ui = nullptr;
};

TEST_F(PhoneGroupDialogTest, OpensFilledFromTheGroupInFrontAndEmptyFromAbout)
{
    putPicture("c:\\nk_files\\Lunzo\\Phones\\3310.EMF", "emf");
    drive.write(Paths::PhoneCatalogue, "[3210]\r\nConfig=9 1 3\r\n[3310]\r\nConfig= 9 2 \r\n"
                                       "Scheme=3310.EMF\r\nNote=n\r\n");
    o_fMain->LoadPhoneGroups();
    showGroupPage("3310");
    answer = QMessageBox::No;
    QStringList shown;
    openDialog([&] {
        shown << fieldsOf(o_fPhoneGroup);
        EXPECT_TRUE(QTest::qWaitFor([&] { return showsDrawing(ui->Image1); }));
        ui->Edit3->setText("9 2 x");
        ui->BitBtn1->click();
    });
    EXPECT_EQ(takeMessages(), std::vector<QString>{"New Phone Group added successfully. Add new?"});
    EXPECT_FALSE(o_fPhoneGroup->isVisible());
    EXPECT_EQ(drive.read(Paths::PhoneCatalogue),
              "[3210]\r\nConfig=9 1 3\r\n[3310]\r\nConfig=9 2 x\r\nScheme=3310.EMF\r\nNote=n\r\n");

    // From About (in front after the reload): empty boxes, the picture of the last use.
    ASSERT_FALSE(o_fMain->GroupPageInFront());
    openDialog([&] {
        shown << fieldsOf(o_fPhoneGroup);
        EXPECT_TRUE(showsDrawing(ui->Image1));
    });
    EXPECT_EQ(shown, QStringList({"3310", "9 2", "3310.EMF", "", "", ""}));
    EXPECT_TRUE(messages.empty());
}

// Each refusal in the error box, the stored file's path below; the dialog opens all the same.
TEST_F(PhoneGroupDialogTest, MissingRefusedOrNoSchematicOpensWithAnEmptyPicture)
{
    drive.write("c:\\nk_files\\Lunzo\\Phones\\broken.wmf", SaveFlood());
    drive.write(Paths::PhoneCatalogue,
                "[gone]\r\nConfig=c\r\nScheme=gone.bmp\r\n[odd]\r\nConfig=c\r\n"
                "Scheme=s.tif\r\n[broken]\r\nConfig=c\r\nScheme=broken.wmf\r\n"
                "[none]\r\nConfig=c\r\n");
    o_fMain->LoadPhoneGroups();
    ui->Image1->setPicture(Picture::Load(Sample("bmp"), "s"));
    putPicture("c:\\download\\new.wmf", "wmf");
    nextPick = pickable("c:\\download\\new.wmf");
    const struct {
        const char* group;
        QString text;
        const char* file;
    } groups[] = {
        {"gone", "Cannot open file c:\\nk_files\\Lunzo\\Phones\\gone.bmp.", "gone.bmp"},
        {"odd", "Unknown picture file extension (.tif)", "s.tif"},
        {"broken", "Metafile could not be decoded within 0.3 s.", "broken.wmf"},
        {"none", "", nullptr},
    };
    for (const auto& [group, text, file] : groups) {
        SCOPED_TRACE(group);
        showGroupPage(group);
        const bool flood = group == std::string("broken"); // refused when it runs over the limit
        o_fPhoneGroup->SetPictureHelper(
            Helper(flood ? std::chrono::milliseconds(300) : DefaultTimeLimit));
        openDialog([&] {
            EXPECT_TRUE(ui->Image1->picture().IsEmpty());
            if (!file)
                return;
            ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.empty(); }));
            const ShownMessage shown = messages.front();
            EXPECT_EQ(takeMessages(), std::vector<QString>{text});
            EXPECT_EQ(shown.icon, QMessageBox::Critical);
            EXPECT_EQ(shown.caption, "Quorvel");
            EXPECT_TRUE(shown.details.startsWith(
                pickable(("c:\\nk_files\\Lunzo\\Phones\\" + std::string(file)).c_str())));
            if (group == std::string("gone")) { // a new schematic can be chosen
                ui->SpeedButton1->click();
                EXPECT_TRUE(QTest::qWaitFor([&] { return showsDrawing(ui->Image1); }));
                EXPECT_EQ(
                    takeMessages(),
                    std::vector<QString>{"Scheme file copied to the system specified directory"});
            }
        });
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(PhoneGroupDialogTest, BrowsingLoadsThePictureAndCopiesIt)
{
    putPicture("c:\\download\\wiring.bmp", "bmp");
    nextPick = pickable("c:\\download\\wiring.bmp");
    openDialog([&] {
        ui->SpeedButton1->click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !messages.empty(); }));
        EXPECT_EQ(pickerTexts(),
                  QStringList({"Select Graphic file", "bmp",
                               "Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|Metafiles "
                               "(*.wmf;*.emf)|*.wmf;*.emf|PNG, JPEG, GIF and SVG pictures "
                               "(*.png;*.jpg;*.jpeg;*.gif;*.svg)|*.png;*.jpg;*.jpeg;*.gif;*.svg"}));
        EXPECT_EQ(ui->Edit2->text(), "wiring.bmp");
        EXPECT_TRUE(showsDrawing(ui->Image1));
        EXPECT_EQ(takeMessages(),
                  std::vector<QString>{"Scheme file copied to the system specified directory"});
        EXPECT_EQ(drive.read("c:\\nk_files\\Lunzo\\Phones\\wiring.bmp"),
                  drive.read("c:\\download\\wiring.bmp"));

        // Not a bitmap: the error box naming it, the field and picture as they were, nothing
        // copied.
        nextPick = pickable("c:\\download\\broken.bmp", "no bitmap");
        ui->SpeedButton1->click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !messages.empty(); }));
        EXPECT_EQ(messages.front().details, pickable("c:\\download\\broken.bmp"));
        EXPECT_EQ(takeMessages(), std::vector<QString>{"Bitmap image is not valid."});
        EXPECT_EQ(ui->Edit2->text(), "wiring.bmp");
        EXPECT_TRUE(showsDrawing(ui->Image1));
        EXPECT_FALSE(drive.exists("c:\\nk_files\\Lunzo\\Phones\\broken.bmp"));
    });
}

TEST_F(PhoneGroupDialogTest, ChecksThenWritesTheNameWithItsBlanksAndKeepsThePicture)
{
    putPicture("c:\\nk_files\\Lunzo\\Phones\\s.wmf", "wmf");
    drive.write(Paths::PhoneCatalogue, "[3210]\r\nConfig=old\r\nScheme=s.wmf\r\n");
    o_fMain->LoadPhoneGroups();
    showGroupPage("3210");
    EXPECT_FALSE(showsDrawing(o_fScheme->ui()->Image1));
    QWidget* focused[5] = {};
    openDialog([&] {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !ui->Image1->picture().IsEmpty(); }));
        const QStringList checked[] = {{"  ", "c", ""},
                                       {"..\\x", "c", ""},
                                       {"  8210", " \t", ""},
                                       {"8210", "c", "..\\up.bmp"},
                                       {"8210", "c", "gone.bmp"}};
        for (int check = 0; check < 5; ++check) {
            setFields(o_fPhoneGroup, checked[check]);
            ui->BitBtn1->click();
            focused[check] = QApplication::focusWidget();
        }
        EXPECT_EQ(takeMessages(),
                  std::vector<QString>({"Enter Phone Group Name",
                                        "\"..\\x\" cannot be used as a file or folder name",
                                        "Enter flash configuration entry ",
                                        "\"..\\up.bmp\" cannot be used as a file or folder name",
                                        "The file \"gone.bmp\" is not in the library folder "
                                        "c:\\nk_files\\Lunzo\\Phones\\. Browse for it again."}));

        // Ok, then Yes: the boxes are emptied, the picture stays for the schematic window.
        setFields(o_fPhoneGroup, {"  8210", "9 1 3 8210 ", "s.wmf"});
        answer = QMessageBox::Yes;
        ui->BitBtn1->click();
        EXPECT_EQ(takeMessages(),
                  std::vector<QString>{"New Phone Group added successfully. Add new?"});
        EXPECT_TRUE(o_fPhoneGroup->isVisible());
        EXPECT_EQ(fieldsOf(o_fPhoneGroup), QStringList({"", "", ""}));
        QTest::mouseDClick(ui->Image1, Qt::LeftButton);
        EXPECT_TRUE(showsDrawing(o_fScheme->ui()->Image1));
    });
    EXPECT_EQ(focused[0], ui->Edit1);
    EXPECT_EQ(focused[1], ui->Edit1);
    EXPECT_EQ(focused[2], ui->Edit3);
    EXPECT_EQ(focused[3], ui->Edit2);
    EXPECT_EQ(focused[4], ui->Edit2);
    EXPECT_EQ(drive.read(Paths::PhoneCatalogue),
              "[3210]\r\nConfig=old\r\nScheme=s.wmf\r\n"
              "[  8210]\r\nConfig=9 1 3 8210 \r\nScheme=s.wmf\r\n");
    EXPECT_TRUE(fs::is_directory(Drive::NativePath("c:\\nk_files\\Lunzo\\Phones\\  8210\\")));
    EXPECT_EQ(o_fMain->ui()->PageControl2->count(), 4);
    EXPECT_EQ(o_fMain->GroupInFront(), "8210"); // the new group comes to the front
    EXPECT_TRUE(o_fScheme->isVisible());        // it stays when the dialog closes
    o_fScheme->close();
}

// A picture that comes after OK or another browse is dropped, and its file is not copied; the
// helper of the one dropped is ended at once.
TEST_F(PhoneGroupDialogTest, APictureThatComesLateIsDroppedAndItsHelperEnded)
{
    // A helper that tells its process id once given a drawing (in a file that appears whole),
    // and never finishes.
    const fs::path helper = drive.root() / "stuck-helper";
    drive.write("c:\\stuck-helper",
                "#!/bin/sh\nread kind\necho $$ > \"$0.new\"\nmv \"$0.new\" \"$0.pid\"\n"
                "exec sleep 60\n");
    fs::permissions(helper, fs::perms::owner_all);
    putPicture("c:\\download\\late.bmp", "bmp");
    putPicture("c:\\download\\stuck.wmf", "wmf");
    openDialog([&] {
        // Browsed, then OK and Yes before the picture comes.
        nextPick = pickable("c:\\download\\late.bmp");
        ui->SpeedButton1->click();
        setFields(o_fPhoneGroup, {"8210", "9 1", ""});
        answer = QMessageBox::Yes;
        ui->BitBtn1->click();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        EXPECT_EQ(takeMessages(),
                  std::vector<QString>{"New Phone Group added successfully. Add new?"});
        EXPECT_EQ(fieldsOf(o_fPhoneGroup), QStringList({"", "", ""}));
        EXPECT_TRUE(ui->Image1->picture().IsEmpty());
        EXPECT_FALSE(drive.exists("c:\\nk_files\\Lunzo\\Phones\\late.bmp"));

        // A drawing still being decoded when another picture is browsed.
        o_fPhoneGroup->SetPictureHelper({helper});
        nextPick = pickable("c:\\download\\stuck.wmf");
        ui->SpeedButton1->click();
        o_fPhoneGroup->SetPictureHelper(Helper());
        ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(helper.string() + ".pid"); }));
        const pid_t stuck = std::stoi(TemporaryDrive::readNative(helper.string() + ".pid"));
        nextPick = pickable("c:\\download\\late.bmp");
        ui->SpeedButton1->click();
        EXPECT_EQ(::kill(stuck, 0), -1);
        EXPECT_TRUE(QTest::qWaitFor([&] { return showsDrawing(ui->Image1); }));
        EXPECT_EQ(ui->Edit2->text(), "late.bmp");
        EXPECT_EQ(takeMessages(),
                  std::vector<QString>{"Scheme file copied to the system specified directory"});
    });
}

// SPDX-License-Identifier: GPL-2.0-or-later
// The schematic window: the picture stretched over the window at any size, printing what the
// window shows, and taking input beside the phone group dialog only when shown from it.

#include "forms/default_printer.h"
#include "forms/main.h"
#include "forms/phonegroup.h"
#include "forms/save_dialog.h"
#include "forms/scheme.h"
#include "platform/pictures/picture.h"
#include "test_pictures.h"
#include "ui_phonegroup.h"
#include "ui_scheme.h"
#include "window_fixture.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace TestPictures;

namespace
{

// 36 points: half an inch, 48 pixels at 96 dpi.
constexpr int Margin = 48;

} // namespace

class SchemeWindowTest : public WindowTest
{
protected:
    void SetUp() override
    {
        start();
        DefaultPrinter::SetSource([this] {
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            printer->setPageSize(QPageSize(QPageSize::A4));
            printer->setPageMargins(QMarginsF(36, 36, 36, 36), QPageLayout::Point);
            return printer;
        });
    }
    void TearDown() override
    {
        DefaultPrinter::SetSource(nullptr);
        SaveDialog::SetAnswerer(nullptr);
    }

    void showAtClientSize(QSize size)
    {
        o_fScheme->show();
        o_fScheme->resize(size);
        QApplication::processEvents();
    }

    // Prints from the menu, on the printer or through "Print to PDF…": one A4 page, rasterised
    // at 96 dpi.
    QImage print(QAction* item)
    {
        QFile::remove(pdf);
        item->trigger();
        QProcess info;
        info.start("pdfinfo", {pdf});
        info.waitForFinished();
        const QString said = QString::fromUtf8(info.readAllStandardOutput()).simplified();
        EXPECT_TRUE(said.contains("Pages: 1 ") && said.contains("Page size: 595 x 842 pts (A4)"))
            << said.toStdString();
        const QString png = pdf.chopped(4); // pdftoppm adds ".png"
        QProcess::execute("pdftoppm", {"-r", "96", "-png", "-singlefile", pdf, png});
        const QImage page(png + ".png");
        EXPECT_EQ(page.size(), QSize(794, 1123));
        return page;
    }

    const QString pdf = QString::fromStdString((drive.root() / "printout.pdf").string());
};

TEST_F(SchemeWindowTest, FirstShownAtItsSizeAndClosingOnlyHides)
{
    EXPECT_EQ(o_fScheme->parentWidget(), nullptr);
    EXPECT_FALSE(o_fScheme->windowIcon().isNull());
    o_fScheme->ShowPicture(Picture(), nullptr);
    EXPECT_EQ(o_fScheme->frameGeometry().size(), QSize(419, 333));

    o_fScheme->resize(500, 120);
    o_fScheme->ui()->exit1->trigger();
    EXPECT_FALSE(o_fScheme->isVisible());
    o_fScheme->ShowPicture(Picture(), nullptr);
    EXPECT_EQ(o_fScheme->size(), QSize(500, 120));
}

TEST_F(SchemeWindowTest, NextRunComesBackWhereItWasLeftOrCentredWhenThatIsOffScreen)
{
    const QRect screen = o_fScheme->screen()->availableGeometry();
    const struct {
        QPoint leftAt;
        bool kept;
    } rows[] = {{{30, 40}, true}, {{screen.right() - 100, 40}, false}};
    for (const auto& row : rows) {
        o_fScheme->ShowPicture(Picture(), nullptr);
        o_fScheme->move(row.leftAt);
        o_fScheme->resize(300, 200);
        o_fScheme->ui()->exit1->trigger();
        windows.reset();
        start();
        o_fScheme->ShowPicture(Picture(), nullptr);
        EXPECT_EQ(o_fScheme->size(), QSize(300, 200));
        EXPECT_EQ(row.kept ? o_fScheme->pos() : o_fScheme->frameGeometry().center(),
                  row.kept ? row.leftAt : screen.center());
        o_fScheme->close();
    }
}

TEST_F(SchemeWindowTest, PrintsTheWindowAsShownAtTheScreensSize)
{
    // Without a picture: a rectangle of the window's colour, of the client area's size.
    showAtClientSize({300, 200});
    const QColor face = o_fScheme->palette().color(QPalette::Window);
    const QImage plain = print(o_fScheme->ui()->Printscheme1);
    const QPoint origin(Margin, Margin);
    EXPECT_EQ(plain.pixelColor(origin + QPoint(2, 2)), face);
    EXPECT_EQ(plain.pixelColor(origin + QPoint(297, 197)), face);
    for (const QPoint beside : {QPoint(303, 100), QPoint(100, 203), QPoint(-3, 100)})
        EXPECT_EQ(plain.pixelColor(origin + beside), QColor(Qt::white));

    // The picture stretched over the window at two sizes; wider than the printable area, the
    // whole window is printed smaller, keeping its proportions. A PDF is printed the same.
    o_fScheme->ShowPicture(Picture::Load(Sample("emf"), "s"), nullptr);
    SaveDialog::SetAnswerer([this](const QString&) { return pdf; });
    const struct {
        QSize window;
        QAction* item;
        QSize printed;
    } prints[] = {{{300, 200}, o_fScheme->ui()->Printscheme1, {300, 200}},
                  {{1000, 150}, o_fScheme->ui()->Printscheme1, {698, 105}},
                  {{1000, 150}, o_fScheme->ui()->PrinttoPDF1, {698, 105}}};
    for (const auto& [window, item, size] : prints) {
        SCOPED_TRACE(item->text().toStdString());
        showAtClientSize(window);
        EXPECT_TRUE(Near(ColourAt(o_fScheme->grab().toImage(), o_fScheme->rect(), 150, 75), Green));
        const QImage page = print(item);
        const QRect printed(origin, size);
        EXPECT_TRUE(Near(ColourAt(page, printed, 40, 30), White));
        EXPECT_TRUE(Near(ColourAt(page, printed, 110, 20), Blue));
        EXPECT_TRUE(Near(ColourAt(page, printed, 196, 75), Blue));
        EXPECT_TRUE(Near(ColourAt(page, printed, 130, 75), Green));
        EXPECT_EQ(page.pixelColor(Margin + 100, Margin + size.height() + 3), QColor(Qt::white));
        EXPECT_EQ(page.pixelColor(Margin + size.width() + 3, Margin + 20), QColor(Qt::white));
    }
}

TEST_F(SchemeWindowTest, NoDefaultPrinterEndsInTheErrorBox)
{
    DefaultPrinter::SetSource([] { return std::unique_ptr<QPrinter>(); });
    showAtClientSize({300, 200});
    o_fScheme->ui()->Printscheme1->trigger();
    EXPECT_EQ(takeMessages(),
              std::vector<QString>{"There is no default printer currently selected."});
    EXPECT_TRUE(o_fScheme->isVisible());
}

namespace
{

// Whether a right-click on the picture, as the window system delivers it, opens the menu.
bool menuOpensOnRightClick()
{
    QTest::mouseClick(o_fScheme->windowHandle(), Qt::RightButton, {}, QPoint(50, 50));
    QApplication::processEvents();
    const bool opened = QApplication::activePopupWidget() == o_fScheme->PopupMenu1();
    o_fScheme->PopupMenu1()->close();
    return opened;
}

} // namespace

TEST_F(SchemeWindowTest, TakesInputBesideTheDialogOnlyWhenShownFromIt)
{
    Ui::To_fPhoneGroup* dialog = o_fPhoneGroup->ui();
    dialog->Image1->setPicture(Picture::Load(Sample("bmp"), "s"));
    // Shown from the dialog it takes input; shown already when the dialog opens, it waits, also
    // after a double-click brought it up.
    std::vector<bool> menuOpened;
    for (int showing = 0; showing < 2; ++showing) {
        QTimer::singleShot(0, [&] {
            QTest::mouseDClick(dialog->Image1, Qt::LeftButton);
            // Beside the dialog, on its right as far as the screen has room: not centred on it.
            EXPECT_GT(o_fScheme->frameGeometry().left(), o_fPhoneGroup->frameGeometry().left());
            menuOpened.push_back(menuOpensOnRightClick());
            dialog->BitBtn2->click();
        });
        o_fPhoneGroup->ShowPhoneGroupDialog(o_fMain->GroupInFront());
        ASSERT_TRUE(o_fScheme->isVisible());
        menuOpened.push_back(menuOpensOnRightClick());
    }
    EXPECT_EQ(menuOpened, std::vector<bool>({true, true, false, true}));
    o_fScheme->close();
}

// SPDX-License-Identifier: GPL-2.0-or-later
// The schematic window: the picture stretched over the window at any size, printing it on a page,
// and taking input beside the phone group dialog only when shown from it.

#include "environment_guard.h"
#include "forms/common/save_dialog.h"
#include "forms/editors/phonegroup.h"
#include "forms/main_window/main.h"
#include "forms/schematic/default_printer.h"
#include "forms/schematic/scheme.h"
#include "platform/pictures/picture.h"
#include "test_pictures.h"
#include "ui_phonegroup.h"
#include "ui_scheme.h"
#include "window_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
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
            printer->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Point); // widened
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
    // at 96 dpi; what pdfinfo and pdftotext read of it.
    QImage print(QAction* item, QString* info = nullptr, QString* text = nullptr)
    {
        QFile::remove(pdf);
        item->trigger();
        const auto output = [](const char* program, const QStringList& arguments) {
            QProcess run;
            run.start(program, arguments);
            run.waitForFinished();
            return QString::fromUtf8(run.readAllStandardOutput());
        };
        const QString said = output("pdfinfo", {pdf}).simplified();
        EXPECT_TRUE(said.contains("Pages: 1 ") && said.contains("Page size: 595 x 842 pts (A4)"))
            << said.toStdString();
        if (info)
            *info = said;
        if (text)
            *text = output("pdftotext", {pdf, "-"});
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

TEST_F(SchemeWindowTest, NextRunComesBackWhereItWasLeftOrFittedToTheScreen)
{
    const QRect screen = o_fScheme->screen()->availableGeometry();
    const QSize huge = screen.size() * 2;
    const struct {
        QPoint leftAt;
        QSize size;
        bool kept;
    } rows[] = {{{30, 40}, {300, 200}, true},
                {{screen.right() - 100, 40}, {300, 200}, false},
                // Left on a larger screen: shrunk and centred, its title bar on the screen.
                {{-50, -400}, huge, false}};
    for (const auto& row : rows) {
        o_fScheme->ShowPicture(Picture(), nullptr);
        o_fScheme->move(row.leftAt);
        o_fScheme->resize(row.size);
        o_fScheme->ui()->exit1->trigger();
        windows.reset();
        start();
        o_fScheme->ShowPicture(Picture(), nullptr);
        if (row.size == huge)
            EXPECT_EQ(o_fScheme->frameGeometry().size(), screen.size());
        else
            EXPECT_EQ(o_fScheme->size(), row.size);
        EXPECT_EQ(row.kept ? o_fScheme->pos() : o_fScheme->frameGeometry().center(),
                  row.kept ? row.leftAt : screen.center());
        EXPECT_TRUE(screen.contains(o_fScheme->frameGeometry()));
        o_fScheme->close();
    }
}

TEST_F(SchemeWindowTest, ThePlaceAnEarlierVersionKeptIsNotLost)
{
    windows.reset();
    QSettings earlier(QSettings::NativeFormat, QSettings::UserScope, "Quorvel", "Quorvel");
    earlier.setValue("SchematicWindow/size", QSize(310, 210));
    earlier.setValue("SchematicWindow/position", QPoint(20, 30));
    earlier.sync();
    start();
    o_fScheme->ShowPicture(Picture(), nullptr);
    EXPECT_EQ(o_fScheme->geometry().size(), QSize(310, 210));
    EXPECT_EQ(o_fScheme->pos(), QPoint(20, 30));
}

namespace
{

// Where the page has other than white below the first 100 rows: the printed drawing.
QRect drawnArea(const QImage& page)
{
    QRect drawn;
    for (int y = 100; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixelColor(x, y) != QColor(Qt::white))
                drawn |= QRect(x, y, 1, 1);
    return drawn;
}

} // namespace

// One page, whatever the window's size: the group's name above, the drawing fitted to the
// printable area with its proportions kept, centred; drawings printed with their texts as text.
TEST_F(SchemeWindowTest, PrintsTheDrawingFittedUnderTheGroupsName)
{
    showAtClientSize({300, 200});
    // A home without a documents folder: the name is suggested where it can be written.
    const auto home = drive.root() / "home";
    std::filesystem::create_directories(home);
    const EnvironmentGuard homeGuard("HOME", home.string());
    const EnvironmentGuard configGuard("XDG_CONFIG_HOME", (home / ".config").string());
    QString suggested;
    SaveDialog::SetAnswerer([&](const QString&, const QString& path) {
        suggested = path;
        return pdf;
    });
    const std::string group = "3310 \xC3\xBC";
    o_fScheme->ShowPicture(Picture::Load(Sample("emf"), "s", Helper()), nullptr, group);
    for (QAction* item : {o_fScheme->ui()->Printscheme1, o_fScheme->ui()->PrinttoPDF1}) {
        SCOPED_TRACE(item->text().toStdString());
        QString info, text;
        const QImage page = print(item, &info, &text);
        EXPECT_TRUE(info.contains(QString::fromUtf8("Title: 3310 ü "))) << info.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8("3310 ü")));
        // 200 × 100 fitted to the 698 pixels between the margins, centred below the name: its
        // right half, the blue one, is what is not white.
        const QRect drawn = drawnArea(page);
        EXPECT_NEAR(drawn.right(), 794 - Margin, 3);
        EXPECT_NEAR(drawn.width(), 349, 3);
        EXPECT_NEAR(drawn.height(), 349, 3);
        EXPECT_NEAR(drawn.center().y(), (1123 + 60) / 2, 30);
        const QRect whole(drawn.right() - 698, drawn.top(), 698, drawn.height());
        EXPECT_TRUE(Near(ColourAt(page, whole, 110, 20), Blue));
        EXPECT_TRUE(Near(ColourAt(page, whole, 150, 75), Green));
    }
    EXPECT_EQ(suggested, QString::fromStdString((home / "3310 \xC3\xBC.pdf").string()));
    std::filesystem::create_directories(home / "Documents");
    o_fScheme->ui()->PrinttoPDF1->trigger();
    EXPECT_EQ(suggested,
              QString::fromStdString((home / "Documents" / "3310 \xC3\xBC.pdf").string()));

    // A drawing is printed with its shapes and words, as no image; without a group, no name
    // above it. A text turned by a transform of its own is found as well.
    drive.write("c:\\text.svg",
                "<svg xmlns='http://www.w3.org/2000/svg' width='200' height='100'>"
                "<g font-family='sans-serif' font-size='12'><text x='10' y='50'>VPP 12V "
                "<tspan font-weight='bold'>&amp;</tspan> GND</text>"
                "<text x='180' y='90' transform='rotate(-90 180 90)'>PIN3</text></g></svg>");
    o_fScheme->ShowPicture(Picture::Load(drive.root() / "text.svg", "s", Helper()), nullptr);
    QString text;
    print(o_fScheme->ui()->PrinttoPDF1, nullptr, &text);
    EXPECT_TRUE(text.contains("VPP 12V & GND")) << text.toStdString();
    EXPECT_TRUE(text.contains("PIN3")) << text.toStdString();
    EXPECT_FALSE(text.contains("3310"));
    QProcess images;
    images.start("pdfimages", {"-list", pdf});
    images.waitForFinished();
    EXPECT_EQ(images.readAllStandardOutput().count('\n'), 2); // its two lines of headings only
    // So is a metafile's text, which reaches the print as SVG.
    o_fScheme->ShowPicture(Picture::Load(Sample("wiring.wmf"), "s", Helper()), nullptr);
    print(o_fScheme->ui()->PrinttoPDF1, nullptr, &text);
    EXPECT_TRUE(text.contains("R1 & R2 4.7k")) << text.toStdString();

    // A file that cannot be written is told.
    const QString nowhere = QString::fromStdString((drive.root() / "no folder" / "s.pdf").string());
    SaveDialog::SetAnswerer([&](const QString&, const QString&) { return nowhere; });
    o_fScheme->ui()->PrinttoPDF1->trigger();
    EXPECT_EQ(takeMessages(), std::vector<QString>{"Cannot write the file " + nowhere + "."});
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

// The schematic window: the picture stretched over the window at any size, printing what the
// window shows, and taking input beside the phone group dialog only when shown from it.

#include "forms/default_printer.h"
#include "forms/phonegroup.h"
#include "forms/scheme.h"
#include "platform/picture.h"
#include "test_pictures.h"
#include "ui_phonegroup.h"
#include "ui_scheme.h"
#include "window_fixture.h"

#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QTest>
#include <QTimer>

namespace fs = std::filesystem;
using namespace TestPictures;

namespace
{

// 36 points: half an inch, 48 pixels at 96 dpi.
constexpr int Margin = 48;

struct Printout {
    QString pageSize; // as pdfinfo tells it
    QImage page;      // rasterised at 96 dpi
};

} // namespace

class SchemeWindowTest : public WindowTest
{
protected:
    void SetUp() override
    {
        start();
        pdf = drive.root() / "printout.pdf";
        DefaultPrinter::SetSource([this] {
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(QString::fromStdString(pdf.string()));
            printer->setPageSize(QPageSize(QPageSize::A4));
            printer->setPageMargins(QMarginsF(36, 36, 36, 36), QPageLayout::Point);
            return printer;
        });
    }
    void TearDown() override { DefaultPrinter::SetSource(nullptr); }

    void showAtClientSize(QSize size)
    {
        o_fScheme->show();
        o_fScheme->resize(size);
        QApplication::processEvents();
    }

    Printout print()
    {
        fs::remove(pdf);
        o_fScheme->ui()->Printscheme1->trigger();
        Printout printout;
        QProcess info;
        info.start("pdfinfo", {QString::fromStdString(pdf.string())});
        info.waitForFinished();
        for (const QString& line : QString::fromUtf8(info.readAllStandardOutput()).split('\n')) {
            if (line.startsWith("Page size:") || line.startsWith("Pages:"))
                printout.pageSize += line.simplified() + ";";
        }
        const QString png = QString::fromStdString((drive.root() / "page").string());
        QProcess::execute("pdftoppm", {"-r", "96", "-png", "-singlefile",
                                       QString::fromStdString(pdf.string()), png});
        printout.page.load(png + ".png");
        return printout;
    }

    fs::path pdf;
};

TEST_F(SchemeWindowTest, FirstShownAtItsSizeAndClosingOnlyHides)
{
    EXPECT_EQ(o_fScheme->windowTitle(), "o_fScheme");
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

TEST_F(SchemeWindowTest, PrintsTheWindowAsShownAtTheScreensSize)
{
    // Without a picture: a rectangle of the window's colour, of the client area's size.
    showAtClientSize({300, 200});
    const QColor face = o_fScheme->palette().color(QPalette::Window);
    Printout printout = print();
    EXPECT_EQ(printout.pageSize, "Pages: 1;Page size: 595 x 842 pts (A4);");
    ASSERT_EQ(printout.page.size(), QSize(794, 1123));
    const QImage& plain = printout.page;
    EXPECT_EQ(plain.pixelColor(Margin + 2, Margin + 2), face);
    EXPECT_EQ(plain.pixelColor(Margin + 297, Margin + 197), face);
    EXPECT_EQ(plain.pixelColor(Margin + 303, Margin + 100), QColor(Qt::white));
    EXPECT_EQ(plain.pixelColor(Margin + 100, Margin + 203), QColor(Qt::white));
    EXPECT_EQ(plain.pixelColor(Margin - 3, Margin + 100), QColor(Qt::white));

    // The picture stretched over the window at two sizes; wider than the page, the printout is
    // cut at the page's edge, not fitted to it.
    o_fScheme->ShowPicture(Picture::Load(Sample("emf"), "s"), nullptr);
    for (const QSize size : {QSize(300, 200), QSize(1000, 150)}) {
        SCOPED_TRACE(size.width());
        showAtClientSize(size);
        EXPECT_TRUE(Near(ColourAt(o_fScheme->grab().toImage(), o_fScheme->rect(), 150, 75), Green));
        printout = print();
        const QRect printed(QPoint(Margin, Margin), size);
        const QImage& page = printout.page;
        EXPECT_TRUE(Near(ColourAt(page, printed, 40, 30), White));
        EXPECT_TRUE(Near(ColourAt(page, printed, 110, 20), Blue));
        EXPECT_TRUE(Near(ColourAt(page, printed, 130, 75), Green));
        EXPECT_EQ(page.pixelColor(Margin + 100, Margin + size.height() + 3), QColor(Qt::white));
        EXPECT_TRUE(Near(page.pixelColor(page.width() - 2, Margin + 20), Blue) ==
                    (size.width() > 794));
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
    QWindow* window = o_fScheme->windowHandle();
    QTest::mouseClick(window, Qt::RightButton, {}, QPoint(50, 50));
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
    bool besideDialog = false;
    bool waitingForDialog = true;
    QTimer::singleShot(0, [&] {
        QTest::mouseDClick(dialog->Image1, Qt::LeftButton);
        besideDialog = menuOpensOnRightClick();
        dialog->BitBtn2->click();
    });
    o_fPhoneGroup->ShowPhoneGroupDialog();
    ASSERT_TRUE(o_fScheme->isVisible());
    EXPECT_TRUE(menuOpensOnRightClick());

    // Shown already when the dialog opens: it waits, also after a double-click brought it up.
    QTimer::singleShot(0, [&] {
        QTest::mouseDClick(dialog->Image1, Qt::LeftButton);
        waitingForDialog = !menuOpensOnRightClick();
        dialog->BitBtn2->click();
    });
    o_fPhoneGroup->ShowPhoneGroupDialog();
    EXPECT_TRUE(besideDialog);
    EXPECT_TRUE(waitingForDialog);
    EXPECT_TRUE(menuOpensOnRightClick());
    o_fScheme->close();
}

// SPDX-License-Identifier: GPL-2.0-or-later
// Texts in the colours the window layouts fix stay readable: their contrast is measured from
// the pixels of the windows as drawn with a light palette and with a dark one.

#include "forms/common/readable_colours.h"
#include "forms/editors/boot.h"
#include "forms/editors/flash.h"
#include "forms/editors/phonegroup.h"
#include "forms/editors/status_picker.h"
#include "forms/editors/tia.h"
#include "forms/main_window/main.h"
#include "forms/run/configuration.h"
#include "window_fixture.h"

#include <QApplication>
#include <QHash>
#include <algorithm>
#include <map>

namespace
{

// The dark set-up many desktops give Fusion.
QPalette darkPalette()
{
    QPalette dark(QColor(53, 53, 53), QColor(53, 53, 53));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, Qt::white);
    dark.setColor(QPalette::Base, QColor(42, 42, 42));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    return dark;
}

// The colour most of the area shows is the background; the pixel that stands out most from it
// is the text's.
double contrastOfText(const QImage& area)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            ++counts[area.pixel(x, y)];
    const QColor background(std::max_element(counts.cbegin(), counts.cend()).key());
    double contrast = 1;
    for (const QRgb colour : counts.keys())
        contrast = std::max(contrast, ReadableColours::ContrastRatio(colour, background));
    return contrast;
}

// Where in a control its text is.
using Area = QRect (*)(const QWidget* control);
const Area Whole = [](const QWidget* control) { return control->rect(); };
const Area Caption = [](const QWidget* box) {
    return QRect(0, 0, box->width(), box->fontMetrics().height());
};
// Below the logo, inside the frame.
const Area ChipCaption = [](const QWidget* chip) {
    return QRect(4, 54, chip->width() - 8, chip->height() - 57);
};
// Right of the icon, left of the arrow, inside the frame.
const Area PickerText = [](const QWidget* picker) {
    return QRect(22, 3, picker->width() - 46, picker->height() - 6);
};

} // namespace

TEST_F(WindowTest, FixedColourTextsReadOnLightAndDarkPalettes)
{
    const struct PaletteGuard {
        QPalette saved = QApplication::palette();
        ~PaletteGuard() { QApplication::setPalette(saved); }
    } guard;
    start();
    for (QWidget* window : QApplication::topLevelWidgets())
        for (auto* picker : window->findChildren<StatusPicker*>())
            picker->setStatusCode(0);
    const struct {
        QWidget* window;
        const char* control;
        Area area;
    } rows[] = {
        {o_fMain, "ToolButton1", ChipCaption}, // up
        {o_fMain, "ToolButton2", ChipCaption}, // down
        {o_fConfiguration, "GroupBox1", Caption}, {o_fConfiguration, "Label1", Whole},
        {o_fTia, "GroupBox1", Caption},           {o_fTia, "Label1", Whole},
        {o_fTia, "o_cbMsgType", PickerText},      {o_fBoot, "Label1", Whole},
        {o_fBoot, "o_cbMsgType", PickerText},     {o_fPhoneGroup, "GroupBox1", Caption},
        {o_fPhoneGroup, "Label1", Whole},         {o_fFlash, "Label5", Whole},
        {o_fFlash, "o_cbMsgType", PickerText},
    };
    for (const char* palette : {"light", "dark"}) {
        if (palette == std::string("dark")) {
            // The windows follow, as they do when the desktop turns dark while the program runs.
            QApplication::setPalette(darkPalette());
            QApplication::processEvents();
        }
        std::map<QWidget*, QImage> shots;
        for (const auto& row : rows) {
            if (!shots.count(row.window))
                shots[row.window] = row.window->grab().toImage();
            const auto* control = row.window->findChild<QWidget*>(row.control);
            ASSERT_TRUE(control) << row.control;
            const QRect area = row.area(control);
            const QImage pixels = shots[row.window].copy(
                QRect(control->mapTo(row.window, area.topLeft()), area.size()));
            EXPECT_GE(contrastOfText(pixels), ReadableColours::Enough)
                << row.window->objectName().toStdString() << "." << row.control << ", " << palette
                << " palette";
        }
    }
}

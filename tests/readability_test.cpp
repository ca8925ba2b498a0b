// Texts in the colours the window layouts fix stay readable: their contrast is measured from
// the pixels of the windows as drawn with a light palette and with a dark one.

#include "forms/boot.h"
#include "forms/configuration.h"
#include "forms/flash.h"
#include "forms/main.h"
#include "forms/phonegroup.h"
#include "forms/readable_colours.h"
#include "forms/status_picker.h"
#include "forms/tia.h"
#include "window_fixture.h"

#include <QApplication>
#include <QHash>
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
    QRgb background = 0;
    int most = 0;
    for (auto count = counts.cbegin(); count != counts.cend(); ++count) {
        if (count.value() > most)
            std::tie(background, most) = std::pair(count.key(), count.value());
    }
    double contrast = 1;
    for (auto count = counts.cbegin(); count != counts.cend(); ++count)
        contrast = std::max(
            contrast, ReadableColours::ContrastRatio(QColor(count.key()), QColor(background)));
    return contrast;
}

enum class Area { Whole, Caption, ChipCaption, PickerText };

QRect areaOf(const QWidget* control, Area area)
{
    switch (area) {
    case Area::Whole:
        return control->rect();
    case Area::Caption:
        return {0, 0, control->width(), control->fontMetrics().height()};
    case Area::ChipCaption: // below the logo, inside the frame
        return {4, 54, control->width() - 8, control->height() - 57};
    case Area::PickerText: // right of the icon, left of the arrow, inside the frame
        break;
    }
    return {22, 3, control->width() - 46, control->height() - 6};
}

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
        {o_fMain, "ToolButton1", Area::ChipCaption}, // up
        {o_fMain, "ToolButton2", Area::ChipCaption}, // down
        {o_fConfiguration, "GroupBox1", Area::Caption}, {o_fConfiguration, "Label1", Area::Whole},
        {o_fTia, "GroupBox1", Area::Caption},           {o_fTia, "Label1", Area::Whole},
        {o_fTia, "o_cbMsgType", Area::PickerText},      {o_fBoot, "Label1", Area::Whole},
        {o_fBoot, "o_cbMsgType", Area::PickerText},     {o_fPhoneGroup, "GroupBox1", Area::Caption},
        {o_fPhoneGroup, "Label1", Area::Whole},         {o_fFlash, "Label5", Area::Whole},
        {o_fFlash, "o_cbMsgType", Area::PickerText},
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
            const QRect area = areaOf(control, row.area);
            const QImage pixels = shots[row.window].copy(
                QRect(control->mapTo(row.window, area.topLeft()), area.size()));
            EXPECT_GE(contrastOfText(pixels), ReadableColours::Enough)
                << row.window->objectName().toStdString() << "." << row.control << ", " << palette
                << " palette";
        }
    }
}

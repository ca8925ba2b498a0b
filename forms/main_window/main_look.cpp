// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/main_window/main_look.h"
#include "ui_main.h"

#include "forms/common/pictures.h"
#include "forms/common/readable_colours.h"
#include "forms/common/window_setup.h"

#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QTabWidget>

namespace MainLook
{

namespace
{

// The style of the platform with less room beside a tab's caption, so that the four pages of the
// left page control show their tabs at once. A style may draw a caption with margins of its
// own, wider than this room, and cut it: the caption is drawn here, centred in the whole tab.
class CompactTabStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return 8;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget) const override
    {
        const QSize size = QProxyStyle::sizeFromContents(type, option, contents, widget);
        return type == CT_TabBarTab ? size.expandedTo(contents) : size;
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* tab = qstyleoption_cast<const QStyleOptionTab*>(option);
        if (element != CE_TabBarTabLabel || !tab) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        QRect area = tab->rect;
        // The tabs behind the one in front sit a little lower, as the style has them.
        if (!(tab->state & State_Selected))
            area.translate(0, pixelMetric(PM_TabBarTabShiftVertical, option, widget));
        drawItemText(painter, area, Qt::AlignCenter | Qt::TextShowMnemonic, tab->palette,
                     tab->state & State_Enabled, tab->text, QPalette::WindowText);
        // The label drawn here is the base style's place for the focus mark: drawn here too, the
        // same in every style, in the text's own colour.
        if (tab->state & State_HasFocus) {
            const QRect text = itemTextRect(tab->fontMetrics, area, Qt::AlignCenter,
                                            tab->state & State_Enabled, tab->text);
            painter->save();
            painter->setPen(QPen(tab->palette.color(QPalette::WindowText), 1, Qt::DotLine));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(text.adjusted(-3, -1, 2, 0));
            painter->restore();
        }
    }
};

void makeTabsCompact(QTabWidget* pages)
{
    auto* compactTabs = new CompactTabStyle;
    compactTabs->setParent(pages);
    pages->tabBar()->setStyle(compactTabs);
    pages->setElideMode(Qt::ElideNone);
}

// The chip buttons are cards as white as their logos on any palette, with the red caption dark
// enough to read on them; the button that is down is plainly so: tinted, in a heavy frame.
QString chipButtons()
{
    const QColor card(Qt::white), edge(0xad, 0xad, 0xad), hover(0xe5, 0xf1, 0xfb);
    const QColor down(0xcc, 0xe4, 0xf7), frame(0x00, 0x5a, 0x9e);
    const QColor caption = ReadableColours::On(Qt::red, down);
    return QStringLiteral("QToolButton { background: %1; color: %2; border: 1px solid %3;"
                          " border-radius: 3px; }"
                          "QToolButton:hover { background: %4; border-color: %6; }"
                          "QToolButton:checked { background: %5; border: 2px solid %6; }"
                          // The keyboard's place, on the white card and on the tinted one.
                          "QToolButton:focus { border: 2px dashed black; }")
        .arg(card.name(), caption.name(), edge.name(), hover.name(), down.name(), frame.name());
}

} // namespace

void Apply(Ui::To_fMain* ui)
{
    ui->ToolButton1->setIcon(Pictures::Icon("chip-atmel"));
    ui->ToolButton2->setIcon(Pictures::Icon("chip-intel"));
    ui->ToolButton3->setIcon(Pictures::Icon("chip-intel"));
    ui->ToolBar1->setStyleSheet(chipButtons());
    WindowSetup::SetButtonGlyphs(ui->BitBtn1, ui->BitBtn2);
    ui->Image1->setPixmap(Pictures::Icon("about").pixmap(16, 16));
    ui->Memo1->viewport()->setAutoFillBackground(false);
    ui->Memo1->setStyleSheet(QStringLiteral("background: transparent;"));
    makeTabsCompact(ui->PageControl1);
}

} // namespace MainLook

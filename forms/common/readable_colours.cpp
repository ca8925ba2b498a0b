// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/common/readable_colours.h"

#include <QEvent>
#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace ReadableColours
{

namespace
{

// A little above Enough, so that rounding to the screen's 8-bit colours keeps it.
constexpr double Aim = 5.0;

double relativeLuminance(const QColor& colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

class KeepReadable : public QObject
{
public:
    static constexpr const char* Name = "ReadableColourKeeper";

    explicit KeepReadable(QWidget* widget) : QObject(widget)
    {
        setObjectName(QLatin1String(Name));
        widget->installEventFilter(this);
        adapt(widget);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::PaletteChange)
            adapt(static_cast<QWidget*>(watched));
        return false;
    }

private:
    void adapt(QWidget* widget)
    {
        QPalette palette = widget->palette();
        const QColor current = palette.color(QPalette::WindowText);
        // Another colour than the one given here last was set by the program: it is wanted now.
        if (current != m_given)
            m_wanted = current;
        m_given = On(m_wanted, palette.color(QPalette::Window));
        if (m_given != current) {
            palette.setColor(QPalette::WindowText, m_given);
            widget->setPalette(palette);
        }
    }

    QColor m_wanted;
    QColor m_given;
};

} // namespace

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double first = relativeLuminance(a);
    const double second = relativeLuminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor On(const QColor& wanted, const QColor& background)
{
    if (ContrastRatio(wanted, background) >= Enough)
        return wanted;
    float hue = 0, saturation = 0, lightness = 0, alpha = 0;
    wanted.getHslF(&hue, &saturation, &lightness, &alpha);
    const auto withLightness = [&](float value) {
        return QColor::fromHslF(hue, saturation, value, alpha).toRgb();
    };
    const bool darken = ContrastRatio(Qt::black, background) > ContrastRatio(Qt::white, background);
    float near = lightness;
    float far = darken ? 0.0F : 1.0F;
    if (ContrastRatio(withLightness(far), background) < Aim)
        return withLightness(far);
    // The lightness nearest to the wanted one that still reaches the aim.
    for (int step = 0; step < 16; ++step) {
        const float middle = (near + far) / 2;
        (ContrastRatio(withLightness(middle), background) >= Aim ? far : near) = middle;
    }
    return withLightness(far);
}

void Keep(QWidget* widget)
{
    // The keeper is the widget's child, so it goes with the widget; one is enough.
    if (!widget->findChild<QObject*>(QLatin1String(KeepReadable::Name), Qt::FindDirectChildrenOnly))
        new KeepReadable(widget);
}

} // namespace ReadableColours

// SPDX-License-Identifier: GPL-2.0-or-later
#include "svg_image.h"

#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>

namespace
{

constexpr double ShortestLongSide = 1024;
constexpr double LongestLongSide = SvgImageMaxSide;

} // namespace

QImage SvgImage(const QByteArray& svg)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    QSizeF size = renderer.viewBoxF().size();
    if (const QSize own = renderer.defaultSize(); !own.isEmpty())
        size = own;
    if (!(size.width() > 0 && size.height() > 0))
        return {};
    const double longSide = std::max(size.width(), size.height());
    const double scale = std::clamp(longSide, ShortestLongSide, LongestLongSide) / longSide;
    const QSize pixels(std::max(1, int(std::lround(size.width() * scale))),
                       std::max(1, int(std::lround(size.height() * scale))));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    return image;
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "drawing.h"

#include "svg_text_layer.h"

#include <QPainter>
#include <QSvgRenderer>

ImageDrawing::ImageDrawing(QImage image, QByteArray svg) : m_svg(std::move(svg))
{
    m_halvings.push_back(std::move(image));
}

void ImageDrawing::Draw(QPainter& painter, const QRectF& box) const
{
    const QSizeF target = painter.deviceTransform().mapRect(box).size();
    std::size_t level = 0;
    for (;; ++level) {
        const QImage& image = m_halvings[level];
        const QSize half(image.width() / 2, image.height() / 2);
        if (half.width() < target.width() || half.height() < target.height())
            break;
        if (level + 1 == m_halvings.size())
            m_halvings.push_back(
                image.scaled(half, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(box, m_halvings[level]);
    painter.restore();
}

void ImageDrawing::Print(QPainter& painter, const QRectF& box) const
{
    // The helper drew this document within its limits already: it draws as fast here.
    const SvgTextLayer texts(m_svg);
    QSvgRenderer renderer(texts.Document());
    if (m_svg.isEmpty() || !renderer.isValid()) {
        Draw(painter, box);
        return;
    }
    renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
    // Nothing beyond the box, where a document draws outside its own bounds.
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    renderer.render(&painter, box);
    texts.Draw(painter, renderer, box);
    painter.restore();
}

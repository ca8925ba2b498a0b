// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What a loaded picture draws: stretched over any box, in both directions. Where it draws
// nothing, what was under it stays.

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <vector>

class QPainter;

class Drawing
{
public:
    virtual ~Drawing() = default;
    virtual void Draw(QPainter& painter, const QRectF& box) const = 0;
    // For a printer: a drawing with shapes and texts of its own keeps them, as far as the
    // printer takes them.
    virtual void Print(QPainter& painter, const QRectF& box) const { Draw(painter, box); }
    // Its own size in pixels, for its proportions.
    virtual QSizeF Size() const = 0;
};

// An image, drawn smoothly at any size: a box far smaller than the image gets a copy halved as
// often as it stays larger than the box, made when first needed and kept, so that thin lines of
// a large picture survive in a small box. A drawing made into the image may come with its SVG
// document, which it prints instead.
class ImageDrawing : public Drawing
{
public:
    explicit ImageDrawing(QImage image, QByteArray svg = {});
    void Draw(QPainter& painter, const QRectF& box) const override;
    void Print(QPainter& painter, const QRectF& box) const override;
    QSizeF Size() const override { return m_halvings.front().size(); }

private:
    QByteArray m_svg;
    // The image, then each half of the one before.
    mutable std::vector<QImage> m_halvings;
};

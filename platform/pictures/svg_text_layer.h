// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The words of an SVG drawing, for a printed copy that can be searched and copied. Qt SVG 6.4
// draws every text as outlines: it lays text out with the painter's pen as the text's outline,
// and its pen is never Qt::NoPen, not even for "stroke: none", so a PDF gets shapes, no words,
// whatever the document says. This layer puts each text, invisible, over its outlines, in the
// box where Qt SVG laid it out.

#include <QByteArray>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;
class QSvgRenderer;

class SvgTextLayer
{
public:
    // The document with an id for each text (a transform of the text's own moved to a group
    // around it, so that the text's box is its own); without texts when the document cannot be
    // read as XML.
    explicit SvgTextLayer(const QByteArray& svg);
    const QByteArray& Document() const { return m_document; }
    // Draws the texts invisibly, renderer drawing Document() over box, its proportions ignored.
    void Draw(QPainter& painter, const QSvgRenderer& renderer, const QRectF& box) const;

private:
    struct Text {
        QString id;
        QString words;
    };
    QByteArray m_document;
    std::vector<Text> m_texts;
};

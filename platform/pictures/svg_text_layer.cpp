// SPDX-License-Identifier: GPL-2.0-or-later
#include "svg_text_layer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace
{

// A start tag as it was written: its prefixes, its namespace declarations and its attributes,
// less the ones left out.
void WriteStartTag(QXmlStreamWriter& writer, const QXmlStreamReader& reader,
                   QStringView leftOut = {})
{
    writer.writeStartElement(reader.qualifiedName().toString());
    for (const QXmlStreamNamespaceDeclaration& declaration : reader.namespaceDeclarations()) {
        const QString prefix = declaration.prefix().toString();
        writer.writeAttribute(prefix.isEmpty() ? QStringLiteral("xmlns") : "xmlns:" + prefix,
                              declaration.namespaceUri().toString());
    }
    for (const QXmlStreamAttribute& attribute : reader.attributes())
        if (attribute.qualifiedName() != leftOut)
            writer.writeAttribute(attribute.qualifiedName().toString(),
                                  attribute.value().toString());
}

// Elements whose content is drawn elsewhere or not at all: a text in them has no one place.
bool DrawsNothingWhereItStands(QStringView name)
{
    for (const char16_t* unplaced :
         {u"defs", u"symbol", u"clipPath", u"mask", u"pattern", u"marker"})
        if (name == QStringView(unplaced))
            return true;
    return false;
}

} // namespace

SvgTextLayer::SvgTextLayer(const QByteArray& svg) : m_document(svg)
{
    QByteArray document;
    QXmlStreamWriter writer(&document);
    QXmlStreamReader reader(svg);
    std::vector<Text> texts;
    Text* text = nullptr;  // the text being read; texts hold no texts
    int textDepth = 0;     // its elements still open, itself included
    bool grouped = false;  // in a group of its own, for its own transform
    int unplacedDepth = 0; // elements still open of one that draws nothing where it stands
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() &&
            (unplacedDepth > 0 || DrawsNothingWhereItStands(reader.name())))
            ++unplacedDepth;
        if (reader.isStartElement() && !text && unplacedDepth == 0 && reader.name() == u"text") {
            const QXmlStreamAttributes attributes = reader.attributes();
            const QStringView transform = attributes.value(QLatin1String("transform"));
            grouped = !transform.isEmpty();
            if (grouped) {
                writer.writeStartElement(QStringLiteral("g"));
                writer.writeAttribute(QStringLiteral("transform"), transform.toString());
            }
            QString id = attributes.value(QLatin1String("id")).toString();
            WriteStartTag(writer, reader, u"transform");
            if (id.isEmpty()) {
                id = QStringLiteral("quorvel-text-%1").arg(texts.size());
                writer.writeAttribute(QStringLiteral("id"), id);
            }
            text = &texts.emplace_back(Text{id, {}});
            textDepth = 1;
        } else if (reader.isStartElement()) {
            WriteStartTag(writer, reader);
            textDepth += text ? 1 : 0;
        } else if (reader.isEndElement()) {
            writer.writeEndElement();
            unplacedDepth -= unplacedDepth > 0 ? 1 : 0;
            if (text && --textDepth == 0) {
                text->words = text->words.simplified();
                text = nullptr;
                if (grouped)
                    writer.writeEndElement();
            }
        } else {
            if (text && reader.isCharacters())
                text->words += reader.text();
            writer.writeCurrentToken(reader);
        }
    }
    if (reader.hasError())
        return;
    m_document = document;
    m_texts = std::move(texts);
}

void SvgTextLayer::Draw(QPainter& painter, const QSvgRenderer& renderer, const QRectF& box) const
{
    const QRectF view = renderer.viewBoxF();
    if (view.isEmpty())
        return;
    QTransform toBox;
    toBox.translate(box.left(), box.top());
    toBox.scale(box.width() / view.width(), box.height() / view.height());
    toBox.translate(-view.left(), -view.top());
    QFont font = painter.font();
    font.setPixelSize(100); // scaled to each text's box below
    const QFontMetricsF metrics(font);
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::transparent);
    const QTransform outside = painter.worldTransform();
    for (const Text& text : m_texts) {
        const QRectF bounds = renderer.boundsOnElement(text.id);
        const qreal width = metrics.horizontalAdvance(text.words);
        if (text.words.isEmpty() || bounds.isEmpty() || width <= 0)
            continue;
        painter.setWorldTransform(renderer.transformForElement(text.id) * toBox * outside);
        painter.translate(bounds.topLeft());
        painter.scale(bounds.width() / width, bounds.height() / metrics.height());
        painter.drawText(QPointF(0, metrics.ascent()), text.words);
    }
    painter.restore();
}

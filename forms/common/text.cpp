// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/common/text.h"

#include <QByteArray>
#include <QLabel>
#include <QLineEdit>
#include <QStringDecoder>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidgetItem>
#include <QVariant>
#include <algorithm>
#include <optional>

namespace
{

// Windows-1252's characters for the bytes 0x80..0x9F; the five it leaves undefined map to the
// control characters of the same number, as the system's own conversion does.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString fromWindows1252(std::string_view bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        text += QChar(code >= 0x80 && code < 0xA0 ? Cp1252High[code - 0x80] : char16_t(code));
    }
    return text;
}

// Where a widget keeps the bytes it was filled with, beside the text they were shown as.
constexpr int BytesRole = Qt::UserRole + 100;
constexpr const char* BytesProperty = "quorvelBytes";
constexpr const char* ShownProperty = "quorvelShown";

QByteArray asByteArray(std::string_view bytes)
{
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The stored bytes while the widget still shows what they were decoded to; else the text typed.
std::string bytesOrTyped(const QVariant& stored, const QString& shown)
{
    const QByteArray bytes = stored.toByteArray();
    if (stored.isValid() && fromBytes(std::string_view(bytes.constData(), bytes.size())) == shown)
        return bytes.toStdString();
    return toBytes(shown);
}

// The bytes at the end that begin a UTF-8 sequence but do not finish it, as a value cut at a
// length limit leaves them.
std::size_t cutUtf8Tail(std::string_view bytes)
{
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, bytes.size()); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((byte & 0xC0) == 0x80)
            continue; // a continuation byte: the sequence began further back
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

std::optional<QString> fromUtf8(std::string_view bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

} // namespace

QString fromBytes(std::string_view bytes)
{
    if (auto text = fromUtf8(bytes))
        return *text;
    // A UTF-8 text cut inside its last character (a value cut at the catalogues' length limit)
    // stays UTF-8, the cut character shown as such. Only a text with other characters beyond
    // ASCII tells that it is UTF-8: a single last byte such as "caf\xE9" is Windows-1252.
    if (const std::size_t tail = cutUtf8Tail(bytes); tail > 0) {
        const std::string_view rest = bytes.substr(0, bytes.size() - tail);
        const bool beyondAscii = std::any_of(
            rest.begin(), rest.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
        if (auto text = fromUtf8(rest); text && beyondAscii)
            return *text + QChar(QChar::ReplacementCharacter);
    }
    return fromWindows1252(bytes);
}

std::string toBytes(const QString& typed)
{
    return typed.toStdString();
}

namespace Text
{

void Show(QLineEdit* field, std::string_view bytes)
{
    const QString shown = fromBytes(bytes);
    field->setProperty(BytesProperty, asByteArray(bytes));
    field->setProperty(ShownProperty, shown);
    field->setText(shown);
}

std::string Bytes(const QLineEdit* field)
{
    // A field cleared or typed into since it was filled no longer holds those bytes.
    if (field->property(ShownProperty).toString() != field->text() || field->isModified())
        return toBytes(field->text());
    return bytesOrTyped(field->property(BytesProperty), field->text());
}

void Show(QTreeWidgetItem* item, int column, std::string_view bytes)
{
    item->setText(column, fromBytes(bytes));
    item->setData(column, BytesRole, asByteArray(bytes));
}

std::string Bytes(const QTreeWidgetItem* item, int column)
{
    return bytesOrTyped(item->data(column, BytesRole), item->text(column));
}

// A tab caption marks its access key with "&": a name's own "&" is doubled to stay one.
int AddTab(QTabWidget* tabs, QWidget* page, std::string_view bytes)
{
    QString caption = fromBytes(bytes);
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    const int index = tabs->addTab(page, caption);
    tabs->tabBar()->setTabData(index, asByteArray(bytes));
    return index;
}

std::string TabBytes(const QTabWidget* tabs, int index)
{
    QString caption = tabs->tabText(index);
    caption.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return bytesOrTyped(tabs->tabBar()->tabData(index), caption);
}

void Show(QLabel* label, std::string_view bytes)
{
    label->setTextFormat(Qt::PlainText);
    label->setText(fromBytes(bytes));
}

QString PlainToolTip(const QString& text)
{
    return QStringLiteral("<p style='white-space:pre'>%1</p>").arg(text.toHtmlEscaped());
}

} // namespace Text

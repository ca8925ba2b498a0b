// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// How the picture helper hands its image back through its standard output: "QPIC", the width
// and the height as 32-bit little-endian numbers, then the rows of 32-bit premultiplied ARGB
// pixels, top row first; then the SVG document it drew, for printing: its size as a 32-bit
// little-endian number and its bytes.

#include <QByteArray>
#include <QImage>
#include <cstdio>
#include <optional>

namespace HelperImage
{

// The largest output of an image of at most side × side pixels and a document of at most
// documentBytes.
constexpr qsizetype MaxBytes(int side, std::uint64_t documentBytes)
{
    return 16 + qsizetype(side) * side * 4 + qsizetype(documentBytes);
}

// False when the output cannot be written whole.
bool Write(const QImage& image, const QByteArray& svg, std::FILE* out);

struct Output {
    QImage image;
    QByteArray svg;
};

// The size of the whole output, once its start says it; nothing before. The program need not
// wait for the helper to end once it has that much.
std::optional<qsizetype> WholeSize(const QByteArray& output);

// The image and document, or nothing when the output is not one whole image of at most maxSide
// a side followed by one document.
std::optional<Output> Read(const QByteArray& output, int maxSide);

} // namespace HelperImage

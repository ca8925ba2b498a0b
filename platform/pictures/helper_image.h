// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// How the picture helper hands its image back through its standard output: "QPIC", the width
// and the height as 32-bit little-endian numbers, then the rows of 32-bit premultiplied ARGB
// pixels, top row first.

#include <QByteArray>
#include <QImage>
#include <cstdio>
#include <optional>

namespace HelperImage
{

// The size of the output for an image of side × side pixels, the largest one of that side.
constexpr qsizetype BytesFor(int side)
{
    return 12 + qsizetype(side) * side * 4;
}

// False when the output cannot be written whole.
bool Write(const QImage& image, std::FILE* out);

// The image, or nothing when the output is not one whole image of at most maxSide a side.
std::optional<QImage> Read(const QByteArray& output, int maxSide);

} // namespace HelperImage

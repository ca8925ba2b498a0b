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

// False when the output cannot be written whole.
bool Write(const QImage& image, std::FILE* out);

// The image, or nothing when the output is not one whole image of at most maxSide a side.
std::optional<QImage> Read(const QByteArray& output, int maxSide);

} // namespace HelperImage

// SPDX-License-Identifier: GPL-2.0-or-later
#include "test_pictures.h"

#include <cstdlib>

namespace TestPictures
{

std::filesystem::path Sample(const char* extension)
{
    const std::string name(extension);
    const bool named = name.find('.') != std::string::npos;
    return std::filesystem::path(QUORVEL_TEST_PICTURES) / (named ? name : "schematic." + name);
}

bool Near(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 &&
           std::abs(a.blue() - b.blue()) < 40;
}

QColor ColourAt(const QImage& image, const QRect& box, double x, double y)
{
    return image.pixelColor(box.left() + int(x * box.width() / 200.0),
                            box.top() + int(y * box.height() / 100.0));
}

} // namespace TestPictures

// SPDX-License-Identifier: GPL-2.0-or-later
#include "test_pictures.h"

#include "platform/pictures/vector_drawing.h"
#include "temporary_drive.h"

#include <cstdlib>

namespace TestPictures
{

std::filesystem::path Sample(const char* extension)
{
    const std::string name(extension);
    const bool named = name.find('.') != std::string::npos;
    return std::filesystem::path(QUORVEL_TEST_PICTURES) / (named ? name : "schematic." + name);
}

VectorDrawing::Helper Helper()
{
    return Helper(VectorDrawing::DefaultTimeLimit);
}

VectorDrawing::Helper Helper(std::chrono::milliseconds timeLimit)
{
    return {QUORVEL_PICTURE_HELPER, timeLimit};
}

std::string SaveFlood()
{
    const std::string wmf = TemporaryDrive::readNative(Sample("wmf"));
    std::string flood = wmf.substr(0, wmf.size() - 6);
    for (int record = 0; record < 40000; ++record)
        flood += std::string("\x03\0\0\0\x1e\0", 6);
    return flood + wmf.substr(wmf.size() - 6);
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

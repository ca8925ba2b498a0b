// SPDX-License-Identifier: GPL-2.0-or-later
// An icon's directory: the image to decode picked by the size its own header gives.

#include "platform/pictures/icon_directory.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

std::string number(std::uint32_t value, int bytes, bool bigEndian = false)
{
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += char(value >> (8 * (bigEndian ? bytes - 1 - i : i)));
    return out;
}

std::string png(std::uint32_t width, std::uint32_t height)
{
    return std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16) + number(width, 4, true) +
           number(height, 4, true) + std::string(5, '\0');
}

// A bitmap's info header: its height counts the mask's rows too.
std::string bitmap(std::uint32_t width, std::uint32_t height)
{
    return number(40, 4) + number(width, 4) + number(2 * height, 4) + std::string(28, '\0');
}

// An icon of the images, each listed with the size given (0 for 256); a count of entries above
// the images' makes a directory that runs past the file.
std::string icon(const std::vector<std::pair<int, std::string>>& images, int count = -1)
{
    count = count < 0 ? int(images.size()) : count;
    std::string file = number(0, 2) + number(1, 2) + number(count, 2);
    std::size_t at = 6 + 16 * images.size();
    std::string data;
    for (const auto& [listed, image] : images) {
        file += std::string(2, char(listed)) + std::string(6, '\0') + number(image.size(), 4) +
                number(at + data.size(), 4);
        data += image;
    }
    return file + data;
}

} // namespace

TEST(IconDirectory, TheLargestImageByItsOwnHeader)
{
    const struct {
        const char* name;
        std::string file;
        int index; // -1: no image to decode
        std::int64_t width, height;
    } rows[] = {
        {"bitmap and png", icon({{16, bitmap(16, 16)}, {0, png(300, 200)}}), 1, 300, 256},
        {"a png larger than listed", icon({{32, png(1000, 900)}, {48, bitmap(48, 48)}}), 0, 1000,
         900},
        {"one beyond the limit", icon({{32, png(20000, 20000)}, {48, bitmap(48, 48)}}), 1, 48, 48},
        {"all beyond the limit", icon({{32, png(20000, 20000)}, {0, png(3000, 2000)}}), 0, 20000,
         20000},
        {"a bitmap under its listed size", icon({{48, bitmap(16, 16)}}), 0, 48, 48},
        {"an entry past the end", icon({{16, bitmap(16, 16)}}).substr(0, 40), -1, 0, 0},
        {"more entries than the file holds", icon({{16, bitmap(16, 16)}}, 65535), -1, 0, 0},
        {"no icon", "BM" + bitmap(16, 16), -1, 0, 0},
        // Sides no PNG can have, whose product overflowed: left out, as a bitmap's negative width.
        {"a png of impossible sides",
         icon({{16, png(0xFFFFFFFF, 0xFFFFFFFF)}, {48, bitmap(48, 48)}}), 1, 48, 48},
        {"a bitmap of negative width", icon({{16, bitmap(0xFFFFFFF0, 16)}}), -1, 0, 0},
    };
    for (const auto& [name, file, index, width, height] : rows) {
        SCOPED_TRACE(name);
        const auto largest = IconDirectory::Largest(file, 1024);
        ASSERT_EQ(largest.has_value(), index >= 0);
        if (!largest)
            continue;
        EXPECT_EQ(largest->index, index);
        EXPECT_EQ(largest->width, width);
        EXPECT_EQ(largest->height, height);
    }
}

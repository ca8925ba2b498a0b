// SPDX-License-Identifier: GPL-2.0-or-later
#include "icon_directory.h"

#include "dib_header.h"

#include <algorithm>

namespace IconDirectory
{

namespace
{

constexpr std::size_t HeaderBytes = 6;
constexpr std::size_t EntryBytes = 16;
constexpr std::string_view PngSignature("\x89PNG\r\n\x1A\n", 8);

std::optional<std::uint32_t> BigEndian32(std::string_view bytes, std::size_t at)
{
    const auto value = DibHeader::U32(bytes, at);
    if (!value)
        return std::nullopt;
    return ((*value & 0xFF) << 24) | ((*value & 0xFF00) << 8) | ((*value >> 8) & 0xFF00) |
           (*value >> 24);
}

// The image's own size: a PNG's from its header chunk, a bitmap's from its info header, whose
// height counts the mask's rows too.
std::optional<Entry> OwnSize(std::string_view image)
{
    if (image.substr(0, PngSignature.size()) == PngSignature) {
        const auto width = BigEndian32(image, 16), height = BigEndian32(image, 20);
        // A PNG's sides are at most 2^31 - 1, which keeps the product of two sides in range.
        constexpr std::uint32_t MaxPngSide = 0x7FFFFFFF;
        if (!width || !height || image.substr(12, 4) != "IHDR" || *width > MaxPngSide ||
            *height > MaxPngSide)
            return std::nullopt;
        return Entry{0, *width, *height};
    }
    const auto width = DibHeader::U32(image, 4), height = DibHeader::U32(image, 8);
    if (!width || !height || std::int32_t(*width) <= 0)
        return std::nullopt;
    const auto signedHeight = std::int64_t(std::int32_t(*height));
    return Entry{0, std::int32_t(*width), (signedHeight < 0 ? -signedHeight : signedHeight) / 2};
}

} // namespace

std::optional<Entry> Largest(std::string_view file, std::int64_t maxSide)
{
    const auto reserved = DibHeader::U16(file, 0), type = DibHeader::U16(file, 2),
               count = DibHeader::U16(file, 4);
    if (!reserved || !type || !count || *reserved != 0 || (*type != 1 && *type != 2) ||
        HeaderBytes + std::size_t(*count) * EntryBytes > file.size())
        return std::nullopt;
    std::optional<Entry> largest, largestBeyond;
    for (int index = 0; index < *count; ++index) {
        const std::size_t at = HeaderBytes + std::size_t(index) * EntryBytes;
        const auto bytes = DibHeader::U32(file, at + 8), offset = DibHeader::U32(file, at + 12);
        if (!bytes || !offset || *offset > file.size() || *bytes > file.size() - *offset)
            continue;
        auto own = OwnSize(file.substr(*offset, *bytes));
        if (!own)
            continue;
        // 0 in the directory stands for 256.
        const int listedWidth = static_cast<unsigned char>(file[at]),
                  listedHeight = static_cast<unsigned char>(file[at + 1]);
        own->index = index;
        own->width = std::max<std::int64_t>(own->width, listedWidth ? listedWidth : 256);
        own->height = std::max<std::int64_t>(own->height, listedHeight ? listedHeight : 256);
        const bool fits = own->width <= maxSide && own->height <= maxSide;
        std::optional<Entry>& best = fits ? largest : largestBeyond;
        if (!best || own->width * own->height > best->width * best->height)
            best = own;
    }
    return largest ? largest : largestBeyond;
}

} // namespace IconDirectory

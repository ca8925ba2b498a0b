// SPDX-License-Identifier: GPL-2.0-or-later
#include "dib_header.h"

namespace DibHeader
{

namespace
{

enum Compression : std::uint32_t {
    Rgb = 0,
    Rle8 = 1,
    Rle4 = 2,
    Bitfields = 3,
    Jpeg = 4,
    Png = 5,
    AlphaBitfields = 6
};

constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t InfoHeaderSize = 40;

bool IsBitCount(std::uint16_t bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

} // namespace

std::optional<std::uint32_t> U32(std::string_view bytes, std::size_t at)
{
    if (at > bytes.size() || bytes.size() - at < 4)
        return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::optional<std::uint16_t> U16(std::string_view bytes, std::size_t at)
{
    if (at > bytes.size() || bytes.size() - at < 2)
        return std::nullopt;
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

std::optional<Layout> Read(std::string_view dib)
{
    const auto size = U32(dib, 0);
    if (!size)
        return std::nullopt;
    Layout layout;
    std::uint16_t bits = 0;
    std::uint32_t compression = Rgb, imageSize = 0, coloursUsed = 0, entryBytes = 4;
    if (*size == CoreHeaderSize) {
        const auto width = U16(dib, 4), height = U16(dib, 6), bitCount = U16(dib, 10);
        if (!bitCount)
            return std::nullopt;
        layout.width = *width;
        layout.height = *height;
        bits = *bitCount;
        entryBytes = 3;
    } else {
        // Sizes between the two headers are no header at all; some decoders loop on them.
        const auto clrUsed = U32(dib, 32);
        if (*size < InfoHeaderSize || !clrUsed)
            return std::nullopt;
        layout.width = static_cast<std::int32_t>(*U32(dib, 4));
        layout.height = static_cast<std::int32_t>(*U32(dib, 8));
        if (layout.height < 0)
            layout.height = -layout.height;
        bits = *U16(dib, 14);
        compression = *U32(dib, 16);
        imageSize = *U32(dib, 20);
        coloursUsed = *clrUsed;
    }
    if (layout.width <= 0 || layout.height <= 0)
        return std::nullopt;
    const bool packed = compression == Jpeg || compression == Png;
    if (compression > AlphaBitfields || (!packed && !IsBitCount(bits)))
        return std::nullopt;

    std::uint64_t colours = 0;
    if (bits <= 8 && !packed)
        colours = coloursUsed && coloursUsed < (1u << bits) ? coloursUsed : (1u << bits);
    else
        colours = coloursUsed;
    layout.infoBytes = *size;
    layout.headerBytes = *size + colours * entryBytes;
    // Masks follow the 40-byte header; larger headers hold them inside.
    if (*size == InfoHeaderSize && compression == Bitfields)
        layout.headerBytes += 12;
    if (*size == InfoHeaderSize && compression == AlphaBitfields)
        layout.headerBytes += 16;

    if (compression == Rgb || compression == Bitfields || compression == AlphaBitfields) {
        const std::uint64_t stride =
            ((static_cast<std::uint64_t>(layout.width) * bits + 31) / 32) * 4;
        layout.pixelBytes = stride * static_cast<std::uint64_t>(layout.height);
    } else if (imageSize != 0) {
        layout.pixelBytes = imageSize;
    }
    return layout;
}

} // namespace DibHeader

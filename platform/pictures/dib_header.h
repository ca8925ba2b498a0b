// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The header of a device-independent bitmap, as bitmap files and metafiles' bitmap records hold
// it: read and checked before any decoder sees the pixels, so that a header that lies about its
// size or dimensions is refused instead of read past its end or decoded into garbage.

#include <cstdint>
#include <optional>
#include <string_view>

namespace DibHeader
{

struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0; // rows, whichever way they run
    // The header with its colour table or masks, and the pixels: nothing for compressed pixels
    // whose size the header does not give.
    std::uint64_t headerBytes = 0;
    std::uint64_t infoBytes = 0; // the header alone, without colour table or masks
    std::optional<std::uint64_t> pixelBytes;
};

// The layout of the bitmap that starts with `dib` (the header and what follows, or only the
// start of it); nothing when the header is not one that the system reads.
std::optional<Layout> Read(std::string_view dib);

// Reads little-endian numbers at an offset; nothing past the end.
std::optional<std::uint32_t> U32(std::string_view bytes, std::size_t at);
std::optional<std::uint16_t> U16(std::string_view bytes, std::size_t at);

} // namespace DibHeader

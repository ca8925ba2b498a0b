// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// How large a picture the program takes: decoded pictures are held in memory whole, so their
// dimensions are checked against these before anything is decoded.

#include <cstdint>

namespace PictureLimits
{

// The longest side of a picture: at four bytes a pixel, a square of it takes 1 GiB. (An A4
// page scanned at 1200 dpi is 9921 × 14031.)
inline constexpr std::int64_t MaxSide = 16384;

// The same in the megabytes of Qt's image readers' allocation limit, with room for their own
// rounding.
inline constexpr int ReaderAllocationLimitMiB = int(MaxSide * MaxSide * 4 / (1024 * 1024)) + 1;

// An icon's image: its directory can say at most 256; some programs write larger PNG images
// into icons, and none larger than this.
inline constexpr std::int64_t MaxIconSide = 1024;

// A bitmap inside a metafile: far smaller in any real drawing.
inline constexpr std::uint64_t MaxEmbeddedPixels = 64ull * 1024 * 1024;

// Metafile and SVG files are read whole: larger ones are no schematic.
inline constexpr std::uint64_t MaxDrawingFileBytes = 64ull * 1024 * 1024;

// The picture helper's exit code when it could not limit its own time and memory: it then
// decodes nothing, as an unlimited decoder could take the machine down with a hostile file.
inline constexpr int HelperUnlimitedExit = 3;

inline bool FitsInMemory(std::int64_t width, std::int64_t height)
{
    return width > 0 && height > 0 && width <= MaxSide && height <= MaxSide;
}

} // namespace PictureLimits

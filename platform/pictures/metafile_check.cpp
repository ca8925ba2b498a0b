// SPDX-License-Identifier: GPL-2.0-or-later
#include "metafile_check.h"

#include "dib_header.h"
#include "picture_limits.h"

#include <algorithm>
#include <cstdint>

namespace MetafileCheck
{

namespace
{

using DibHeader::U16;
using DibHeader::U32;

// A bitmap of a record: its header (with colour table) and its pixels, each a part of the record.
// An EMF record gives its header's size (headerAvailable): writers keep only the colours a
// bitmap uses, so the colour table may end there, before the full 2^bits entries; the header
// itself and its masks must be whole.
bool IsSoundBitmap(std::string_view header, std::optional<std::uint64_t> pixelsAvailable,
                   std::optional<std::uint64_t> headerAvailable = std::nullopt)
{
    const auto layout = DibHeader::Read(header);
    if (!layout)
        return false;
    const std::uint64_t headerBytes = headerAvailable && *headerAvailable >= layout->infoBytes
                                          ? std::min(layout->headerBytes, *headerAvailable)
                                          : layout->headerBytes;
    if (headerBytes > header.size())
        return false;
    if (std::uint64_t(layout->width) * std::uint64_t(layout->height) >
        PictureLimits::MaxEmbeddedPixels)
        return false;
    const std::uint64_t available =
        pixelsAvailable ? *pixelsAvailable : header.size() - headerBytes;
    return !layout->pixelBytes || *layout->pixelBytes <= available;
}

// Where the bitmap starts in a WMF record that carries one, counted from the record's start;
// 0 for records without a bitmap.
std::size_t WmfBitmapOffset(std::string_view record, std::uint16_t function)
{
    // The blits carry a bitmap unless the record has its bitmap-less size.
    const bool bitmapLess = record.size() == 2u * ((function >> 8) + 3);
    switch (function) {
    case 0x0940: // DIBBITBLT
        return bitmapLess ? 0 : 22;
    case 0x0B41: // DIBSTRETCHBLT
        return bitmapLess ? 0 : 26;
    case 0x0F43: // STRETCHDIB
        return 28;
    case 0x0D33: // SETDIBTODEV
        return 24;
    case 0x0142: // DIBCREATEPATTERNBRUSH, unless its style says an old bitmap follows
        return U16(record, 6) == 3 ? 0 : 10;
    default:
        return 0;
    }
}

// The EMF records that carry bitmaps, and where each keeps its bitmaps' offset and size fields
// (offBmi, cbBmi, offBits, cbBits), counted from the record's start; 0 for none.
struct BitmapRecord {
    std::uint32_t type;
    std::size_t source;
    std::size_t mask;
};
constexpr BitmapRecord EmfBitmapRecords[] = {
    {76, 84, 0},   // BITBLT
    {77, 84, 0},   // STRETCHBLT
    {78, 84, 112}, // MASKBLT
    {79, 96, 124}, // PLGBLT
    {80, 48, 0},   // SETDIBITSTODEVICE
    {81, 48, 0},   // STRETCHDIBITS
    {93, 16, 0},   // CREATEMONOBRUSH
    {94, 16, 0},   // CREATEDIBPATTERNBRUSHPT
    {114, 84, 0},  // ALPHABLEND
    {116, 84, 0},  // TRANSPARENTBLT
};

bool IsSoundEmfBitmap(std::string_view record, std::size_t at)
{
    const auto offBmi = U32(record, at), cbBmi = U32(record, at + 4);
    const auto offBits = U32(record, at + 8), cbBits = U32(record, at + 12);
    if (!offBmi || !cbBmi || !offBits || !cbBits)
        return false;
    if (*cbBmi == 0)
        return true; // no bitmap: a pattern or a plain fill
    const auto fits = [&](std::uint64_t offset, std::uint64_t size) {
        return offset <= record.size() && size <= record.size() - offset;
    };
    // The header with its colour table may run past cbBmi but not past the record.
    return fits(*offBmi, *cbBmi) && fits(*offBits, *cbBits) &&
           IsSoundBitmap(record.substr(*offBmi), *cbBits, *cbBmi);
}

bool IsSoundEmfBitmaps(std::string_view record, std::uint32_t type)
{
    for (const BitmapRecord& carrier : EmfBitmapRecords) {
        if (carrier.type == type)
            return IsSoundEmfBitmap(record, carrier.source) &&
                   (carrier.mask == 0 || IsSoundEmfBitmap(record, carrier.mask));
    }
    return true;
}

// Records that carry a counted list (points, polygons' point counts, characters): the list must
// fit the record. Offsets from the record's start; a count field of two or four bytes.
struct CountedList {
    std::uint32_t type;
    std::size_t countAt;
    std::size_t countBytes;
    std::size_t listAt;
    std::uint64_t itemBytes;
};
constexpr CountedList WmfLists[] = {
    {0x0324, 6, 2, 8, 4},   // POLYGON
    {0x0325, 6, 2, 8, 4},   // POLYLINE
    {0x0521, 6, 2, 8, 1},   // TEXTOUT
    {0x0A32, 10, 2, 14, 1}, // EXTTEXTOUT
};
constexpr CountedList EmfLists[] = {
    {2, 24, 4, 28, 8},  {3, 24, 4, 28, 8},  {4, 24, 4, 28, 8},  {5, 24, 4, 28, 8},
    {6, 24, 4, 28, 8},  {85, 24, 4, 28, 4}, {86, 24, 4, 28, 4}, {87, 24, 4, 28, 4},
    {88, 24, 4, 28, 4}, {89, 24, 4, 28, 4}, // the POLY... records, 32- and 16-bit points
};

std::optional<std::uint32_t> CountAt(std::string_view record, const CountedList& list)
{
    if (list.countBytes == 2) {
        const auto count = U16(record, list.countAt);
        return count ? std::optional<std::uint32_t>(*count) : std::nullopt;
    }
    return U32(record, list.countAt);
}

bool ListsFit(std::string_view record, std::uint32_t type, const auto& lists)
{
    for (const CountedList& list : lists) {
        if (list.type != type)
            continue;
        const auto count = CountAt(record, list);
        return count && list.listAt + *count * list.itemBytes <= record.size();
    }
    return true;
}

// A WMF polypolygon's points, after its polygons' counts.
bool WmfPolygonsFit(std::string_view record)
{
    const auto polygons = U16(record, 6);
    std::uint64_t points = 0;
    for (std::size_t polygon = 0; polygons && polygon < *polygons; ++polygon)
        points += U16(record, 8 + 2 * polygon).value_or(0);
    return polygons && 8 + 2ull * *polygons + 4 * points <= record.size();
}

// An EMF polypolygon's counts before its points; an EMF text's characters and spacings.
bool EmfListsFit(std::string_view record, std::uint32_t type)
{
    if (type == 7 || type == 8 || type == 90 || type == 91) {
        const auto polygons = U32(record, 24);
        const std::uint64_t pointBytes = type < 90 ? 8 : 4;
        const auto points = U32(record, 28);
        return polygons && points && 32 + 4ull * *polygons + pointBytes * *points <= record.size();
    }
    if (type == 83 || type == 84) { // EXTTEXTOUTA, EXTTEXTOUTW
        const auto characters = U32(record, 44), stringAt = U32(record, 48);
        const auto spacingsAt = U32(record, 72);
        const std::uint64_t characterBytes = type == 84 ? 2 : 1;
        return characters && stringAt && spacingsAt &&
               *stringAt + characterBytes * *characters <= record.size() &&
               (*spacingsAt == 0 || *spacingsAt + 4ull * *characters <= record.size());
    }
    return true;
}

} // namespace

bool IsSoundWmf(std::string_view bytes)
{
    constexpr std::uint32_t PlaceableKey = 0x9AC6CDD7;
    constexpr std::size_t PlaceableSize = 22, HeaderSize = 18;
    if (U32(bytes, 0) == PlaceableKey)
        bytes.remove_prefix(std::min(bytes.size(), PlaceableSize));
    const auto type = U16(bytes, 0), headerWords = U16(bytes, 2);
    if (!type || (*type != 1 && *type != 2) || headerWords != HeaderSize / 2)
        return false;
    for (std::size_t at = HeaderSize;;) {
        const auto words = U32(bytes, at);
        const auto function = U16(bytes, at + 4);
        if (!words || !function || *words < 3 || *words > (bytes.size() - at) / 2)
            return false;
        const std::string_view record = bytes.substr(at, std::size_t(*words) * 2);
        if (*function == 0) // the end-of-file record
            return true;
        if (!ListsFit(record, *function, WmfLists) ||
            (*function == 0x0538 && !WmfPolygonsFit(record)))
            return false;
        if (const std::size_t bitmap = WmfBitmapOffset(record, *function); bitmap != 0) {
            if (bitmap > record.size() || !IsSoundBitmap(record.substr(bitmap), std::nullopt))
                return false;
        }
        at += record.size();
    }
}

bool IsSoundEmf(std::string_view bytes)
{
    constexpr std::uint32_t HeaderType = 1, EndType = 14, Signature = 0x464D4520; // " EMF"
    constexpr std::uint32_t SmallestHeader = 88;
    const auto headerSize = U32(bytes, 4), signature = U32(bytes, 40), fileBytes = U32(bytes, 48);
    // A file shorter than its header says has been cut.
    if (U32(bytes, 0) != HeaderType || !headerSize || *headerSize < SmallestHeader ||
        signature != Signature || !fileBytes || *fileBytes > bytes.size())
        return false;
    for (std::size_t at = 0;;) {
        const auto type = U32(bytes, at), size = U32(bytes, at + 4);
        if (!type || !size || *size < 8 || *size > bytes.size() - at)
            return false;
        if (*type == EndType)
            return true;
        const std::string_view record = bytes.substr(at, *size);
        if (!IsSoundEmfBitmaps(record, *type) || !ListsFit(record, *type, EmfLists) ||
            !EmfListsFit(record, *type))
            return false;
        at += *size;
    }
}

} // namespace MetafileCheck

// SPDX-License-Identifier: GPL-2.0-or-later
#include "metafile_image_windows.h"

#include "metafile_check.h"
#include "svg_image.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <windows.h>

namespace
{

// The system plays the metafile once, into an image of the size SVG drawings get (svg_image.h):
// its own size at 96 dpi, its longer side brought between 1024 and 4096 pixels. Drawing it again
// at every paint would cost a replay each time.
QImage PlayedImage(HENHMETAFILE metafile)
{
    ENHMETAHEADER header{};
    if (GetEnhMetaFileHeader(metafile, sizeof header, &header) == 0)
        return {};
    // The frame is in hundredths of a millimetre.
    const double width = (double(header.rclFrame.right) - header.rclFrame.left) * 96 / 2540;
    const double height = (double(header.rclFrame.bottom) - header.rclFrame.top) * 96 / 2540;
    if (!(width > 0 && height > 0))
        return {};
    const double longSide = std::max(width, height);
    const double scale = std::clamp(longSide, 1024.0, double(SvgImageMaxSide)) / longSide;
    const int pixelsWide = std::clamp(int(std::lround(width * scale)), 1, SvgImageMaxSide);
    const int pixelsHigh = std::clamp(int(std::lround(height * scale)), 1, SvgImageMaxSide);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = pixelsWide;
    info.bmiHeader.biHeight = -pixelsHigh; // top row first, as QImage has it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = dc ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (!bitmap) {
        if (dc)
            DeleteDC(dc);
        return {};
    }
    HGDIOBJ previous = SelectObject(dc, bitmap);
    RECT area{0, 0, pixelsWide, pixelsHigh};
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetStretchBltMode(dc, HALFTONE);
    const bool played = PlayEnhMetaFile(dc, metafile, &area) != 0;
    GdiFlush();
    QImage image(pixelsWide, pixelsHigh, QImage::Format_RGB32);
    if (played && !image.isNull()) {
        for (int row = 0; row < pixelsHigh; ++row)
            std::memcpy(image.scanLine(row),
                        static_cast<const uchar*>(bits) + std::size_t(row) * pixelsWide * 4,
                        std::size_t(pixelsWide) * 4);
    }
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return played ? image : QImage();
}

// A placeable header (before the metafile proper) gives the picture's size; without one the
// system takes the size from the records.
HENHMETAFILE FromWmf(const std::string& bytes)
{
    constexpr DWORD placeableKey = 0x9AC6CDD7;
    constexpr size_t placeableSize = 22;
    METAFILEPICT picture{MM_ANISOTROPIC, 0, 0, nullptr};
    const BYTE* records = reinterpret_cast<const BYTE*>(bytes.data());
    size_t size = bytes.size();
    DWORD key = 0;
    if (size >= placeableSize)
        std::memcpy(&key, records, sizeof key);
    if (key == placeableKey) {
        short left, top, right, bottom;
        WORD unitsPerInch;
        std::memcpy(&left, records + 6, 2);
        std::memcpy(&top, records + 8, 2);
        std::memcpy(&right, records + 10, 2);
        std::memcpy(&bottom, records + 12, 2);
        std::memcpy(&unitsPerInch, records + 14, 2);
        if (unitsPerInch) {
            // In hundredths of a millimetre.
            picture.xExt = MulDiv(right - left, 2540, unitsPerInch);
            picture.yExt = MulDiv(bottom - top, 2540, unitsPerInch);
        }
        records += placeableSize;
        size -= placeableSize;
    }
    return SetWinMetaFileBits(static_cast<UINT>(size), records, nullptr, &picture);
}

} // namespace

QImage MetafileImage(VectorKind kind, const std::string& bytes)
{
    HENHMETAFILE metafile = nullptr;
    if (kind == VectorKind::Wmf && MetafileCheck::IsSoundWmf(bytes))
        metafile = FromWmf(bytes);
    else if (kind == VectorKind::Emf && MetafileCheck::IsSoundEmf(bytes))
        metafile = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()),
                                      reinterpret_cast<const BYTE*>(bytes.data()));
    if (!metafile)
        return {};
    QImage image = PlayedImage(metafile);
    DeleteEnhMetaFile(metafile);
    return image;
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "vector_drawing.h"

#include "metafile_check.h"
#include "svg_image.h"

#include <QImage>
#include <QPainter>
#include <QTimer>
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

namespace VectorDrawing
{

namespace
{

std::chrono::milliseconds& ChosenTimeLimit()
{
    static std::chrono::milliseconds limit = DefaultTimeLimit;
    return limit;
}

// The system plays metafiles in this process, as it does for every program that shows them; the
// record check keeps from it the files whose records lie about their sizes. SVG is drawn by Qt,
// made into an image once.
std::unique_ptr<Drawing> Load(VectorKind kind, const std::string& bytes)
{
    HENHMETAFILE metafile = nullptr;
    switch (kind) {
    case VectorKind::Wmf:
        if (MetafileCheck::IsSoundWmf(bytes))
            metafile = FromWmf(bytes);
        break;
    case VectorKind::Emf:
        if (MetafileCheck::IsSoundEmf(bytes))
            metafile = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()),
                                          reinterpret_cast<const BYTE*>(bytes.data()));
        break;
    case VectorKind::Svg: {
        const QByteArray svg = QByteArray::fromStdString(bytes);
        QImage image = SvgImage(svg);
        if (image.isNull())
            return nullptr;
        return std::make_unique<ImageDrawing>(std::move(image), svg);
    }
    }
    if (!metafile)
        return nullptr;
    QImage image = PlayedImage(metafile);
    DeleteEnhMetaFile(metafile);
    if (image.isNull())
        return nullptr;
    return std::make_unique<ImageDrawing>(std::move(image));
}

} // namespace

std::chrono::milliseconds TimeLimit()
{
    return ChosenTimeLimit();
}

void SetTimeLimit(std::chrono::milliseconds limit)
{
    ChosenTimeLimit() = limit;
}

std::unique_ptr<QObject> Start(VectorKind kind, std::string bytes, Done done)
{
    auto job = std::make_unique<QObject>();
    QTimer::singleShot(0, job.get(), [kind, bytes = std::move(bytes), done = std::move(done)] {
        auto drawing = Load(kind, bytes);
        const Outcome outcome = drawing ? Outcome::Drawn : Outcome::Refused;
        done(std::move(drawing), outcome);
    });
    return job;
}

} // namespace VectorDrawing

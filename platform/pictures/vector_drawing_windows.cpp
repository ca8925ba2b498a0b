// SPDX-License-Identifier: GPL-2.0-or-later
#include "vector_drawing.h"

#include "metafile_check.h"
#include "svg_image.h"

#include <QImage>
#include <QPainter>
#include <QTimer>
#include <cstring>
#include <windows.h>

namespace
{

// The system plays the metafile into a bitmap of the box's size, over the painter's background.
class GdiDrawing : public Drawing
{
public:
    explicit GdiDrawing(HENHMETAFILE metafile) : m_metafile(metafile) {}
    ~GdiDrawing() override { DeleteEnhMetaFile(m_metafile); }
    GdiDrawing(const GdiDrawing&) = delete;
    GdiDrawing& operator=(const GdiDrawing&) = delete;

    void Draw(QPainter& painter, const QRectF& box) const override
    {
        const qreal scale = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
        const int width = qMax(1, qRound(box.width() * scale));
        const int height = qMax(1, qRound(box.height() * scale));

        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top row first, as QImage has it
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!dc || !bitmap) {
            if (bitmap)
                DeleteObject(bitmap);
            if (dc)
                DeleteDC(dc);
            return;
        }
        HGDIOBJ previous = SelectObject(dc, bitmap);
        const QColor background = painter.background().color();
        HBRUSH brush =
            CreateSolidBrush(RGB(background.red(), background.green(), background.blue()));
        RECT area{0, 0, width, height};
        FillRect(dc, &area, brush);
        DeleteObject(brush);
        SetStretchBltMode(dc, HALFTONE);
        PlayEnhMetaFile(dc, m_metafile, &area);
        GdiFlush();

        QImage image(width, height, QImage::Format_RGB32);
        for (int row = 0; row < height; ++row)
            std::memcpy(image.scanLine(row), static_cast<const uchar*>(bits) + row * width * 4,
                        static_cast<size_t>(width) * 4);
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
        image.setDevicePixelRatio(scale);
        painter.drawImage(box, image);
    }

private:
    HENHMETAFILE m_metafile;
};

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
        QImage image = SvgImage(QByteArray::fromStdString(bytes));
        if (image.isNull())
            return nullptr;
        return std::make_unique<ImageDrawing>(std::move(image));
    }
    }
    if (!metafile)
        return nullptr;
    return std::make_unique<GdiDrawing>(metafile);
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

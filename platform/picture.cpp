// SPDX-License-Identifier: GPL-2.0-or-later
#include "picture.h"

#include "ascii_case.h"
#include "dib_header.h"
#include "drawing.h"
#include "file_problem.h"
#include "files.h"
#include "picture_limits.h"
#include "vector_drawing.h"

#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <optional>
#include <stdexcept>

namespace
{

namespace fs = std::filesystem;

struct Kind {
    const char* extension;
    // Qt's image format of the kind, or the drawing's kind.
    const char* imageFormat;
    VectorKind vector;
    const char* invalidText;
};

constexpr Kind Kinds[] = {
    {"bmp", "bmp", {}, "Bitmap image is not valid"},
    {"ico", "ico", {}, "Icon image is not valid"},
    {"wmf", nullptr, VectorKind::Wmf, "Metafile is not valid"},
    {"emf", nullptr, VectorKind::Emf, "Metafile is not valid"},
    {"png", "png", {}, "PNG image is not valid"},
    {"jpg", "jpeg", {}, "JPEG image is not valid"},
    {"jpeg", "jpeg", {}, "JPEG image is not valid"},
    {"gif", "gif", {}, "GIF image is not valid"},
    {"svg", nullptr, VectorKind::Svg, "SVG image is not valid"},
};

// What follows the last dot of the file's name, as written.
std::string ExtensionOf(const fs::path& file)
{
    const std::string name = file.filename().string();
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

const Kind* KindOf(std::string extension)
{
    std::transform(extension.begin(), extension.end(), extension.begin(), AsciiCase::ToLower);
    for (const Kind& kind : Kinds) {
        if (extension == kind.extension)
            return &kind;
    }
    return nullptr;
}

// The file and the system's reason go below the message.
[[noreturn]] void CannotOpen(const fs::path& file, std::string_view shownPath,
                             std::error_code error)
{
    if (!error) {
        std::error_code ignored;
        error =
            std::make_error_code(fs::exists(file, ignored) ? std::errc::permission_denied
                                                           : std::errc::no_such_file_or_directory);
    }
    throw Platform::FileError("Cannot open file " + std::string(shownPath),
                              {file, error.message()});
}

void CheckDimensions(std::int64_t width, std::int64_t height)
{
    if (!PictureLimits::FitsInMemory(width, height))
        throw std::runtime_error("The picture is too large (" + std::to_string(width) +
                                 " \xC3\x97 " + std::to_string(height) + ")");
}

// A bitmap file's header against the file: the pixels it declares must all be there, else the
// rows it lacks would show whatever the memory held.
void CheckBitmapFile(const QByteArray& head, std::uint64_t fileSize, const Kind& kind)
{
    constexpr std::size_t FileHeaderBytes = 14;
    const std::string_view bytes(head.constData(), std::size_t(head.size()));
    const auto pixelsAt = DibHeader::U32(bytes, 10);
    const auto layout = bytes.substr(0, 2) == "BM" && pixelsAt
                            ? DibHeader::Read(bytes.substr(FileHeaderBytes))
                            : std::nullopt;
    if (!layout)
        throw std::runtime_error(kind.invalidText);
    CheckDimensions(layout->width, layout->height);
    if (layout->pixelBytes && *pixelsAt + *layout->pixelBytes > fileSize)
        throw std::runtime_error(kind.invalidText);
}

// Bitmaps, icons, PNG, JPEG and GIF: read from the file in its own format only (never guessed
// from the contents), each image's size checked before it is decoded.
QImage ReadImage(const fs::path& file, const Kind& kind, std::string_view shownPath)
{
    QFile device(file);
    if (!device.open(QIODevice::ReadOnly))
        CannotOpen(file, shownPath, {});
    const bool isBitmap = kind.imageFormat == std::string_view("bmp");
    if (isBitmap)
        CheckBitmapFile(device.peek(64), std::uint64_t(device.size()), kind);
    QImageReader reader(&device, kind.imageFormat);
    reader.setAutoDetectImageFormat(false);
    reader.setAllocationLimit(PictureLimits::ReaderAllocationLimitMiB);
    // An icon holds several images: the largest stretches best.
    const bool isIcon = kind.imageFormat == std::string_view("ico");
    const int count = isIcon ? std::max(reader.imageCount(), 1) : 1;
    QImage best;
    for (int index = 0; index < count; ++index) {
        if (index > 0 && !reader.jumpToImage(index))
            break;
        if (const QSize size = reader.size(); size.isValid())
            CheckDimensions(size.width(), size.height());
        QImage image = reader.read();
        if (image.isNull())
            break;
        if (qint64(image.width()) * image.height() > qint64(best.width()) * best.height())
            best = std::move(image);
    }
    if (best.isNull())
        throw std::runtime_error(kind.invalidText);
    return best;
}

// A metafile's or an SVG drawing's bytes, for the decoder.
std::string ReadDrawingFile(const fs::path& file, std::string_view shownPath)
{
    std::error_code error;
    const auto size = fs::file_size(file, error);
    if (error)
        CannotOpen(file, shownPath, error);
    if (size > PictureLimits::MaxDrawingFileBytes)
        throw std::runtime_error("The picture file is too large");
    Platform::FileBytes read = Platform::ReadFileBytes(file);
    if (!read.bytes)
        CannotOpen(file, shownPath, read.error);
    return std::move(*read.bytes);
}

// The file's kind, once it is known to be a file.
const Kind& KindToLoad(const fs::path& file, std::string_view shownPath)
{
    const std::string extension = ExtensionOf(file);
    const Kind* kind = KindOf(extension);
    if (!kind)
        throw std::runtime_error("Unknown picture file extension (." + extension + ")");
    std::error_code error;
    if (!fs::is_regular_file(file, error))
        CannotOpen(file, shownPath, error);
    return *kind;
}

} // namespace

Picture::Picture() = default;
Picture::~Picture() = default;
Picture::Picture(const Picture&) = default;
Picture& Picture::operator=(const Picture&) = default;

Picture Picture::Load(const fs::path& file, std::string_view shownPath)
{
    const Kind& kind = KindToLoad(file, shownPath);
    Picture picture;
    if (kind.imageFormat) {
        picture.m_drawing = std::make_shared<ImageDrawing>(ReadImage(file, kind, shownPath));
    } else {
        picture.m_drawing = VectorDrawing::Load(kind.vector, ReadDrawingFile(file, shownPath));
        if (!picture.m_drawing)
            throw std::runtime_error(kind.invalidText);
    }
    return picture;
}

void Picture::LoadLater(const fs::path& file, std::string_view shownPath, QObject* context,
                        Loaded loaded)
{
    Picture picture;
    std::string error;
    try {
        const Kind& kind = KindToLoad(file, shownPath);
        if (!kind.imageFormat) {
            auto decoded = [loaded, invalid = kind.invalidText](std::unique_ptr<Drawing> drawing) {
                Picture decodedPicture;
                decodedPicture.m_drawing = std::move(drawing);
                loaded(decodedPicture, decodedPicture.IsEmpty() ? invalid : "");
            };
            VectorDrawing::LoadLater(kind.vector, ReadDrawingFile(file, shownPath), context,
                                     std::move(decoded));
            return;
        }
        picture.m_drawing = std::make_shared<ImageDrawing>(ReadImage(file, kind, shownPath));
    } catch (const std::exception& thrown) {
        error = thrown.what();
    }
    loaded(picture, error);
}

void Picture::Draw(QPainter& painter, const QRectF& box) const
{
    if (m_drawing)
        m_drawing->Draw(painter, box);
}

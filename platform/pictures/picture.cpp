// SPDX-License-Identifier: GPL-2.0-or-later
#include "picture.h"

#include "dib_header.h"
#include "drawing.h"
#include "icon_directory.h"
#include "picture_limits.h"
#include "platform/ascii_case.h"
#include "platform/file_path_text.h"
#include "platform/file_problem.h"
#include "platform/files.h"
#include "vector_drawing.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QImageReader>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <cstdio>
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
    const char* decodedWhat = nullptr; // a drawing's, in the text of a decoding that ran too long
};

constexpr Kind Kinds[] = {
    {"bmp", "bmp", {}, "Bitmap image is not valid"},
    {"ico", "ico", {}, "Icon image is not valid"},
    {"wmf", nullptr, VectorKind::Wmf, "Metafile is not valid", "Metafile"},
    {"emf", nullptr, VectorKind::Emf, "Metafile is not valid", "Metafile"},
    {"png", "png", {}, "PNG image is not valid"},
    {"jpg", "jpeg", {}, "JPEG image is not valid"},
    {"jpeg", "jpeg", {}, "JPEG image is not valid"},
    {"gif", "gif", {}, "GIF image is not valid"},
    {"svg", nullptr, VectorKind::Svg, "SVG image is not valid", "SVG image"},
};

// What follows the last dot of the file's name, as written.
std::string ExtensionOf(const fs::path& file)
{
    const std::string name = Platform::FilePathText(file.filename());
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
// from the contents), the image's size checked before it is decoded.
QImage ReadImage(const fs::path& file, const Kind& kind, std::string_view shownPath)
{
    QFile device(file);
    if (!device.open(QIODevice::ReadOnly))
        CannotOpen(file, shownPath, {});
    const std::string_view format = kind.imageFormat;
    if (format == "bmp")
        CheckBitmapFile(device.peek(64), std::uint64_t(device.size()), kind);
    // An icon holds several images: only the largest is decoded, as it stretches best.
    QByteArray icon;
    QBuffer iconDevice(&icon);
    std::optional<IconDirectory::Entry> largest;
    if (format == "ico") {
        if (std::uint64_t(device.size()) > PictureLimits::MaxDrawingFileBytes)
            throw std::runtime_error("The picture file is too large");
        icon = device.readAll();
        largest = IconDirectory::Largest(std::string_view(icon.constData(), icon.size()),
                                         PictureLimits::MaxIconSide);
        if (!largest)
            throw std::runtime_error(kind.invalidText);
        if (largest->width > PictureLimits::MaxIconSide ||
            largest->height > PictureLimits::MaxIconSide)
            throw std::runtime_error("The picture is too large (" + std::to_string(largest->width) +
                                     " \xC3\x97 " + std::to_string(largest->height) + ")");
        iconDevice.open(QIODevice::ReadOnly);
    }
    QImageReader reader(largest ? static_cast<QIODevice*>(&iconDevice) : &device, kind.imageFormat);
    reader.setAutoDetectImageFormat(false);
    if (largest && largest->index > 0 && !reader.jumpToImage(largest->index))
        throw std::runtime_error(kind.invalidText);
    if (const QSize size = reader.size(); size.isValid())
        CheckDimensions(size.width(), size.height());
    QImage image = reader.read();
    if (image.isNull())
        throw std::runtime_error(kind.invalidText);
    return image;
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

// Qt's image readers share one allocation limit, set here once as the program starts: every
// image's dimensions are checked against PictureLimits before it is decoded, and the limit lets
// the largest of them through.
const bool ReaderLimitSet =
    (QImageReader::setAllocationLimit(PictureLimits::ReaderAllocationLimitMiB), true);

// Images are decoded away from the windows' thread, as many at a time as the machine has cores,
// so that requests dropped while their large image is decoded cannot pile up.
QThreadPool& ImagePool()
{
    return *QThreadPool::globalInstance();
}

std::string Seconds(std::chrono::milliseconds limit)
{
    char text[32];
    if (limit.count() % 1000 == 0)
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(limit.count() / 1000));
    else
        std::snprintf(text, sizeof text, "%.1f", double(limit.count()) / 1000);
    return text;
}

// The error as a request tells it: about the file, with the system's reason when it has one.
Platform::FileError AsFileError(const std::exception& error, const fs::path& file)
{
    if (const auto* fileError = dynamic_cast<const Platform::FileError*>(&error))
        return *fileError;
    return Platform::FileError(error.what(), {file, {}});
}

// What a request has told, or will: shared with the work it started, which may outlive it.
struct Listener {
    Picture::Loaded loaded;
    bool dropped = false; // read and written on the windows' thread only
};

class ImageOrDrawingRequest : public PictureRequest
{
public:
    explicit ImageOrDrawingRequest(Picture::Loaded loaded)
        : m_outcome(std::make_shared<Listener>(Listener{std::move(loaded)}))
    {
    }
    ~ImageOrDrawingRequest() override
    {
        m_outcome->dropped = true;
        *m_cancelled = true;
    }
    ImageOrDrawingRequest(const ImageOrDrawingRequest&) = delete;
    ImageOrDrawingRequest& operator=(const ImageOrDrawingRequest&) = delete;

    // Tells the outcome from the event loop, unless the request is gone by then; callable from
    // any thread.
    void Tell(std::shared_ptr<const Drawing> drawing, std::optional<Platform::FileError> error)
    {
        TellLater(m_outcome, std::move(drawing), std::move(error));
    }

    static void TellLater(std::shared_ptr<Listener> outcome, std::shared_ptr<const Drawing> drawing,
                          std::optional<Platform::FileError> error);

    std::shared_ptr<std::atomic<bool>> m_cancelled = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<Listener> m_outcome;
    std::unique_ptr<QObject> m_job; // a drawing's decoding, ended with the request
};

} // namespace

Picture::Picture() = default;
Picture::~Picture() = default;
Picture::Picture(const Picture&) = default;
Picture& Picture::operator=(const Picture&) = default;
Picture::Picture(std::shared_ptr<const Drawing> drawing) : m_drawing(std::move(drawing)) {}

void ImageOrDrawingRequest::TellLater(std::shared_ptr<Listener> outcome,
                                      std::shared_ptr<const Drawing> drawing,
                                      std::optional<Platform::FileError> error)
{
    // The application lives as long as the event loop: the call cannot outlive its receiver.
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return; // the program is ending
    QMetaObject::invokeMethod(
        application,
        [outcome, drawing = std::move(drawing), error = std::move(error)] {
            if (outcome->dropped)
                return;
            outcome->dropped = true; // told once
            outcome->loaded(Picture(drawing), error ? &*error : nullptr);
        },
        Qt::QueuedConnection);
}

std::unique_ptr<PictureRequest> Picture::Request(const fs::path& file, std::string_view shownPath,
                                                 Loaded loaded, const VectorDrawing::Helper& helper)
{
    auto request = std::make_unique<ImageOrDrawingRequest>(std::move(loaded));
    try {
        const Kind& kind = KindToLoad(file, shownPath);
        if (kind.imageFormat) {
            ImagePool().start([file, kind, shown = std::string(shownPath),
                               cancelled = request->m_cancelled, outcome = request->m_outcome] {
                if (*cancelled)
                    return;
                try {
                    ImageOrDrawingRequest::TellLater(
                        outcome, std::make_shared<ImageDrawing>(ReadImage(file, kind, shown)), {});
                } catch (const std::exception& error) {
                    ImageOrDrawingRequest::TellLater(outcome, nullptr, AsFileError(error, file));
                }
            });
            return request;
        }
        auto decoded = [request = request.get(), file, kind, limit = helper.timeLimit](
                           std::unique_ptr<Drawing> drawing, VectorDrawing::Outcome outcome) {
            using VectorDrawing::Outcome;
            if (outcome == Outcome::Drawn)
                request->Tell(std::move(drawing), {});
            else if (outcome == Outcome::TimedOut)
                request->Tell(nullptr, Platform::FileError(std::string(kind.decodedWhat) +
                                                               " could not be decoded within " +
                                                               Seconds(limit) + " s",
                                                           {file, {}}));
            else if (outcome == Outcome::Unlimited)
                request->Tell(nullptr,
                              Platform::FileError("The picture was not decoded: its decoder could "
                                                  "not limit its own time and memory",
                                                  {file, {}}));
            else
                request->Tell(nullptr, Platform::FileError(kind.invalidText, {file, {}}));
        };
        request->m_job = VectorDrawing::Start(kind.vector, ReadDrawingFile(file, shownPath),
                                              std::move(decoded), helper);
    } catch (const std::exception& error) {
        request->Tell(nullptr, AsFileError(error, file));
    }
    return request;
}

void Picture::PrepareForDrawings(const VectorDrawing::Helper& helper)
{
    try {
        VectorDrawing::StartSpareHelper(helper);
    } catch (const std::runtime_error&) {
        // told when a drawing is asked for
    }
}

Picture Picture::Load(const fs::path& file, std::string_view shownPath,
                      const VectorDrawing::Helper& helper)
{
    QEventLoop loop;
    Picture picture;
    std::optional<Platform::FileError> failure;
    const auto request = Request(
        file, shownPath,
        [&](const Picture& loaded, const Platform::FileError* error) {
            picture = loaded;
            if (error)
                failure = *error;
            loop.quit();
        },
        helper);
    loop.exec();
    if (failure)
        throw *failure;
    return picture;
}

void Picture::Draw(QPainter& painter, const QRectF& box) const
{
    if (m_drawing)
        m_drawing->Draw(painter, box);
}

void Picture::Print(QPainter& painter, const QRectF& box) const
{
    if (m_drawing)
        m_drawing->Print(painter, box);
}

QSizeF Picture::Size() const
{
    return m_drawing ? m_drawing->Size() : QSizeF();
}

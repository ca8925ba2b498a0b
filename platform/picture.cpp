#include "picture.h"

#include "ascii_case.h"
#include "file_problem.h"
#include "files.h"
#include "metafile.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <optional>
#include <stdexcept>
#include <variant>
#include <vector>

class Picture::Content
{
public:
    explicit Content(QImage image) : m_drawing(std::move(image)) {}
    explicit Content(std::unique_ptr<MetafileDrawing> metafile) : m_drawing(std::move(metafile)) {}

    void Draw(QPainter& painter, const QRectF& box) const
    {
        if (const auto* image = std::get_if<QImage>(&m_drawing)) {
            painter.save();
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(box, *image);
            painter.restore();
        } else {
            std::get<std::unique_ptr<MetafileDrawing>>(m_drawing)->Draw(painter, box);
        }
    }

private:
    std::variant<QImage, std::unique_ptr<MetafileDrawing>> m_drawing;
};

namespace
{

enum class Kind { Bitmap, Icon, Wmf, Emf };

// What follows the last dot of the file's name, as written.
std::string ExtensionOf(const std::filesystem::path& file)
{
    const std::string name = file.filename().string();
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::optional<Kind> KindOf(std::string extension)
{
    std::transform(extension.begin(), extension.end(), extension.begin(), AsciiCase::ToLower);
    if (extension == "bmp")
        return Kind::Bitmap;
    if (extension == "ico")
        return Kind::Icon;
    if (extension == "wmf")
        return Kind::Wmf;
    if (extension == "emf")
        return Kind::Emf;
    return std::nullopt;
}

// All images of the file in the given format only, never guessed from the contents.
std::vector<QImage> ReadImages(const std::string& bytes, const char* format)
{
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    std::vector<QImage> images;
    const int count = std::max(reader.imageCount(), 1);
    for (int index = 0; index < count; ++index) {
        if (index > 0 && !reader.jumpToImage(index))
            break;
        QImage image = reader.read();
        if (image.isNull())
            break;
        images.push_back(std::move(image));
    }
    return images;
}

QImage Bitmap(const std::string& bytes)
{
    auto images = ReadImages(bytes, "bmp");
    if (images.empty())
        throw std::runtime_error("Bitmap image is not valid");
    return images.front();
}

// The largest of the icon's images, the one that stretches best.
QImage Icon(const std::string& bytes)
{
    auto images = ReadImages(bytes, "ico");
    if (images.empty())
        throw std::runtime_error("Icon image is not valid");
    const auto area = [](const QImage& image) { return image.width() * image.height(); };
    return *std::max_element(images.begin(), images.end(),
                             [&](const QImage& a, const QImage& b) { return area(a) < area(b); });
}

std::unique_ptr<MetafileDrawing> Metafile(const std::string& bytes, MetafileDrawing::Kind kind)
{
    auto drawing = MetafileDrawing::Read(bytes, kind);
    if (!drawing)
        throw std::runtime_error("Metafile is not valid");
    return drawing;
}

} // namespace

Picture::Picture() = default;
Picture::~Picture() = default;
Picture::Picture(const Picture&) = default;
Picture& Picture::operator=(const Picture&) = default;

Picture Picture::Load(const std::filesystem::path& file, std::string_view shownPath)
{
    const std::string extension = ExtensionOf(file);
    const auto kind = KindOf(extension);
    if (!kind)
        throw std::runtime_error("Unknown picture file extension (." + extension + ")");

    const Platform::FileBytes read = Platform::ReadFileBytes(file);
    if (read.outcome != Platform::ReadOutcome::Read)
        throw Platform::FileError("Cannot open file " + std::string(shownPath),
                                  {file, read.error.message()});
    const std::string& bytes = read.bytes;

    Picture picture;
    switch (*kind) {
    case Kind::Bitmap:
        picture.m_content = std::make_shared<const Content>(Bitmap(bytes));
        break;
    case Kind::Icon:
        picture.m_content = std::make_shared<const Content>(Icon(bytes));
        break;
    case Kind::Wmf:
        picture.m_content =
            std::make_shared<const Content>(Metafile(bytes, MetafileDrawing::Kind::Wmf));
        break;
    case Kind::Emf:
        picture.m_content =
            std::make_shared<const Content>(Metafile(bytes, MetafileDrawing::Kind::Emf));
        break;
    }
    return picture;
}

void Picture::Draw(QPainter& painter, const QRectF& box) const
{
    if (m_content)
        m_content->Draw(painter, box);
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "helper_image.h"

#include "dib_header.h"

#include <cstring>
#include <limits>
#include <string_view>

namespace HelperImage
{

namespace
{

constexpr char Magic[4] = {'Q', 'P', 'I', 'C'};
constexpr qsizetype HeaderBytes = 12;

void PutU32(char* at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

bool Write(const QImage& source, const QByteArray& svg, std::FILE* out)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    char header[HeaderBytes];
    std::memcpy(header, Magic, sizeof Magic);
    PutU32(header + 4, std::uint32_t(image.width()));
    PutU32(header + 8, std::uint32_t(image.height()));
    if (std::fwrite(header, 1, sizeof header, out) != sizeof header)
        return false;
    const std::size_t rowBytes = std::size_t(image.width()) * 4;
    if (image.bytesPerLine() == qsizetype(rowBytes)) { // the rows one after the other: at once
        const std::size_t bytes = rowBytes * std::size_t(image.height());
        if (std::fwrite(image.constBits(), 1, bytes, out) != bytes)
            return false;
    } else {
        for (int row = 0; row < image.height(); ++row) {
            if (std::fwrite(image.constScanLine(row), 1, rowBytes, out) != rowBytes)
                return false;
        }
    }
    char size[4];
    PutU32(size, std::uint32_t(svg.size()));
    if (std::fwrite(size, 1, sizeof size, out) != sizeof size ||
        std::fwrite(svg.constData(), 1, std::size_t(svg.size()), out) != std::size_t(svg.size()))
        return false;
    return std::fflush(out) == 0;
}

std::optional<qsizetype> WholeSize(const QByteArray& output)
{
    const std::string_view bytes(output.constData(), std::size_t(output.size()));
    const auto width = DibHeader::U32(bytes, 4), height = DibHeader::U32(bytes, 8);
    if (!width || !height)
        return std::nullopt;
    const std::uint64_t documentAt = HeaderBytes + std::uint64_t(*width) * 4 * *height + 4;
    if (documentAt > std::uint64_t(std::numeric_limits<qsizetype>::max() / 2))
        return std::nullopt;
    const auto documentBytes = DibHeader::U32(bytes, std::size_t(documentAt - 4));
    if (!documentBytes)
        return std::nullopt;
    return qsizetype(documentAt + *documentBytes);
}

std::optional<Output> Read(const QByteArray& output, int maxSide)
{
    const std::string_view bytes(output.constData(), std::size_t(output.size()));
    const auto width = DibHeader::U32(bytes, 4), height = DibHeader::U32(bytes, 8);
    if (!width || !height || bytes.substr(0, 4) != std::string_view(Magic, 4) || *width == 0 ||
        *height == 0 || *width > std::uint32_t(maxSide) || *height > std::uint32_t(maxSide))
        return std::nullopt;
    const std::size_t rowBytes = std::size_t(*width) * 4;
    const std::size_t documentAt = HeaderBytes + rowBytes * *height + 4;
    const auto documentBytes = DibHeader::U32(bytes, documentAt - 4);
    if (!documentBytes || bytes.size() != documentAt + *documentBytes)
        return std::nullopt;
    QImage image(int(*width), int(*height), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return std::nullopt;
    for (int row = 0; row < image.height(); ++row)
        std::memcpy(image.scanLine(row), bytes.data() + HeaderBytes + row * rowBytes, rowBytes);
    return Output{std::move(image), output.mid(qsizetype(documentAt))};
}

} // namespace HelperImage

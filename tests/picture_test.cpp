// SPDX-License-Identifier: GPL-2.0-or-later
// Pictures by extension: each kind loads and draws its drawing stretched over any box, and the
// errors a user can meet.

#include "platform/pictures/picture.h"
#include "platform/pictures/vector_drawing.h"
#ifndef _WIN32
#include "platform/pictures/vector_svg.h"
#include "platform/pictures/wmf_text.h"
#endif
#include "temporary_drive.h"
#include "test_pictures.h"

#include <QPainter>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>

namespace fs = std::filesystem;
using namespace TestPictures;

namespace
{

class PictureTest : public testing::Test
{
protected:
    // A file in the test's own folder, written when bytes are given.
    fs::path file(const std::string& name, std::string_view bytes = {}) const
    {
        if (!bytes.empty())
            drive.write("c:\\" + name, bytes);
        return folder / name;
    }

    // The error text of loading the file, or empty when it loads.
    static std::string
    errorOf(const fs::path& path, std::string_view shown = "shown",
            std::chrono::milliseconds timeLimit = VectorDrawing::DefaultTimeLimit)
    {
        try {
            Picture::Load(path, shown, Helper(timeLimit));
        } catch (const std::runtime_error& error) {
            return error.what();
        }
        return {};
    }

    TemporaryDrive drive;
    const fs::path folder = drive.root();
};

QImage drawn(const Picture& picture, const QRect& box)
{
    QImage image(box.right() + 11, box.bottom() + 11, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    picture.Draw(painter, box);
    return image;
}

} // namespace

TEST_F(PictureTest, EachKindDrawsItsDrawingStretchedOverTheBox)
{
    const struct {
        const char* extension;
        const char* name; // the kind follows the extension in any letter case
    } kinds[] = {{"bmp", "s.bmp"},
                 {"ico", "s.ICO"},
                 {"wmf", "s.Wmf"},
                 {"emf", "s.emf"},
                 {"png", "s.png"},
                 {"jpg", "s.jpeg"},
                 {"svg", "s.svg"},
                 // bitmaps inside a metafile that are PNG or JPEG images
                 {"png-inside.emf", "p.emf"},
                 {"jpeg-inside.emf", "j.emf"}};
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const fs::path path = file(kind.name);
        fs::copy_file(Sample(kind.extension), path);
        const Picture picture = Picture::Load(path, "shown", Helper());
        ASSERT_FALSE(picture.IsEmpty());
        // Wider and taller than the drawing: both directions stretch independently.
        for (const QRect box : {QRect(5, 7, 400, 50), QRect(3, 2, 60, 240)}) {
            const QImage image = drawn(picture, box);
            EXPECT_TRUE(Near(ColourAt(image, box, 40, 30), White));
            EXPECT_TRUE(Near(ColourAt(image, box, 110, 20), Blue));
            EXPECT_TRUE(Near(ColourAt(image, box, 190, 50), Blue));
            EXPECT_TRUE(Near(ColourAt(image, box, 150, 75), Green));
            EXPECT_EQ(image.pixelColor(box.left() - 2, box.top() + 5), QColor(Qt::magenta));
            EXPECT_EQ(image.pixelColor(box.right() + 3, box.bottom() + 3), QColor(Qt::magenta));
        }
    }
}

TEST_F(PictureTest, ErrorsNameTheExtensionOrTheFile)
{
    fs::copy_file(Sample("bmp"), folder / "real.bmp");
    fs::create_directories(folder / "folder.bmp");
    EXPECT_EQ(errorOf(file("s.tif", "x")), "Unknown picture file extension (.tif)");
    EXPECT_EQ(errorOf(file("s.Tiff")), "Unknown picture file extension (.Tiff)");
    EXPECT_EQ(errorOf(file("noextension", "x")), "Unknown picture file extension (.)");
    EXPECT_EQ(errorOf(file("missing.tif")), "Unknown picture file extension (.tif)");
    EXPECT_EQ(errorOf(file("missing.bmp"), "c:\\nk_files\\Lunzo\\Phones\\missing.bmp"),
              "Cannot open file c:\\nk_files\\Lunzo\\Phones\\missing.bmp");
    EXPECT_EQ(errorOf(folder / "folder.bmp"), "Cannot open file shown");
    EXPECT_EQ(errorOf(file("text.bmp", "not a bitmap")), "Bitmap image is not valid");
    // A picture of another kind under a bitmap's name is not taken for one.
    fs::copy_file(folder / "real.bmp", folder / "real.ico");
    EXPECT_EQ(errorOf(folder / "real.ico"), "Icon image is not valid");
    EXPECT_EQ(errorOf(file("text.emf", "not a metafile")), "Metafile is not valid");
    EXPECT_EQ(errorOf(file("text.wmf", "not a metafile")), "Metafile is not valid");
    for (const char* kind : {"PNG", "JPEG", "GIF", "SVG"})
        EXPECT_EQ(errorOf(file("text." + QString(kind).toLower().toStdString(), "no picture")),
                  kind + std::string(" image is not valid"));
    EXPECT_EQ(errorOf(folder / "real.bmp"), "");
}

namespace
{

std::string sample(const char* name)
{
    return TemporaryDrive::readNative(Sample(name));
}

// The bytes with a little-endian number of `size` bytes put at `at`.
std::string patched(std::string bytes, std::size_t at, std::uint32_t value, int size = 4)
{
    for (int i = 0; i < size; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
    return bytes;
}

std::uint32_t numberAt(const std::string& bytes, std::size_t at, int size = 4)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// Where the first record of that kind starts: WMF records after the placeable and the metafile
// headers, sized in words; EMF records from the start, sized in bytes.
std::size_t wmfRecord(const std::string& wmf, std::uint16_t function)
{
    std::size_t at = 22 + 18;
    while (numberAt(wmf, at + 4, 2) != function)
        at += 2 * numberAt(wmf, at);
    return at;
}
std::size_t emfRecord(const std::string& emf, std::uint32_t type)
{
    std::size_t at = 0;
    while (numberAt(emf, at) != type)
        at += numberAt(emf, at + 4);
    return at;
}

// A bitmap file: its headers, then the pixels given.
std::string bitmap(int width, int height, int bits, int compression, const std::string& pixels)
{
    std::string header = "BM" + std::string(52, '\0') + std::string(8, '\xff');
    header = patched(header, 2, std::uint32_t(header.size() + pixels.size()));
    header = patched(patched(header, 10, 62), 14, 40);
    header = patched(patched(patched(header, 18, width), 22, height), 26, 1, 2);
    header = patched(patched(header, 28, bits, 2), 30, compression);
    return patched(patched(header, 34, std::uint32_t(pixels.size())), 46, 2) + pixels;
}

// A 16384 × 16384 bitmap of two colours in a few megabytes: each row in runs of RLE8.
std::string largestBitmap()
{
    std::string row;
    for (int run = 0; run < 64; ++run)
        row += std::string("\xff") + char(run % 2);
    row += std::string("\x40\x00\x00\x00", 4); // the row's last 64 pixels, its end
    std::string pixels;
    for (int line = 0; line < 16384; ++line)
        pixels += row;
    return bitmap(16384, 16384, 8, 1, pixels + std::string("\x00\x01", 2));
}

// The start of a PNG file: its signature and its header chunk, for an image of that size.
std::string pngHeader(std::uint32_t width, std::uint32_t height)
{
    std::string header("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);
    const auto bigEndian = [&header](std::uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8)
            header += char(value >> shift);
    };
    bigEndian(width);
    bigEndian(height);
    header += std::string("\x08\x06\0\0\0", 5);
    // The chunk's check sum (CRC-32) over its type and data.
    std::uint32_t crc = 0xFFFFFFFF;
    for (const char byte : header.substr(12)) {
        crc ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    bigEndian(~crc);
    return header + std::string("\0\0\0\0IDAT\x35\xAF\x06\x1E", 12); // where the pixels begin
}

// An icon whose directory lists the image `count` times, each entry pointing at the same bytes.
std::string icon(const std::string& image, int count)
{
    std::string file = patched(patched(std::string(6, '\0'), 2, 1, 2), 4, count, 2);
    for (int entry = 0; entry < count; ++entry)
        file += patched(patched(std::string(16, '\0'), 8, image.size()), 12, 6 + 16 * count);
    return file + image;
}

// A small, valid SVG drawing that takes seconds to draw: many half-transparent rectangles, each
// over the whole picture.
std::string slowSvg()
{
    std::string svg = "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100'>";
    for (int shape = 0; shape < 20000; ++shape)
        svg += "<rect width='100' height='100' fill-opacity='0.5'/>";
    return svg + "</svg>";
}

} // namespace

// Damaged, hostile and very large files: each refused with its kind's message (none drawn half
// or with garbage), or loaded. Metafiles are decoded by the helper, which a flood of records
// keeps past its time.
TEST_F(PictureTest, MalformedAndLargeFilesAreRefusedOrLoaded)
{
    const std::string wmf = sample("wmf"), emf = sample("emf"), bmp = sample("bmp");
    const std::size_t wmfBitmap = wmfRecord(wmf, 0x0F43) + 28, emfBitmap = emfRecord(emf, 81);
    const std::size_t emfDib = emfBitmap + numberAt(emf, emfBitmap + 48);
    const struct {
        const char* name;
        std::string bytes;
        const char* error;
        std::chrono::milliseconds limit = VectorDrawing::DefaultTimeLimit;
    } files[] = {
        {"cut after the header.wmf", wmf.substr(0, 30), "Metafile is not valid"},
        {"cut inside a record.wmf", wmf.substr(0, 100), "Metafile is not valid"},
        {"cut before its end record.wmf", wmf.substr(0, wmf.size() - 6), "Metafile is not valid"},
        {"cut inside its bitmap.wmf", wmf.substr(0, wmfBitmap + 20), "Metafile is not valid"},
        {"bitmap header size 0.wmf", patched(wmf, wmfBitmap, 0), "Metafile is not valid"},
        {"bitmap header size 20.wmf", patched(wmf, wmfBitmap, 20), "Metafile is not valid"},
        {"record past the end.wmf", patched(wmf, 40, 0x7FFFFFFF), "Metafile is not valid"},
        {"save flood.wmf", SaveFlood(), "Metafile could not be decoded within 0.8 s"},
        {"huge point count.wmf",
         patched(patched(wmf, wmfBitmap - 24, 0x0324, 2), wmfBitmap - 22, 0x7FFF, 2),
         "Metafile is not valid"},
        {"png inside.wmf", sample("png"), "Metafile is not valid"},
        {"cut after the header.emf", emf.substr(0, 100), "Metafile is not valid"},
        {"cut before its end record.emf", emf.substr(0, emf.size() - 20), "Metafile is not valid"},
        {"record past the end.emf", patched(emf, numberAt(emf, 4) + 4, 0x7FFFFFF0),
         "Metafile is not valid"},
        {"huge compressed bitmap.emf",
         patched(patched(patched(emf, emfDib + 4, 100000), emfDib + 8, 100000), emfDib + 16, 1),
         "Metafile is not valid"},
        {"huge point count.emf", patched(patched(emf, emfBitmap, 3), emfBitmap + 24, 0x10000000),
         "Metafile is not valid"},
        {"cut short.bmp", bmp.substr(0, bmp.size() - 100), "Bitmap image is not valid"},
        {"huge.bmp", bitmap(20000, 20000, 24, 0, ""),
         "The picture is too large (20000 \xC3\x97 20000)"},
        {"a side too long.bmp", bitmap(16385, 1, 24, 0, std::string(49156, '\0')),
         "The picture is too large (16385 \xC3\x97 1)"},
        {"largest.bmp", largestBitmap(), ""},
        // Icons are checked by the size their images' own headers give.
        {"huge png entries.ico", icon(pngHeader(20000, 20000), 1000),
         "The picture is too large (20000 \xC3\x97 20000)"},
        {"png entries beyond an icon's size.ico", icon(pngHeader(2000, 2000), 1000),
         "The picture is too large (2000 \xC3\x97 2000)"},
        {"many png entries.ico", icon(sample("png"), 1000), ""},
        {"entry past the end.ico", icon(sample("png"), 3).substr(0, 200),
         "Icon image is not valid"},
        {"huge.png", pngHeader(20000, 20000), "The picture is too large (20000 \xC3\x97 20000)"},
        {"cut short.png", sample("png").substr(0, 60), "PNG image is not valid"},
        {"slow.svg", slowSvg(), "SVG image could not be decoded within 0.8 s"},
        // Unpadded text records of characters outside Windows-1252.
        {"cjk text.emf", sample("cjk-text.emf"), ""},
        // Texts of glyph indices, whose font the converter looks up for each.
        {"glyph index texts.emf", sample("glyph-texts.emf"), ""},
        // Bitmaps whose colour tables hold only the colours used; PNG and JPEG bitmaps. Large
        // drawings: time enough on a busy machine.
        {"test-039.emf",
         TemporaryDrive::readNative(QUORVEL_SOURCE_DIR "/tests/pictures/test-039.emf"), "",
         std::chrono::seconds(20)},
        {"test-040.emf",
         TemporaryDrive::readNative(QUORVEL_SOURCE_DIR "/tests/pictures/test-040.emf"), "",
         std::chrono::seconds(20)},
        {"cut short.svg", "<svg xmlns='http://www.w3.org/2000/svg'><rect",
         "SVG image is not valid"},
    };
    for (const auto& [name, bytes, error, limit] : files) {
        SCOPED_TRACE(name);
        // A short limit where it is run over, the usual one where a busy machine may be slow.
        const bool slow = std::string_view(error).find("within") != std::string_view::npos;
        EXPECT_EQ(errorOf(file(name, bytes), "shown",
                          slow ? std::chrono::milliseconds(800) : VectorDrawing::DefaultTimeLimit),
                  error);
    }
}

// WMF text in its font's character set, XML's special characters escaped: Windows-1252 and the
// Symbol font as the system shows them, the other sets by their code page.
TEST_F(PictureTest, WmfTextIsDecodedByItsCharacterSet)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows draws metafiles itself; libwmf's text decoding is not built there";
#else
    const auto svg = VectorSvg(VectorKind::Wmf, sample("wiring.wmf"));
    ASSERT_TRUE(svg);
    for (const char* text : {">R1 &amp; R2 4.7k<", ">C1 10µF &lt;5V<", ">GND 25°C<", ">Ω μ<"})
        EXPECT_NE(svg->find(text), std::string::npos) << text;
    EXPECT_EQ(svg->find("font-family:Symbol"), std::string::npos); // it draws no Unicode
    const struct {
        unsigned charSet;
        const char* bytes;
        const char* text;
    } texts[] = {{255, "\xE6\xF8", "μ°"},   {128, "\x82\xA0", "あ"}, {204, "\xC0", "А"},
                 {161, "\xD9", "Ω"},        {77, "\x8E", "é"},       {130, "\xE9", "é"},
                 {0, "a\x01\tb>", "ab&gt;"}};
    for (const auto& [charSet, bytes, text] : texts)
        EXPECT_EQ(WmfText::ToSvgText(bytes, charSet), text) << charSet;
    // Shapes are filled opaque also where the background mode is transparent.
    const Picture wiring = Picture::Load(file("wiring.wmf", sample("wiring.wmf")), "s", Helper());
    EXPECT_EQ(drawn(wiring, QRect(0, 0, 400, 240)).pixelColor(200, 225), QColor(Qt::white));
#endif
}

// SPDX-License-Identifier: GPL-2.0-or-later
// Writes the tests' own pictures into a folder: one of each kind (but GIF, which Qt cannot write),
// all showing the drawing that test_pictures.h describes. A program of its own, because libuemf
// (which writes the metafiles) and libwmf (which reads them in the tests) both export a function
// named wmf_free. Usage: make_test_pictures FOLDER

#include "test_pictures.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPainter>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <uemf.h>
#include <uwmf.h>

namespace
{

using namespace TestPictures;

QImage Drawing()
{
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(White);
    QPainter painter(&image);
    painter.fillRect(100, 0, 100, 100, Blue);
    painter.fillRect(120, 60, 60, 30, Green);
    return image;
}

// The green block as a 2 × 2 bitmap, stretched by the metafile's record.
struct GreenBlock {
    GreenBlock()
    {
        for (auto& pixel : pixels)
            pixel = rgbquad_set(0, 255, 0, 0);
        info = bitmapinfo_set(
            bitmapinfoheader_set(2, 2, 1, 32, U_BI_RGB, sizeof pixels, 3780, 3780, 0, 0), nullptr);
    }
    ~GreenBlock() { std::free(info); }
    GreenBlock(const GreenBlock&) = delete;
    GreenBlock& operator=(const GreenBlock&) = delete;

    U_RGBQUAD pixels[4];
    PU_BITMAPINFO info;
};

// The green block as a PNG or JPEG inside the bitmap record, as the format allows: the header's
// bit count 0, its compression the image's kind.
struct PackedGreenBlock {
    explicit PackedGreenBlock(const char* format)
    {
        QImage block(2, 2, QImage::Format_RGB32);
        block.fill(Green);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        block.save(&buffer, format);
        const uint32_t compression = std::string_view(format) == "png" ? U_BI_PNG : U_BI_JPEG;
        info = bitmapinfo_set(
            bitmapinfoheader_set(2, 2, 1, 0, compression, uint32_t(bytes.size()), 3780, 3780, 0, 0),
            nullptr);
    }
    ~PackedGreenBlock() { std::free(info); }
    PackedGreenBlock(const PackedGreenBlock&) = delete;
    PackedGreenBlock& operator=(const PackedGreenBlock&) = delete;

    QByteArray bytes;
    PU_BITMAPINFO info;
};

// packed: the green block's kind when it is a PNG or JPEG image, else null.
void WriteEmf(const std::filesystem::path& file, const char* packed = nullptr)
{
    EMFTRACK* track = nullptr;
    EMFHANDLES* handles = nullptr;
    emf_start(file.string().c_str(), 4096, 4096, &track);
    emf_htable_create(16, 16, &handles);
    const auto add = [&](char* record) {
        emf_append(reinterpret_cast<PU_ENHMETARECORD>(record), track, 1);
    };

    const U_RECTL bounds = rectl_set(pointl_set(0, 0), pointl_set(199, 99));
    const U_RECTL frame = rectl_set(pointl_set(0, 0), pointl_set(5292, 2646)); // 0.01 mm at 96 dpi
    uint16_t description[] = {'t', 0, 0};
    add(U_EMRHEADER_set(bounds, frame, nullptr, 3, description, sizel_set(1024, 768),
                        sizel_set(271, 203), 0));
    add(U_EMRSETMAPMODE_set(U_MM_TEXT));
    uint32_t noPen = 0, white = 0, blue = 0;
    add(createpen_set(&noPen, handles,
                      logpen_set(U_PS_NULL, U_POINT{0, 0}, colorref_set(0, 0, 0))));
    add(createbrushindirect_set(&white, handles,
                                logbrush_set(U_BS_SOLID, colorref_set(255, 255, 255), 0)));
    add(createbrushindirect_set(&blue, handles,
                                logbrush_set(U_BS_SOLID, colorref_set(0, 0, 255), 0)));
    add(selectobject_set(noPen, handles));
    add(selectobject_set(white, handles));
    add(U_EMRRECTANGLE_set(rectl_set(pointl_set(0, 0), pointl_set(100, 100))));
    add(selectobject_set(blue, handles));
    add(U_EMRRECTANGLE_set(rectl_set(pointl_set(100, 0), pointl_set(200, 100))));
    GreenBlock green;
    if (packed) {
        PackedGreenBlock image(packed);
        add(U_EMRSTRETCHDIBITS_set(bounds, pointl_set(120, 60), pointl_set(60, 30),
                                   pointl_set(0, 0), pointl_set(2, 2), U_DIB_RGB_COLORS, U_SRCCOPY,
                                   image.info, uint32_t(image.bytes.size()), image.bytes.data()));
    } else {
        add(U_EMRSTRETCHDIBITS_set(bounds, pointl_set(120, 60), pointl_set(60, 30),
                                   pointl_set(0, 0), pointl_set(2, 2), U_DIB_RGB_COLORS, U_SRCCOPY,
                                   green.info, sizeof green.pixels,
                                   reinterpret_cast<char*>(green.pixels)));
    }
    add(U_EMREOF_set(0, nullptr, track));
    emf_finish(track, handles);
    emf_free(&track);
    emf_htable_free(&handles);
}

// A WMF being written: a drawing of width × height pixels at 96 dpi, written out with its end
// record when the object ends.
class WmfFile
{
public:
    WmfFile(const std::filesystem::path& file, int width, int height)
    {
        wmf_start(file.string().c_str(), 4096, 4096, &m_track);
        wmf_htable_create(32, 32, &handles);
        U_PAIRF* inches = U_PAIRF_set(width / 96.0f, height / 96.0f);
        wmf_header_append(reinterpret_cast<U_METARECORD*>(U_WMRHEADER_set(inches, 96)), m_track, 1);
        std::free(inches);
        add(U_WMRSETWINDOWEXT_set(point16_set(int16_t(width), int16_t(height))));
        add(U_WMRSETWINDOWORG_set(point16_set(0, 0)));
        add(U_WMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    }
    ~WmfFile()
    {
        add(U_WMREOF_set());
        wmf_finish(m_track);
        wmf_free(&m_track);
        wmf_htable_free(&handles);
    }
    WmfFile(const WmfFile&) = delete;
    WmfFile& operator=(const WmfFile&) = delete;

    void add(char* record) { wmf_append(reinterpret_cast<U_METARECORD*>(record), m_track, 1); }

    WMFHANDLES* handles = nullptr;

private:
    WMFTRACK* m_track = nullptr;
};

void WriteWmf(const std::filesystem::path& file)
{
    WmfFile wmf(file, 200, 100);
    const auto add = [&](char* record) { wmf.add(record); };
    WMFHANDLES* handles = wmf.handles;
    uint32_t noPen = 0, white = 0, blue = 0;
    add(wcreatepenindirect_set(&noPen, handles, U_PEN_set(U_PS_NULL, 0, colorref_set(0, 0, 0))));
    add(wcreatebrushindirect_set(
        &white, handles, U_WLOGBRUSH_set(U_BS_SOLID, colorref_set(255, 255, 255), U_HS_SOLIDCLR)));
    add(wcreatebrushindirect_set(
        &blue, handles, U_WLOGBRUSH_set(U_BS_SOLID, colorref_set(0, 0, 255), U_HS_SOLIDCLR)));
    add(wselectobject_set(noPen, handles));
    add(wselectobject_set(white, handles));
    add(U_WMRRECTANGLE_set(U_RECT16_set(point16_set(0, 0), point16_set(100, 100))));
    add(wselectobject_set(blue, handles));
    add(U_WMRRECTANGLE_set(U_RECT16_set(point16_set(100, 0), point16_set(200, 100))));
    GreenBlock green;
    add(U_WMRSTRETCHDIB_set(point16_set(120, 60), point16_set(60, 30), point16_set(0, 0),
                            point16_set(2, 2), U_DIB_RGB_COLORS, U_SRCCOPY, green.info,
                            sizeof green.pixels, reinterpret_cast<char*>(green.pixels)));
}

// A wiring schematic with text: Windows-1252 text with XML's special characters, and Greek
// letters in the Symbol font (its "W" is an omega, its "m" a mu). Also the sample library's
// schematic (tools/sample/wiring.wmf).
void WriteWiringWmf(const std::filesystem::path& file)
{
    WmfFile wmf(file, 400, 240);
    const auto add = [&](char* record) { wmf.add(record); };
    WMFHANDLES* handles = wmf.handles;
    const auto point = [](int x, int y) { return point16_set(int16_t(x), int16_t(y)); };
    add(U_WMRSETBKMODE_set(U_TRANSPARENT));
    uint32_t pen = 0, paper = 0, text = 0, symbol = 0;
    add(wcreatepenindirect_set(&pen, handles, U_PEN_set(U_PS_SOLID, 2, colorref_set(0, 0, 0))));
    add(wcreatebrushindirect_set(
        &paper, handles, U_WLOGBRUSH_set(U_BS_SOLID, colorref_set(255, 255, 255), U_HS_SOLIDCLR)));
    char arial[] = "Arial", symbolFace[] = "Symbol";
    U_FONT* font = U_FONT_set(-14, 0, 0, 0, 400, 0, 0, 0, U_ANSI_CHARSET, 0, 0, 0, 0, arial);
    add(wcreatefontindirect_set(&text, handles, font));
    std::free(font);
    font = U_FONT_set(-14, 0, 0, 0, 400, 0, 0, 0, U_SYMBOL_CHARSET, 0, 0, 0, 0, symbolFace);
    add(wcreatefontindirect_set(&symbol, handles, font));
    std::free(font);

    add(wselectobject_set(pen, handles));
    add(wselectobject_set(paper, handles));
    add(U_WMRRECTANGLE_set(U_RECT16_set(point(0, 0), point(400, 240))));
    add(U_WMRRECTANGLE_set(U_RECT16_set(point(20, 40), point(120, 200))));
    add(U_WMRRECTANGLE_set(U_RECT16_set(point(280, 40), point(380, 200))));
    for (int wire = 0; wire < 4; ++wire) {
        add(U_WMRMOVETO_set(point(120, 70 + wire * 35)));
        add(U_WMRLINETO_set(point(280, 70 + wire * 35)));
    }
    add(wselectobject_set(text, handles));
    const auto write = [&](int x, int y, const char* bytes) {
        add(U_WMRTEXTOUT_set(point(x, y), const_cast<char*>(bytes)));
    };
    write(30, 12, "PHONE");
    write(290, 12, "INTERFACE");
    write(130, 52, "VPP 12V");
    write(130, 87, "R1 & R2 4.7k");
    write(130, 122,
          "C1 10\xB5"
          "F <5V");
    write(130, 157,
          "GND 25\xB0"
          "C");
    add(wselectobject_set(symbol, handles));
    write(230, 87, "W m");
}

// A text drawing in EMF: each record an EXTTEXTOUTW of the UTF-16 characters given, its
// spacings before its characters and the record left unpadded, as some writers leave it; with
// glyphIndices, the characters are the font's glyph indices.
void WriteTextEmf(const std::filesystem::path& file, const std::u16string& characters, int records,
                  bool glyphIndices)
{
    EMFTRACK* track = nullptr;
    EMFHANDLES* handles = nullptr;
    emf_start(file.string().c_str(), 4096, 4096, &track);
    emf_htable_create(16, 16, &handles);
    const U_RECTL bounds = rectl_set(pointl_set(0, 0), pointl_set(199, 99));
    const U_RECTL frame = rectl_set(pointl_set(0, 0), pointl_set(5292, 2646));
    emf_append(reinterpret_cast<PU_ENHMETARECORD>(U_EMRHEADER_set(bounds, frame, nullptr, 0,
                                                                  nullptr, sizel_set(1024, 768),
                                                                  sizel_set(271, 203), 0)),
               track, 1);
    uint16_t* face = U_Utf8ToUtf16le("DejaVu Sans", 0, nullptr);
    const U_LOGFONT font =
        logfont_set(-16, 0, 0, 0, 400, 0, 0, 0, U_DEFAULT_CHARSET, 0, 0, 0, 0, face);
    std::free(face);
    uint32_t fontHandle = 0;
    emf_append(reinterpret_cast<PU_ENHMETARECORD>(extcreatefontindirectw_set(
                   &fontHandle, handles, reinterpret_cast<const char*>(&font), nullptr)),
               track, 1);
    emf_append(reinterpret_cast<PU_ENHMETARECORD>(selectobject_set(fontHandle, handles)), track, 1);

    constexpr std::size_t FixedBytes = 76; // the record's fields before its lists
    const std::size_t count = characters.size();
    std::string record(FixedBytes + 4 * count + 2 * count, '\0');
    const auto put = [&record](std::size_t at, std::uint32_t value) {
        std::memcpy(record.data() + at, &value, 4);
    };
    put(0, U_EMR_EXTTEXTOUTW);
    put(4, std::uint32_t(record.size()));
    put(24, U_GM_COMPATIBLE);
    put(44, std::uint32_t(count));
    put(48, std::uint32_t(FixedBytes + 4 * count)); // the characters after the spacings
    put(52, glyphIndices ? U_ETO_GLYPH_INDEX : 0);
    put(72, FixedBytes);
    for (std::size_t index = 0; index < count; ++index) {
        put(FixedBytes + 4 * index, 12);
        std::memcpy(record.data() + FixedBytes + 4 * count + 2 * index, &characters[index], 2);
    }
    for (int line = 0; line < records; ++line) {
        put(36, 10 + (line % 40) * 2); // where the line starts
        put(40, 20 + (line / 40) % 40);
        char* copy = static_cast<char*>(std::malloc(record.size()));
        std::memcpy(copy, record.data(), record.size());
        emf_append(reinterpret_cast<PU_ENHMETARECORD>(copy), track, 1);
    }
    emf_append(reinterpret_cast<PU_ENHMETARECORD>(U_EMREOF_set(0, nullptr, track)), track, 1);
    emf_finish(track, handles);
    emf_free(&track);
    emf_htable_free(&handles);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv); // for the icon writer's plugin
    if (argc != 2 && argc != 4)
        return 2;
    const std::filesystem::path folder(argv[1]);
    std::filesystem::create_directories(folder);
    for (const char* format : {"bmp", "ico", "png", "jpg"})
        Drawing().save(QString::fromStdString((folder / "schematic.").string()) + format, format);
    std::ofstream(folder / "schematic.svg")
        << R"(<svg xmlns="http://www.w3.org/2000/svg" width="200" height="100">)"
        << R"(<rect width="100" height="100" fill="#fff"/><rect x="100" width="100" height="100")"
        << R"( fill="#00f"/><rect x="120" y="60" width="60" height="30" fill="#0f0"/></svg>)";
    WriteWmf(folder / "schematic.wmf");
    WriteEmf(folder / "schematic.emf");
    WriteEmf(folder / "png-inside.emf", "png");
    WriteEmf(folder / "jpeg-inside.emf", "jpeg");
    WriteTextEmf(folder / "cjk-text.emf", u"\u4E2D\u6587\u2713", 1, false);
    WriteTextEmf(folder / "glyph-texts.emf", u"Quorvel", 200, true);
    if (argc == 4) // a drawing of that many glyph-index texts, for the benchmarks
        WriteTextEmf(argv[2], u"Quorvel", std::atoi(argv[3]), true);
    WriteWiringWmf(folder / "wiring.wmf");
    return 0;
}

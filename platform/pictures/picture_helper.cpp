// SPDX-License-Identifier: GPL-2.0-or-later
// The picture helper: decodes one metafile or SVG drawing, read from its standard input, into an
// image, written to its standard output (helper_image.h) with the SVG document it drew, within
// limits of processor time and memory. The decoders can crash, loop or run out of memory on a
// damaged file, and keep state from one file to the next: here that costs only this short-lived
// process, and the program refuses the picture.
// Usage: quorvel-picture <INPUT, the input being the kind's line ("wmf", "emf" or "svg" and a
// line feed), then the file. The program starts helpers ahead, before it knows the kind.
// Exit code 0 with the image, 1 when the input is not a sound drawing, 2 for a wrong kind.

#include "helper_image.h"
#include "picture_limits.h"
#include "platform/process_limits.h"
#include "svg_image.h"
#include "vector_svg.h"

#include <QGuiApplication>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#ifdef _WIN32
#include "metafile_image_windows.h"

#include <io.h>
#else
#include <unistd.h>
#endif

namespace
{

// The program waits a few seconds; this ends a helper that it could not end itself.
constexpr std::chrono::seconds ProcessorTime{10};
// Room for Qt, the fonts, the largest image (64 MiB) and a large drawing's documents.
constexpr std::uint64_t MemoryBytes = 1536ull * 1024 * 1024;

bool ReadInput(std::string& bytes)
{
    char block[65536];
    while (const std::size_t got = std::fread(block, 1, sizeof block, stdin)) {
        bytes.append(block, got);
        if (bytes.size() > PictureLimits::MaxDrawingFileBytes)
            return false;
    }
    return !std::ferror(stdin);
}

// Leaves without the libraries' clean-up, which only costs time (and reports their leaks in
// sanitised builds).
// The fonts loaded while the helper waits, rather than at the drawing's first text.
void LoadFonts()
{
    QImage image(8, 8, QImage::Format_ARGB32_Premultiplied);
    QPainter(&image).drawText(0, 8, QStringLiteral("0"));
}

[[noreturn]] void Leave(int code)
{
    std::fflush(stdout);
    std::_Exit(code);
}

} // namespace

#ifndef _WIN32
// libemf2svg ends fontconfig after each glyph-index text whose font it looks up, and the next
// text sets it up again from the start: seconds for a drawing of a few hundred texts. This
// process decodes one drawing and ends, so fontconfig is set up once and stays: the library's
// calls come here, before fontconfig's own.
extern "C" void FcFini() {}
#endif

int main(int, char** argv)
{
    if (!Platform::LimitThisProcess(ProcessorTime, MemoryBytes))
        Leave(PictureLimits::HelperUnlimitedExit);
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#else
#ifdef F_SETPIPE_SZ
    // The image passes through the pipe in a few large steps rather than many small ones.
    fcntl(STDOUT_FILENO, F_SETPIPE_SZ, 1 << 20);
#endif
    // Fonts for the drawing's texts, without a display.
    qputenv("QT_QPA_PLATFORM", "minimal:enable_fonts");
#endif
    // Set up while the helper waits for its drawing.
    int applicationArgc = 1;
    QGuiApplication application(applicationArgc, argv);
    LoadFonts();

    char kindLine[8] = {};
    if (!std::fgets(kindLine, sizeof kindLine, stdin))
        Leave(2);
    VectorKind kind;
    if (std::strcmp(kindLine, "wmf\n") == 0)
        kind = VectorKind::Wmf;
    else if (std::strcmp(kindLine, "emf\n") == 0)
        kind = VectorKind::Emf;
    else if (std::strcmp(kindLine, "svg\n") == 0)
        kind = VectorKind::Svg;
    else
        Leave(2);
    std::string bytes;
    if (!ReadInput(bytes))
        Leave(1);
#ifdef _WIN32
    // The system plays metafiles; only SVG has a document to print.
    if (kind != VectorKind::Svg) {
        const QImage image = MetafileImage(kind, bytes);
        if (image.isNull() || !HelperImage::Write(image, {}, stdout))
            Leave(1);
        Leave(0);
    }
    const std::optional<std::string> svg = std::move(bytes);
#else
    const auto svg = VectorSvg(kind, bytes);
    if (!svg || svg->size() > PictureLimits::MaxDrawingFileBytes)
        Leave(1);
    bytes = std::string();
#endif
    const QByteArray document = QByteArray::fromStdString(*svg);
    const QImage image = SvgImage(document);
    if (image.isNull() || !HelperImage::Write(image, document, stdout))
        Leave(1);
    Leave(0);
}

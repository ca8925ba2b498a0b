// SPDX-License-Identifier: GPL-2.0-or-later
// Renders one of our SVG pictures to PNG files at build time, so that the program decodes small
// bitmaps at start instead of parsing and drawing SVG.
// Usage: render_pictures SVG SIZE:FILE...
//   SIZE is WIDTHxHEIGHT in pixels, or Nx for N times the picture's own size (N may be a
//   decimal such as 1.5, for screens scaled by half).

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

#include <cstdio>
#include <optional>

namespace
{

std::optional<QSize> sizeOf(const QString& text, const QSize& own)
{
    static const QRegularExpression scale(QStringLiteral("^([1-9](\\.[0-9]+)?)x$"));
    static const QRegularExpression pixels(QStringLiteral("^([1-9][0-9]*)x([1-9][0-9]*)$"));
    if (const auto match = scale.match(text); match.hasMatch()) {
        const double factor = match.captured(1).toDouble();
        return QSize(qRound(own.width() * factor), qRound(own.height() * factor));
    }
    if (const auto match = pixels.match(text); match.hasMatch())
        return QSize(match.captured(1).toInt(), match.captured(2).toInt());
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[])
{
    // Text in a picture needs fonts, and fonts need a GUI application, but not a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 3) {
        std::fputs("Usage: render_pictures SVG SIZE:FILE...\n", stderr);
        return 2;
    }
    QSvgRenderer renderer(arguments[1]);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render_pictures: cannot read %s\n", qPrintable(arguments[1]));
        return 1;
    }
    for (const QString& output : arguments.mid(2)) {
        const qsizetype colon = output.indexOf(u':');
        const auto size = sizeOf(output.left(colon), renderer.defaultSize());
        const QString file = output.mid(colon + 1);
        if (colon < 0 || !size) {
            std::fprintf(stderr, "render_pictures: not SIZE:FILE: %s\n", qPrintable(output));
            return 2;
        }
        QImage image(*size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        if (!QDir().mkpath(QFileInfo(file).path()) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "render_pictures: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}

// Renders the program's SVG icon to the PNG sizes of a desktop's icon theme, at build time.
// Usage: render_icon SVG FOLDER NAME SIZE...   writes FOLDER/<SIZE>x<SIZE>/apps/NAME.png

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[])
{
    // The icon's text needs fonts, and fonts need a GUI application, but not a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 5) {
        std::fputs("Usage: render_icon SVG FOLDER NAME SIZE...\n", stderr);
        return 2;
    }
    QSvgRenderer renderer(arguments[1]);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render_icon: cannot read %s\n", qPrintable(arguments[1]));
        return 1;
    }
    for (const QString& sizeText : arguments.mid(4)) {
        const int size = sizeText.toInt();
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(arguments[2]).arg(size);
        const QString file = QStringLiteral("%1/%2.png").arg(folder, arguments[3]);
        if (size <= 0 || !QDir().mkpath(folder) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "render_icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}

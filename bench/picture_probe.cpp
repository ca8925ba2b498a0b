// Loading one picture file as the program does, in a process of its own, for compare_processes.
// Usage: picture_probe HELPER FILE             Picture::Load, metafiles through the helper HELPER
//        picture_probe --in-process FILE       the helper's work done in this process instead:
//                                              the metafile converted and drawn into its image
//        picture_probe --none FILE             only the application: the reference for memory
//        picture_probe --make-bitmap FILE W H  writes a 24-bit bitmap of W × H pixels

#include "platform/picture.h"
#include "platform/svg_image.h"
#include "platform/vector_drawing.h"
#include "platform/vector_svg.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace
{

int MakeBitmap(const char* file, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 8));
    for (int x = 0; x < width; x += 200)
        painter.drawLine(x, 0, width - x, height);
    painter.end();
    return QImageWriter(file, "bmp").write(image) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--make-bitmap" && argc == 5)
        return MakeBitmap(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    if (argc != 3)
        return 2;
    if (mode == "--none")
        return 0;
    if (mode == "--in-process") {
        std::ifstream in(argv[2], std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        const auto svg = VectorSvg(VectorKind::Wmf, bytes);
        return svg && !SvgImage(QByteArray::fromStdString(*svg)).isNull() ? 0 : 1;
    }
    VectorDrawing::SetHelperProgram(argv[1]);
    return Picture::Load(argv[2], argv[2]).IsEmpty() ? 1 : 0;
}

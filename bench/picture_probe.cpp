// SPDX-License-Identifier: GPL-2.0-or-later
// Loading one picture file as the program does.
// Usage: picture_probe HELPER FILE             Picture::Load, metafiles through the helper HELPER,
//                                              once, in a process of its own (compare_processes)
//        picture_probe --none FILE             only the application: the reference for memory
//        picture_probe --time RUNS HELPER FILE loads a WMF through the helper and, alternately,
//                                              does the helper's work in this process (the
//                                              metafile converted and drawn into its image);
//                                              prints the medians in milliseconds of each
//        picture_probe --time-image RUNS HELPER FILE  loads an image through the pipeline and,
//                                              alternately, reads it with Qt's reader in this
//                                              process; prints the medians in milliseconds
//        picture_probe --time-load RUNS HELPER FILE   the median of loading the file
//        picture_probe --make-bitmap FILE W H  writes an image of W × H pixels, of the kind
//                                              its name's suffix gives (bmp, png)

#include "platform/pictures/picture.h"
#include "platform/pictures/svg_image.h"
#include "platform/pictures/vector_drawing.h"
#include "platform/pictures/vector_svg.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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
    return QImageWriter(file).write(image) ? 0 : 1;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int TimeLoads(int runs, const VectorDrawing::Helper& helper, const char* file)
{
    std::vector<double> throughHelper, inProcess;
    for (int run = 0; run <= runs; ++run) { // the first of each warms the caches, uncounted
        // As the phone group dialog does when it opens, a while before a drawing is picked.
        Picture::PrepareForDrawings(helper);
        QElapsedTimer ready;
        ready.start();
        while (ready.elapsed() < 300)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QElapsedTimer timer;
        timer.start();
        if (Picture::Load(file, file, helper).IsEmpty())
            return 1;
        const double helped = timer.nsecsElapsed() / 1e6;
        timer.restart();
        std::ifstream in(file, std::ios::binary);
        const auto svg = VectorSvg(VectorKind::Wmf, {std::istreambuf_iterator<char>(in), {}});
        if (!svg || SvgImage(QByteArray::fromStdString(*svg)).isNull())
            return 1;
        if (run > 0) {
            inProcess.push_back(timer.nsecsElapsed() / 1e6);
            throughHelper.push_back(helped);
        }
    }
    std::printf("%.2f %.2f\n", Median(throughHelper), Median(inProcess));
    return 0;
}

// Loads through the pipeline, against Qt's image reader alone.
int TimeImages(int runs, const VectorDrawing::Helper& helper, const char* file)
{
    std::vector<double> throughPipeline, inProcess;
    for (int run = 0; run <= runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        if (Picture::Load(file, file, helper).IsEmpty())
            return 1;
        const double loaded = timer.nsecsElapsed() / 1e6;
        timer.restart();
        if (QImageReader(file).read().isNull())
            return 1;
        if (run > 0) {
            inProcess.push_back(timer.nsecsElapsed() / 1e6);
            throughPipeline.push_back(loaded);
        }
    }
    std::printf("%.3f %.3f\n", Median(throughPipeline), Median(inProcess));
    return 0;
}

int TimeLoad(int runs, const VectorDrawing::Helper& helper, const char* file)
{
    std::vector<double> times;
    for (int run = 0; run <= runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        if (Picture::Load(file, file, helper).IsEmpty())
            return 1;
        if (run > 0)
            times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("%.2f\n", Median(times));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--make-bitmap" && argc == 5)
        return MakeBitmap(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    if (mode == "--time" && argc == 5)
        return TimeLoads(std::atoi(argv[2]), {argv[3]}, argv[4]);
    if (mode == "--time-image" && argc == 5)
        return TimeImages(std::atoi(argv[2]), {argv[3]}, argv[4]);
    if (mode == "--time-load" && argc == 5)
        return TimeLoad(std::atoi(argv[2]), {argv[3]}, argv[4]);
    if (argc != 3)
        return 2;
    if (mode == "--none")
        return 0;
    return Picture::Load(argv[2], argv[2], {argv[1]}).IsEmpty() ? 1 : 0;
}

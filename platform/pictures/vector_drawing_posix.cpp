// SPDX-License-Identifier: GPL-2.0-or-later
#include "vector_drawing.h"

#include "helper_image.h"
#include "svg_image.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTimer>
#include <stdexcept>

namespace VectorDrawing
{

namespace
{

constexpr char HelperName[] = "quorvel-picture";

std::filesystem::path& ChosenHelper()
{
    static std::filesystem::path program;
    return program;
}

std::chrono::milliseconds& TimeLimit()
{
    static std::chrono::milliseconds limit = DefaultTimeLimit;
    return limit;
}

QString KindName(VectorKind kind)
{
    switch (kind) {
    case VectorKind::Wmf:
        return QStringLiteral("wmf");
    case VectorKind::Emf:
        return QStringLiteral("emf");
    case VectorKind::Svg:
        break;
    }
    return QStringLiteral("svg");
}

// The busy cursor while the program waits for the helper.
class WaitCursor
{
public:
    WaitCursor()
    {
        if (qGuiApp)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~WaitCursor()
    {
        if (qGuiApp)
            QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Ended, quietly, when its owner goes before it has finished.
class HelperProcess : public QProcess
{
public:
    using QProcess::QProcess;
    ~HelperProcess() override
    {
        if (state() == NotRunning)
            return;
        disconnect(); // nobody is told any more
        kill();
        waitForFinished(1000);
    }
};

// The helper started with the drawing's bytes on its input.
void Start(QProcess& helper, VectorKind kind, std::string bytes)
{
    const QString program = QFile::decodeName(HelperProgram().c_str());
    helper.setStandardErrorFile(QProcess::nullDevice());
    helper.start(program, {KindName(kind)});
    if (!helper.waitForStarted())
        throw std::runtime_error("Cannot start the picture helper " + program.toStdString());
    helper.write(bytes.data(), qint64(bytes.size()));
    helper.closeWriteChannel();
}

// What a finished helper drew: nothing when it failed or was ended.
std::unique_ptr<Drawing> DrawingOf(QProcess& helper)
{
    if (helper.exitStatus() != QProcess::NormalExit || helper.exitCode() != 0)
        return nullptr;
    auto image = HelperImage::Read(helper.readAllStandardOutput(), SvgImageMaxSide);
    if (!image)
        return nullptr;
    return std::make_unique<ImageDrawing>(std::move(*image));
}

} // namespace

std::filesystem::path HelperProgram()
{
    if (!ChosenHelper().empty())
        return ChosenHelper();
    const std::filesystem::path folder =
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    const std::filesystem::path installed = folder / QUORVEL_HELPER_FOLDER / HelperName;
    if (QFileInfo(installed).isExecutable())
        return installed;
    return folder / HelperName;
}

void SetHelperProgram(std::filesystem::path program)
{
    ChosenHelper() = std::move(program);
}

void SetTimeLimit(std::chrono::milliseconds limit)
{
    TimeLimit() = limit;
}

std::unique_ptr<Drawing> Load(VectorKind kind, std::string bytes)
{
    const WaitCursor waiting;
    QProcess helper;
    Start(helper, kind, std::move(bytes));
    // A bounded wait: a helper still at work after it is ended, and its picture refused.
    if (!helper.waitForFinished(int(TimeLimit().count()))) {
        helper.kill();
        helper.waitForFinished(1000);
        return nullptr;
    }
    return DrawingOf(helper);
}

void LoadLater(VectorKind kind, std::string bytes, QObject* context, Done done)
{
    auto started = std::make_unique<HelperProcess>();
    Start(*started, kind, std::move(bytes));
    HelperProcess* helper = started.release();
    helper->setParent(context);
    // Ended at the limit, the helper finishes as crashed: its picture is refused.
    auto* limit = new QTimer(helper);
    limit->setSingleShot(true);
    QObject::connect(limit, &QTimer::timeout, helper, &QProcess::kill);
    QObject::connect(helper, &QProcess::finished, helper, [helper, done = std::move(done)] {
        helper->deleteLater();
        done(DrawingOf(*helper));
    });
    limit->start(TimeLimit());
}

} // namespace VectorDrawing

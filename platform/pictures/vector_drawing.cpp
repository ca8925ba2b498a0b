// SPDX-License-Identifier: GPL-2.0-or-later
#include "vector_drawing.h"

#include "helper_image.h"
#include "picture_limits.h"
#include "svg_image.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <stdexcept>

namespace VectorDrawing
{

namespace
{

#ifdef _WIN32
constexpr char HelperName[] = "quorvel-picture.exe";
#else
constexpr char HelperName[] = "quorvel-picture";
#endif

QByteArray KindLine(VectorKind kind)
{
    switch (kind) {
    case VectorKind::Wmf:
        return "wmf\n";
    case VectorKind::Emf:
        return "emf\n";
    case VectorKind::Svg:
        break;
    }
    return "svg\n";
}

// A helper process, killed quietly when it is destroyed while it runs.
class HelperProcess : public QProcess
{
public:
    using QProcess::QProcess;
    ~HelperProcess() override
    {
        if (state() == NotRunning)
            return;
        disconnect();
        kill();
        waitForFinished(1000);
    }
};

std::unique_ptr<HelperProcess> StartHelper(const std::filesystem::path& helperProgram)
{
    const QString program = QString::fromStdU16String(helperProgram.u16string());
    auto helper = std::make_unique<HelperProcess>();
    helper->setStandardErrorFile(QProcess::nullDevice());
    helper->start(program, {});
    if (!helper->waitForStarted())
        throw std::runtime_error("Cannot start the picture helper " + program.toStdString());
    return helper;
}

// A helper started ahead, waiting for its drawing: the program and its libraries loaded, which
// takes longer than decoding most drawings. Ended with the application.
struct Spare {
    QPointer<HelperProcess> process;
    std::filesystem::path program;
};
Spare& TheSpare()
{
    static Spare spare;
    return spare;
}

// The spare helper when it is still waiting and of the helper program asked for, else a new
// one.
std::unique_ptr<HelperProcess> TakeHelper(const std::filesystem::path& program)
{
    Spare& spare = TheSpare();
    std::unique_ptr<HelperProcess> taken(spare.process.data());
    spare.process.clear();
    if (taken) {
        taken->setParent(nullptr);
        if (taken->state() == QProcess::Running && spare.program == program)
            return taken;
    }
    return StartHelper(program);
}

// One helper at work on one drawing. Its output is read as it comes, up to the largest image it
// can rightly write: a helper that writes more is ended and its drawing refused.
class HelperJob : public QObject
{
public:
    HelperJob(VectorKind kind, std::string bytes, Done done, const Helper& helper)
        : m_done(std::move(done)), m_helperOptions(helper), m_process(TakeHelper(helper.Program())),
          m_helper(*m_process)
    {
        connect(&m_helper, &QProcess::readyReadStandardOutput, this, &HelperJob::readOutput);
        connect(&m_helper, &QProcess::finished, this, &HelperJob::finish);
        m_helper.write(KindLine(kind));
        m_helper.write(bytes.data(), qint64(bytes.size()));
        m_helper.closeWriteChannel();
        m_limit.setSingleShot(true);
        connect(&m_limit, &QTimer::timeout, this, [this] {
            m_timedOut = true;
            m_helper.kill();
        });
        m_limit.start(helper.timeLimit);
    }

    ~HelperJob() override
    {
        if (m_helper.state() == QProcess::NotRunning)
            return;
        m_helper.disconnect(this); // nobody is told any more
        m_helper.kill();
        m_helper.waitForFinished(1000);
    }

    HelperJob(const HelperJob&) = delete;
    HelperJob& operator=(const HelperJob&) = delete;

private:
    void readOutput()
    {
        m_output += m_helper.read(MaxOutputBytes + 1 - m_output.size());
        if (m_output.size() > MaxOutputBytes) {
            m_helper.kill();
            return;
        }
        // Whole: the helper's own ending is not waited for.
        if (const auto whole = HelperImage::WholeSize(m_output); whole && m_output.size() >= *whole)
            finish();
    }

    void finish()
    {
        if (m_finished)
            return;
        m_finished = true;
        m_limit.stop();
        m_helper.disconnect(this);
        if (m_helper.state() == QProcess::NotRunning)
            m_output += m_helper.read(MaxOutputBytes + 1 - m_output.size());
        m_outcome = m_timedOut ? Outcome::TimedOut : Outcome::Refused;
        const bool ended = m_helper.state() == QProcess::NotRunning;
        if (ended && m_helper.exitStatus() == QProcess::NormalExit &&
            m_helper.exitCode() == PictureLimits::HelperUnlimitedExit)
            m_outcome = Outcome::Unlimited;
        const bool failed =
            ended && (m_helper.exitStatus() != QProcess::NormalExit || m_helper.exitCode() != 0);
        if (!m_timedOut && !failed && m_output.size() <= MaxOutputBytes) {
            if (auto output = HelperImage::Read(m_output, SvgImageMaxSide)) {
                m_drawing = std::make_unique<ImageDrawing>(std::move(output->image),
                                                           std::move(output->svg));
                m_outcome = Outcome::Drawn;
            }
        }
        m_output.clear();
        // From the event loop, so that the owner may destroy this job when told.
        QTimer::singleShot(0, this, [this] { m_done(std::move(m_drawing), m_outcome); });
        // A helper for the next drawing, started once this one no longer needs the processor.
        QTimer::singleShot(0, QCoreApplication::instance(), [helper = m_helperOptions] {
            try {
                StartSpareHelper(helper);
            } catch (const std::runtime_error&) {
                // told when the next drawing asks for a helper
            }
        });
    }

    static constexpr qsizetype MaxOutputBytes =
        HelperImage::MaxBytes(SvgImageMaxSide, PictureLimits::MaxDrawingFileBytes);

    Done m_done;
    Helper m_helperOptions;
    std::unique_ptr<HelperProcess> m_process;
    QProcess& m_helper;
    QTimer m_limit;
    QByteArray m_output;
    bool m_timedOut = false;
    bool m_finished = false;
    std::unique_ptr<Drawing> m_drawing;
    Outcome m_outcome = Outcome::Refused;
};

} // namespace

std::filesystem::path Helper::Program() const
{
    if (!program.empty())
        return program;
    const std::filesystem::path folder = QCoreApplication::applicationDirPath().toStdU16String();
    const std::filesystem::path installed = folder / QUORVEL_HELPER_FOLDER / HelperName;
    if (QFileInfo(installed).isExecutable())
        return installed;
    return folder / HelperName;
}

void StartSpareHelper(const Helper& helper)
{
    const std::filesystem::path program = helper.Program();
    Spare& spare = TheSpare();
    if (spare.process && spare.process->state() == QProcess::Running && spare.program == program)
        return;
    delete spare.process.data();
    auto started = StartHelper(program);
    // Ended with the application, if it is never used.
    started->setParent(QCoreApplication::instance());
    spare.process = started.release();
    spare.program = program;
}

std::unique_ptr<QObject> Start(VectorKind kind, std::string bytes, Done done, const Helper& helper)
{
    return std::make_unique<HelperJob>(kind, std::move(bytes), std::move(done), helper);
}

} // namespace VectorDrawing

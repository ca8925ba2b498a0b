// SPDX-License-Identifier: GPL-2.0-or-later
#include "vector_drawing.h"

#include "helper_image.h"
#include "picture_limits.h"
#include "svg_image.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
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

std::filesystem::path& ChosenHelper()
{
    static std::filesystem::path program;
    return program;
}

std::chrono::milliseconds& ChosenTimeLimit()
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

// One helper at work on one drawing. Its output is read as it comes, up to the largest image it
// can rightly write: a helper that writes more is ended and its drawing refused.
class HelperJob : public QObject
{
public:
    HelperJob(VectorKind kind, std::string bytes, Done done) : m_done(std::move(done))
    {
        const QString program = QFile::decodeName(HelperProgram().c_str());
        m_helper.setStandardErrorFile(QProcess::nullDevice());
        connect(&m_helper, &QProcess::readyReadStandardOutput, this, &HelperJob::readOutput);
        connect(&m_helper, &QProcess::finished, this, &HelperJob::finish);
        m_helper.start(program, {KindName(kind)});
        if (!m_helper.waitForStarted())
            throw std::runtime_error("Cannot start the picture helper " + program.toStdString());
        m_helper.write(bytes.data(), qint64(bytes.size()));
        m_helper.closeWriteChannel();
        m_limit.setSingleShot(true);
        connect(&m_limit, &QTimer::timeout, this, [this] {
            m_timedOut = true;
            m_helper.kill();
        });
        m_limit.start(TimeLimit());
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
        if (m_output.size() > MaxOutputBytes)
            m_helper.kill();
    }

    void finish()
    {
        m_limit.stop();
        readOutput();
        m_outcome = m_timedOut ? Outcome::TimedOut : Outcome::Refused;
        if (!m_timedOut && m_helper.exitStatus() == QProcess::NormalExit &&
            m_helper.exitCode() == 0) {
            if (auto output = HelperImage::Read(m_output, SvgImageMaxSide)) {
                m_drawing = std::make_unique<ImageDrawing>(std::move(output->image),
                                                           std::move(output->svg));
                m_outcome = Outcome::Drawn;
            }
        }
        m_output.clear();
        // From the event loop, so that the owner may destroy this job when told.
        QTimer::singleShot(0, this, [this] { m_done(std::move(m_drawing), m_outcome); });
    }

    static constexpr qsizetype MaxOutputBytes =
        HelperImage::MaxBytes(SvgImageMaxSide, PictureLimits::MaxDrawingFileBytes);

    Done m_done;
    QProcess m_helper;
    QTimer m_limit;
    QByteArray m_output;
    bool m_timedOut = false;
    std::unique_ptr<Drawing> m_drawing;
    Outcome m_outcome = Outcome::Refused;
};

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

std::chrono::milliseconds TimeLimit()
{
    return ChosenTimeLimit();
}

void SetTimeLimit(std::chrono::milliseconds limit)
{
    ChosenTimeLimit() = limit;
}

std::unique_ptr<QObject> Start(VectorKind kind, std::string bytes, Done done)
{
    return std::make_unique<HelperJob>(kind, std::move(bytes), std::move(done));
}

} // namespace VectorDrawing

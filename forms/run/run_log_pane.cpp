// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/run/run_log_pane.h"

#include "forms/common/handlers.h"

#include <QAction>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace RunLogPane
{

namespace
{

// What the pane holds of a long run: the log file keeps the rest.
constexpr int KeptLines = 20000;
constexpr std::size_t QueuedBytes = 256 * 1024;

QString clockText(std::chrono::seconds elapsed)
{
    const auto total = std::max<long long>(elapsed.count(), 0);
    const auto hours = total / 3600, minutes = total / 60 % 60, seconds = total % 60;
    if (hours > 0)
        return QStringLiteral("%1:%2:%3")
            .arg(hours)
            .arg(minutes, 2, 10, QLatin1Char('0'))
            .arg(seconds, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(minutes).arg(seconds, 2, 10, QLatin1Char('0'));
}

QColor colourOf(Result result)
{
    switch (result) {
    case Result::Success:
        return QColor(0x1b, 0x6e, 0x20);
    case Result::Failed:
        return QColor(0xb0, 0x00, 0x20);
    case Result::Unknown:
        break;
    }
    return QColor(0x8a, 0x4b, 0x00);
}

// Carriage returns (DOS line ends, progress lines drawn over themselves) and other control
// characters would show as boxes.
QString printable(QString text)
{
    text.remove(QLatin1Char('\r'));
    for (QChar& c : text) {
        if (c.unicode() < 0x20 && c != QLatin1Char('\n') && c != QLatin1Char('\t'))
            c = QChar(0xFFFD);
    }
    return text;
}

} // namespace

QString RunningText(std::chrono::seconds elapsed)
{
    static const char marks[] = "|/-\\";
    return QStringLiteral("Flasher running for %1 %2")
        .arg(clockText(elapsed))
        .arg(QLatin1Char(marks[std::max<long long>(elapsed.count(), 0) % 4]));
}

void OutputQueue::Add(std::string_view bytes)
{
    const std::lock_guard lock(m_mutex);
    m_bytes.append(bytes.data(), qsizetype(bytes.size()));
    if (std::size_t(m_bytes.size()) > m_kept) {
        const qsizetype over = m_bytes.size() - qsizetype(m_kept);
        m_dropped += std::uint64_t(over);
        m_bytes.remove(0, over);
    }
}

QByteArray OutputQueue::Take(std::uint64_t& dropped)
{
    const std::lock_guard lock(m_mutex);
    dropped = std::exchange(m_dropped, 0);
    return std::exchange(m_bytes, {});
}

Pane::Pane(QWidget* parent, std::function<QDateTime()> clock)
    : QWidget(parent),
      m_clock(clock ? std::move(clock) : [] { return QDateTime::currentDateTime(); }),
      m_queue(std::make_shared<OutputQueue>(QueuedBytes)), m_decoder(QStringDecoder::System),
      m_log(new QPlainTextEdit(this)), m_elapsed(new QLabel(this)), m_result(new QLabel(this)),
      m_stop(new QAction(QStringLiteral("Stop flasher\u2026"), this)), m_repaint(new QTimer(this)),
      m_second(new QTimer(this))
{
    setObjectName(QStringLiteral("RunLogPane"));
    m_log->setObjectName(QStringLiteral("RunLog"));
    m_log->setReadOnly(true);
    m_log->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_log->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_log->setMaximumBlockCount(KeptLines);
    m_log->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_log->setMinimumHeight(60);
    m_elapsed->setObjectName(QStringLiteral("RunElapsed"));
    m_result->setObjectName(QStringLiteral("RunResult"));
    m_result->setWordWrap(true);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont large = m_result->font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    large.setBold(true);
    m_result->setFont(large);
    m_result->hide();

    m_stop->setObjectName(QStringLiteral("StopFlasherAction"));
    m_stop->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_X));
    m_stop->setShortcutContext(Qt::WindowShortcut);
    m_stop->setEnabled(false);
    addAction(m_stop); // the shortcut works wherever the focus is in the window
    auto* stopButton = new QToolButton(this);
    stopButton->setObjectName(QStringLiteral("StopFlasherButton"));
    stopButton->setDefaultAction(m_stop);
    stopButton->setToolButtonStyle(Qt::ToolButtonTextOnly);

    auto* top = new QHBoxLayout;
    top->addWidget(m_elapsed, 1);
    top->addWidget(stopButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(m_result);
    layout->addWidget(m_log, 1);

    connect(m_stop, &QAction::triggered, this, [this] { emit stopRequested(); });
    connect(m_repaint, &QTimer::timeout, this, Handlers::Guard(this, &Pane::showPending));
    connect(m_second, &QTimer::timeout, this, Handlers::Guard(this, &Pane::tick));
    m_repaint->setInterval(50);
    m_second->setInterval(1000);
}

Pane::~Pane() = default;

void Pane::StartRun(const QDateTime& since)
{
    std::uint64_t ignored = 0;
    m_queue->Take(ignored); // what an earlier run left unshown
    m_decoder.resetState();
    m_log->clear();
    m_result->hide();
    m_result->clear();
    m_since = since;
    m_stop->setEnabled(true);
    m_repaint->start();
    m_second->start();
    tick();
}

std::function<void(std::string_view)> Pane::OutputSink() const
{
    // The queue, not the pane: the reader thread may hand output on after the pane is gone.
    return [queue = m_queue](std::string_view bytes) { queue->Add(bytes); };
}

void Pane::append(const QString& text)
{
    QScrollBar* bar = m_log->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    QTextCursor end(m_log->document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    if (atEnd)
        bar->setValue(bar->maximum());
}

void Pane::showPending()
{
    std::uint64_t dropped = 0;
    const QByteArray bytes = m_queue->Take(dropped);
    QString text;
    if (dropped > 0)
        text = QStringLiteral("\n[%1 bytes not shown here; the log file keeps the first and last "
                              "of them]\n")
                   .arg(dropped);
    text += printable(m_decoder(bytes));
    if (!text.isEmpty())
        append(text);
}

void Pane::AppendNote(const QString& line)
{
    showPending();
    const QString text = m_log->document()->isEmpty() || m_log->toPlainText().endsWith('\n')
                             ? line
                             : QLatin1Char('\n') + line;
    append(text + QLatin1Char('\n'));
}

void Pane::tick()
{
    const QString text = RunningText(std::chrono::seconds(m_since.secsTo(m_clock())));
    m_elapsed->setText(text);
    emit elapsedChanged(text);
}

void Pane::EndRun(Result result, const QString& text)
{
    showPending();
    m_repaint->stop();
    m_second->stop();
    m_stop->setEnabled(false);
    m_elapsed->setText(QStringLiteral("Flasher ran for %1")
                           .arg(clockText(std::chrono::seconds(m_since.secsTo(m_clock())))));
    QPalette palette = m_result->palette();
    palette.setColor(QPalette::WindowText, colourOf(result));
    m_result->setPalette(palette);
    m_result->setText(text);
    m_result->show();
}

QString Pane::logText() const
{
    return m_log->toPlainText();
}

QString Pane::resultText() const
{
    return m_result->isHidden() ? QString() : m_result->text();
}

QString Pane::elapsedText() const
{
    return m_elapsed->text();
}

} // namespace RunLogPane

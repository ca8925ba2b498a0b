// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The run log pane: what the flasher writes, live (monospaced, selectable, following the end
// unless the user scrolled up), the time since the run started with a busy mark, a "Stop
// flasher…" action that only asks for the stop, and the run's result in large coloured text,
// kept until the next run. It knows nothing of the windows around it.

#include <QByteArray>
#include <QDateTime>
#include <QStringDecoder>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>

class QAction;
class QLabel;
class QPlainTextEdit;
class QTimer;

namespace RunLogPane
{

enum class Result { Success, Failed, Unknown };

// "Flasher running for 0:07 |": the elapsed time (h:mm:ss from an hour on) and a mark that
// turns each second.
QString RunningText(std::chrono::seconds elapsed);

// Output handed over from any thread: kept until the pane takes it, bounded to the newest bytes.
class OutputQueue
{
public:
    explicit OutputQueue(std::size_t kept) : m_kept(kept) {}
    void Add(std::string_view bytes);
    // What came since the last take, and how many bytes were dropped in between.
    QByteArray Take(std::uint64_t& dropped);

private:
    std::mutex m_mutex;
    std::size_t m_kept;
    QByteArray m_bytes;
    std::uint64_t m_dropped = 0;
};

class Pane : public QWidget
{
    Q_OBJECT

public:
    // The clock says the time now (tests give their own).
    explicit Pane(QWidget* parent = nullptr, std::function<QDateTime()> clock = {});
    ~Pane() override;

    // A run begins: the log and the last result are cleared, the clock starts, Stop is offered.
    void StartRun(const QDateTime& since);
    // Where the flasher's output goes, from any thread; shown at the next repaint (within 50 ms).
    std::function<void(std::string_view)> OutputSink() const;
    // A line of Quorvel's own in the log ("flash.out:", a note on an adopted run).
    void AppendNote(const QString& line);
    // The run ended: the result shown until the next run.
    void EndRun(Result result, const QString& text);

    QAction* stopAction() const { return m_stop; }
    QString logText() const;
    QString resultText() const;
    QString elapsedText() const;

signals:
    // "Stop flasher…" was chosen; whoever runs the flasher asks and stops it.
    void stopRequested();
    // Each second while the run goes on, for a status line.
    void elapsedChanged(const QString& text);

private:
    void showPending();
    void tick();
    void append(const QString& text);

    std::function<QDateTime()> m_clock;
    std::shared_ptr<OutputQueue> m_queue;
    QStringDecoder m_decoder;
    QPlainTextEdit* m_log;
    QLabel* m_elapsed;
    QLabel* m_result;
    QAction* m_stop;
    QTimer* m_repaint;
    QTimer* m_second;
    QDateTime m_since;
};

} // namespace RunLogPane

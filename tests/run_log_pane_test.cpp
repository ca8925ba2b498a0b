// SPDX-License-Identifier: GPL-2.0-or-later
// The run log pane on its own: output from the reader's thread shown live, the elapsed time,
// Stop asked for, and the result kept until the next run; the question before a stop.

#include "forms/common/message_boxes.h"
#include "forms/run/run_log_pane.h"
#include "forms/run/stop_question.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <thread>

TEST(RunLogPane, ShowsTheFlashersOutputLiveAndTheResultUntilTheNextRun)
{
    QDateTime now(QDate(2026, 12, 7), QTime(14, 5));
    RunLogPane::Pane pane(nullptr, [&now] { return now; });
    pane.resize(400, 200);
    pane.show();
    QSignalSpy stops(&pane, &RunLogPane::Pane::stopRequested);
    EXPECT_FALSE(pane.stopAction()->isEnabled());
    pane.StartRun(now);
    EXPECT_EQ(pane.elapsedText(), "Flasher running for 0:00 |");

    const auto sink = pane.OutputSink();
    std::thread reader([&sink] {
        sink("erasing\r\n");
        for (int line = 0; line < 200; ++line)
            sink("block " + std::to_string(line) + "\n");
        sink("verify O");
        sink("K\x07\n");
    });
    reader.join();
    EXPECT_TRUE(QTest::qWaitFor([&] { return pane.logText().endsWith("verify OK\uFFFD\n"); }));
    EXPECT_TRUE(pane.logText().startsWith("erasing\nblock 0\n"));
    auto* bar = pane.findChild<QPlainTextEdit*>("RunLog")->verticalScrollBar();
    EXPECT_EQ(bar->value(), bar->maximum()); // following the end

    pane.stopAction()->trigger();
    EXPECT_EQ(stops.count(), 1);
    now = now.addSecs(65);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return pane.elapsedText().startsWith("Flasher running for 1:05"); }));

    pane.AppendNote("flash.out:");
    pane.EndRun(RunLogPane::Result::Failed, "failed (exit code 3)");
    EXPECT_EQ(pane.resultText(), "failed (exit code 3)");
    EXPECT_TRUE(pane.logText().endsWith("verify OK\uFFFD\nflash.out:\n"));
    const auto* result = pane.findChild<QLabel*>("RunResult");
    EXPECT_GT(result->font().pointSizeF(), pane.font().pointSizeF());
    EXPECT_EQ(result->palette().color(QPalette::WindowText), QColor(0xb0, 0x00, 0x20));
    EXPECT_FALSE(pane.stopAction()->isEnabled());
    EXPECT_EQ(pane.elapsedText(), "Flasher ran for 1:05");

    pane.StartRun(now);
    EXPECT_EQ(pane.resultText(), "");
    EXPECT_EQ(pane.logText(), "");
}

TEST(RunLogPane, ElapsedTimeAndBusyMark)
{
    using std::chrono::seconds;
    EXPECT_EQ(RunLogPane::RunningText(seconds(7)), "Flasher running for 0:07 \\");
    EXPECT_EQ(RunLogPane::RunningText(seconds(605)), "Flasher running for 10:05 /");
    EXPECT_EQ(RunLogPane::RunningText(seconds(3726)), "Flasher running for 1:02:06 -");
}

TEST(StopQuestion, AsksWithNoTheDefault)
{
    std::vector<ShownMessage> shown;
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        MessageBoxes::SetAnswerer([&](const ShownMessage& message) {
            shown.push_back(message);
            return answer;
        });
        EXPECT_EQ(StopQuestion::Ask(), answer == QMessageBox::Yes);
    }
    MessageBoxes::SetAnswerer(nullptr);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].defaultButton, QMessageBox::No);
    EXPECT_TRUE(shown[0].text.contains("unusable"));
}

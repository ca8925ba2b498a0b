// SPDX-License-Identifier: GPL-2.0-or-later
// Start in the run confirmation window, as the user reaches it from the main window.

#include "environment_guard.h"
#include "forms/main_window/main.h"
#include "forms/run/cable_question.h"
#include "forms/run/configuration.h"
#include "forms/run/flasher_feedback.h"
#include "forms/run/run_controller.h"
#include "journal/run_journal.h"
#include "library/paths.h"
#include "platform/hash.h"
#include "platform/process.h"
#include "platform/programs.h"
#include "ui_configuration.h"
#include "ui_main.h"
#include "window_fixture.h"

#include <QApplication>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <deque>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <termios.h>
#include <thread>

namespace fs = std::filesystem;
using CableQuestion::Choice;
using enum CableCheck::Trouble;

QDateTime clockNow;

class RunWindowTest : public WindowTest
{
protected:
    void SetUp() override
    {
        drive.write("c:\\nk_files\\Lunzo\\Common\\28F008.bin", "loader");
        drive.write("c:\\nk_files\\Lunzo\\Common\\boot.bin", "boot");
        drive.write(Paths::PhoneCatalogue, "[3210]\r\nConfig=X\r\n");
        drive.write(Paths::FlashCatalogue("3210"), "[f.fls]\r\nAddress=200000\r\n");
        drive.write("c:\\nk_files\\Lunzo\\Phones\\3210\\f.fls", "image");
        std::filesystem::create_directories(Drive::NativePath(Paths::FlasherFolder));
        start();
        clickRow(o_fMain->FlashList(2), 0);
    }

    // The flashers the run controller follows now.
    const std::vector<FlasherFeedback::Watch*>& running() const { return windows->run().Running(); }

    void confirmRun()
    {
        // Clicked, not Enter: a late activation of the window can move its focus to Exit.
        QTimer::singleShot(0, [] { o_fConfiguration->ui()->BitBtn1->click(); });
        o_fMain->ui()->BitBtn1->click();
    }
};

TEST_F(RunWindowTest, StartStagesTheRunAndCloses)
{
    confirmRun();
    EXPECT_FALSE(o_fConfiguration->isVisible());
    EXPECT_EQ(drive.read(Paths::StagedLoader), "loader");
    EXPECT_EQ(drive.read("c:\\nk_files\\f.fls"), "image");
    EXPECT_EQ(drive.read(Paths::FlasherConfig), std::string("time 300\r\nX\r\nX\r\nX\r\nX\r\nX"));
    // No flasher is in place here: the run says so, after staging everything.
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Information");
    EXPECT_EQ(messages[0].text,
              "The flasher c:\\flasher\\flasher.com could not be started: the file is missing.");
}

TEST_F(RunWindowTest, FlasherConfigErrorShowsTheErrorBoxAndTheWindowCloses)
{
    std::filesystem::remove_all(Drive::NativePath(Paths::FlasherFolder));
    confirmRun();
    EXPECT_FALSE(o_fConfiguration->isVisible());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Quorvel");
    EXPECT_EQ(messages[0].text, "Invalid filename.");
    EXPECT_EQ(drive.read("c:\\nk_files\\f.fls"), "image");
}

TEST_F(RunWindowTest, UnreadableManifestShowsTheErrorBoxAndStagesNothing)
{
    std::filesystem::create_directories(Drive::NativePath(Paths::ChecksumManifest));
    confirmRun();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Quorvel");
    EXPECT_TRUE(messages[0].text.startsWith("The checksum manifest c:\\nk_files\\Lunzo\\"
                                            "checksums.sha256 cannot be read"));
    EXPECT_TRUE(messages[0].details.contains("checksums.sha256"))
        << messages[0].details.toStdString();
    EXPECT_FALSE(drive.exists(Paths::StagedLoader));
}

TEST_F(RunWindowTest, TheFlasherIsFollowedToItsEndAndAFailureIsShown)
{
    const std::string dosProgram("\xE9\x00\x01", 3);
    const struct {
        std::string flasher;
        const char* dosBox; // a DOSBox of its own on the search path
        const char* how;
        const char* result;
        const char* failure;
    } rows[] = {
        {drive.readNative(QUORVEL_SOURCE_DIR "/tools/stand-in-flasher.sh"), nullptr, "directly",
         "success", nullptr},
        {"#!/bin/sh\nexit 3\n", nullptr, "directly", "failed \\(exit code 3\\)",
         "The flasher c:\\flasher\\flasher.com ended with exit code 3."},
        {"#!/bin/sh\nkill -9 $$\n", nullptr, "directly", "failed \\(ended by signal 9\\)",
         "The flasher c:\\flasher\\flasher.com was ended by signal 9."},
        {dosProgram, "#!/bin/sh\nexit 1\n", "in DOSBox", "failed \\(DOSBox exit code 1\\)",
         "DOSBox, which ran the flasher c:\\flasher\\flasher.com, ended with exit code 1; the "
         "flasher's own exit code is not known."},
    };
    const EnvironmentGuard path("PATH",
                                Drive::NativePath("c:\\bin").string() + ":" + std::getenv("PATH"));
    const auto install = [this](std::string_view file, std::string_view bytes) {
        drive.write(file, bytes);
        fs::permissions(Drive::NativePath(file), fs::perms::owner_all);
    };
    // The cable check before DOSBox finds no port mapped: the user goes on.
    CableQuestion::SetAnswerer([](auto&) { return CableQuestion::Answer{Choice::GoOn, {}}; });
    for (const auto& row : rows) {
        SCOPED_TRACE(row.how);
        install(Paths::Flasher, row.flasher);
        if (row.dosBox)
            install("c:\\bin\\dosbox", row.dosBox);
        messages.clear();
        confirmRun();
        EXPECT_TRUE(o_fMain->statusLine().contains(QRegularExpression(
            QStringLiteral("^Flasher running since \\d\\d:\\d\\d \\(%1\\)$").arg(row.how))))
            << o_fMain->statusLine().toStdString();
        // Followed until it ends (here at once), through the event loop.
        EXPECT_TRUE(QTest::qWaitFor([this] { return running().empty(); }));
        EXPECT_TRUE(o_fMain->statusLine().contains(QRegularExpression(
            QStringLiteral("^Flasher ended at \\d\\d:\\d\\d after \\d+ s: %1$").arg(row.result))))
            << o_fMain->statusLine().toStdString();
        if (!row.failure) {
            EXPECT_TRUE(messages.empty());
            continue;
        }
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, row.failure);
        EXPECT_EQ(messages[0].details,
                  QString::fromStdString(Drive::NativePath(Paths::Flasher).string()));
    }
    CableQuestion::SetAnswerer(nullptr);
    // Each run in the journal, with the checksums of what was staged.
    const auto journal = RunJournal::Read(RunJournal::DefaultFile());
    ASSERT_EQ(journal.runs.size(), 4u);
    using RunJournal::Outcome;
    const Outcome outcomes[] = {Outcome::Failed, Outcome::Signal, Outcome::Failed,
                                Outcome::Success}; // newest first
    for (std::size_t run = 0; run < 4; ++run)
        EXPECT_EQ(journal.runs[run].outcome, outcomes[run]) << run;
    EXPECT_EQ(journal.runs[0].way, "DOSBox");
    EXPECT_EQ(journal.runs[0].dosBoxCode, 1);
    EXPECT_EQ(journal.runs[2].code, 3);
    Platform::Sha256 loader;
    loader.add("loader");
    const RunJournal::File* staged = journal.runs[3].file(RunRole::Loader);
    ASSERT_TRUE(staged);
    EXPECT_EQ(staged->sha256.toStdString(), loader.hexDigest());
    EXPECT_EQ(staged->logicalPath, "c:\\nk_files\\Lunzo\\Common\\28F008.bin");
    EXPECT_EQ(staged->size, 6u);
    EXPECT_EQ(journal.runs[3].config, "X");
}

// While a flasher runs, a second Start is refused, naming the run, and closing asks first.
TEST_F(RunWindowTest, ASecondStartIsRefusedAndClosingAsksWhileAFlasherRuns)
{
    const fs::path stop = drive.root() / "stop";
    drive.write(Paths::Flasher, "#!/bin/sh\nwhile [ ! -e '" + stop.string() +
                                    "' ]; do sleep 0.02; done\necho >>'" +
                                    (drive.root() / "runs").string() + "'\n");
    fs::permissions(Drive::NativePath(Paths::Flasher), fs::perms::owner_all);
    confirmRun();
    ASSERT_EQ(running().size(), 1u);
    answer = QMessageBox::No;
    drive.write("c:\\nk_files\\f.fls", "in use");
    confirmRun();
    o_fMain->close();
    EXPECT_TRUE(o_fMain->isVisible());
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[0].text.startsWith("A flasher is still running on drive C, started at "))
        << messages[0].text.toStdString();
    EXPECT_TRUE(messages[0].text.contains("for the phone group 3210 with the image "
                                          "c:\\nk_files\\Lunzo\\Phones\\3210\\f.fls (process "))
        << messages[0].text.toStdString();
    EXPECT_TRUE(messages[1].text.endsWith("is still running. Close Quorvel and leave it running?"));
    EXPECT_EQ(messages[1].defaultButton, QMessageBox::No);
    EXPECT_TRUE(drive.exists(Paths::RunLock));
    EXPECT_EQ(drive.read("c:\\nk_files\\f.fls"), "in use"); // nothing staged again
    EXPECT_EQ(running().size(), 1u);
    drive.write("c:\\stop", "");
    EXPECT_TRUE(QTest::qWaitFor([this] { return running().empty(); }));
    EXPECT_EQ(drive.read("c:\\runs"), "\n");
    EXPECT_TRUE(o_fMain->statusLine().endsWith(": success"));

    // Closed while the next run goes on: the journal says so, and the flasher runs on.
    fs::remove(stop);
    answer = QMessageBox::Yes;
    confirmRun();
    o_fMain->close();
    EXPECT_FALSE(o_fMain->isVisible());
    windows.reset();
    const auto journal = RunJournal::Read(RunJournal::DefaultFile());
    ASSERT_EQ(journal.runs.size(), 2u);
    EXPECT_EQ(journal.runs[1].outcome, RunJournal::Outcome::Success);
    EXPECT_EQ(journal.runs[0].outcome, RunJournal::Outcome::RunningAtClose);
    drive.write("c:\\stop", "");
    for (int tries = 0; tries < 200 && drive.read("c:\\runs") != "\n\n"; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(drive.read("c:\\runs"), "\n\n");
}

// A flasher that runs long is followed however long it runs: the looks come quicker here, and
// the clock goes a minute on at each.
TEST_F(RunWindowTest, ALongRunIsFollowedToItsEnd)
{
    struct SlowProgram : Platform::StartedProgram {
        int looksLeft = 7;
        std::optional<Platform::ProgramEnd> Ended() override
        {
            clockNow = clockNow.addSecs(60);
            if (--looksLeft > 0)
                return std::nullopt;
            return Platform::ProgramEnd{false, 0};
        }
    };
    clockNow = QDateTime(QDate(2026, 12, 7), QTime(14, 5));
    QString line;
    auto* watch = new FlasherFeedback::Watch(
        {FlasherLaunch::Way::Directly, std::make_unique<SlowProgram>(), {}}, o_fMain,
        {.clock = [] { return clockNow; }, .lookInterval = std::chrono::milliseconds(0)});
    QObject::connect(watch, &FlasherFeedback::Watch::ended,
                     [&line](const QString& statusLine) { line = statusLine; });
    EXPECT_TRUE(QTest::qWaitFor([&line] { return !line.isEmpty(); }));
    EXPECT_EQ(line, "Flasher ended at 14:12 after 7 min: success");
}

// A DOS flasher, run by a DOSBox of the test's own (a script on the search path), with a folder
// of the test's own standing in for /dev and the question answered from a list.
class CableRunTest : public RunWindowTest
{
protected:
    void SetUp() override
    {
        RunWindowTest::SetUp();
        // Sets COM1's UART to 9600 baud 8N1, sends "AT" and CR, waits until they are out, ends.
        drive.write(
            Paths::Flasher,
            std::string("\xB0\x80\xBA\xFB\x03\xEE\xB0\x0C\xBA\xF8\x03\xEE\x30\xC0\x42\xEE\xB0"
                        "\x03\xBA\xFB\x03\xEE\xBE\x3D\x01\xAC\x08\xC0\x74\x12\x88\xC4\xBA\xFD"
                        "\x03\xEC\xA8\x20\x74\xFB\x88\xE0\xBA\xF8\x03\xEE\xEB\xE9\xBA\xFD\x03"
                        "\xEC\xA8\x40\x74\xFB\xB8\x00\x4C\xCD\x21"
                        "AT\r",
                        65));
        fs::create_directories(devices);
        Platform::SetDeviceFolder(devices);
        CableQuestion::SetAnswerer([this](const CableQuestion::Shown& shown) {
            asked.push_back(shown.finding.trouble);
            offered = shown.devices;
            if (answers.empty())
                return CableQuestion::Answer{};
            const CableQuestion::Answer answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    void TearDown() override
    {
        Platform::SetDeviceFolder({});
        CableQuestion::SetAnswerer(nullptr);
    }

    void installDosBox(const std::string& lines) const
    {
        drive.write("c:\\bin\\dosbox", "#!/bin/sh\n" + lines);
        fs::permissions(drive.root() / "bin/dosbox", fs::perms::owner_all);
    }

    const fs::path devices = drive.root() / "dev";
    const fs::path home = drive.root() / "home";
    const EnvironmentGuard searchPath{"PATH", (drive.root() / "bin").string() + ":/usr/bin:/bin"};
    std::vector<CableCheck::Trouble> asked;
    std::vector<Platform::SerialDevice> offered;
    std::deque<CableQuestion::Answer> answers;

    // Start in the run confirmation window, clicked (Enter, after a run, can find the focus on
    // Exit).
    static void startRun()
    {
        QTimer::singleShot(0, [] { o_fConfiguration->ui()->BitBtn1->click(); });
        o_fMain->ui()->BitBtn1->click();
    }
};

TEST_F(CableRunTest, DosBoxStartsOnceItsPortsReachTheCableOrTheUserGoesOn)
{
    drive.write("c:\\dev\\ttyUSB0", "");
    const std::string device = (devices / "ttyUSB0").lexically_relative("/dev").string();
    const std::string users = (home / "dosbox.conf").string(), log = "c:\\dosbox.log";
    installDosBox("[ \"$1\" = -printconf ] && exec echo " + users + "\nprintf '%s\\n' \"$@\" >" +
                  (drive.root() / "dosbox.log").string() + "\n");
    const std::string own = (drive.root() / "settings/Quorvel/dosbox-serial.conf").string();
    const std::string adapter = "\u2192 " + (devices / "ttyUSB0").string();
    const struct {
        std::string users;
        std::vector<CableQuestion::Answer> answers;
        std::vector<CableCheck::Trouble> asked;
        bool started, layered;
        std::string status;
    } rows[] = {
        {"[serial]\nserial1=dummy\n", {{Choice::Cancel, {}}}, {NoPort}, false, false, ""},
        {"[serial]\nserial1=directserial realport:ttyQV9\n",
         {{Choice::GoOn, {}}},
         {Missing},
         true,
         false,
         "COM1 \u2192 ttyQV9 (not plugged in)"},
        {"[serial]\nserial3=directserial realport:" + device,
         {},
         {},
         true,
         false,
         "COM3 " + adapter},
        {"[serial]\nserial1=dummy\n",
         {{Choice::LookAgain, {}}, {Choice::Use, {2, device}}},
         {NoPort, NoPort},
         true,
         true,
         "COM2 " + adapter},
        {"", {}, {}, true, true, "COM2 " + adapter}, // the port picked before
    };
    for (const auto& row : rows) {
        drive.write("c:\\home\\dosbox.conf", row.users);
        fs::remove(drive.root() / "dosbox.log");
        answers.assign(row.answers.begin(), row.answers.end());
        asked.clear();
        startRun();
        EXPECT_EQ(asked, row.asked) << row.users;
        for (auto& m : messages)
            ADD_FAILURE() << m.text.toStdString();
        for (int tries = 0; row.started && tries < 100 && !drive.exists(log); ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const std::string layers = "-conf\n" + users + "\n-conf\n" + own + "\n-c\n";
        EXPECT_EQ(drive.read(log).starts_with(layers), row.layered) << drive.read(log);
        EXPECT_EQ(drive.exists(log), row.started) << row.users;
        if (row.started) {
            EXPECT_TRUE(o_fMain->statusLine().endsWith(QString::fromStdString(row.status + ")")))
                << o_fMain->statusLine().toStdString();
        }
        EXPECT_TRUE(QTest::qWaitFor([this] { return running().empty(); }));
    }
    EXPECT_EQ(offered, (std::vector<Platform::SerialDevice>{{device, "ttyUSB0"}}));
    EXPECT_EQ(TemporaryDrive::readNative(own),
              "[serial]\nserial2=directserial realport:" + device + "\n");
    drive.write(Paths::Flasher, "#!/bin/sh\n"); // a native flasher: no question
    fs::permissions(Drive::NativePath(Paths::Flasher), fs::perms::owner_all);
    asked.clear();
    startRun();
    EXPECT_TRUE(asked.empty());
}

// With the mapped adapter unplugged, Enter looks again: no other port is picked for the user.
TEST_F(CableRunTest, AbsentAdapterMakesLookAgainTheDefault)
{
    drive.write("c:\\dev\\ttyUSB1", "");
    CableQuestion::SetAnswerer(nullptr);
    QTimer::singleShot(0, [] {
        QWidget* question = QApplication::activeModalWidget();
        ASSERT_TRUE(question);
        EXPECT_TRUE(question->findChild<QPushButton*>("LookAgainButton")->isDefault());
        auto* use = question->findChild<QPushButton*>("UseButton");
        EXPECT_FALSE(use->isDefault() || use->isEnabled());
        EXPECT_EQ(question->findChild<QListWidget*>("DeviceList")->currentRow(), -1);
        QTest::keyClick(question, Qt::Key_Return);
    });
    const auto answer = CableQuestion::Ask(nullptr, {Missing, {1, "ttyUSB0"}});
    EXPECT_EQ(answer.choice, Choice::LookAgain);
}

// The real DOSBox, with one end of a pseudo-terminal pair standing in for a USB adapter and no
// port mapped in the user's DOSBox configuration: the question offers the adapter, the user
// picks it, the flasher's bytes arrive at the other end and the user's file stays as it was.
TEST_F(CableRunTest, RealDosBoxSendsTheFlashersBytesThroughThePickedAdapter)
{
    const fs::path dosbox = Platform::FindProgram("dosbox"), socat = Platform::FindProgram("socat");
    if (dosbox.empty() || socat.empty())
        GTEST_SKIP() << "needs dosbox and socat (tools/install-deps.sh installs them)";
    const fs::path adapter = devices / "serial/by-id/usb-Quorvel_Cable_01-if00-port0";
    const fs::path peer = drive.root() / "peer";
    fs::create_directories(adapter.parent_path());
    fs::create_directories(home);
    struct StoppedAtEnd : QProcess { // however the test ends; "timeout" bounds it should it crash
        ~StoppedAtEnd() override
        {
            terminate();
            waitForFinished();
        }
    } pair;
    pair.start("timeout", {"60", QString::fromStdString(socat.string()),
                           QString::fromStdString("pty,raw,echo=0,link=" + adapter.string()),
                           QString::fromStdString("pty,raw,echo=0,link=" + peer.string())});
    for (int tries = 0; tries < 100 && !(fs::exists(adapter) && fs::exists(peer)); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const int peerFd = ::open(peer.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(peerFd, 0) << "no pseudo-terminal pair from socat";
    termios raw{};
    ::tcgetattr(peerFd, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(peerFd, TCSANOW, &raw);
    installDosBox("HOME=" + home.string() +
                  " SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy exec timeout 30 " +
                  dosbox.string() + " \"$@\"\n");
    const fs::path users = Platform::DosBoxUserConfig(drive.root() / "bin/dosbox");
    const std::string usersBefore = TemporaryDrive::readNative(users);
    ASSERT_FALSE(usersBefore.empty()) << "DOSBox wrote no configuration of its own";

    CableQuestion::SetAnswerer(nullptr);
    QTimer pickAdapter; // the user picks the adapter offered, once the question is up
    QObject::connect(&pickAdapter, &QTimer::timeout, [] {
        QWidget* question = QApplication::activeModalWidget();
        if (question && question->objectName() == "CableQuestion")
            question->findChild<QPushButton*>("UseButton")->click();
    });
    pickAdapter.start(20);
    confirmRun();
    std::string received;
    for (int tries = 0; tries < 200 && received.size() < 3; ++tries) {
        pollfd ready{peerFd, POLLIN, 0};
        char bytes[16];
        if (::poll(&ready, 1, 100) > 0)
            received.append(bytes,
                            static_cast<std::size_t>(std::max(::read(peerFd, bytes, 16), 0L)));
    }
    ::close(peerFd);
    EXPECT_EQ(received, "AT\r");
    EXPECT_EQ(TemporaryDrive::readNative(users), usersBefore);
    EXPECT_TRUE(o_fMain->statusLine().contains(", COM1 \u2192 pts/"))
        << o_fMain->statusLine().toStdString();
}

// The real DOSBox runs a DOS flasher that ends with code 3: DOSBox itself ends with 0, the batch
// file tells the flasher's own code. (Its wait for a key is taken out here: no one presses it.)
TEST_F(CableRunTest, RealDosBoxTellsTheDosFlashersOwnExitCode)
{
    const fs::path dosbox = Platform::FindProgram("dosbox");
    if (dosbox.empty())
        GTEST_SKIP() << "needs dosbox (tools/install-deps.sh installs it)";
    drive.write(Paths::Flasher, "\xB8\x03\x4C\xCD\x21"); // mov ax,4C03h; int 21h
    fs::create_directories(home);
    installDosBox("sed -i 's/^pause/rem/' '" + (drive.root() / "data/dosbox/RUN.BAT").string() +
                  "'\nHOME=" + home.string() +
                  " SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy exec timeout 30 " +
                  dosbox.string() + " \"$@\"\n");
    answers.assign({{Choice::GoOn, {}}});
    startRun();
    ASSERT_FALSE(running().empty());
    EXPECT_TRUE(QTest::qWaitFor([this] { return running().empty(); }, 30000));
    EXPECT_TRUE(o_fMain->statusLine().endsWith(": failed (exit code 3)"))
        << o_fMain->statusLine().toStdString();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "The flasher c:\\flasher\\flasher.com ended with exit code 3 in "
                                "DOSBox (DOSBox itself ended with 0).");
}

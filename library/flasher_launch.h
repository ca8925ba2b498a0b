// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Starting the flasher, c:\flasher\flasher.com: no arguments, its own window, not waited for,
// drive C's flasher folder as its working folder, its output read as it writes it. A native
// program there is started directly; a DOS program runs in DOSBox, with drive C mounted on the
// library's drive (a C: of the user's own DOSBox configuration unmounted first) and the user's
// other DOSBox settings (serial ports among them) left in force. DOSBox runs it through a batch
// file of ours on a drive of its own (Q:, on the program's data folder), which first proves it
// is on our drive C (a marker file of the run beside the flasher), then records the DOS
// program's exit code there and, unless DOSBox is to close at once, waits for a key so that the
// flasher's last screen can be read: DOSBox itself ends with 0 whatever the flasher did.

#include "platform/process.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace FlasherLaunch
{

enum class Way { Directly, InDosBox };

// What is run to start the flasher, or the reason it cannot be started.
struct Plan {
    std::vector<std::string> arguments;
    std::string failure;
    Way way = Way::Directly;
    std::filesystem::path codeFile = {}; // where the batch file records the DOS flasher's exit code
    std::filesystem::path markerFile = {}; // written beside the flasher before DOSBox starts
};

// How the flasher is started.
struct StartOptions {
    bool closeWhenDone = false; // DOSBox closes as soon as the flasher ends; else waits for a key
    // Given each piece of what the flasher (or DOSBox) writes, on a thread of its own; null:
    // it goes where this process's output goes.
    std::function<void(std::string_view bytes)> output = {};
};
// The batch file that runs a DOS flasher is written in the data folder (data_folder.h).
Plan PlanStart(const std::filesystem::path& dataFolder, const StartOptions& options = {});

// DOSBox's options, given before its commands (nothing for a flasher started directly).
void AddDosBoxOptions(Plan& plan, const std::vector<std::string>& options);

// The flasher as started: how, and the program that was started for it.
struct Started {
    Way way = Way::Directly;
    std::unique_ptr<Platform::StartedProgram> program;
    std::filesystem::path codeFile;
    std::filesystem::path markerFile = {};

    // The program as one that can be stopped and named: null for one that cannot (a test's).
    Platform::RunningProgram* running() const
    {
        return dynamic_cast<Platform::RunningProgram*>(program.get());
    }
};

// Starts the flasher as planned, in drive C's flasher folder. Nothing when it cannot be
// started, with the reason in failure.
std::optional<Started> Start(const Plan& plan, std::string& failure,
                             const StartOptions& options = {});

// The DOSBox drive with the batch file, and the batch file's text (DOS line ends).
inline constexpr char BatchDrive = 'q';
std::string BatchText();

// What came of a run, told from its program's end (and, under DOSBox, the code the batch file
// recorded).
struct Result {
    enum class Kind { Success, Failed, Signal, Unknown };
    // Why the result is unknown when something is known of it.
    enum class Unknown {
        NotTold,     // no code recorded
        NotOurDrive, // DOSBox's drive C was not ours (a C: mounted by the user's configuration)
        NoFlasher,   // DOSBox's drive C had no flasher
        NotFollowed, // the flasher ended while no Quorvel was running
    };
    Kind kind = Kind::Unknown;
    Unknown unknown = Unknown::NotTold;
    std::optional<std::uint32_t> flasherCode; // the flasher's own exit code, when known
    std::uint32_t programCode = 0;            // the started program's code (DOSBox's under DOSBox)
    std::uint32_t signal = 0;                 // for Signal
};

// Reads (and removes) the code the batch file recorded, under DOSBox, and the run's marker file.
Result ResultOf(const Started& started, const Platform::ProgramEnd& end);

// "success", "failed (exit code 3)", "failed (DOSBox exit code 1)", "failed (ended by signal 9)",
// "result unknown", "result unknown: DOSBox did not reach the flasher on drive C", "result
// unknown: ended while Quorvel was not running".
std::string ResultText(const Result& result);

// What the error box says of a failed run; nothing when the run did not fail.
std::optional<std::string> FailureMessage(Way way, const Result& result);

} // namespace FlasherLaunch

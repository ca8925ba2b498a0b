// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Starting the flasher, c:\flasher\flasher.com: no arguments, its own window, not waited for,
// this process's current directory. A native program there is started directly; a DOS program
// runs in DOSBox, with drive C mounted on the library's drive and the user's own DOSBox
// settings (serial ports among them) left in force. DOSBox runs it through a batch file of ours
// on a drive of its own (Q:, on the program's data folder), which records the DOS program's exit
// code there and keeps DOSBox open on a failure until a key is pressed: DOSBox itself ends with 0
// whatever the flasher did.

#include "platform/process.h"

#include <cstdint>
#include <filesystem>

#include <memory>
#include <optional>
#include <string>
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
};
// The batch file that runs a DOS flasher is written in the data folder (data_folder.h).
Plan PlanStart(const std::filesystem::path& dataFolder);

// DOSBox's options, given before its commands (nothing for a flasher started directly).
void AddDosBoxOptions(Plan& plan, const std::vector<std::string>& options);

// The flasher as started: how, and the program that was started for it.
struct Started {
    Way way = Way::Directly;
    std::unique_ptr<Platform::StartedProgram> program;
    std::filesystem::path codeFile;
};

// Starts the flasher as planned. Nothing when it cannot be started, with the reason in failure.
std::optional<Started> Start(const Plan& plan, std::string& failure);

// The DOSBox drive with the batch file, and the batch file's text (DOS line ends).
inline constexpr char BatchDrive = 'q';
std::string BatchText();

// What came of a run, told from its program's end (and, under DOSBox, the code the batch file
// recorded).
struct Result {
    enum class Kind { Success, Failed, Signal, Unknown };
    Kind kind = Kind::Unknown;
    std::optional<std::uint32_t> flasherCode; // the flasher's own exit code, when known
    std::uint32_t programCode = 0;            // the started program's code (DOSBox's under DOSBox)
    std::uint32_t signal = 0;                 // for Signal
};

// Reads (and removes) the code the batch file recorded, under DOSBox.
Result ResultOf(const Started& started, const Platform::ProgramEnd& end);

// "success", "failed (exit code 3)", "failed (DOSBox exit code 1)", "failed (ended by signal 9)",
// "result unknown".
std::string ResultText(const Result& result);

// What the error box says of a failed run; nothing when the run did not fail.
std::optional<std::string> FailureMessage(Way way, const Result& result);

} // namespace FlasherLaunch

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Starting the flasher, c:\flasher\flasher.com: no arguments, its own window, not waited for,
// this process's current directory. A native program there is started directly; a DOS program
// runs in DOSBox, with drive C mounted on the library's drive and the user's own DOSBox
// settings (serial ports among them) left in force.

#include "platform/process.h"

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
};
Plan PlanStart();

// DOSBox's options, given before its commands (nothing for a flasher started directly).
void AddDosBoxOptions(Plan& plan, const std::vector<std::string>& options);

// The flasher as started: how, and the program that was started for it.
struct Started {
    Way way = Way::Directly;
    std::unique_ptr<Platform::StartedProgram> program;
};

// Starts the flasher as planned. Nothing when it cannot be started, with the reason in failure.
std::optional<Started> Start(const Plan& plan, std::string& failure);

// What to tell the user of a flasher (or DOSBox) that ended soon after its start: nothing when
// it ended well, else the message.
std::optional<std::string> EarlyEndMessage(Way way, const Platform::ProgramEnd& end);

} // namespace FlasherLaunch

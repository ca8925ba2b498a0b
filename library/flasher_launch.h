#pragma once
// Starting the flasher, c:\flasher\flasher.com: no arguments, its own window, not waited for,
// this process's current directory. A native program there is started directly; a DOS program
// runs in DOSBox, with drive C mounted on the library's drive and the user's own DOSBox
// settings (serial ports among them) left in force.

#include <optional>
#include <string>
#include <vector>

namespace FlasherLaunch
{

// What is run to start the flasher, or the reason it cannot be started.
struct Plan {
    std::vector<std::string> arguments;
    std::string failure;
    bool inDosBox = false; // the first argument is DOSBox, its options follow it
};
Plan PlanStart();

// DOSBox's options, given before its commands.
void AddDosBoxOptions(Plan& plan, const std::vector<std::string>& options);

// Starts the flasher as planned. Nothing when it started, else the reason why not.
std::optional<std::string> Start(const Plan& plan);
std::optional<std::string> Start();

} // namespace FlasherLaunch

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
};
Plan PlanStart();

// Starts the flasher. Nothing when it started, else the reason why not.
std::optional<std::string> Start();

} // namespace FlasherLaunch

#pragma once
// A flashing run: the picked files staged where the flasher expects them, the flasher's
// configuration file written from the phone group's entry, and the flasher started.

#include "library/flasher_launch.h"
#include "library/run_selection.h"
#include "platform/file_problem.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace Staging
{

// Tells the user why the run stops, and which file failed and why where that is known; the run
// ends after it.
using Notice = std::function<void(const std::string& text, const Platform::FileProblem& problem)>;

// The flasher configuration file could not be created or written ("Disk full", ...).
class FlasherConfigError : public Platform::FileError
{
public:
    using Platform::FileError::FileError;
};

// The commands whose effect the staging carries out to clear the old staged files.
inline constexpr std::string_view DeleteOldFlashImages = "COMMAND.COM /C DEL c:\\nk_files\\*.fls";
inline constexpr std::string_view DeleteOldFlasherConfig =
    "COMMAND.COM /C DEL c:\\flasher\\flasher.cfg";

// Writes c:\flasher\flasher.cfg: "time 300", then the group's Config value five times, each
// but the last followed by CR LF. False after the notice when the value is empty or missing;
// throws FlasherConfigError when the file system refuses.
bool WriteFlasherConfig(std::string_view group, const Notice& notice);

// Stages the run for the phone group and starts the flasher, which it returns. Stops at the
// first failure after its notice, and returns nothing; everything done before it stays done. A
// flash file name that could lead out of the library root throws UnsafeName before anything is
// done.
std::optional<FlasherLaunch::Started> StageRun(const RunSelection& selection,
                                               std::string_view group, const Notice& notice);

} // namespace Staging

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A flashing run: the picked files staged where the flasher expects them, the flasher's
// configuration file written from the phone group's entry, and the flasher started.

#include "library/data_folder.h"
#include "library/flasher_launch.h"
#include "library/library_name.h"
#include "library/run_roles.h"
#include "library/run_selection.h"
#include "platform/file_problem.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The checksum manifest exists but cannot be read: the run stops before anything is staged.
class ManifestError : public Platform::FileError
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

// Asks the user with Yes and No, No the default, about the file; true for Yes.
using Question = std::function<bool(const std::string& text, const std::filesystem::path& file)>;
// Tells the user something while the run goes on.
using Information = std::function<void(const std::string& text)>;
// Asked after staging, before DOSBox starts a DOS flasher: may add DOSBox's options to the plan.
// False starts nothing and leaves the staged files as they are.
using BeforeDosBox = std::function<bool(FlasherLaunch::Plan& plan)>;

// A file of the run as staged: its role, the library file, where its copy went, its size and
// SHA-256.
struct StagedFile {
    RunRole role;
    std::string logicalPath;
    std::string stagedPath;
    std::uintmax_t size = 0;
    std::string sha256;
};
// Told the loader, boot file and flash image, in this order, once all are staged and checked.
using Staged = std::function<void(const std::vector<StagedFile>& files)>;

// What a run asks of the window that starts it; only notice must be given.
struct RunCalls {
    Notice notice;           // why the run stops; it ends after it
    Question question = {};  // whether to use a library file changed since it entered (No without)
    Information inform = {}; // what the user should know while the run goes on
    BeforeDosBox beforeDosBox = {};
    Staged staged = {};
    // For tests: runs after each staged copy is made (told its logical path) and before it is
    // read back.
    std::function<void(const std::string& stagedPath)> afterCopy = {};
    // Where a DOS flasher's batch file goes: the program's data folder unless told (tests).
    std::filesystem::path dataFolder = DataFolder::Get();
    FlasherLaunch::StartOptions start = {}; // how DOSBox closes, where the output goes
};

// The run's files, each resolved once to both its forms: the picked loader, boot file and flash
// image, and the copies the flasher is given. A flash file name that could lead out of the
// library root throws UnsafeName.
struct RunFiles {
    LibraryFile loader;
    LibraryFile boot;
    LibraryFile image;
    LibraryFile stagedLoader;
    LibraryFile stagedBoot;
    LibraryFile stagedImage;

    static RunFiles Resolve(const RunSelection& selection);
};

// Stages the run for the phone group and starts the flasher, which it returns. Stops at the
// first failure after its notice, and returns nothing; everything done before it stays done. A
// flash file name that could lead out of the library root throws UnsafeName before anything is
// done.
//
// A flash image named as a staged file (f_loader.bin, boot.bin) stops the run before anything
// is staged. Then the loader, boot file and flash image are checked against their checksums: a
// manifest that cannot be read is left as it is; a file without a line gets
// one (a manifest that cannot be read throws ManifestError); a file changed since it entered
// the library stops the run before anything is staged
// unless the question is answered Yes, which records its new checksum. Manifest lines that
// cannot be read are told once, and checksums that could not be recorded after the run. Each
// staged copy is read back and compared with its source's checksum before the flasher is
// started.
std::optional<FlasherLaunch::Started> StageRun(const RunSelection& selection,
                                               std::string_view group, const RunCalls& calls);

} // namespace Staging

// SPDX-License-Identifier: GPL-2.0-or-later
#include "flasher_launch.h"

#include "library/drive.h"
#include "library/paths.h"
#include "platform/file_path_text.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/programs.h"

#include <charconv>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace FlasherLaunch
{

namespace
{

// A folder for DOSBox's mount command. One that ends in a backslash, as the drive root does,
// gets a "." added: DOSBox's command-line parser on Windows reads a backslash before the
// closing quote as an escaped quote.
std::string mountCommand(char drive, const fs::path& path)
{
    std::string folder = Platform::FilePathText(Platform::DosBoxPath(path));
    if (!folder.empty() && folder.back() == '\\')
        folder += '.';
    return std::string("mount ") + drive + " \"" + folder + "\"";
}

const char BatchName[] = "RUN.BAT";

// A name of its own for each run's code file, so that two runs at once do not mix their codes:
// eight characters, as DOS names are.
std::string codeFileStem()
{
    static const char digits[] = "0123456789ABCDEF";
    std::random_device random;
    std::string stem = "R";
    for (auto bits = random(); stem.size() < 8; bits >>= 4)
        stem += digits[bits & 15];
    return stem;
}

// The batch file in the program's data folder, written anew for each run (a program update may
// change it); the folder, or the reason it cannot be written.
std::optional<fs::path> writeBatchFile(const fs::path& dataFolder, std::string& failure)
{
    if (dataFolder.empty()) {
        failure = "the program's data folder is not known";
        return std::nullopt;
    }
    const fs::path folder = dataFolder / "dosbox";
    if (!Platform::CreateFolderPath(folder) ||
        !Platform::ReplaceFileContents(folder / BatchName, BatchText())) {
        failure = "its batch file cannot be written in " + Platform::FilePathText(folder);
        return std::nullopt;
    }
    return folder;
}

} // namespace

Plan PlanStart(const fs::path& dataFolder, const StartOptions& options)
{
    const fs::path flasher = Drive::NativePath(Paths::Flasher);
    std::error_code error;
    if (!fs::is_regular_file(flasher, error))
        return {{}, "the file is missing"};
    if (Platform::IsNativeProgram(flasher)) {
        if (!Platform::MayRun(flasher))
            return {{}, "it is not marked as runnable"};
        return {{Platform::FilePathText(flasher)}, {}, Way::Directly};
    }
    // Neither Linux nor 64-bit Windows runs DOS programs.
    const fs::path dosbox = Platform::FindDosBox();
    if (dosbox.empty())
        return {{}, "it is a DOS program, and DOSBox, which runs it, is not installed"};
    std::string failure;
    const auto batchFolder = writeBatchFile(dataFolder, failure);
    if (!batchFolder)
        return {{}, failure};
    const std::string stem = codeFileStem();
    // A drive the user's own configuration mounted would make our mount fail: unmounted first.
    // The batch file runs the flasher with C: as the current drive, as a command would; called,
    // because a batch file started from another one would end that one ("exit" included).
    const std::string batch = std::string(1, BatchDrive);
    return {{Platform::FilePathText(dosbox), "-c", "mount -u c", "-c",
             mountCommand('c', Drive::Root()), "-c", "mount -u " + batch, "-c",
             mountCommand(BatchDrive, *batchFolder), "-c", "c:", "-c",
             "call " + batch + ":\\" + BatchName + " " + stem + " " +
                 (options.closeWhenDone ? "CLOSE" : "WAIT"),
             "-c", "exit"},
            {},
            Way::InDosBox,
            *batchFolder / (stem + ".TXT"),
            Drive::NativePath(Paths::Join(Paths::FlasherFolder, stem + ".RUN"))};
}

std::string BatchText()
{
    // %1: the run's marker and code file name; %2: CLOSE (DOSBox closes at the flasher's end) or
    // WAIT (for a key, so that the flasher's last screen can be read).
    const std::string codeFile = std::string(1, BatchDrive) + ":\\%1.TXT";
    std::string text = "@echo off\r\n";
    // Only our drive C has this run's marker: a C: of the user's own would run another flasher,
    // or none, with other staged files.
    text += "if not exist " + std::string(Paths::FlasherFolder) + "%1.RUN goto notours\r\n";
    text += "if not exist " + std::string(Paths::Flasher) + " goto noflasher\r\n";
    text += std::string(Paths::Flasher) + "\r\n";
    // DOSBox's shell knows no %ERRORLEVEL%: "if errorlevel N" holds for N and above, so the last
    // that holds leaves the exact code. Internal commands leave the code as it is.
    text += "set QVCODE=0\r\n";
    for (int code = 1; code <= 255; ++code)
        text += "if errorlevel " + std::to_string(code) + " set QVCODE=" + std::to_string(code) +
                "\r\n";
    text += "echo %QVCODE% >" + codeFile + "\r\n";
    text += "if \"%2\"==\"CLOSE\" goto end\r\n";
    // On a line of its own, also after a message that does not end its last line.
    text += "echo.\r\n";
    text += "if \"%QVCODE%\"==\"0\" echo The flasher ended with exit code 0 (success). Read its "
            "message above, then press a key.\r\n";
    text += "if not \"%QVCODE%\"==\"0\" echo The flasher ended with exit code %QVCODE%. Read its "
            "message above, then press a key.\r\n";
    text += "pause\r\n";
    text += "goto end\r\n";
    text += ":notours\r\n";
    text += "echo DRIVE >" + codeFile + "\r\n";
    text += "echo Drive C here is not Quorvel's drive C (a C: of your own DOSBox configuration?): "
            "the flasher was not started.\r\n";
    text += "goto unreached\r\n";
    text += ":noflasher\r\n";
    text += "echo NOFLASHER >" + codeFile + "\r\n";
    text += "echo " + std::string(Paths::Flasher) +
            " is not on drive C here: the flasher was "
            "not started.\r\n";
    text += ":unreached\r\n";
    text += "if \"%2\"==\"CLOSE\" goto end\r\n";
    text += "echo Press a key.\r\n";
    text += "pause\r\n";
    text += ":end\r\n";
    return text;
}

void AddDosBoxOptions(Plan& plan, const std::vector<std::string>& options)
{
    if (plan.way == Way::InDosBox)
        plan.arguments.insert(plan.arguments.begin() + 1, options.begin(), options.end());
}

std::optional<Started> Start(const Plan& plan, std::string& failure, const StartOptions& options)
{
    if (plan.arguments.empty()) {
        failure = plan.failure;
        return std::nullopt;
    }
    if (!plan.markerFile.empty() &&
        !Platform::ReplaceFileContents(plan.markerFile, "Quorvel's drive C\r\n")) {
        failure = "its marker file " + plan.markerFile.string() + " cannot be written";
        return std::nullopt;
    }
    auto program = Platform::StartProgram(
        {plan.arguments, Drive::NativePath(Paths::FlasherFolder), options.output}, failure);
    if (!program) {
        std::error_code ignored;
        if (!plan.markerFile.empty())
            fs::remove(plan.markerFile, ignored);
        return std::nullopt;
    }
    return Started{plan.way, std::move(program), plan.codeFile, plan.markerFile};
}

Result ResultOf(const Started& started, const Platform::ProgramEnd& end)
{
    Result result;
    result.programCode = end.bySignal ? 0 : end.code;
    std::error_code ignored;
    if (!started.markerFile.empty())
        fs::remove(started.markerFile, ignored);
    if (!end.known) {
        result.unknown = Result::Unknown::NotFollowed;
        return result;
    }
    if (end.bySignal) {
        result.kind = Result::Kind::Signal;
        result.signal = end.code;
    } else if (started.way == Way::Directly) {
        result.flasherCode = end.code;
    }
    if (!started.codeFile.empty()) {
        // No file (the batch file never ran to its end) leaves the flasher's code unknown.
        const std::string text =
            Platform::ReadFileBytes(started.codeFile).bytes.value_or(std::string());
        fs::remove(started.codeFile, ignored);
        const auto first = text.find_first_not_of(" \t\r\n");
        if (text.compare(first == std::string::npos ? text.size() : first, 5, "DRIVE") == 0)
            result.unknown = Result::Unknown::NotOurDrive;
        else if (text.compare(first == std::string::npos ? text.size() : first, 9, "NOFLASHER") ==
                 0)
            result.unknown = Result::Unknown::NoFlasher;
        std::uint32_t code = 0;
        if (first != std::string::npos) {
            const char* begin = text.data() + first;
            const auto [stop, error] = std::from_chars(begin, text.data() + text.size(), code);
            if (error == std::errc() && stop != begin)
                result.flasherCode = code;
        }
    }
    if (result.kind == Result::Kind::Signal || result.unknown != Result::Unknown::NotTold)
        return result; // never better than unknown: the flasher was not run
    if (result.programCode != 0 || (result.flasherCode && *result.flasherCode != 0))
        result.kind = Result::Kind::Failed;
    else if (result.flasherCode)
        result.kind = Result::Kind::Success;
    return result;
}

std::string ResultText(const Result& result)
{
    switch (result.kind) {
    case Result::Kind::Success:
        return "success";
    case Result::Kind::Signal:
        return "failed (ended by signal " + std::to_string(result.signal) + ")";
    case Result::Kind::Failed:
        if (result.flasherCode && *result.flasherCode != 0)
            return "failed (exit code " + std::to_string(*result.flasherCode) + ")";
        return "failed (DOSBox exit code " + std::to_string(result.programCode) + ")";
    case Result::Kind::Unknown:
        break;
    }
    switch (result.unknown) {
    case Result::Unknown::NotOurDrive:
    case Result::Unknown::NoFlasher:
        return "result unknown: DOSBox did not reach the flasher on drive C";
    case Result::Unknown::NotFollowed:
        return "result unknown: ended while Quorvel was not running";
    case Result::Unknown::NotTold:
        break;
    }
    return "result unknown";
}

std::optional<std::string> FailureMessage(Way way, const Result& result)
{
    const std::string flasher = "the flasher " + std::string(Paths::Flasher);
    if (result.unknown == Result::Unknown::NotOurDrive)
        return "DOSBox did not reach " + flasher +
               " on drive C: its drive C was not Quorvel's (is C: mounted by your own DOSBox "
               "configuration?). The flasher was not started; the result is unknown.";
    if (result.unknown == Result::Unknown::NoFlasher)
        return "DOSBox did not reach " + flasher +
               " on drive C: it was not there. The flasher was not started; the result is "
               "unknown.";
    if (way == Way::Directly) {
        if (result.kind == Result::Kind::Signal)
            return "T" + flasher.substr(1) + " was ended by signal " +
                   std::to_string(result.signal) + ".";
        if (result.kind == Result::Kind::Failed)
            return "T" + flasher.substr(1) + " ended with exit code " +
                   std::to_string(result.programCode) + ".";
        return std::nullopt;
    }
    if (result.kind == Result::Kind::Failed && result.programCode == 0 && result.flasherCode)
        return "T" + flasher.substr(1) + " ended with exit code " +
               std::to_string(*result.flasherCode) + " in DOSBox (DOSBox itself ended with 0).";
    const std::string dosBox = "DOSBox, which ran " + flasher + ",";
    const std::string own = result.flasherCode ? "the flasher's own exit code was " +
                                                     std::to_string(*result.flasherCode) + "."
                                               : "the flasher's own exit code is not known.";
    if (result.kind == Result::Kind::Signal)
        return dosBox + " was ended by signal " + std::to_string(result.signal) + "; " + own;
    if (result.kind == Result::Kind::Failed)
        return dosBox + " ended with exit code " + std::to_string(result.programCode) + "; " + own;
    return std::nullopt;
}

} // namespace FlasherLaunch

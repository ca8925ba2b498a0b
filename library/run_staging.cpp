#include "run_staging.h"

#include "library/catalogue_file.h"
#include "library/delete_command.h"
#include "library/drive.h"
#include "library/flasher_launch.h"
#include "library/paths.h"
#include "platform/file_problem.h"
#include "platform/files.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace Staging
{

namespace
{

[[noreturn]] void throwFileError(int errorCode)
{
    throw FlasherConfigError(
        Platform::FileErrorText(errorCode),
        {Drive::NativePath(Paths::FlasherConfig), Platform::ReasonText(errorCode)});
}

// For a failed C file call: the error it left in errno.
[[noreturn]] void throwLastFileError()
{
    throwFileError(errno != 0 ? errno : EIO);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

void writeOrThrow(std::FILE* file, std::string_view bytes)
{
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fflush(file) != 0)
        throwLastFileError();
}

// Copies, or tells the notice, with the file at fault, and returns false.
bool copyReplacing(std::string_view from, std::string_view to, const Notice& notice,
                   const char* failure)
{
    const auto native = [](std::string_view path) { return Drive::NativePath(path); };
    if (Platform::CopyOneFile(native(from), native(to), true))
        return true;
    notice(failure, Platform::CopyProblem(native(from), native(to)));
    return false;
}

// The first .fls file directly in the library root, as a logical path; empty when none is left.
std::string leftoverFlashImage()
{
    std::error_code error;
    for (fs::directory_iterator entry(Drive::NativePath(Paths::LibraryRoot), error), end;
         !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (entry->is_regular_file(error) && DeleteCommand::Matches("*.fls", name))
            return Paths::Join(Paths::LibraryRoot, name);
    }
    return {};
}

void runDeleteCommand(std::string_view commandLine)
{
    // The result is not looked at: a delete that finds nothing, or cannot run, is no failure.
    DeleteCommand::CarryOut(commandLine);
}

} // namespace

bool WriteFlasherConfig(std::string_view group, const Notice& notice)
{
    const fs::path path = Drive::NativePath(Paths::FlasherConfig);
    if (Platform::IsReadOnly(path))
        throwFileError(EACCES);
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.string().c_str(), "wb"));
    if (!file)
        throwLastFileError();
    writeOrThrow(file.get(), "time 300\r\n");

    const std::string config = CatalogueFile(Paths::PhoneCatalogue).ReadString(group, "Config", "");
    if (config.empty()) {
        notice("The phone configuration file is corrupt", {});
        return false;
    }
    std::string lines;
    for (int line = 0; line < 4; ++line)
        lines.append(config).append("\r\n");
    lines.append(config);
    writeOrThrow(file.get(), lines);
    errno = 0;
    if (std::fclose(file.release()) != 0)
        throwLastFileError();
    return true;
}

std::optional<FlasherLaunch::Started> StageRun(const RunSelection& selection,
                                               std::string_view group, const Notice& notice)
{
    const std::string stagedImage =
        Paths::EntryPath(Paths::LibraryRoot, Paths::FileNameOf(selection.FlashFile));
    Platform::CreateFolderPath(Drive::NativePath(Paths::FolderOf(selection.LoaderFile)));
    Platform::CreateFolderPath(Drive::NativePath(Paths::FolderOf(selection.BootFile)));

    if (!copyReplacing(selection.LoaderFile, Paths::StagedLoader, notice,
                       "F_loader copy failed!") ||
        !copyReplacing(selection.BootFile, Paths::StagedBoot, notice, "Boot file copy failed!"))
        return std::nullopt;

    runDeleteCommand(DeleteOldFlashImages);
    // The flasher is told no file name: an old image left beside the new one could be flashed.
    if (const std::string leftover = leftoverFlashImage(); !leftover.empty()) {
        notice("The old flash file " + leftover +
                   " could not be deleted. Remove it and start again.",
               {Drive::NativePath(leftover), {}});
        return std::nullopt;
    }
    runDeleteCommand(DeleteOldFlasherConfig);

    if (!copyReplacing(selection.FlashFile, stagedImage, notice, "Flash file copy error!") ||
        !WriteFlasherConfig(group, notice))
        return std::nullopt;

    std::string failure;
    auto flasher = FlasherLaunch::Start(failure);
    if (!flasher) {
        notice("The flasher " + std::string(Paths::Flasher) + " could not be started: " + failure +
                   ".",
               {Drive::NativePath(Paths::Flasher), {}});
    }
    return flasher;
}

} // namespace Staging

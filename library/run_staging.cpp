// SPDX-License-Identifier: GPL-2.0-or-later
#include "run_staging.h"

#include "library/catalogue_file.h"
#include "library/checksums.h"
#include "library/delete_command.h"
#include "library/drive.h"
#include "library/flasher_launch.h"
#include "library/library_name.h"
#include "library/paths.h"
#include "platform/file_path_text.h"
#include "platform/file_problem.h"
#include "platform/files.h"
#include "platform/hash.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

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

// The digests of the run's files as they are now, each checked against the manifest; nothing
// when the user keeps a changed file out of the run. A file that cannot be read has none: its
// copy reports it. Whether the new checksum lines could be written is told in recorded.
std::optional<std::vector<std::string>> checkedDigests(const std::vector<LibraryFile>& files,
                                                       const Checksums::Manifest& manifest,
                                                       const RunCalls& calls,
                                                       Checksums::Recorded& recorded)
{
    if (manifest.unreadableLines > 0 && calls.inform)
        calls.inform(std::to_string(manifest.unreadableLines) + " line(s) of " +
                     std::string(Paths::ChecksumManifest) +
                     " cannot be read; the files they name are checked as if they had no "
                     "checksum.");
    std::vector<std::string> digests;
    // New lines are written in one rewrite: those of the files checked before a refused one too.
    std::map<std::string, std::string> unrecorded;
    const auto recordNew = [&unrecorded, &recorded] {
        if (!unrecorded.empty())
            recorded = Checksums::Record(unrecorded);
    };
    for (const LibraryFile& file : files) {
        const auto digest = Platform::HashFile(file.native);
        digests.push_back(digest.value_or(""));
        if (!digest)
            continue;
        const auto line = Checksums::Lookup(manifest, file.logical);
        if (line && line != digest &&
            !(calls.question &&
              calls.question(file.logical + " has changed since it entered the library. "
                                            "Use it anyway and record its new checksum?",
                             file.native))) {
            recordNew();
            return std::nullopt;
        }
        if (line != digest)
            unrecorded[file.logical] = *digest;
    }
    recordNew();
    return digests;
}

// Copies a run's file to where the flasher expects it and reads the copy back: it must hold
// the bytes that were checked (a source changed since shows here too). False after the notice,
// with the file at fault, when it does not.
bool stageCopy(const LibraryFile& from, const LibraryFile& to, const std::string& digest,
               const char* failure, const RunCalls& calls)
{
    const Notice& notice = calls.notice;
    const fs::path& source = from.native;
    const fs::path& staged = to.native;
    const Platform::CopyResult copy = Platform::CopyOneFile(source, staged, true);
    if (!copy.copied()) {
        notice(failure, Platform::CopyProblem(source, staged, copy.error));
        return false;
    }
    if (calls.afterCopy)
        calls.afterCopy(to.logical);
    if (Platform::HashFile(staged) != digest) {
        // Never left where a flasher started by hand could take it.
        std::error_code ignored;
        fs::remove(staged, ignored);
        notice("The staged copy " + to.logical + " does not hold the bytes of " + from.logical +
                   ". Nothing was started.",
               {staged, {}});
        return false;
    }
    return true;
}

// The first .fls file directly in the library root, as a logical path; empty when none is left.
std::string leftoverFlashImage()
{
    std::error_code error;
    for (fs::directory_iterator entry(Drive::NativePath(Paths::LibraryRoot), error), end;
         !error && entry != end; entry.increment(error)) {
        const std::string name = Platform::FilePathText(entry->path().filename());
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
    std::unique_ptr<std::FILE, FileCloser> file(Platform::OpenFile(path, "wb"));
    if (!file)
        throwLastFileError();
    writeOrThrow(file.get(), "time 300\r\n");

    // A catalogue that cannot be read is told as such, not as an empty Config line.
    const auto phones = CatalogueFile(Paths::PhoneCatalogue).ReadableSnapshot();
    if (!phones) {
        notice("The phone catalogue " + std::string(Paths::PhoneCatalogue) + " cannot be read",
               {Drive::NativePath(Paths::PhoneCatalogue), {}});
        return false;
    }
    const std::string config = phones->ReadString(group, "Config", "");
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

namespace
{

std::optional<FlasherLaunch::Started> stageAndStart(const RunFiles& files, std::string_view group,
                                                    const RunCalls& calls,
                                                    Checksums::Recorded& recorded)
{
    const Notice& notice = calls.notice;
    const std::string imageName = Paths::FileNameOf(files.image.logical);
    if (LibraryName::IsStagedName(imageName)) {
        notice("The flash file " + files.image.logical +
                   " has the name of a file the run stages "
                   "beside it (f_loader.bin, boot.bin) and would take its place. Rename the "
                   "flash file and add it again. Nothing was staged.",
               {files.image.native, {}});
        return std::nullopt;
    }
    const Checksums::Manifest manifest =
        Checksums::ReadLinesOf({files.loader.logical, files.boot.logical, files.image.logical});
    if (!manifest.readable)
        throw ManifestError("The checksum manifest " + std::string(Paths::ChecksumManifest) +
                                " cannot be read, so the run's files cannot be checked. Nothing "
                                "was staged.",
                            manifest.problem);
    const auto digests =
        checkedDigests({files.loader, files.boot, files.image}, manifest, calls, recorded);
    if (!digests)
        return std::nullopt;
    Platform::CreateFolderPath(files.loader.native.parent_path());
    Platform::CreateFolderPath(files.boot.native.parent_path());

    if (!stageCopy(files.loader, files.stagedLoader, (*digests)[0], "F_loader copy failed!",
                   calls) ||
        !stageCopy(files.boot, files.stagedBoot, (*digests)[1], "Boot file copy failed!", calls))
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

    if (!stageCopy(files.image, files.stagedImage, (*digests)[2], "Flash file copy error!",
                   calls) ||
        !WriteFlasherConfig(group, notice))
        return std::nullopt;
    if (calls.staged) {
        std::vector<StagedFile> staged;
        const LibraryFile* sources[] = {&files.loader, &files.boot, &files.image};
        const LibraryFile* copies[] = {&files.stagedLoader, &files.stagedBoot, &files.stagedImage};
        for (std::size_t file = 0; file < 3; ++file) {
            std::error_code ignored;
            const auto size = fs::file_size(copies[file]->native, ignored);
            staged.push_back(
                {RunRoles::Table[file].role, sources[file]->logical, copies[file]->logical,
                 size == static_cast<std::uintmax_t>(-1) ? 0 : size, (*digests)[file]});
        }
        calls.staged(staged);
    }

    FlasherLaunch::Plan plan = FlasherLaunch::PlanStart(calls.dataFolder, calls.start);
    if (plan.way == FlasherLaunch::Way::InDosBox && calls.beforeDosBox && !calls.beforeDosBox(plan))
        return std::nullopt;
    std::string failure;
    auto flasher = FlasherLaunch::Start(plan, failure, calls.start);
    if (!flasher) {
        notice("The flasher " + std::string(Paths::Flasher) + " could not be started: " + failure +
                   ".",
               {Drive::NativePath(Paths::Flasher), {}});
    }
    return flasher;
}

} // namespace

RunFiles RunFiles::Resolve(const RunSelection& selection)
{
    const std::string stagedImage =
        Paths::EntryPath(Paths::LibraryRoot, Paths::FileNameOf(selection.FlashFile));
    // The staged loader and boot file take the place of one of another spelling (the flasher
    // would not tell them apart); the old images are deleted before the new one is staged, under
    // its own name.
    return {
        LibraryFile::Resolve(selection.LoaderFile), LibraryFile::Resolve(selection.BootFile),
        LibraryFile::Resolve(selection.FlashFile),  LibraryFile::Resolve(Paths::StagedLoader),
        LibraryFile::Resolve(Paths::StagedBoot),    {stagedImage, Drive::NativePath(stagedImage)}};
}

std::optional<FlasherLaunch::Started> StageRun(const RunSelection& selection,
                                               std::string_view group, const RunCalls& calls)
{
    const RunFiles files = RunFiles::Resolve(selection);
    Checksums::Recorded recorded;
    auto flasher = stageAndStart(files, group, calls, recorded);
    // Told after the run, whichever way it ended: the run does not depend on it.
    if (!recorded && calls.inform)
        calls.inform(Checksums::Recorded::FailureText() + "\n" +
                     Platform::FilePathText(recorded.failure->file) + "\n" +
                     recorded.failure->reason);
    return flasher;
}

} // namespace Staging

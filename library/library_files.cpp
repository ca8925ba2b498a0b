#include "library_files.h"

#include "library/drive.h"
#include "library/paths.h"
#include "platform/files.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace LibraryFiles
{

std::string FileNameOf(const fs::path& picked)
{
    return picked.filename().string();
}

CopyOutcome CopyIntoLibrary(const fs::path& picked, std::string_view libraryFolder)
{
    const fs::path target = Drive::NativePath(Paths::EntryPath(libraryFolder, FileNameOf(picked)));
    Platform::CreateFolderPath(Drive::NativePath(libraryFolder));
    std::error_code error;
    if (fs::exists(target, error))
        return CopyOutcome::AlreadyInLibrary;
    return Platform::CopyOneFile(picked, target, false) ? CopyOutcome::Copied : CopyOutcome::Failed;
}

bool IsBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

} // namespace LibraryFiles

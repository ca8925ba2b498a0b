// SPDX-License-Identifier: GPL-2.0-or-later
#include "library_files.h"

#include "library/checksums.h"
#include "library/drive.h"
#include "library/paths.h"
#include "platform/ascii_case.h"
#include "platform/files.h"
#include "platform/hash.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace LibraryFiles
{

std::string FileNameOf(const fs::path& picked)
{
    return picked.filename().string();
}

namespace
{

// The name under which the folder holds a file of this name, letter case aside; empty if none.
std::string nameInFolder(std::string_view libraryFolder, const std::string& name)
{
    std::error_code error;
    if (fs::exists(Drive::NativePath(Paths::Join(libraryFolder, name)), error))
        return name;
    // Only where the file system tells letter case apart: elsewhere the test above found it.
    for (fs::directory_iterator entry(Drive::NativePath(libraryFolder), error), end;
         !error && entry != end; entry.increment(error)) {
        const std::string found = entry->path().filename().string();
        if (AsciiCase::EqualIgnoringCase(found, name))
            return found;
    }
    return {};
}

} // namespace

CopyReport CopyIntoLibrary(const fs::path& picked, std::string_view libraryFolder)
{
    const std::string name = FileNameOf(picked);
    const std::string logicalTarget = Paths::EntryPath(libraryFolder, name);
    Platform::CreateFolderPath(Drive::NativePath(libraryFolder));

    if (const std::string existing = nameInFolder(libraryFolder, name); !existing.empty()) {
        const auto ours =
            Platform::HashFile(Drive::NativePath(Paths::Join(libraryFolder, existing)));
        const bool same = ours && ours == Platform::HashFile(picked);
        return {same ? CopyOutcome::AlreadyInLibrary : CopyOutcome::DifferentInLibrary, existing};
    }
    const Platform::CopyResult copy =
        Platform::CopyOneFile(picked, Drive::NativePath(logicalTarget), false, true);
    if (!copy.copied())
        return {CopyOutcome::Failed, name, copy.error};
    Checksums::Record({{logicalTarget, copy.sha256}});
    return {CopyOutcome::Copied, name};
}

bool IsBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

} // namespace LibraryFiles

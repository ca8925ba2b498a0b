// SPDX-License-Identifier: GPL-2.0-or-later
#include "library_files.h"

#include "library/checksums.h"
#include "library/drive.h"
#include "library/library_name.h"
#include "library/paths.h"
#include "platform/file_path_text.h"
#include "platform/files.h"
#include "platform/hash.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace LibraryFiles
{

std::string FileNameOf(const fs::path& picked)
{
    return Platform::FilePathText(picked.filename());
}

CopyReport CopyIntoLibrary(const fs::path& picked, std::string_view libraryFolder)
{
    const std::string name = FileNameOf(picked);
    const std::string logicalTarget = Paths::EntryPath(libraryFolder, name);
    Platform::CreateFolderPath(Drive::NativePath(libraryFolder));

    if (const auto existing = LibraryName::FindInFolder(libraryFolder, name)) {
        const auto ours =
            Platform::HashFile(Drive::NativePath(Paths::Join(libraryFolder, *existing)));
        const bool same = ours && ours == Platform::HashFile(picked);
        return {same ? CopyOutcome::AlreadyInLibrary : CopyOutcome::DifferentInLibrary,
                *existing,
                0,
                {}};
    }
    const Platform::CopyResult copy =
        Platform::CopyOneFile(picked, Drive::NativePath(logicalTarget), false, true);
    if (!copy.copied())
        return {CopyOutcome::Failed, name, copy.error, {}};
    const Checksums::Recorded recorded = Checksums::Record({{logicalTarget, copy.sha256}});
    return {CopyOutcome::Copied, name, 0, recorded.failure};
}

bool IsBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

} // namespace LibraryFiles

// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/run/pick_again.h"

#include "forms/common/text.h"
#include "library/library_name.h"
#include "library/paths.h"
#include "library/recorded_files.h"
#include "library/run_roles.h"

namespace PickAgain
{

namespace
{

using List = RunPicks::List;

// The row whose library file is the path (the list's folder and the row's name): the journal
// keeps the spelling the folder holds, the catalogue its own.
std::optional<int> rowOf(const std::vector<std::string>& rows, std::string_view folder,
                         const std::string& path)
{
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (LibraryName::Same(Paths::EntryPath(folder, rows[row]), path))
            return static_cast<int>(row);
    }
    return std::nullopt;
}

std::optional<CommonChip> chipOf(const std::string& loader)
{
    if (LibraryName::Same(loader, Paths::CommonAtmel29F800))
        return CommonChip::Atmel29F800;
    if (LibraryName::Same(loader, Paths::CommonIntel28F008))
        return CommonChip::Intel28F008;
    if (LibraryName::Same(loader, Paths::CommonIntel28F160))
        return CommonChip::Intel28F160;
    return std::nullopt;
}

// The row of the group's flash list that holds the image.
std::optional<int> imageRow(RunPicks& window, const std::string& group, const std::string& image)
{
    if (!window.HasGroup(group))
        return std::nullopt;
    return rowOf(window.RowNames(List::Flash, group), Paths::GroupFolder(group), image);
}

// Whether the library lists the run's file: a chip or a row for the loader, a row for the boot
// file (or the common one, which comes with a chip) and the image.
bool listed(RunPicks& window, const RunJournal::Record& run, RunRole role, const std::string& path)
{
    switch (role) {
    case RunRole::Loader:
        return chipOf(path) || rowOf(window.RowNames(List::Tia), Paths::TiaFolder, path);
    case RunRole::Boot: // the common one comes with the chips
        return LibraryName::Same(path, Paths::CommonBoot) ||
               rowOf(window.RowNames(List::Boot), Paths::BootFolder, path);
    case RunRole::Image:
        return imageRow(window, run.group, path).has_value();
    }
    return false;
}

} // namespace

QStringList Problems(RunPicks& window, const RunJournal::Record& run)
{
    QStringList problems;
    if (!window.HasGroup(run.group)) {
        problems << QStringLiteral("The phone group %1 is no longer in the library.")
                        .arg(fromBytes(run.group));
    } else if (const auto config = RecordedFiles::CompareConfig(run.group, run.config);
               config != RecordedFiles::ConfigLine::Same) {
        problems << (config == RecordedFiles::ConfigLine::Changed
                         ? QStringLiteral("The Config line of the phone group %1 has changed "
                                          "since that run.")
                               .arg(fromBytes(run.group))
                         : QStringLiteral("The phone catalogue %1 cannot be read.")
                               .arg(fromBytes(std::string(Paths::PhoneCatalogue))));
    }
    for (const auto& role : RunRoles::Table) {
        const RunJournal::File* file = run.file(role.role);
        if (!file) {
            problems << QStringLiteral("The run names no %1 file.").arg(fromBytes(role.name));
            continue;
        }
        const QString what =
            QStringLiteral("The %1 %2").arg(fromBytes(role.noun), fromBytes(file->logicalPath));
        const auto digest = RecordedFiles::LibraryFileDigest(file->logicalPath);
        if (!digest || !listed(window, run, role.role, file->logicalPath))
            problems << what + QStringLiteral(" is no longer in the library.");
        else if (QString::fromStdString(*digest) != file->sha256)
            problems << what + QStringLiteral(" has changed since that run.");
    }
    return problems;
}

void Pick(RunPicks& window, const RunJournal::Record& run)
{
    const std::string& loader = run.file(RunRole::Loader)->logicalPath;
    const std::string& boot = run.file(RunRole::Boot)->logicalPath;
    RunPicks::Picks picks{.chip = chipOf(loader), .group = run.group};
    // A chip sets the common boot file too; a boot row after it sets another. For a TIA file
    // with the common boot file, the 28F008 chip comes first, then the TIA file's row.
    if (!picks.chip) {
        if (LibraryName::Same(boot, Paths::CommonBoot))
            picks.chip = CommonChip::Intel28F008;
        picks.tiaRow = rowOf(window.RowNames(List::Tia), Paths::TiaFolder, loader);
    }
    picks.bootRow = rowOf(window.RowNames(List::Boot), Paths::BootFolder, boot);
    picks.flashRow = imageRow(window, run.group, run.file(RunRole::Image)->logicalPath);
    window.Select(picks);
}

} // namespace PickAgain

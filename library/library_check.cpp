// SPDX-License-Identifier: GPL-2.0-or-later
#include "library_check.h"

#include "library/catalogue_file.h"
#include "library/drive.h"
#include "library/entry_names.h"
#include "library/paths.h"
#include "library/phone_groups.h"
#include "platform/hash.h"
#include "platform/path_text.h"

#include <cstdio>
#include <map>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace LibraryCheck
{

namespace
{

using NameSet = std::set<std::string, LibraryName::Less>;

// The logical path of a name below the library.
std::string logicalOf(const std::string& name)
{
    std::string path = Paths::Join(Paths::Library, name);
    for (std::size_t at = Paths::Library.size(); at < path.size(); ++at) {
        if (path[at] == '/')
            path[at] = '\\';
    }
    return path;
}

// Every name the catalogues give a file, below the library.
NameSet catalogued()
{
    NameSet names;
    std::vector<std::string> sections;
    const auto addSections = [&](std::string_view catalogue, const std::string& below) {
        CatalogueFile(catalogue).ReadSections(sections);
        for (const auto& section : sections) {
            if (EntryNames::IsSafe(section))
                names.insert(below + section);
        }
    };
    addSections(Paths::TiaCatalogue, "Tias/");
    addSections(Paths::BootCatalogue, "Boots/");
    std::vector<std::string> groups;
    CatalogueFile(Paths::PhoneCatalogue).ReadSections(groups);
    for (const auto& group : groups) {
        if (!EntryNames::IsSafe(group))
            continue;
        const std::string scheme = PhoneGroups::Read(group).scheme;
        if (EntryNames::IsSafe(scheme))
            names.insert("Phones/" + scheme);
        addSections(Paths::FlashCatalogue(group), "Phones/" + group + "/");
    }
    for (const auto common : Paths::CommonFiles)
        names.insert(Checksums::KeyOf(common));
    return names;
}

// The files in one folder below the library, catalogues aside.
// A folder that is not there holds no file; one that cannot be listed is told, not taken for
// an empty one.
void listFolder(const std::string& below, NameSet& names, std::vector<std::string>* folders,
                std::vector<std::string>& unlisted)
{
    const fs::path folder = Drive::NativePath(logicalOf(below));
    std::error_code error;
    fs::directory_iterator entry(folder, error), end;
    for (; !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        std::error_code ignored;
        if (entry->is_directory(ignored)) {
            if (folders)
                folders->push_back(below + name + "/");
        } else if (entry->is_regular_file(ignored) &&
                   !LibraryName::Same(name.size() > 4 ? name.substr(name.size() - 4) : "",
                                      ".ini")) {
            names.insert(below + name);
        }
    }
    // Asked of the folder itself: Windows reports a file in a folder's place as a path not found.
    std::error_code ignored;
    const fs::path itself = folder.filename().empty() ? folder.parent_path() : folder;
    if (error && fs::symlink_status(itself, ignored).type() != fs::file_type::not_found)
        unlisted.push_back(below);
}

// The files in the library's folders: the common, TIA and boot folders, the phones folder and
// each group's folder in it.
NameSet onDisk(std::vector<std::string>& unlisted)
{
    NameSet names;
    listFolder("Common/", names, nullptr, unlisted);
    listFolder("Tias/", names, nullptr, unlisted);
    listFolder("Boots/", names, nullptr, unlisted);
    std::vector<std::string> groupFolders;
    listFolder("Phones/", names, &groupFolders, unlisted);
    for (const auto& folder : groupFolders)
        listFolder(folder, names, nullptr, unlisted);
    return names;
}

} // namespace

bool Result::Troubled() const
{
    for (const Item& item : items) {
        if (item.finding == Finding::Changed || item.finding == Finding::Missing ||
            item.finding == Finding::Unlisted)
            return true;
    }
    return false;
}

Result Run(const Progress& progress)
{
    Result result;
    result.manifest = Checksums::Read();
    if (!result.manifest.readable)
        return result;
    const NameSet inCatalogues = catalogued();
    std::vector<std::string> unlisted;
    const NameSet present = onDisk(unlisted);

    std::map<std::string, Finding, LibraryName::Less> findings;
    std::size_t done = 0;
    const std::size_t total = result.manifest.sums.size();
    for (const auto& [key, line] : result.manifest.sums) {
        if (progress && !progress(done, total)) {
            result.cancelled = true;
            return result;
        }
        ++done;
        const fs::path native = Drive::NativePath(logicalOf(line.name));
        std::error_code error;
        if (!present.contains(key) && !fs::is_regular_file(native, error)) {
            findings[line.name] = Finding::Missing;
            continue;
        }
        const auto digest = Platform::HashFile(native);
        findings[line.name] = digest == line.digest ? Finding::Good : Finding::Changed;
    }
    if (progress)
        progress(done, total);
    for (const auto& name : inCatalogues) {
        if (!present.contains(name) && !findings.contains(name))
            findings[name] = Finding::Missing;
    }
    for (const auto& [key, finding] : findings)
        result.items.push_back({finding, key, logicalOf(key)});
    for (const auto& name : present) {
        if (!inCatalogues.contains(name))
            result.items.push_back({Finding::NotCatalogued, name, logicalOf(name)});
    }
    for (const auto& folder : unlisted)
        result.items.push_back({Finding::Unlisted, folder, logicalOf(folder)});
    return result;
}

std::string Report(const Result& result)
{
    std::string text;
    for (const Item& item : result.items) {
        text += item.name;
        switch (item.finding) {
        case Finding::Good:
            text += ": OK\n";
            break;
        case Finding::Changed:
            text += ": FAILED\n";
            break;
        case Finding::Missing:
            text += ": FAILED open or read\n";
            break;
        case Finding::NotCatalogued:
            text += ": NOT CATALOGUED\n";
            break;
        case Finding::Unlisted:
            text += ": FAILED listing\n";
            break;
        }
    }
    return text;
}

int PrintReport()
{
    const Result result = Run();
    if (!result.manifest.readable) {
        std::fprintf(stderr, "%s cannot be read: %s\n",
                     Platform::PathText(result.manifest.problem.file).c_str(),
                     result.manifest.problem.reason.c_str());
        return 2;
    }
    const std::string report = Report(result);
    std::fwrite(report.data(), 1, report.size(), stdout);
    return result.Troubled() ? 1 : 0;
}

bool MoveToRemoved(const Item& item)
{
    const fs::path from = Drive::NativePath(item.logical);
    fs::path to = Drive::NativePath(RemovedFolder);
    for (std::size_t start = 0; start < item.name.size();) {
        const std::size_t slash = std::min(item.name.find('/', start), item.name.size());
        to /= item.name.substr(start, slash - start);
        start = slash + 1;
    }
    std::error_code error;
    if (fs::exists(to, error))
        return false;
    fs::create_directories(to.parent_path(), error);
    if (error)
        return false;
    fs::rename(from, to, error);
    return !error;
}

} // namespace LibraryCheck

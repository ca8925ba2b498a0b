// SPDX-License-Identifier: GPL-2.0-or-later
#include "library_check.h"

#include "library/catalogue_file.h"
#include "library/drive.h"
#include "library/entry_names.h"
#include "library/paths.h"
#include "library/phone_groups.h"
#include "library/removed_files.h"
#include "platform/file_path_text.h"
#include "platform/hash.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>

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

bool inFolder(std::string_view name, std::string_view folder)
{
    return name.size() >= folder.size() && LibraryName::Same(name.substr(0, folder.size()), folder);
}

// What the catalogues name, and those that cannot be read (below the library).
struct Catalogued {
    NameSet names;
    std::vector<std::string> unreadable;
};

// Reads one catalogue whole (not cut at the list buffer), its outcome looked at.
std::optional<CatalogueSnapshot> readCatalogue(std::string_view catalogue, Catalogued& found)
{
    auto snapshot = CatalogueFile(catalogue).ReadableSnapshot();
    if (!snapshot)
        found.unreadable.push_back(Checksums::KeyOf(catalogue));
    return snapshot;
}

// Every name the catalogues give a file, below the library.
Catalogued catalogued()
{
    Catalogued found;
    const auto addSections = [&](std::string_view catalogue, const std::string& below) {
        if (const auto snapshot = readCatalogue(catalogue, found)) {
            for (const auto& section : snapshot->AllSections()) {
                if (EntryNames::IsSafe(section))
                    found.names.insert(below + section);
            }
        }
    };
    addSections(Paths::TiaCatalogue, "Tias/");
    addSections(Paths::BootCatalogue, "Boots/");
    if (const auto phones = readCatalogue(Paths::PhoneCatalogue, found)) {
        for (const auto& group : phones->AllSections()) {
            if (!EntryNames::IsSafe(group))
                continue;
            const std::string scheme = phones->ReadString(group, "Scheme", "");
            if (EntryNames::IsSafe(scheme))
                found.names.insert("Phones/" + scheme);
            addSections(Paths::FlashCatalogue(group), "Phones/" + group + "/");
        }
    }
    for (const auto common : Paths::CommonFiles)
        found.names.insert(Checksums::KeyOf(common));
    return found;
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
        const std::string name = Platform::FilePathText(entry->path().filename());
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

// "4,604"
std::string counted(std::size_t number)
{
    std::string digits = std::to_string(number);
    for (auto at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    return digits;
}

} // namespace

bool Result::Troubled() const
{
    for (const Item& item : items) {
        switch (item.finding) {
        case Finding::Changed:
        case Finding::Unreadable:
        case Finding::Missing:
        case Finding::Unlisted:
        case Finding::CatalogueUnreadable:
            return true;
        default:
            break;
        }
    }
    return false;
}

bool Result::Locked(const Item& item) const
{
    for (const auto& folder : lockedFolders) {
        if (inFolder(item.name, folder))
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
    const Catalogued inCatalogues = catalogued();
    for (const auto& catalogue : inCatalogues.unreadable)
        result.lockedFolders.push_back(catalogue.substr(0, catalogue.rfind('/') + 1));
    const auto locked = [&](const std::string& name) {
        return result.Locked({Finding::Good, name, {}});
    };
    std::vector<std::string> unlisted;
    const NameSet present = onDisk(unlisted);
    // What a folder that cannot be listed holds cannot be told either.
    result.lockedFolders.insert(result.lockedFolders.end(), unlisted.begin(), unlisted.end());
    const auto inUnlisted = [&](const std::string& name) {
        return std::any_of(unlisted.begin(), unlisted.end(),
                           [&](const std::string& folder) { return inFolder(name, folder); });
    };

    // Each file once: the kinds that need no reading first, then those to read.
    std::map<std::string, Finding, LibraryName::Less> findings;
    std::vector<const Checksums::Line*> toRead;
    for (const auto& name : present) {
        // Where a catalogue cannot be read, a file is not taken for uncatalogued.
        if (!inCatalogues.names.contains(name) && !locked(name)) {
            findings[name] = Finding::NotCatalogued;
            continue;
        }
        const auto line = result.manifest.sums.find(name);
        if (line == result.manifest.sums.end())
            findings[name] = Finding::NoChecksum;
        else
            toRead.push_back(&line->second);
    }
    for (const auto& [key, line] : result.manifest.sums) {
        if (present.contains(key))
            continue;
        // Not in a listed folder: deeper, or gone; in one that cannot be listed, read to tell.
        std::error_code error;
        if (inUnlisted(line.name) ||
            fs::is_regular_file(Drive::NativePath(logicalOf(line.name)), error))
            toRead.push_back(&line);
        else
            findings[line.name] = Finding::Missing;
    }

    // Read on as many threads as the machine has cores (up to four): hashing, not the walk,
    // is the time a check takes. The progress is told under a lock, before each file.
    std::vector<std::optional<std::string>> digests(toRead.size());
    std::atomic<std::size_t> next = 0, done = 0;
    std::atomic<bool> stopped = false;
    std::mutex telling;
    const auto hashSome = [&] {
        for (std::size_t at = next++; at < toRead.size() && !stopped; at = next++) {
            if (progress) {
                const std::lock_guard lock(telling);
                if (!stopped && !progress(done, toRead.size()))
                    stopped = true;
            }
            if (stopped)
                break;
            digests[at] = Platform::HashFile(Drive::NativePath(logicalOf(toRead[at]->name)));
            ++done;
        }
    };
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    std::vector<std::thread> helpers;
    for (unsigned helper = 1; helper < threads && helper < toRead.size(); ++helper)
        helpers.emplace_back(hashSome);
    hashSome();
    for (auto& helper : helpers)
        helper.join();
    if (stopped) {
        result.cancelled = true;
        return result;
    }
    if (progress)
        progress(done, toRead.size());
    for (std::size_t at = 0; at < toRead.size(); ++at) {
        const auto& digest = digests[at];
        findings[toRead[at]->name] = !digest                         ? Finding::Unreadable
                                     : *digest == toRead[at]->digest ? Finding::Good
                                                                     : Finding::Changed;
    }
    for (const auto& name : inCatalogues.names) {
        if (!present.contains(name) && !findings.contains(name) && !inUnlisted(name))
            findings[name] = Finding::Missing;
    }
    for (const auto& [name, finding] : findings)
        result.items.push_back({finding, name, logicalOf(name)});
    for (const auto& folder : unlisted)
        result.items.push_back({Finding::Unlisted, folder, logicalOf(folder)});
    for (const auto& catalogue : inCatalogues.unreadable)
        result.items.push_back({Finding::CatalogueUnreadable, catalogue, logicalOf(catalogue)});
    for (auto& name : RemovedFiles::List())
        result.items.push_back({Finding::Removed, name, logicalOf(name)});
    return result;
}

std::string Report(const Result& result)
{
    std::string text;
    for (const Item& item : result.items) {
        const char* said = nullptr;
        switch (item.finding) {
        case Finding::Good:
            said = ": OK\n";
            break;
        case Finding::Changed:
            said = ": FAILED\n";
            break;
        case Finding::Unreadable:
            said = ": FAILED open or read\n";
            break;
        case Finding::Missing:
            said = ": FAILED missing\n";
            break;
        case Finding::NotCatalogued:
            said = ": NOT CATALOGUED\n";
            break;
        case Finding::NoChecksum:
            said = ": NO CHECKSUM YET\n";
            break;
        case Finding::Unlisted:
            said = ": FAILED listing\n";
            break;
        case Finding::CatalogueUnreadable:
            said = ": FAILED catalogue cannot be read\n";
            break;
        case Finding::Removed:
            continue;
        }
        text += item.name + said;
    }
    return text;
}

std::string Summary(const Result& result)
{
    std::map<Finding, std::size_t> counts;
    std::size_t files = 0;
    for (const Item& item : result.items) {
        ++counts[item.finding];
        files += item.finding < Finding::Unlisted;
    }
    std::string text = counted(files) + " files: " + counted(counts[Finding::Good]) + " OK";
    const std::pair<Finding, const char*> kinds[] = {
        {Finding::Changed, "changed"},
        {Finding::Unreadable, "cannot be opened or read"},
        {Finding::Missing, "missing"},
        {Finding::NotCatalogued, "not catalogued"},
        {Finding::NoChecksum, "no checksum yet"},
        {Finding::Unlisted, "folder(s) cannot be listed"},
        {Finding::CatalogueUnreadable, "catalogue(s) cannot be read"},
        {Finding::Removed, "in Removed"},
    };
    for (const auto& [finding, said] : kinds) {
        if (counts[finding] > 0)
            text += (finding >= Finding::Unlisted ? "; " : ", ") + counted(counts[finding]) + " " +
                    said;
    }
    return text + ".";
}

int PrintReport()
{
    const Result result = Run();
    if (!result.manifest.readable) {
        std::fprintf(stderr, "%s cannot be read: %s\n",
                     Platform::FilePathText(result.manifest.problem.file).c_str(),
                     result.manifest.problem.reason.c_str());
        return 2;
    }
    const std::string report = Report(result);
    std::fwrite(report.data(), 1, report.size(), stdout);
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", Summary(result).c_str());
    return result.Troubled() ? 1 : 0;
}

std::optional<Entry> EntryOf(const std::string& name)
{
    const auto slash = name.rfind('/');
    if (slash == std::string::npos)
        return std::nullopt;
    const std::string folder = name.substr(0, slash);
    const std::string file = name.substr(slash + 1);
    std::string catalogue;
    if (LibraryName::Same(folder, "Tias"))
        catalogue = Paths::TiaCatalogue;
    else if (LibraryName::Same(folder, "Boots"))
        catalogue = Paths::BootCatalogue;
    else if (inFolder(folder, "Phones/") && folder.find('/', 7) == std::string::npos &&
             EntryNames::IsSafe(folder.substr(7)))
        catalogue = Paths::FlashCatalogue(folder.substr(7));
    else
        return std::nullopt;
    const auto snapshot = CatalogueFile(catalogue).ReadableSnapshot();
    if (!snapshot)
        return std::nullopt;
    for (const auto& section : snapshot->AllSections()) {
        if (LibraryName::Same(section, file))
            return Entry{catalogue, section};
    }
    return std::nullopt;
}

} // namespace LibraryCheck

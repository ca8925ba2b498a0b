// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Check library: every file in the library's folders against the checksum manifest and the
// catalogues, each file counted once, in the kind that matters most. A catalogued file with a
// line is read and is OK, changed, or cannot be opened or read; a catalogued file without a line
// has no checksum yet; a file no catalogue names is not catalogued (left by a cancelled browse
// or a removed entry), whatever line it has; a name a catalogue or the manifest gives with no
// file is missing. A catalogue that cannot be read is a finding of its own, and nothing in its
// folder may then be moved, catalogued or have its line removed: which of its files are
// catalogued cannot be told.

#include "library/checksums.h"

#include <functional>
#include <string>
#include <vector>

namespace LibraryCheck
{

// Unlisted: a library folder that is there but cannot be listed; its files cannot be told.
// Removed: a file in the Removed folder, which can be put back; not part of the library.
enum class Finding {
    Good,
    Changed,
    Unreadable,
    Missing,
    NotCatalogued,
    NoChecksum,
    Unlisted,
    CatalogueUnreadable,
    Removed,
};

struct Item {
    Finding finding;
    std::string name; // below the library, with "/": the manifest's name for it
    std::string logical;
};

struct Result {
    Checksums::Manifest manifest; // as read; nothing is checked when it is not readable
    std::vector<Item> items;      // in name order within each kind, one finding per file
    // Folders below the library (with "/") whose catalogue cannot be read, or that cannot be
    // listed: which of their files are catalogued, or there, cannot be told.
    std::vector<std::string> lockedFolders;
    bool cancelled = false;

    // Whether something is changed, missing or unreadable, or a folder or catalogue could not
    // be read.
    bool Troubled() const;
    // Whether the item lies where a catalogue cannot be read: no action may touch it.
    bool Locked(const Item& item) const;
};

// Told before each file that is read (done of total) and once at the end; false cancels.
using Progress = std::function<bool(std::size_t done, std::size_t total)>;

Result Run(const Progress& progress = {});

// One line per item in the style of `sha256sum -c`, names below the library: "name: OK",
// "name: FAILED", "name: FAILED open or read", "name: FAILED missing", "name: NOT CATALOGUED",
// "name: NO CHECKSUM YET"; "Folder/: FAILED listing"; "Tias/Tias.ini: FAILED catalogue cannot
// be read". Removed files are not reported.
std::string Report(const Result& result);

// The count of each kind: "4,604 files: 4,590 OK, 1 changed, ..."; then the folders and
// catalogues that cannot be read.
std::string Summary(const Result& result);

// Runs the check and prints the report on standard output and its summary on standard error
// (an unreadable manifest there too); returns the exit code: 0 when nothing is changed, missing
// or unreadable, 1 when something is, 2 when the manifest cannot be read.
int PrintReport();

// The catalogue entry that names the file, as a catalogue and a section; nothing when none
// does or it cannot be read.
struct Entry {
    std::string catalogue; // logical path
    std::string section;
};
std::optional<Entry> EntryOf(const std::string& name);

} // namespace LibraryCheck

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Check library: every file of the library against the checksum manifest and the catalogues.
// A file is changed when its bytes differ from its line, missing when a catalogue or the
// manifest names it and it is not there, and not catalogued when it lies in a library folder
// and no catalogue names it (left by a cancelled browse or a removed entry). Only files with a
// line are read, each once, as `sha256sum -c` reads them.

#include "library/checksums.h"

#include <functional>
#include <string>
#include <vector>

namespace LibraryCheck
{

// Unlisted: a library folder that is there but cannot be listed; its files cannot be told.
enum class Finding { Good, Changed, Missing, NotCatalogued, Unlisted };

struct Item {
    Finding finding;
    std::string name; // below the library, with "/": the manifest's name for it
    std::string logical;
};

struct Result {
    Checksums::Manifest manifest; // as read; nothing is checked when it is not readable
    std::vector<Item> items;      // in name order, one finding per file and kind
    bool cancelled = false;

    // Whether something is changed or missing, or a folder could not be listed.
    bool Troubled() const;
};

// Told before each file that is read (done of total) and once at the end; false cancels.
using Progress = std::function<bool(std::size_t done, std::size_t total)>;

Result Run(const Progress& progress = {});

// One line per item in the style of `sha256sum -c`, names below the library: "name: OK",
// "name: FAILED", "name: FAILED open or read", "name: NOT CATALOGUED"; a folder that cannot be
// listed: "Folder/: FAILED listing".
std::string Report(const Result& result);

// Runs the check and prints the report on standard output (an unreadable manifest on standard
// error); returns the exit code: 0 when nothing is changed or missing, 1 when something is (or
// a folder cannot be listed), 2
// when the manifest cannot be read.
int PrintReport();

// The folder beside the library's files where Check library moves uncatalogued files.
inline constexpr std::string_view RemovedFolder = "c:\\nk_files\\Removed\\";

// Moves an uncatalogued file into RemovedFolder, under its path below the library; never
// deletes. False when it could not be moved (a file of that name there already, ...).
bool MoveToRemoved(const Item& item);

} // namespace LibraryCheck

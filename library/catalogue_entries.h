// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The catalogue entries of the library's files: TIA files, boot files and a phone group's flash
// images. Which keys each kind has, in the order the editors write them, where its folder and
// catalogue lie, and reading, writing and erasing one entry.

#include <string>
#include <string_view>

enum class EntryKind { Tia, Boot, Flash };

struct CatalogueEntry {
    std::string name;    // the file name: the section's name
    std::string type;    // TIA files only
    std::string address; // flash images only
    int status = -1;     // -1: no status chosen
    std::string description;
};

namespace CatalogueEntries
{

// The logical folder that holds the kind's files (and its catalogue); group names the phone
// group of a flash image and is ignored for the other kinds.
std::string Folder(EntryKind kind, std::string_view group = {});
std::string Catalogue(EntryKind kind, std::string_view group = {});

// The entry as an editor shows it: missing keys give empty texts and no status.
CatalogueEntry Read(EntryKind kind, std::string_view group, std::string_view name);

// Creates the folder, then writes the kind's keys in their order into the entry's section
// (a TIA or boot entry with Selected = 0). Other keys of the section stay. Throws
// UnableToWrite at the first write the file system refuses.
void Write(EntryKind kind, std::string_view group, const CatalogueEntry& entry);

// Removes the entry's section with all its keys; the library file stays.
void Erase(EntryKind kind, std::string_view group, std::string_view name);

} // namespace CatalogueEntries

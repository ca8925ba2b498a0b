// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the main window's lists show of a catalogue: one row per section, in file order.

#include "library/catalogue_file.h"

#include <string>
#include <vector>

struct CatalogueRow {
    std::string caption;               // the section name
    std::vector<std::string> subItems; // in column order
    int picture = 2;                   // the stored status code, unchanged
    bool selected = false;             // the Selected flag (TIA and boot lists)
};

namespace CatalogueLists
{

// Each reader refills sectionNames, the caller's scratch list, with the catalogue's sections.
// The watcher (for tests) is told each read of the catalogue file.
std::vector<CatalogueRow> ReadTiaRows(std::vector<std::string>& sectionNames,
                                      const CatalogueFile::ReadWatcher& watcher = {});
std::vector<CatalogueRow> ReadBootRows(std::vector<std::string>& sectionNames,
                                       const CatalogueFile::ReadWatcher& watcher = {});
std::vector<CatalogueRow> ReadFlashRows(const std::string& group,
                                        std::vector<std::string>& sectionNames,
                                        const CatalogueFile::ReadWatcher& watcher = {});

} // namespace CatalogueLists

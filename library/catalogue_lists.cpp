// SPDX-License-Identifier: GPL-2.0-or-later
#include "catalogue_lists.h"

#include "library/catalogue_file.h"
#include "library/paths.h"
#include "library/status_code.h"

namespace CatalogueLists
{

namespace
{

constexpr int DefaultPicture = static_cast<int>(StatusCode::NotTested);

struct Column {
    const char* key;
    const char* defaultValue;
};

// Every value of every row comes from one reading of the file.
std::vector<CatalogueRow> readRows(const CatalogueFile& file, std::vector<std::string>& names,
                                   std::initializer_list<Column> columns, bool hasSelectedFlag)
{
    const CatalogueSnapshot catalogue = file.Snapshot();
    catalogue.ReadSections(names);
    std::vector<CatalogueRow> rows;
    rows.reserve(names.size());
    for (const auto& name : names) {
        CatalogueRow row;
        row.caption = name;
        for (const auto& column : columns)
            row.subItems.push_back(catalogue.ReadString(name, column.key, column.defaultValue));
        row.picture = catalogue.ReadInteger(name, "Status", DefaultPicture);
        row.selected = hasSelectedFlag && catalogue.ReadBool(name, "Selected", false);
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace

std::vector<CatalogueRow> ReadTiaRows(std::vector<std::string>& sectionNames,
                                      const CatalogueFile::ReadWatcher& watcher)
{
    return readRows(CatalogueFile(Paths::TiaCatalogue, watcher), sectionNames,
                    {{"Type", "Unknown"}, {"Description", ""}}, true);
}

std::vector<CatalogueRow> ReadBootRows(std::vector<std::string>& sectionNames,
                                       const CatalogueFile::ReadWatcher& watcher)
{
    return readRows(CatalogueFile(Paths::BootCatalogue, watcher), sectionNames,
                    {{"Description", ""}}, true);
}

std::vector<CatalogueRow> ReadFlashRows(const std::string& group,
                                        std::vector<std::string>& sectionNames,
                                        const CatalogueFile::ReadWatcher& watcher)
{
    if (!EntryNames::IsSafe(group)) { // its catalogue cannot be reached: read as missing
        sectionNames.clear();
        return {};
    }
    return readRows(CatalogueFile(Paths::FlashCatalogue(group), watcher), sectionNames,
                    {{"Address", ""}, {"Description", ""}}, false);
}

} // namespace CatalogueLists

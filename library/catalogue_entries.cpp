// SPDX-License-Identifier: GPL-2.0-or-later
#include "catalogue_entries.h"

#include "library/catalogue_file.h"
#include "library/drive.h"
#include "library/paths.h"
#include "platform/files.h"

namespace CatalogueEntries
{

std::string Folder(EntryKind kind, std::string_view group)
{
    switch (kind) {
    case EntryKind::Tia:
        return std::string(Paths::TiaFolder);
    case EntryKind::Boot:
        return std::string(Paths::BootFolder);
    case EntryKind::Flash:
        break;
    }
    return Paths::GroupFolder(group);
}

std::string Catalogue(EntryKind kind, std::string_view group)
{
    switch (kind) {
    case EntryKind::Tia:
        return std::string(Paths::TiaCatalogue);
    case EntryKind::Boot:
        return std::string(Paths::BootCatalogue);
    case EntryKind::Flash:
        break;
    }
    return Paths::FlashCatalogue(group);
}

CatalogueEntry Read(EntryKind kind, std::string_view group, std::string_view name)
{
    const CatalogueFile catalogue(Catalogue(kind, group));
    CatalogueEntry entry;
    entry.name = name;
    if (kind == EntryKind::Tia)
        entry.type = catalogue.ReadString(name, "TYPE", "");
    if (kind == EntryKind::Flash)
        entry.address = catalogue.ReadString(name, "Address", "");
    entry.status = catalogue.ReadInteger(name, "STATUS", -1);
    entry.description = catalogue.ReadString(name, "Description", "");
    return entry;
}

void Write(EntryKind kind, std::string_view group, const CatalogueEntry& entry)
{
    Platform::CreateFolderPath(Drive::NativePath(Folder(kind, group)));

    CatalogueFile catalogue(Catalogue(kind, group));
    if (kind == EntryKind::Tia)
        catalogue.WriteString(entry.name, "TYPE", entry.type);
    if (kind == EntryKind::Flash)
        catalogue.WriteString(entry.name, "Address", entry.address);
    catalogue.WriteInteger(entry.name, "STATUS", entry.status);
    catalogue.WriteString(entry.name, "Description", entry.description);
    if (kind != EntryKind::Flash)
        catalogue.WriteBool(entry.name, "Selected", false);
}

void Erase(EntryKind kind, std::string_view group, std::string_view name)
{
    CatalogueFile(Catalogue(kind, group)).EraseSection(name);
}

} // namespace CatalogueEntries

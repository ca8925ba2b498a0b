// SPDX-License-Identifier: GPL-2.0-or-later
#include "phone_groups.h"

#include "library/catalogue_file.h"
#include "library/drive.h"
#include "library/paths.h"
#include "library/profile_text.h"
#include "platform/files.h"

namespace PhoneGroups
{

bool SameName(std::string_view a, std::string_view b)
{
    return ProfileText::SameName(a, b);
}

PhoneGroup Read(std::string_view name)
{
    const CatalogueFile catalogue(Paths::PhoneCatalogue);
    return {std::string(name), catalogue.ReadString(name, "Config", ""),
            catalogue.ReadString(name, "Scheme", "")};
}

void Write(const PhoneGroup& group)
{
    // A group whose folder cannot be made (a name too long for the file system) is not written.
    const std::string folder = Paths::GroupFolder(group.name);
    if (!Platform::CreateFolderPath(Drive::NativePath(folder)))
        throw UnableToWrite(folder);
    CatalogueFile catalogue(Paths::PhoneCatalogue);
    catalogue.WriteString(group.name, "Config", group.config);
    catalogue.WriteString(group.name, "Scheme", group.scheme);
}

std::string SchemePath(std::string_view scheme)
{
    // In the phones folder itself, not in a group's folder.
    return Paths::EntryPath(Paths::PhonesFolder, scheme);
}

} // namespace PhoneGroups

#include "phone_groups.h"

#include "library/catalogue_file.h"
#include "library/drive.h"
#include "library/paths.h"
#include "platform/files.h"

namespace PhoneGroups
{

PhoneGroup Read(std::string_view name)
{
    const CatalogueFile catalogue(Paths::PhoneCatalogue);
    return {std::string(name), catalogue.ReadString(name, "Config", ""),
            catalogue.ReadString(name, "Scheme", "")};
}

void Write(const PhoneGroup& group)
{
    Platform::CreateFolderPath(Drive::NativePath(Paths::GroupFolder(group.name)));
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

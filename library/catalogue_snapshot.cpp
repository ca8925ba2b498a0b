#include "catalogue_snapshot.h"

#include "library/catalogue_file.h"

CatalogueSnapshot::CatalogueSnapshot(std::string text) : m_text(std::move(text)) {}

void CatalogueSnapshot::ReadSections(std::vector<std::string>& names) const
{
    names = m_text.SectionNames();
}

std::string CatalogueSnapshot::ReadString(std::string_view section, std::string_view key,
                                          std::string_view defaultValue) const
{
    auto value = m_text.FindValue(section, key).value_or(std::string(defaultValue));
    if (value.size() > CatalogueFile::MaxValueLength)
        value.resize(CatalogueFile::MaxValueLength);
    return value;
}

int CatalogueSnapshot::ReadInteger(std::string_view section, std::string_view key,
                                   int defaultValue) const
{
    return ProfileText::ParseInteger(ReadString(section, key, "")).value_or(defaultValue);
}

bool CatalogueSnapshot::ReadBool(std::string_view section, std::string_view key,
                                 bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

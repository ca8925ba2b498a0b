// SPDX-License-Identifier: GPL-2.0-or-later
#include "catalogue_snapshot.h"

#include <limits>

CatalogueSnapshot::CatalogueSnapshot(std::string text) : m_text(std::move(text)) {}

void CatalogueSnapshot::ReadSections(std::vector<std::string>& names) const
{
    names = m_text.SectionNames();
}

std::vector<std::string> CatalogueSnapshot::AllSections() const
{
    return m_text.SectionNames(std::numeric_limits<std::size_t>::max());
}

std::string CatalogueSnapshot::ReadString(std::string_view section, std::string_view key,
                                          std::string_view defaultValue) const
{
    return ValueOr(m_text.FindValue(section, key), defaultValue);
}

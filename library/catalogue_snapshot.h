// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// One catalogue file as it was at one moment, read and parsed once, for the many reads of a list
// load. Its reads follow CatalogueFile's rules (defaults, the cut, numbers and flags). A load
// that reads every value from one snapshot never mixes two versions of a file that changes
// under it.

#include "library/catalogue_reads.h"
#include "library/profile_text.h"

#include <string>
#include <string_view>
#include <vector>

class CatalogueSnapshot : public CatalogueReads<CatalogueSnapshot>
{
public:
    // From the file's bytes; empty text for a missing file.
    explicit CatalogueSnapshot(std::string text);

    void ReadSections(std::vector<std::string>& names) const;
    // Every section name, however long the list: for a check of the whole library, which must
    // not take a name cut by the list buffer for a missing file.
    std::vector<std::string> AllSections() const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

private:
    ProfileText::ParsedText m_text;
};

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The value rules that every catalogue reader keeps on top of its own ReadString: the cut of a
// long value, numbers and flags. CatalogueFile reads the file for each value, CatalogueSnapshot
// once for many; both answer alike through this one base.

#include "library/profile_text.h"

#include <optional>
#include <string>
#include <string_view>

template <typename Reader> class CatalogueReads
{
public:
    // The longest value a read returns; longer values are cut.
    static constexpr std::size_t MaxValueLength = 2047;

    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const
    {
        const auto& reader = static_cast<const Reader&>(*this);
        return ProfileText::ParseInteger(reader.ReadString(section, key, ""))
            .value_or(defaultValue);
    }

    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const
    {
        return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
    }

protected:
    // What a read of a text returns: the value found, else the default, cut.
    static std::string ValueOr(std::optional<std::string> found, std::string_view defaultValue)
    {
        std::string value = found ? std::move(*found) : std::string(defaultValue);
        if (value.size() > MaxValueLength)
            value.resize(MaxValueLength);
        return value;
    }
};

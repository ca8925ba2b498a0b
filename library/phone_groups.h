// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The phone catalogue's entries: a group's flasher configuration line and the file name of its
// schematic picture, which lies in the phones folder.

#include <string>
#include <string_view>

struct PhoneGroup {
    std::string name;
    std::string config;
    std::string scheme;
};

namespace PhoneGroups
{

// Whether two names are the same phone group: the phone catalogue's rule for its section names
// (ASCII letter case and the blanks around a name aside), wherever a group is matched, so that a
// group found one place is the group found every other.
bool SameName(std::string_view a, std::string_view b);

// The group's entry; missing keys give empty texts.
PhoneGroup Read(std::string_view name);

// Creates the group's folder, then writes Config and Scheme as they stand, in that order.
// Other keys of the section stay. Throws UnableToWrite at a refused write, UnsafeName for a
// name that cannot be a folder name.
void Write(const PhoneGroup& group);

// The logical path of a schematic picture of that file name.
std::string SchemePath(std::string_view scheme);

} // namespace PhoneGroups

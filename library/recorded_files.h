// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What a record of an earlier run (the journal, which anyone can edit) may make the program
// read: only a regular file inside the library, so that a line naming a device, a FIFO or a
// file elsewhere is never opened; and whether the group's Config line is still the one the run
// wrote.

#include <optional>
#include <string>
#include <string_view>

namespace RecordedFiles
{

// The SHA-256 of the library file the logical path names; nothing when the path does not lie
// in the library (every name below it a plain name), names no regular file, or cannot be read.
std::optional<std::string> LibraryFileDigest(std::string_view logicalPath);

enum class ConfigLine { Same, Changed, Unreadable };
// The group's Config line in the phone catalogue against the recorded one; Unreadable when the
// catalogue cannot be read (it is not taken for an empty one).
ConfigLine CompareConfig(std::string_view group, std::string_view recordedConfig);

} // namespace RecordedFiles

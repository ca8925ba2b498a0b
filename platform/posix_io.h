// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the file writers of this system share: a fresh temporary file beside a target, complete
// writes and a flushed folder.

#include <filesystem>
#include <string_view>

namespace Platform::Posix
{

// Creates a file of a fresh name beside target, open for writing: ".<name>.<random>.tmp". It is
// never an existing file nor a link, so other writers and files left over from an interrupted
// write are neither touched nor in the way. -1 with errno set when none can be created.
int CreateTemporary(const std::filesystem::path& target, std::filesystem::path& temporary);

// Writes all the bytes; false with errno set when the file system refuses.
bool WriteAll(int fd, std::string_view bytes);

// Flushes the folder, so that a file renamed into it stays after a crash.
void SyncFolder(const std::filesystem::path& folder);

} // namespace Platform::Posix

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What a program file is, and DOSBox, which runs the DOS programs that this system cannot.

#include <filesystem>

namespace Platform
{

// Whether this system runs the file itself: an ELF program or a "#!" script on Linux, a Windows
// (PE) program on Windows. Anything else is taken for a DOS program.
bool IsNativeProgram(const std::filesystem::path& path);

// Whether the file may be run: its run permission where files have one, else always.
bool MayRun(const std::filesystem::path& path);

// DOSBox: on the search path or, on Windows, where its installer puts it; empty when neither.
std::filesystem::path FindDosBox();

// A path as DOSBox can be told it: DOSBox for Windows reads its command line in the ANSI code
// page, so a path with a character outside it is given by its short (8.3) name, which is plain
// ASCII; any other path, and every path elsewhere, as it is.
std::filesystem::path DosBoxPath(const std::filesystem::path& path);

// The user's own DOSBox configuration file, which DOSBox reads when it is given none; empty when
// it cannot be told.
std::filesystem::path DosBoxUserConfig(const std::filesystem::path& dosbox);

} // namespace Platform

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The run clears old staged files with DOS delete commands ("COMMAND.COM /C DEL c:\x\*.fls").
// No command interpreter for them exists on this machine (nor on 64-bit Windows), so their
// effect is carried out here: hidden, finished before the call returns.

#include <string_view>

namespace DeleteCommand
{

// Deletes the files directly in the pattern's folder whose names match it ("*" and "?",
// letter case ignored, as on the original file system). Like DEL it leaves read-only files
// and folders alone, and a pattern that matches nothing is no error. False when the command
// line is not such a delete command.
bool CarryOut(std::string_view commandLine);

// Whether a file name matches a DOS pattern, its letters matched as library names are.
bool Matches(std::string_view pattern, std::string_view name);

} // namespace DeleteCommand

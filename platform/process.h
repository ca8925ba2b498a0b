#pragma once
// Starting other programs: a command line run and, if asked, waited for; a program started
// on its own and left running.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace Platform
{

// Starts a command line as a new process. The first word names the program, found by the
// system's search rules; words may be quoted with double quotes. hide keeps its window hidden
// where the system has windows. With wait, waits until it ends and sets result to "#" and its
// exit code (unsigned decimal); without, leaves result as it is. When the process cannot be
// started, result is the system's text for the reason.
void RunCommand(const std::string& commandLine, bool hide, bool wait, std::string& result);

// Starts a program with arguments, in this process's current directory, and does not wait
// for it. False, with the system's text for the reason, when it cannot be started.
bool StartDetached(const std::vector<std::string>& arguments, std::string& error);

// The program's full path when it is on the search path, else empty.
std::filesystem::path FindProgram(std::string_view name);

// The words of a command line: split at blanks, double quotes group and are removed.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

} // namespace Platform

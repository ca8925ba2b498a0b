#pragma once
// Starting other programs: a program started on its own and left running.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Platform
{

// Starts a program with arguments, in this process's current directory, and does not wait
// for it. False, with the system's text for the reason, when it cannot be started.
bool StartDetached(const std::vector<std::string>& arguments, std::string& error);

#ifndef _WIN32
// The program's full path when it is on the search path, else empty. (Windows looks for its
// programs in named places only, see programs_windows.cpp.)
std::filesystem::path FindProgram(std::string_view name);

// Runs a program to its end and returns what it wrote to its standard output. Nothing when it
// could not start, failed, or was still running after the limit (it is then killed).
std::optional<std::string> OutputOf(const std::vector<std::string>& arguments,
                                    std::chrono::milliseconds limit);
#endif

} // namespace Platform

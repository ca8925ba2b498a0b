// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Starting other programs: a program started on its own and left running, whose first moments
// can be watched without waiting for it.

#include "platform/process_identity.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Platform
{

// How a started program ended: its exit code, or (POSIX) the signal that ended it; neither is
// known of a program this process did not start.
struct ProgramEnd {
    bool bySignal = false;
    std::uint32_t code = 0;
    bool known = true;

    bool failed() const { return bySignal || code != 0; }
};

// A program started on its own. It runs on when this object is gone and when this process ends;
// while the object lives, whether the program has ended can be asked, which never waits.
class StartedProgram
{
public:
    virtual ~StartedProgram() = default;

    // How the program ended; nothing while it runs.
    virtual std::optional<ProgramEnd> Ended() = 0;
};

// Starts a program with arguments, in this process's current directory, and does not wait
// for it. Null, with the system's text for the reason, when it cannot be started. On Windows
// the arguments and the reason are UTF-8 (paths made text by PathText, path_text.h), and the
// program gets them as wide text, whatever the ANSI code page holds.
std::unique_ptr<StartedProgram> StartDetached(const std::vector<std::string>& arguments,
                                              std::string& error);

// A program to start, and where its output goes.
struct ProgramStart {
    std::vector<std::string> arguments;
    std::filesystem::path folder = {}; // its working folder; empty: this process's
    // Called on a thread of its own with each piece of the program's standard output and error,
    // as it writes them, until it has closed them; null: they go where this process's go. A
    // program with its output read gets no input (POSIX: /dev/null; Windows: NUL).
    std::function<void(std::string_view bytes)> output = {};
};

// A started program that can be stopped, with what it started itself (POSIX: its process
// group; Windows: its job object). It runs on when this object is gone and when this process
// ends; its output is then no longer read (and, on POSIX, thrown away so it never blocks).
class RunningProgram : public StartedProgram
{
public:
    virtual ProcessIdentity identity() const = 0;
    // Ends the program now; Ended tells of it once it has ended.
    virtual void Stop() = 0;
};

// Starts the program; once Ended has told its end, all its output has been handed on. Null,
// with the system's text for the reason, when it cannot be started.
std::unique_ptr<RunningProgram> StartProgram(const ProgramStart& start, std::string& error);

// A process this process did not start (a flasher left by an earlier Quorvel): Ended tells,
// with the code unknown, once it no longer runs; Stop ends it (POSIX: its process group).
std::unique_ptr<RunningProgram> FollowProcess(const ProcessIdentity& process);

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

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What a message about a failed file operation can say beyond its own text: which file it was,
// as it lies on this machine, and the system's reason.

#include <filesystem>
#include <stdexcept>
#include <string>

namespace Platform
{

struct FileProblem {
    std::filesystem::path file; // empty when no file is named
    std::string reason;         // empty when the reason is not known
};

// An error about one file: what() is the text shown first, problem() what it adds below.
class FileError : public std::runtime_error
{
public:
    FileError(const std::string& text, FileProblem problem)
        : std::runtime_error(text), m_problem(std::move(problem))
    {
    }
    const FileProblem& problem() const noexcept { return m_problem; }

private:
    FileProblem m_problem;
};

// The system's text for an errno value ("No such file or directory"); empty for 0.
std::string ReasonText(int errorCode);

// Which file a failed copy is about: the source when it cannot be read, else the target or its
// folder, looked up afterwards. The reason is the copy's own error (an errno value), or where
// that is 0, what the lookup tells.
FileProblem CopyProblem(const std::filesystem::path& from, const std::filesystem::path& to,
                        int copyError);

} // namespace Platform

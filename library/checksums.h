// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The library's checksum manifest: the SHA-256 of each library file, so that a file changed or
// cut after it entered the library is found before a flasher writes it into a phone. One line a
// file, as sha256sum writes them: the digest, two blanks and the path below the library with
// "/" (the name's bytes as they are), so that `sha256sum -c` run in the library checks it too.
// A line is found by its name as library names are matched (library_name.h); it keeps the
// spelling of the file it was recorded for.

#include "library/library_name.h"
#include "platform/file_problem.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Checksums
{

struct Line {
    std::string name;   // below the library, with "/", as the line spells it
    std::string digest; // lower case
};

struct Manifest {
    // Whether the manifest could be read; an absent one is readable and empty. An unreadable one
    // must stop whatever would check against it or rewrite it.
    bool readable = true;
    Platform::FileProblem problem; // the file and the reason, when it is not readable
    std::map<std::string, Line, LibraryName::Less> sums; // path below the library → its line
    int unreadableLines = 0; // lines that are no digest and name: treated as missing
};

// The manifest's name of a library file given by its logical path: the path below the library
// with "/"; empty for a file outside the library.
std::string KeyOf(std::string_view logicalPath);

// The manifest as it is on disk.
[[nodiscard]] Manifest Read();

// The manifest with the lines of these files only (logical paths), found by a scan that keeps
// no other line: what a run needs of a manifest of thousands. Unreadable lines are counted all
// the same.
[[nodiscard]] Manifest ReadLinesOf(const std::vector<std::string>& logicalPaths);

// The recorded digest of the library file, if it has a readable line.
std::optional<std::string> Lookup(const Manifest& manifest, std::string_view logicalPath);

// How recording went: nothing to tell, or the manifest and why it was left as it was.
struct [[nodiscard]] Recorded {
    std::optional<Platform::FileProblem> failure;
    explicit operator bool() const { return !failure; }
    // The text to tell the user when the digests were not recorded.
    static std::string FailureText();
};

// Records the files' digests (logical path → digest) in one rewrite: each file's line is
// replaced, or one is added; every other line stays as it is. The manifest is replaced whole, so
// two programs writing at once may lose a line but never tear the file. A manifest that cannot
// be read, or is read-only (as a read-only catalogue is), is never rewritten; nor is anything
// when the file system refuses. Files outside the library are left out.
Recorded Record(const std::map<std::string, std::string>& digests);

// Removes the files' lines (by logical path), under the same rules as Record.
Recorded Forget(const std::vector<std::string>& logicalPaths);

} // namespace Checksums

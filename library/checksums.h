// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The library's checksum manifest: the SHA-256 of each library file, so that a file changed or
// cut after it entered the library is found before a flasher writes it into a phone. One line a
// file, as sha256sum writes them: the digest, two blanks and the path below the library with
// "/" (the name's bytes as they are), so that `sha256sum -c` run in the library checks it too.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace Checksums
{

struct Manifest {
    std::map<std::string, std::string> sums; // path below the library → digest
    int unreadableLines = 0; // lines that are no digest and name: treated as missing
};

// The manifest's name of a library file given by its logical path: the path below the library
// with "/"; empty for a file outside the library.
std::string KeyOf(std::string_view logicalPath);

// The manifest as it is on disk; an absent one is empty.
Manifest Read();

// The recorded digest of the library file, if it has a readable line.
std::optional<std::string> Lookup(const Manifest& manifest, std::string_view logicalPath);

// Records the files' digests (logical path → digest) in one rewrite: each file's line is
// replaced, or one is added; every other line stays as it is. The manifest is replaced whole, so
// two programs writing at once may lose a line but never tear the file. False when the file
// system refuses; files outside the library are left out.
bool Record(const std::map<std::string, std::string>& digests);

} // namespace Checksums

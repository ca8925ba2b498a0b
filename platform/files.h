// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// File-system services the program needs beyond the standard library's plain calls, with the
// semantics of the platform it was first written for (a read-only attribute, copies that refuse
// a read-only target, whole-file replacement that never leaves a half-written file).

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace Platform
{

// What reading a whole file found; the bytes only when it was read, else the system's error.
// The bytes are optional so that no caller takes a file it could not read for an empty one.
enum class ReadOutcome {
    Read,
    Missing,    // nothing of that name, or a symbolic link to nothing
    NotAFile,   // a folder, a device, a pipe, ...
    Unreadable, // there, but not readable to its end: permissions, an I/O error, ...
};
struct [[nodiscard]] FileBytes {
    ReadOutcome outcome = ReadOutcome::Missing;
    std::optional<std::string> bytes; // only when read
    std::error_code error;
};

// The whole file as bytes, read to its end.
[[nodiscard]] FileBytes ReadFileBytes(const std::filesystem::path& path);

// std::fopen by the path's own name (its wide name on Windows, where a narrow one would be read
// in the ANSI code page).
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

// The read-only attribute: an existing file without any write bit. Checked by the program
// itself, so that it holds for root too.
bool IsReadOnly(const std::filesystem::path& path);

// How a copy went: the error (an errno value) that stopped it, 0 when the file was copied, and
// then, when asked for, the SHA-256 of the bytes copied.
struct CopyResult {
    int error = 0;
    std::string sha256;
    bool copied() const { return error == 0; }
};

// Copies a file whole: the bytes go to a fresh file beside the target, which takes the target's
// name only once it is complete and flushed, so a failure (a full disk) leaves no part of the
// file under that name and no file of its own. With replaceExisting an existing target is
// replaced unless it is read-only; without, an existing target makes the copy fail (EEXIST).
// The copy is left writable. A copy for keeping (one into the library) is hashed as it is
// copied, which saves reading it again, and flushed to disk before it takes its name, so that it
// is whole after a crash; other copies (staged ones, made anew at every run) are neither. (Not
// CopyFile: that is a macro of the Windows headers.)
CopyResult CopyOneFile(const std::filesystem::path& from, const std::filesystem::path& to,
                       bool replaceExisting, bool forKeeping = false);

// Why a copy may not even begin (an errno value): no regular file to copy, a target that may
// not be replaced; 0 when it may.
int CopyRefusal(const std::filesystem::path& from, const std::filesystem::path& to,
                bool replaceExisting);

// Creates the folder with every missing parent; false when it is not there afterwards.
bool CreateFolderPath(const std::filesystem::path& folder);

// Replaces the file's contents in one step: the new bytes go to a fresh file of a name of its
// own beside it, which is moved over it, so an interruption or another writer at the same time
// leaves either the old or the new file, whole. Keeps the file's permissions; through a symbolic
// link the linked file gets the new contents and the link stays. Where the folder refuses new
// files but the file itself is writable, the file is rewritten in place. False when the file
// system refuses (missing folder, full disk, not a regular file, ...).
bool ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes);

// The text for a file error (an errno value) when a file cannot be created or written:
// "Invalid filename" for a missing folder, "File access denied", "Disk full", ... and
// "I/O error <code>" for the rest.
std::string FileErrorText(int errorCode);

} // namespace Platform

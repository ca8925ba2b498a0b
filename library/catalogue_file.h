// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Access to one catalogue (INI) file by its logical path. Holds nothing but the path: every
// operation reads or writes the file at once. Reading never fails: a missing file, section or
// key gives the caller's default, and so does a file that cannot be read or is no file (a
// folder). A write that the file system refuses throws UnableToWrite, and so does a write to a
// file that is there but cannot be read: the file then stays as it is.

#include "library/catalogue_reads.h"
#include "library/catalogue_snapshot.h"
#include "library/drive.h"
#include "platform/file_problem.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class UnableToWrite : public Platform::FileError
{
public:
    explicit UnableToWrite(const std::string& logicalPath, std::string reason = {})
        : Platform::FileError("Unable to write to " + logicalPath,
                              {Drive::NativePath(logicalPath), std::move(reason)})
    {
    }
};

class CatalogueFile : public CatalogueReads<CatalogueFile>
{
public:
    // For tests: called with the logical path each time this object reads its file.
    using ReadWatcher = std::function<void(const std::string& logicalPath)>;

    explicit CatalogueFile(std::string_view logicalPath, ReadWatcher watcher = {});

    void ReadSections(std::vector<std::string>& names) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // The file read once, for a load that reads many values: the same answers as the reads
    // above while the file does not change.
    CatalogueSnapshot Snapshot() const;
    // The same, for a read that decides something (a check, a lock, what changed): nothing when
    // the file is there but cannot be read, so that it never passes for an empty one. A missing
    // file is an empty catalogue.
    [[nodiscard]] std::optional<CatalogueSnapshot> ReadableSnapshot() const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    void EraseSection(std::string_view section);

private:
    // The file's text for a read: empty unless the file could be read.
    std::string readText() const;
    // The file's text before a change: empty for a missing file; throws UnableToWrite for one
    // that is there but cannot be read to its end, so that none of its entries is lost.
    std::string textToChange() const;
    void replaceText(const std::string& text);

    std::string m_path;
    ReadWatcher m_watcher;
};

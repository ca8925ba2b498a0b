// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The journal of runs: one record per run, in JSON Lines in the program's data folder. A run's
// start is appended as it starts, its end as a second line with the run's id when it ends; the
// file is only ever appended to, and each line is flushed to disk, so a crash or a kill can cut
// off at most the last line, which reading skips and counts.

#include "library/run_roles.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <QString>

namespace Platform
{
class FileReader;
}

#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace RunJournal
{

// A file of the run: its role (loader, boot, image), the library file, where its copy went.
struct File {
    QString role;
    std::string logicalPath;
    std::string stagedPath;
    std::uint64_t size = 0;
    QString sha256;
};

// How a run ended, as the journal names it.
enum class Outcome { Success, Failed, Signal, RunningAtClose, Unknown };
QString OutcomeName(Outcome outcome);

// Names, paths and the Config line are bytes, as the catalogues hold them: kept exactly (text
// where they are UTF-8, else their bytes in hexadecimal).
struct Record {
    QString id;
    QDateTime started;
    QString way; // "directly" or "DOSBox"
    std::string ports;
    std::string group;
    std::string config;
    std::vector<File> files;
    std::filesystem::path log; // the run's log file; empty in records older than logs
    // Known once the end has been recorded; Unknown, with no end, for a run never completed.
    QDateTime ended;
    Outcome outcome = Outcome::Unknown;
    std::optional<std::int64_t> code;       // the flasher's exit code, or the signal
    std::optional<std::int64_t> dosBoxCode; // DOSBox's own, under DOSBox
    QString result;                         // as the status line said it
    std::optional<std::int64_t> seconds;

    // The file of a role; null when the record has none.
    const File* file(RunRole role) const;
};

// The journal file: runs.jsonl in the data folder (data_folder.h), or in the one given.
std::filesystem::path DefaultFile();
std::filesystem::path FileIn(const std::filesystem::path& dataFolder);

// A new id for a run.
QString NewId();

// Appends the start of a run (id, started, way, ports, group, config, files, log). False, with the
// system's reason, when the file cannot be written.
bool AppendStart(const std::filesystem::path& file, const Record& record, QString& error);
// Appends the end of the run with the record's id (ended, outcome, codes, result, seconds).
bool AppendEnd(const std::filesystem::path& file, const Record& record, QString& error);

// The journal read from its newest run back, by blocks from its end, a part at a time: the
// newest runs cost as much as they are long, however long the journal, and can be shown before
// the rest is read. Lines that cannot be read (one cut off by a crash) are counted and left out.
// A journal that is not a regular file (a FIFO, a device) is refused at once; a missing one
// holds no run.
class Reader
{
public:
    explicit Reader(const std::filesystem::path& file);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // Adds up to count more runs, each with its end when one was recorded; false once the
    // oldest has been read, or the journal could not be read further.
    bool ReadMore(std::size_t count, std::vector<Record>& newestFirst);
    int unreadableLines() const { return m_unreadable; }
    // Why the journal, or the rest of it, could not be read; empty when it could.
    const QString& problem() const { return m_problem; }

private:
    // The next line back from the end; false when there is none, or on a problem.
    bool previousLine(std::string& line);

    std::unique_ptr<Platform::FileReader> m_file;
    std::string m_pending;     // read, not yet taken as lines: the bytes from m_start on
    std::uint64_t m_start = 0; // what is left to read: the bytes before it
    bool m_atStart = false;    // the first line has been taken
    QHash<QString, QJsonObject> m_ends;
    int m_unreadable = 0;
    QString m_problem;
};

// The whole journal, newest run first, or its last runs.
struct Contents {
    std::vector<Record> runs;
    int unreadableLines = 0;
    QString problem; // as Reader tells it
};
Contents Read(const std::filesystem::path& file,
              std::size_t runs = std::numeric_limits<std::size_t>::max());

} // namespace RunJournal

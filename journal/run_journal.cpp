// SPDX-License-Identifier: GPL-2.0-or-later
#include "run_journal.h"

#include "library/data_folder.h"
#include "platform/file_reader.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace RunJournal
{

namespace
{

const char* const OutcomeNames[] = {"success", "failed", "ended by signal",
                                    "running when Quorvel closed", "unknown"};

QJsonValue bytesValue(const std::string& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (!decoder.hasError())
        return text;
    return QJsonObject{
        {QStringLiteral("bytes"), QString::fromLatin1(QByteArray::fromStdString(bytes).toHex())}};
}

std::string bytesOf(const QJsonValue& value)
{
    if (value.isObject())
        return QByteArray::fromHex(value[QLatin1String("bytes")].toString().toLatin1())
            .toStdString();
    return value.toString().toStdString();
}

std::optional<std::int64_t> numberOf(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    return value.toInteger();
}

QString isoText(const QDateTime& time)
{
    // With the zone's offset, so that the journal reads the same wherever it is read.
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

std::FILE* openForAppending(const std::filesystem::path& path)
{
#ifdef _WIN32
    return ::_wfopen(path.c_str(), L"a+b");
#else
    return std::fopen(path.c_str(), "a+b");
#endif
}

// Appends one line, flushed to disk. A line cut off by a crash before it is not joined to it:
// the new line starts on a line of its own.
bool appendLine(const std::filesystem::path& path, const QJsonObject& object, QString& error)
{
    errno = 0;
    std::FILE* file = openForAppending(path);
    if (!file) {
        // The first run: the data folder may not be there yet.
        std::error_code ignored; // a folder that cannot be made shows as the file's error
        std::filesystem::create_directories(path.parent_path(), ignored);
        file = openForAppending(path);
    }
    if (!file) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    QByteArray line = QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    if (std::fseek(file, -1, SEEK_END) == 0 && std::fgetc(file) != '\n')
        line.prepend('\n');
    std::fseek(file, 0, SEEK_END); // a read must not be followed by a write without one
    errno = 0;
    bool written = std::fwrite(line.constData(), 1, std::size_t(line.size()), file) ==
                       std::size_t(line.size()) &&
                   std::fflush(file) == 0;
#ifdef _WIN32
    written = written && ::_commit(::_fileno(file)) == 0;
#else
    written = written && ::fdatasync(::fileno(file)) == 0; // the size too, not the times
#endif
    if (!written)
        error = QString::fromLocal8Bit(std::strerror(errno != 0 ? errno : EIO));
    return std::fclose(file) == 0 && written;
}

std::string pathBytes(const std::filesystem::path& path)
{
    const auto text = path.u8string();
    return std::string(text.begin(), text.end());
}

Record startOf(const QJsonObject& object)
{
    Record record;
    record.id = object.value(QLatin1String("run")).toString();
    record.started =
        QDateTime::fromString(object.value(QLatin1String("started")).toString(), Qt::ISODateWithMs);
    record.way = object.value(QLatin1String("way")).toString();
    record.ports = bytesOf(object.value(QLatin1String("ports")));
    record.group = bytesOf(object.value(QLatin1String("group")));
    record.config = bytesOf(object.value(QLatin1String("config")));
    // A path's bytes as the system gives them (UTF-16 on Windows, kept as UTF-8).
    const std::string log = bytesOf(object.value(QLatin1String("log")));
    record.log = std::filesystem::path(std::u8string(log.begin(), log.end()));
    for (const QJsonValue each : object.value(QLatin1String("files")).toArray()) {
        record.files.push_back({each[QLatin1String("role")].toString(),
                                bytesOf(each[QLatin1String("file")]),
                                bytesOf(each[QLatin1String("staged")]),
                                std::uint64_t(each[QLatin1String("size")].toInteger()),
                                each[QLatin1String("sha256")].toString()});
    }
    return record;
}

void addEnd(Record& record, const QJsonObject& object)
{
    record.ended =
        QDateTime::fromString(object.value(QLatin1String("ended")).toString(), Qt::ISODateWithMs);
    const QString outcome = object.value(QLatin1String("outcome")).toString();
    for (int each = 0; each < int(std::size(OutcomeNames)); ++each) {
        if (outcome == QLatin1String(OutcomeNames[each]))
            record.outcome = static_cast<Outcome>(each);
    }
    record.code = numberOf(object.value(QLatin1String("code")));
    record.dosBoxCode = numberOf(object.value(QLatin1String("dosBoxCode")));
    record.seconds = numberOf(object.value(QLatin1String("seconds")));
    record.result = object.value(QLatin1String("result")).toString();
}

} // namespace

QString OutcomeName(Outcome outcome)
{
    return QString::fromLatin1(OutcomeNames[static_cast<int>(outcome)]);
}

const File* Record::file(RunRole role) const
{
    const std::string_view name = RunRoles::Of(role).name;
    const QString text = QString::fromLatin1(name.data(), qsizetype(name.size()));
    for (const auto& each : files) {
        if (each.role == text)
            return &each;
    }
    return nullptr;
}

std::filesystem::path DefaultFile()
{
    return FileIn(DataFolder::Get());
}

std::filesystem::path FileIn(const std::filesystem::path& dataFolder)
{
    return dataFolder / "runs.jsonl";
}

QString NewId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

bool AppendStart(const std::filesystem::path& path, const Record& record, QString& error)
{
    QJsonArray files;
    for (const auto& file : record.files) {
        files.append(QJsonObject{{QStringLiteral("role"), file.role},
                                 {QStringLiteral("file"), bytesValue(file.logicalPath)},
                                 {QStringLiteral("staged"), bytesValue(file.stagedPath)},
                                 {QStringLiteral("size"), qint64(file.size)},
                                 {QStringLiteral("sha256"), file.sha256}});
    }
    return appendLine(path,
                      {{QStringLiteral("run"), record.id},
                       {QStringLiteral("started"), isoText(record.started)},
                       {QStringLiteral("way"), record.way},
                       {QStringLiteral("ports"), bytesValue(record.ports)},
                       {QStringLiteral("group"), bytesValue(record.group)},
                       {QStringLiteral("config"), bytesValue(record.config)},
                       {QStringLiteral("files"), files},
                       {QStringLiteral("log"), bytesValue(pathBytes(record.log))}},
                      error);
}

bool AppendEnd(const std::filesystem::path& path, const Record& record, QString& error)
{
    QJsonObject end{{QStringLiteral("run"), record.id},
                    {QStringLiteral("ended"), isoText(record.ended)},
                    {QStringLiteral("outcome"), OutcomeName(record.outcome)},
                    {QStringLiteral("result"), record.result}};
    if (record.code)
        end.insert(QStringLiteral("code"), qint64(*record.code));
    if (record.dosBoxCode)
        end.insert(QStringLiteral("dosBoxCode"), qint64(*record.dosBoxCode));
    if (record.seconds)
        end.insert(QStringLiteral("seconds"), qint64(*record.seconds));
    return appendLine(path, end, error);
}

Reader::Reader(const std::filesystem::path& path)
    : m_file(std::make_unique<Platform::FileReader>(path))
{
    switch (m_file->outcome()) {
    case Platform::ReadOutcome::Read:
        m_start = m_file->size();
        return;
    case Platform::ReadOutcome::Missing:
        break;
    case Platform::ReadOutcome::NotAFile:
        m_problem = QStringLiteral("It is not a regular file.");
        break;
    case Platform::ReadOutcome::Unreadable:
        m_problem = QString::fromStdString(m_file->error().message());
        break;
    }
    m_atStart = true;
}

Reader::~Reader() = default;

bool Reader::previousLine(std::string& line)
{
    constexpr std::size_t BlockSize = 64 * 1024;
    while (!m_atStart) {
        if (const auto newline = m_pending.rfind('\n'); newline != std::string::npos) {
            line.assign(m_pending, newline + 1);
            m_pending.resize(newline);
            return true;
        }
        if (m_start == 0) {
            m_atStart = true;
            line = std::move(m_pending);
            m_pending.clear();
            return true;
        }
        const std::size_t size = std::size_t(std::min<std::uint64_t>(BlockSize, m_start));
        std::string block(size, '\0');
        const auto got = m_file->ReadAt(m_start - size, block.data(), size);
        if (!got || *got != size) {
            // Cut by another program while it is read, or a read error: what was read stays.
            m_problem = got ? QStringLiteral("It became shorter while it was read.")
                            : QString::fromStdString(m_file->error().message());
            m_atStart = true;
            return false;
        }
        m_start -= size;
        m_pending.insert(0, block);
    }
    return false;
}

bool Reader::ReadMore(std::size_t count, std::vector<Record>& newestFirst)
{
    // Backwards: a run's end comes after its start, so it is met first and kept for it.
    std::string bytes;
    for (std::size_t found = 0; found < count && previousLine(bytes);) {
        const QByteArrayView line(bytes.data(), qsizetype(bytes.size()));
        if (line.trimmed().isEmpty())
            continue;
        QJsonObject object = QJsonDocument::fromJson(line.toByteArray()).object();
        const QString id = object.value(QLatin1String("run")).toString();
        if (id.isEmpty()) {
            ++m_unreadable;
            continue;
        }
        if (!object.contains(QLatin1String("started"))) {
            m_ends.insert(id, std::move(object));
            continue;
        }
        newestFirst.push_back(startOf(object));
        if (const auto end = m_ends.constFind(id); end != m_ends.cend()) {
            addEnd(newestFirst.back(), *end);
            m_ends.erase(end);
        }
        ++found;
    }
    return !m_atStart;
}

Contents Read(const std::filesystem::path& path, std::size_t runs)
{
    Reader reader(path);
    Contents contents;
    while (contents.runs.size() < runs &&
           reader.ReadMore(runs - contents.runs.size(), contents.runs)) {
    }
    contents.unreadableLines = reader.unreadableLines();
    contents.problem = reader.problem();
    return contents;
}

} // namespace RunJournal

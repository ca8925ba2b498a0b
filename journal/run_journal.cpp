// SPDX-License-Identifier: GPL-2.0-or-later
#include "run_journal.h"

#include "forms/common/file_path.h"
#include "library/data_folder.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <QUuid>

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

const File* Record::file(const QString& role) const
{
    for (const auto& each : files) {
        if (each.role == role)
            return &each;
    }
    return nullptr;
}

std::filesystem::path DefaultFile()
{
    return DataFolder::Get() / "runs.jsonl";
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
                       {QStringLiteral("files"), files}},
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
    : m_file(std::make_unique<QFile>(FilePathText(path)))
{
    if (!m_file->open(QIODevice::ReadOnly))
        return;
    // Mapped, not read: only the part read back from the end is touched.
    if (uchar* mapped = m_file->map(0, m_file->size()))
        m_bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), m_file->size());
    else
        m_bytes = m_file->readAll();
    m_end = m_bytes.size();
}

Reader::~Reader() = default;

bool Reader::ReadMore(std::size_t count, std::vector<Record>& newestFirst)
{
    // Backwards: a run's end comes after its start, so it is met first and kept for it.
    for (std::size_t found = 0; found < count && m_end > 0;) {
        const qsizetype newline = m_bytes.lastIndexOf('\n', m_end - 1);
        const QByteArrayView line(m_bytes.constData() + newline + 1, m_end - newline - 1);
        m_end = std::max<qsizetype>(newline, 0);
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
    return m_end > 0;
}

Contents Read(const std::filesystem::path& path)
{
    Reader reader(path);
    Contents contents;
    while (reader.ReadMore(std::numeric_limits<std::size_t>::max(), contents.runs)) {
    }
    contents.unreadableLines = reader.unreadableLines();
    return contents;
}

} // namespace RunJournal

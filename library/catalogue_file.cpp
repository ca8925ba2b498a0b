// SPDX-License-Identifier: GPL-2.0-or-later
#include "catalogue_file.h"

#include "library/drive.h"
#include "library/profile_text.h"
#include "platform/files.h"

#include <cerrno>

CatalogueFile::CatalogueFile(std::string_view logicalPath, ReadWatcher watcher)
    : m_path(logicalPath), m_watcher(std::move(watcher))
{
}

std::string CatalogueFile::readText() const
{
    if (m_watcher)
        m_watcher(m_path);
    // Reading a catalogue gives defaults where it cannot be read; writing it looks closer.
    return Platform::ReadFileBytes(Drive::NativePath(m_path)).bytes.value_or("");
}

std::optional<CatalogueSnapshot> CatalogueFile::ReadableSnapshot() const
{
    if (m_watcher)
        m_watcher(m_path);
    auto file = Platform::ReadFileBytes(Drive::NativePath(m_path));
    if (file.outcome == Platform::ReadOutcome::Missing)
        return CatalogueSnapshot(std::string());
    if (!file.bytes)
        return std::nullopt;
    return CatalogueSnapshot(std::move(*file.bytes));
}

std::string CatalogueFile::textToChange() const
{
    auto file = Platform::ReadFileBytes(Drive::NativePath(m_path));
    if (file.outcome == Platform::ReadOutcome::Missing)
        return {};
    if (!file.bytes)
        throw UnableToWrite(m_path, file.error.message());
    return std::move(*file.bytes);
}

void CatalogueFile::replaceText(const std::string& text)
{
    const auto native = Drive::NativePath(m_path);
    if (Platform::IsReadOnly(native))
        throw UnableToWrite(m_path, Platform::ReasonText(EACCES));
    errno = 0;
    if (!Platform::ReplaceFileContents(native, text))
        throw UnableToWrite(m_path, Platform::ReasonText(errno)); // none known on Windows
}

void CatalogueFile::ReadSections(std::vector<std::string>& names) const
{
    names = ProfileText::SectionNames(readText());
}

std::string CatalogueFile::ReadString(std::string_view section, std::string_view key,
                                      std::string_view defaultValue) const
{
    return ValueOr(ProfileText::FindValue(readText(), section, key), defaultValue);
}

CatalogueSnapshot CatalogueFile::Snapshot() const
{
    return CatalogueSnapshot(readText());
}

void CatalogueFile::WriteString(std::string_view section, std::string_view key,
                                std::string_view value)
{
    replaceText(ProfileText::WithValue(textToChange(), section, key, value));
}

void CatalogueFile::WriteInteger(std::string_view section, std::string_view key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void CatalogueFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void CatalogueFile::EraseSection(std::string_view section)
{
    if (const auto text = ProfileText::WithoutSection(textToChange(), section))
        replaceText(*text);
}

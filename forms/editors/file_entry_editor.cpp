// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/editors/file_entry_editor.h"

#include "forms/common/text.h"
#include "forms/editors/status_picker.h"

#include <QLineEdit>

namespace
{

EditedList listOf(EntryKind kind)
{
    switch (kind) {
    case EntryKind::Tia:
        return EditedList::Tia;
    case EntryKind::Boot:
        return EditedList::Boot;
    case EntryKind::Flash:
        break;
    }
    return EditedList::Flash;
}

} // namespace

FileEntryEditor::FileEntryEditor(EntryKind kind, const EntryTexts& texts, OpenDialog& openDialog,
                                 QWidget* parent)
    : CatalogueEditor(listOf(kind), openDialog, parent), m_kind(kind), m_texts(texts)
{
}

void FileEntryEditor::setUpEntryEditor(const EditorLayout& layout, const EntryFields& fields)
{
    m_fields = fields;
    EditorLayout withFileField = layout;
    withFileField.fileField = fields.name;
    setUpEditor(withFileField);
}

void FileEntryEditor::SpeedButton1Click()
{
    FileEntrySteps::Browse(openDialog(), this, m_texts.browse,
                           CatalogueEntries::Folder(m_kind, group()), m_fields.name);
}

void FileEntryEditor::BitBtn1Click()
{
    using FileEntrySteps::IsBlank;
    const std::string name = Text::Bytes(m_fields.name);
    std::vector<FileEntrySteps::Check> checks{
        {IsBlank(m_fields.name), m_fields.name, m_texts.selectFileFirst}};
    if (m_fields.second)
        checks.push_back({IsBlank(m_fields.second), m_fields.second, m_texts.enterSecond});
    checks.push_back(
        {m_fields.status->statusCode() < 0, m_fields.status, QStringLiteral("Select status")});
    // After the field checks, both about the name: only what the library holds becomes an entry
    // (a run would fail on it later), and no image takes the place of a staged file.
    if (m_kind == EntryKind::Flash)
        checks.push_back(FileEntrySteps::NotStagedNameCheck(name, m_fields.name));
    checks.push_back(FileEntrySteps::InLibraryCheck(CatalogueEntries::Folder(m_kind, group()), name,
                                                    m_fields.name));
    if (!FileEntrySteps::PassChecks(checks))
        return;

    const std::string entryGroup = group();
    CatalogueEntry entry{.name = name,
                         .type = {},
                         .address = {},
                         .status = m_fields.status->statusCode(),
                         .description = Text::Bytes(m_fields.description)};
    if (m_fields.second)
        entry.*m_fields.secondKey = Text::Bytes(m_fields.second);
    CatalogueEntries::Write(m_kind, entryGroup, entry);

    finishWrite({m_fields.name, m_fields.second, m_fields.status, m_fields.description}, entryGroup,
                m_texts.added);
}

void FileEntryEditor::editEntry(const std::string& name)
{
    const CatalogueEntry entry = CatalogueEntries::Read(m_kind, group(), name);
    Text::Show(m_fields.name, entry.name);
    if (m_fields.second)
        Text::Show(m_fields.second, entry.*m_fields.secondKey);
    m_fields.status->setStatusCode(entry.status);
    Text::Show(m_fields.description, entry.description);
    exec();
}

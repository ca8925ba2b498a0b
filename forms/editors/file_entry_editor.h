// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The editor of a file entry, which the TIA, boot and flash file dialogs are: browse copies the
// picked file into the entry's library folder; OK checks the file name, the second field (if
// any) and the status in this order, writes the entry and clears the fields. What differs
// between them is data: their texts, their fields and the catalogue key of the second field.

#include "forms/editors/catalogue_editor.h"
#include "forms/editors/file_entry_steps.h"
#include "library/catalogue_entries.h"

#include <string>

class QLineEdit;
class StatusPicker;

// What a file entry editor says, apart from its browse texts.
struct EntryTexts {
    FileEntrySteps::BrowseTexts browse;
    QString selectFileFirst;
    QString enterSecond; // the notice for an empty second field
    QString added;       // the question after a completed OK
};

// The fields of a file entry in the layout; second is null where there is none.
struct EntryFields {
    QLineEdit* name;
    QLineEdit* second;
    std::string CatalogueEntry::*secondKey; // the catalogue key the second field holds
    StatusPicker* status;
    QLineEdit* description;
};

class FileEntryEditor : public CatalogueEditor
{
    Q_OBJECT

protected:
    FileEntryEditor(EntryKind kind, const EntryTexts& texts, OpenDialog& openDialog,
                    QWidget* parent);

    void setUpEntryEditor(const EditorLayout& layout, const EntryFields& fields);

    // Fills the fields from the catalogue entry of that name and shows the dialog modally.
    void editEntry(const std::string& name);

    // The group the entry belongs to; none but for flash files.
    virtual std::string group() const { return {}; }

    void SpeedButton1Click() override;
    void BitBtn1Click() override;

private:
    EntryKind m_kind;
    EntryTexts m_texts;
    EntryFields m_fields{};
};

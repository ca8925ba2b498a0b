// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The TIA dialog: adds a TIA file (flash loader) to the library and edits its catalogue entry.
// Its fields keep their contents from one showing to the next; only a completed OK clears them.

#include "forms/editors/file_entry_editor.h"

#include <QScopedPointer>
#include <string>

namespace Ui
{
class To_fTia;
}

class To_fTia : public FileEntryEditor
{
    Q_OBJECT

public:
    To_fTia(OpenDialog& openDialog, QWidget* parent = nullptr);
    ~To_fTia() override;

    // Fills the dialog from the TIA catalogue entry of that name and shows it.
    void EditTiaEntry(const std::string& name) { editEntry(name); }

    Ui::To_fTia* ui() const { return m_ui.data(); }

private:
    const QScopedPointer<Ui::To_fTia> m_ui;
};

extern To_fTia* o_fTia;

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The boot dialog: adds a boot file to the library and edits its catalogue entry.
// Its fields keep their contents from one showing to the next; only a completed OK clears them.

#include "forms/editors/file_entry_editor.h"

#include <QScopedPointer>
#include <string>

namespace Ui
{
class To_fBoot;
}

class To_fBoot : public FileEntryEditor
{
    Q_OBJECT

public:
    To_fBoot(OpenDialog& openDialog, QWidget* parent = nullptr);
    ~To_fBoot() override;

    // Fills the dialog from the boot catalogue entry of that name and shows it.
    void EditBootEntry(const std::string& name) { editEntry(name); }

    Ui::To_fBoot* ui() const { return m_ui.data(); }

private:
    const QScopedPointer<Ui::To_fBoot> m_ui;
};

extern To_fBoot* o_fBoot;

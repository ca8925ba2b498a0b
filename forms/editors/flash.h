// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The flash file dialog: adds a flash image to a phone group and edits its catalogue entry. The
// main window hands it the group whose page is in front each time it opens it; the other fields
// keep their contents from one showing to the next until a completed OK.

#include "forms/editors/file_entry_editor.h"

#include <QScopedPointer>
#include <string>

namespace Ui
{
class To_fFlash;
}

class To_fFlash : public FileEntryEditor
{
    Q_OBJECT

public:
    To_fFlash(OpenDialog& openDialog, QWidget* parent = nullptr);
    ~To_fFlash() override;

    // Shows the dialog modally for the group, with its other fields as they are.
    void ShowForGroup(const std::string& group);
    // Fills the dialog from the group's flash catalogue entry of that name and shows it.
    void EditFlashEntry(const std::string& group, const std::string& name);

    Ui::To_fFlash* ui() const { return m_ui.data(); }

private:
    // The group the dialog works on: the bytes of o_tPhoneGroup.
    std::string group() const override;

    const QScopedPointer<Ui::To_fFlash> m_ui;
};

extern To_fFlash* o_fFlash;

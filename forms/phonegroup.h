// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The phone group dialog: adds a phone group (its flasher configuration entry and its wiring
// schematic) to the phone catalogue, or changes the group in front of the main window. Its
// fields and picture keep their contents between showings; a double-click on the picture shows
// it large in the schematic window.

#include "catalogue_editor.h"

#include <QScopedPointer>
#include <optional>
#include <string>

namespace Ui
{
class To_fPhoneGroup;
}

class To_fPhoneGroup : public CatalogueEditor
{
    Q_OBJECT

public:
    To_fPhoneGroup(OpenDialog& openDialog, QWidget* parent = nullptr);
    ~To_fPhoneGroup() override;

    // Fills the dialog from the group in front of the main window, if any, and shows it. A
    // stored schematic that cannot be loaded is named in a notice, and the picture stays empty.
    void ShowPhoneGroupDialog(const std::optional<std::string>& groupInFront);

    Ui::To_fPhoneGroup* ui() const { return m_ui.data(); }

private:
    void SpeedButton1Click() override;
    void Image1DblClick();
    void BitBtn1Click() override;
    // The stored schematic of the group shown, or an empty picture.
    void showStoredSchematic();

    const QScopedPointer<Ui::To_fPhoneGroup> m_ui;
};

extern To_fPhoneGroup* o_fPhoneGroup;

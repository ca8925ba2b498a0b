// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The phone group dialog: adds a phone group (its flasher configuration entry and its wiring
// schematic) to the phone catalogue, or changes the group in front of the main window. Its
// fields and picture keep their contents between showings; a double-click on the picture shows
// it large in the schematic window. Pictures are loaded while the dialog answers: the picture
// comes when ready, unless OK, Close or another browse came first.

#include "forms/editors/catalogue_editor.h"
#include "platform/pictures/vector_drawing.h"

#include <QScopedPointer>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class PictureRequest;

namespace Ui
{
class To_fPhoneGroup;
}

class To_fPhoneGroup : public CatalogueEditor
{
    Q_OBJECT

public:
    // Schematics that are drawings are decoded by pictureHelper.
    To_fPhoneGroup(OpenDialog& openDialog, VectorDrawing::Helper pictureHelper,
                   QWidget* parent = nullptr);
    ~To_fPhoneGroup() override;

    // For tests: another helper, or another time limit, for the pictures asked for next.
    void SetPictureHelper(VectorDrawing::Helper helper) { m_pictureHelper = std::move(helper); }

    // Fills the dialog from the group in front of the main window, if any, and shows it. A
    // stored schematic that cannot be loaded is told in an error box, and the picture stays
    // empty.
    void ShowPhoneGroupDialog(const std::optional<std::string>& groupInFront);

    Ui::To_fPhoneGroup* ui() const { return m_ui.data(); }

private:
    void SpeedButton1Click() override;
    void Image1DblClick();
    void BitBtn1Click() override;
    // The stored schematic of the group shown, or an empty picture.
    void showStoredSchematic();
    // Shows the file's picture when it is loaded, then runs whenShown; a refused one is told in
    // an error box naming the file, and the picture stays as it was. Drops the picture asked for
    // before.
    void showPicture(const std::filesystem::path& file, const std::string& shownPath,
                     std::function<void()> whenShown = {});

    void hideEvent(QHideEvent* event) override;

    const QScopedPointer<Ui::To_fPhoneGroup> m_ui;
    // The picture being loaded: dropped by OK, by closing and by the next one asked for.
    std::unique_ptr<PictureRequest> m_pictureRequest;
    VectorDrawing::Helper m_pictureHelper;
};

extern To_fPhoneGroup* o_fPhoneGroup;

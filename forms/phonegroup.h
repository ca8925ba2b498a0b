#pragma once
// The phone group dialog: adds a phone group (its flasher configuration entry and its wiring
// schematic) to the phone catalogue, or changes the group in front of the main window. Its
// fields and picture keep their contents between showings; a double-click on the picture shows
// it large in the schematic window.

#include <QDialog>
#include <QScopedPointer>

namespace Ui
{
class To_fPhoneGroup;
}

class To_fPhoneGroup : public QDialog
{
    Q_OBJECT

public:
    explicit To_fPhoneGroup(QWidget* parent = nullptr);
    ~To_fPhoneGroup() override;

    // Fills the dialog from the group in front, if any, and shows it. A stored schematic that
    // cannot be loaded stops it before it is shown.
    void ShowPhoneGroupDialog();

    Ui::To_fPhoneGroup* ui() const { return m_ui.data(); }

private slots:
    void SpeedButton1Click();
    void Image1DblClick();
    void BitBtn1Click();
    void BitBtn2Click();

private:
    const QScopedPointer<Ui::To_fPhoneGroup> m_ui;
};

extern To_fPhoneGroup* o_fPhoneGroup;

#pragma once
// The phone group dialog: adds a phone group with its flasher configuration entry and schematic.

#include <QDialog>

class To_fPhoneGroup : public QDialog
{
    Q_OBJECT

public:
    explicit To_fPhoneGroup(QWidget* parent = nullptr);

    // Fills the dialog from the group in front, if any, and shows it.
    void ShowPhoneGroupDialog();
};

extern To_fPhoneGroup* o_fPhoneGroup;

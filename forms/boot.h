#pragma once
// The boot dialog: adds a boot file to the library and edits its catalogue entry.

#include <QDialog>
#include <string>

class To_fBoot : public QDialog
{
    Q_OBJECT

public:
    explicit To_fBoot(QWidget* parent = nullptr);

    // Fills the dialog from the boot catalogue entry of that name and shows it.
    void EditBootEntry(const std::string& name);
};

extern To_fBoot* o_fBoot;

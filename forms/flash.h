#pragma once
// The flash file dialog: adds a flash image to a phone group and edits its catalogue entry.

#include <QDialog>
#include <string>

class To_fFlash : public QDialog
{
    Q_OBJECT

public:
    explicit To_fFlash(QWidget* parent = nullptr);

    // Fills the dialog from the flash catalogue entry of that name of the group in front and
    // shows it.
    void EditFlashEntry(const std::string& name);
};

extern To_fFlash* o_fFlash;

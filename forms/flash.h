#pragma once
// The flash file dialog: adds a flash image to a phone group and edits its catalogue entry.

#include <QDialog>

class To_fFlash : public QDialog
{
    Q_OBJECT

public:
    explicit To_fFlash(QWidget* parent = nullptr);
};

extern To_fFlash* o_fFlash;

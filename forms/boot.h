#pragma once
// The boot dialog: adds a boot file to the library and edits its catalogue entry.

#include <QDialog>

class To_fBoot : public QDialog
{
    Q_OBJECT

public:
    explicit To_fBoot(QWidget* parent = nullptr);
};

extern To_fBoot* o_fBoot;

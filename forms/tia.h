#pragma once
// The TIA dialog: adds a TIA file to the library and edits its catalogue entry.

#include <QDialog>

class To_fTia : public QDialog
{
    Q_OBJECT

public:
    explicit To_fTia(QWidget* parent = nullptr);
};

extern To_fTia* o_fTia;

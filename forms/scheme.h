#pragma once
// The schematic window: shows and prints a phone group's wiring schematic. Not modal.

#include <QWidget>

class To_fScheme : public QWidget
{
    Q_OBJECT

public:
    explicit To_fScheme(QWidget* parent = nullptr);
};

extern To_fScheme* o_fScheme;

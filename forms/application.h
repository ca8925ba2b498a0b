// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The application object. It is the one place where an error that a handler did not handle
// ends: the user action stops, the error box shows the text, and the program goes on.

#include <QApplication>

class Application : public QApplication
{
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

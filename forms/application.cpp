// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/application.h"

#include "forms/common/handlers.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Quorvel"));
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    // Only a backstop: every handler is guarded where it ends (handlers.h).
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        Handlers::ShowCurrentException();
    }
    return true;
}

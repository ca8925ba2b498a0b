#include "application.h"

#include "message_boxes.h"

#include <exception>

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Quorvel"));
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    // An exception must never cross the event loop.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowUnexpectedError(error);
    } catch (...) {
        ShowUnexpectedError(QStringLiteral("Unexpected error"));
    }
    return true;
}

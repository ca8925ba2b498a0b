// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/common/remembered_place.h"

#include "forms/common/handlers.h"
#include "forms/common/settings_store.h"
#include "forms/common/window_setup.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace RememberedPlace
{

namespace
{

bool onScreens(const QRect& frame)
{
    QRegion screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens += screen->availableGeometry();
    return QRegion(frame).subtracted(screens).isEmpty();
}

class PlaceKeeper : public QObject
{
public:
    PlaceKeeper(QWidget* window, const QString& name, QSize firstSize, Measure measure)
        : QObject(window), m_window(window), m_name(name), m_firstSize(firstSize),
          m_measure(measure)
    {
        window->installEventFilter(this);
        // A window still shown when the program ends is not hidden before.
        connect(qApp, &QCoreApplication::aboutToQuit, this, Handlers::Guard([this] {
                    if (m_window->isVisible())
                        save();
                }));
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        // Minimising and restoring the window leave its place alone.
        if (event->type() == QEvent::Show && !event->spontaneous())
            restore();
        else if (event->type() == QEvent::Hide && !event->spontaneous())
            save();
        else if (m_fitWhenFramed && event->type() == QEvent::Move)
            fitFramed();
        return false;
    }

private:
    QString key(const char* what) const { return m_name + QLatin1Char('/') + QLatin1String(what); }

    // The store's value, or what an earlier version left in its own place.
    static QVariant stored(const QSettings& settings, const QString& key)
    {
        const QVariant value = settings.value(key);
        return value.isValid() ? value : SettingsStore::Earlier(key);
    }

    void restore()
    {
        const auto settings = SettingsStore::Open();
        const QMargins margins = WindowSetup::FrameMargins(m_window);
        const QSize first =
            m_measure == Measure::Frame ? m_firstSize.shrunkBy(margins) : m_firstSize;
        QSize size = stored(*settings, key("size")).toSize();
        if (!size.isValid())
            size = first;
        // The client area's place. An earlier version kept the frame's.
        QVariant position = settings->value(key("position"));
        if (!position.isValid()) {
            if (const QVariant frame = SettingsStore::Earlier(key("position")); frame.isValid())
                position = frame.toPoint() + QPoint(margins.left(), margins.top());
        }
        const QScreen* screen =
            position.isValid() ? QGuiApplication::screenAt(position.toPoint()) : nullptr;
        if (!screen)
            screen = m_window->screen();
        // Never larger than the screen: centred, a larger window would have its title bar above it.
        if (screen)
            size = size.boundedTo(screen->availableGeometry().size().shrunkBy(margins));
        m_window->resize(size.expandedTo(m_window->minimumSize()));
        // Placed by its client area: a window's frame is not known before its first showing on
        // every system, and a place given with the frame would be taken for the client's.
        const QRect client(position.toPoint(), m_window->size());
        if (position.isValid() && onScreens(client.marginsAdded(margins)))
            m_window->setGeometry(client);
        else
            WindowSetup::CentreOnScreen(m_window);
        if (settings->value(key("maximised")).toBool())
            m_window->setWindowState(m_window->windowState() | Qt::WindowMaximized);
        // Fitted without its frame (the first window of the program under X11): fitted again
        // once framed, so that the frame does not run past the screen's edge.
        m_fitWhenFramed = margins.isNull();
    }

    void fitFramed()
    {
        const QMargins margins = WindowSetup::FrameMargins(m_window);
        const QScreen* screen = m_window->screen();
        if (margins.isNull() || !screen)
            return;
        m_fitWhenFramed = false;
        const QRect room = screen->availableGeometry();
        if (m_window->isMaximized() || room.contains(m_window->frameGeometry()))
            return;
        m_window->resize(m_window->size().boundedTo(room.size().shrunkBy(margins)));
        WindowSetup::CentreOnScreen(m_window);
    }

    void save()
    {
        const auto settings = SettingsStore::Open();
        const bool maximised = m_window->isMaximized();
        // A maximised window keeps the place it comes back to when restored.
        const QRect normal = maximised ? m_window->normalGeometry() : m_window->geometry();
        settings->setValue(key("size"), normal.size());
        settings->setValue(key("position"), normal.topLeft());
        settings->setValue(key("maximised"), maximised);
    }

    QWidget* m_window;
    const QString m_name;
    const QSize m_firstSize;
    const Measure m_measure;
    bool m_fitWhenFramed = false;
};

} // namespace

void Keep(QWidget* window, const QString& name, QSize firstSize, Measure measure)
{
    // The keeper is the window's child, so it goes with the window.
    new PlaceKeeper(window, name, firstSize, measure);
}

} // namespace RememberedPlace

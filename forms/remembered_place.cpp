// SPDX-License-Identifier: GPL-2.0-or-later
#include "remembered_place.h"

#include "handlers.h"
#include "window_setup.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <memory>

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
    PlaceKeeper(QWidget* window, const QString& name, QSize firstFrameSize)
        : QObject(window), m_window(window), m_size(name + QStringLiteral("/size")),
          m_position(name + QStringLiteral("/position")), m_firstFrameSize(firstFrameSize)
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
        return false;
    }

private:
    static std::unique_ptr<QSettings> settings()
    {
        const QString name = QCoreApplication::applicationName();
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, name,
                                           name);
    }

    void restore()
    {
        const auto stored = settings();
        const QMargins margins = WindowSetup::FrameMargins(m_window);
        const QSize size = stored->value(m_size).toSize();
        m_window->resize(size.isValid() ? size : m_firstFrameSize.shrunkBy(margins));
        const QVariant position = stored->value(m_position);
        const QRect frame(position.toPoint(), m_window->size().grownBy(margins));
        if (position.isValid() && onScreens(frame))
            m_window->move(frame.topLeft());
        else
            WindowSetup::CentreOnScreen(m_window);
    }

    void save()
    {
        const auto stored = settings();
        stored->setValue(m_size, m_window->size());
        stored->setValue(m_position, m_window->pos());
    }

    QWidget* m_window;
    const QString m_size;
    const QString m_position;
    const QSize m_firstFrameSize;
};

} // namespace

void Keep(QWidget* window, const QString& name, QSize firstFrameSize)
{
    // The keeper is the window's child, so it goes with the window.
    new PlaceKeeper(window, name, firstFrameSize);
}

} // namespace RememberedPlace

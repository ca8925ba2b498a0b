// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/main_window/keyboard.h"

#include "forms/common/handlers.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace Keyboard
{

namespace
{

bool isEnter(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

class EnterPresses : public QObject
{
public:
    explicit EnterPresses(QAbstractButton* button) : QObject(button), m_button(button)
    {
        button->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (!isEnter(event))
            return false;
        m_button->click();
        return true;
    }

private:
    QAbstractButton* m_button;
};

class ArrowGroup : public QObject
{
public:
    explicit ArrowGroup(const QList<QAbstractButton*>& buttons)
        : QObject(buttons.first()), m_buttons(buttons)
    {
        QAbstractButton* stop = m_buttons.first();
        for (QAbstractButton* button : m_buttons) {
            button->installEventFilter(this);
            PressOnEnter(button);
            if (button->isChecked())
                stop = button;
            connect(button, &QAbstractButton::toggled, this,
                    Handlers::Guard([this, button](bool checked) {
                        if (checked)
                            makeTabStop(button);
                    }));
        }
        makeTabStop(stop);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto at = m_buttons.indexOf(static_cast<QAbstractButton*>(watched));
        if (event->type() == QEvent::FocusIn)
            makeTabStop(m_buttons[at]);
        if (event->type() != QEvent::KeyPress)
            return false;
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            moveFocus(at - 1);
            return true;
        case Qt::Key_Down:
        case Qt::Key_Right:
            moveFocus(at + 1);
            return true;
        default:
            return false;
        }
    }

private:
    void moveFocus(qsizetype to)
    {
        if (to >= 0 && to < m_buttons.size())
            m_buttons[to]->setFocus(Qt::TabFocusReason);
    }

    // Tab enters the group at this button; clicks take no focus, as before.
    void makeTabStop(QAbstractButton* stop)
    {
        for (QAbstractButton* button : m_buttons)
            button->setFocusPolicy(button == stop ? Qt::TabFocus : Qt::NoFocus);
    }

    QList<QAbstractButton*> m_buttons;
};

} // namespace

void PressOnEnter(QAbstractButton* button)
{
    new EnterPresses(button); // the button's child, so it goes with it
}

void MakeArrowGroup(const QList<QAbstractButton*>& buttons)
{
    if (!buttons.isEmpty())
        new ArrowGroup(buttons);
}

} // namespace Keyboard

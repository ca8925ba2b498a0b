// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/main_window/find_field.h"

#include "forms/common/handlers.h"
#include "forms/common/list_views.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>

namespace FindField
{

namespace
{

class FieldKeys : public QObject
{
public:
    FieldKeys(QLineEdit* field, std::function<void()> onEnter)
        : QObject(field), m_field(field), m_onEnter(std::move(onEnter))
    {
        field->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        // Asked first, so that the window does not take Esc (Exit) or Enter (Start).
        if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key != Qt::Key_Escape && key != Qt::Key_Return && key != Qt::Key_Enter)
                return false;
            if (event->type() == QEvent::KeyPress) {
                if (key == Qt::Key_Escape)
                    m_field->clear();
                else
                    Handlers::Run(m_onEnter);
            }
            event->accept();
            return true;
        }
        return false;
    }

private:
    QLineEdit* m_field;
    std::function<void()> m_onEnter;
};

} // namespace

void SetUp(QLineEdit* field, QWidget* window, Lists lists)
{
    QObject::connect(field, &QLineEdit::textChanged, window,
                     [shown = std::move(lists.shown)](const QString& text) {
                         Handlers::Run([&] {
                             for (QTreeWidget* list : shown()) {
                                 if (list)
                                     ListViews::Filter(list, text);
                             }
                         });
                     });
    new FieldKeys(field, [inFront = std::move(lists.inFront)] {
        if (QTreeWidget* list = inFront())
            list->setFocus(Qt::OtherFocusReason);
    });
    auto* find = new QShortcut(QKeySequence::Find, window);
    QObject::connect(find, &QShortcut::activated, field, [field] {
        field->setFocus(Qt::ShortcutFocusReason);
        field->selectAll();
    });
}

} // namespace FindField

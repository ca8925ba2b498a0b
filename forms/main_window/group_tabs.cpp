// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/main_window/group_tabs.h"

#include "forms/common/handlers.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

namespace GroupTabs
{

namespace
{

constexpr int PageRole = Qt::UserRole;

QString caption(const QTabWidget* pages, int index)
{
    QString text = pages->tabText(index);
    return text.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

// The next page in that direction whose tab can be reached, or -1.
int neighbour(const QTabWidget* pages, int step)
{
    for (int index = pages->currentIndex() + step; index >= 0 && index < pages->count();
         index += step) {
        if (pages->isTabVisible(index) && pages->isTabEnabled(index))
            return index;
    }
    return -1;
}

void step(QTabWidget* pages, int direction)
{
    if (const int index = neighbour(pages, direction); index >= 0)
        pages->setCurrentIndex(index);
}

// The list of every group by name, narrowed by what its field holds.
class GroupList : public QFrame
{
public:
    GroupList(QTabWidget* pages, int firstGroupPage)
        : QFrame(pages, Qt::Popup), m_pages(pages), m_filter(new QLineEdit(this)),
          m_names(new QListWidget(this))
    {
        setObjectName(QStringLiteral("GroupList"));
        setAttribute(Qt::WA_DeleteOnClose);
        setFrameShape(QFrame::StyledPanel);
        m_filter->setPlaceholderText(QStringLiteral("Find a group"));
        m_filter->setClearButtonEnabled(true);
        m_filter->installEventFilter(this);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(4, 4, 4, 4);
        layout->addWidget(m_filter);
        layout->addWidget(m_names);

        QList<QListWidgetItem*> items;
        for (int index = firstGroupPage; index < pages->count(); ++index) {
            auto* item = new QListWidgetItem(caption(pages, index));
            item->setData(PageRole, index);
            items << item;
        }
        std::stable_sort(items.begin(), items.end(), [](const auto* a, const auto* b) {
            return a->text().compare(b->text(), Qt::CaseInsensitive) < 0;
        });
        for (auto* item : items) {
            m_names->addItem(item);
            if (item->data(PageRole).toInt() == pages->currentIndex())
                m_names->setCurrentItem(item);
        }

        connect(m_filter, &QLineEdit::textChanged, this,
                Handlers::Guard([this](const QString&) { narrow(); }));
        connect(m_names, &QListWidget::itemActivated, this,
                Handlers::Guard([this](QListWidgetItem* item) { choose(item); }));
        connect(m_names, &QListWidget::itemClicked, this,
                Handlers::Guard([this](QListWidgetItem* item) { choose(item); }));
    }

    void showBelow(const QWidget* button)
    {
        resize(std::max(220, button->width()), 300);
        QPoint at = button->mapToGlobal(QPoint(button->width() - width(), button->height()));
        move(at);
        show();
        m_filter->setFocus(Qt::PopupFocusReason);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Enter in the field takes the group marked in the list; the arrows move the mark.
        if (watched == m_filter && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                Handlers::Run([this] { choose(m_names->currentItem()); });
                return true;
            }
            if (key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_PageDown ||
                key == Qt::Key_PageUp) {
                QApplication::sendEvent(m_names, event);
                return true;
            }
        }
        return QFrame::eventFilter(watched, event);
    }

private:
    void narrow()
    {
        const QString text = m_filter->text();
        QListWidgetItem* first = nullptr;
        for (int row = 0; row < m_names->count(); ++row) {
            QListWidgetItem* item = m_names->item(row);
            item->setHidden(!item->text().contains(text, Qt::CaseInsensitive));
            if (!item->isHidden() && !first)
                first = item;
        }
        if (!m_names->currentItem() || m_names->currentItem()->isHidden())
            m_names->setCurrentItem(first);
    }

    void choose(const QListWidgetItem* item)
    {
        if (!item || item->isHidden())
            return;
        m_pages->setCurrentIndex(item->data(PageRole).toInt());
        close();
    }

    QTabWidget* m_pages;
    QLineEdit* m_filter;
    QListWidget* m_names;
};

// Typing on the tab bar, its scroll arrows and the wheel.
class TabBarKeys : public QObject
{
public:
    TabBarKeys(QTabWidget* pages, int firstGroupPage)
        : QObject(pages), m_pages(pages), m_firstGroupPage(firstGroupPage)
    {
        QTabBar* bar = pages->tabBar();
        bar->installEventFilter(this);
        // The arrows bring the next page to the front, so the tab in front never scrolls away.
        for (auto* arrow : bar->findChildren<QToolButton*>(QString(), Qt::FindDirectChildrenOnly)) {
            const int direction = arrow->arrowType() == Qt::LeftArrow ? -1 : 1;
            QObject::disconnect(arrow, nullptr, bar, nullptr);
            connect(arrow, &QToolButton::pressed, this,
                    Handlers::Guard([this, direction] { step(m_pages, direction); }));
        }
        m_sinceTyped.start();
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() == QEvent::Wheel) {
            const QPoint delta = static_cast<QWheelEvent*>(event)->angleDelta();
            const int amount = std::abs(delta.y()) >= std::abs(delta.x()) ? delta.y() : delta.x();
            if (amount != 0)
                Handlers::Run([&] { step(m_pages, amount > 0 ? -1 : 1); });
            return true;
        }
        if (event->type() == QEvent::FocusOut)
            m_typed.clear();
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* press = static_cast<QKeyEvent*>(event);
        const QString text = press->text();
        if (text.isEmpty() || !text.at(0).isPrint() || text.at(0).isSpace() ||
            (press->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            return false;
        if (m_sinceTyped.restart() > QApplication::keyboardInputInterval())
            m_typed.clear();
        m_typed += text;
        Handlers::Run([this] { jump(); });
        return true;
    }

private:
    bool startsWith(int index, const QString& prefix) const
    {
        return caption(m_pages, index).startsWith(prefix, Qt::CaseInsensitive);
    }

    void jump()
    {
        for (int index = m_firstGroupPage; index < m_pages->count(); ++index) {
            if (startsWith(index, m_typed)) {
                m_pages->setCurrentIndex(index);
                return;
            }
        }
        // One letter typed again and again goes through the groups that start with it.
        if (m_typed.count(m_typed.front()) != m_typed.size())
            return;
        const QString letter = m_typed.left(1);
        const int groups = m_pages->count() - m_firstGroupPage;
        for (int offset = 1; offset <= groups; ++offset) {
            const int index = m_firstGroupPage +
                              (std::max(m_pages->currentIndex() - m_firstGroupPage, -1) + offset) %
                                  std::max(groups, 1);
            if (startsWith(index, letter)) {
                m_pages->setCurrentIndex(index);
                return;
            }
        }
    }

    QTabWidget* m_pages;
    const int m_firstGroupPage;
    QString m_typed;
    QElapsedTimer m_sinceTyped;
};

} // namespace

void SetUp(QTabWidget* pages, int firstGroupPage)
{
    // A click on a tab gives the bar the focus too, so that typing can go on from there.
    pages->tabBar()->setFocusPolicy(Qt::StrongFocus);
    new TabBarKeys(pages, firstGroupPage);
    auto* button = new QToolButton(pages);
    button->setObjectName(QStringLiteral("GroupsButton"));
    button->setText(QStringLiteral("Groups"));
    button->setToolTip(QStringLiteral("All phone groups by name"));
    button->setFocusPolicy(Qt::NoFocus);
    pages->setCornerWidget(button, Qt::TopRightCorner);
    QObject::connect(button, &QToolButton::clicked, pages,
                     Handlers::Guard([pages, firstGroupPage, button] {
                         (new GroupList(pages, firstGroupPage))->showBelow(button);
                     }));
}

} // namespace GroupTabs

// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/main_window/drops.h"

#include "forms/common/handlers.h"
#include "forms/common/message_boxes.h"
#include "forms/editors/boot.h"
#include "forms/editors/flash.h"
#include "forms/editors/phonegroup.h"
#include "forms/editors/tia.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <memory>

namespace Drops
{

namespace
{

void openFile(const QString& file, const GroupInFront& groupInFront)
{
    const QString name = QFileInfo(file).fileName();
    const QString kind = QFileInfo(file).suffix().toLower();
    static const QStringList pictures = {"bmp", "ico",  "wmf", "emf", "png",
                                         "jpg", "jpeg", "gif", "svg"};
    CatalogueEditor* editor = nullptr;
    std::function<void()> open;
    if (kind == QLatin1String("tia")) {
        editor = o_fTia;
        open = [] { o_fTia->exec(); };
    } else if (kind == QLatin1String("bin")) {
        editor = o_fBoot;
        open = [] { o_fBoot->exec(); };
    } else if (kind == QLatin1String("fls")) {
        const auto group = groupInFront();
        if (!group) {
            ShowNotice(nullptr,
                       QStringLiteral("Drop the flash file \"%1\" on the page of its phone "
                                      "group.")
                           .arg(name));
            return;
        }
        editor = o_fFlash;
        open = [group] { o_fFlash->ShowForGroup(*group); };
    } else if (pictures.contains(kind)) {
        editor = o_fPhoneGroup;
        open = [&groupInFront] { o_fPhoneGroup->ShowPhoneGroupDialog(groupInFront()); };
    } else {
        ShowNotice(nullptr,
                   QStringLiteral("Quorvel cannot take \"%1\": drop TIA files (.tia), boot "
                                  "files (.bin), flash files (.fls) or schematic "
                                  "pictures.")
                       .arg(name));
        return;
    }
    // The dialog is shown as from the Tools list, and browses to the file at once; a file it
    // was not shown for is forgotten, whatever ended the showing.
    editor->BrowseWhenShown(file);
    const std::unique_ptr<CatalogueEditor, void (*)(CatalogueEditor*)> forget(
        editor, [](CatalogueEditor* shown) { shown->BrowseWhenShown({}); });
    open();
}

// The local files a drag carries; none when it carries anything else.
QStringList filesOf(const QMimeData* data)
{
    QStringList files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        files << url.toLocalFile();
    }
    return files;
}

class DropTarget : public QObject
{
public:
    DropTarget(QWidget* window, QTabWidget* pages, int firstGroupPage, GroupInFront groupInFront)
        : QObject(window), m_window(window), m_pages(pages), m_firstGroupPage(firstGroupPage),
          m_groupInFront(std::move(groupInFront))
    {
        window->setAcceptDrops(true);
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
            if (auto* enter = static_cast<QDragEnterEvent*>(event);
                !filesOf(enter->mimeData()).isEmpty())
                enter->acceptProposedAction();
            return true;
        case QEvent::DragMove:
            static_cast<QDragMoveEvent*>(event)->acceptProposedAction();
            return true;
        case QEvent::Drop:
            dropped(static_cast<QDropEvent*>(event));
            return true;
        default:
            return false;
        }
    }

private:
    void dropped(QDropEvent* event)
    {
        const QStringList files = filesOf(event->mimeData());
        if (files.isEmpty())
            return;
        event->acceptProposedAction();
        // Dropped on a group's tab, that group comes to the front: flash files go to the group
        // in front.
        QTabBar* tabs = m_pages->tabBar();
        const QPoint onTabs = tabs->mapFrom(m_window, event->position().toPoint());
        if (const int tab = tabs->tabAt(onTabs);
            tabs->rect().contains(onTabs) && tab >= m_firstGroupPage)
            m_pages->setCurrentIndex(tab);
        QTimer::singleShot(0, this, [this, files] {
            for (const QString& file : files)
                Handlers::Run([&] { openFile(file, m_groupInFront); });
        });
    }

    QWidget* const m_window;
    QTabWidget* const m_pages;
    const int m_firstGroupPage;
    const GroupInFront m_groupInFront;
};

} // namespace

void Accept(QWidget* window, QTabWidget* pages, int firstGroupPage, GroupInFront groupInFront)
{
    new DropTarget(window, pages, firstGroupPage, std::move(groupInFront));
}

} // namespace Drops

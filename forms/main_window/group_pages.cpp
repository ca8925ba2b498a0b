// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/main_window/group_pages.h"

#include "forms/common/list_views.h"
#include "forms/common/text.h"
#include "forms/main_window/group_tabs.h"
#include "library/catalogue_file.h"
#include "library/paths.h"
#include "library/phone_groups.h"

#include <QTabWidget>
#include <QTreeWidget>

GroupPages::GroupPages(QTabWidget* pages, const QTreeWidget* templateList, ListCalls calls)
    : m_pages(pages), m_template(templateList), m_calls(std::move(calls))
{
    // The template page is never seen: no tab, and no key reaches it.
    m_pages->setTabVisible(TemplatePage, false);
    m_pages->setTabEnabled(TemplatePage, false);
    GroupTabs::SetUp(m_pages, FirstGroupPage);
}

void GroupPages::Load(std::vector<std::string>& sectionNames)
{
    if (m_pages->count() > FirstGroupPage) {
        // The template page's tab is hidden, so the About page is the one left in front.
        m_pages->setCurrentIndex(AboutPage);
        while (m_pages->count() > FirstGroupPage) {
            QWidget* page = m_pages->widget(m_pages->count() - 1);
            m_pages->removeTab(m_pages->count() - 1);
            delete page;
        }
    }

    // Only the pages: a group's flash list is made and read when its page first comes to the
    // front.
    CatalogueFile(Paths::PhoneCatalogue).ReadSections(sectionNames);
    for (const auto& group : sectionNames) {
        // The whole name at the pointer, also when the tab is cut at the control's edge.
        m_pages->setTabToolTip(Text::AddTab(m_pages, new QWidget, group),
                               Text::PlainToolTip(fromBytes(group)));
    }
}

void GroupPages::LoadWritten(const std::string& group, std::vector<std::string>& sectionNames)
{
    const bool added = Page(group) < 0;
    Load(sectionNames);
    if (const int page = Page(group); added && page >= 0)
        m_pages->setCurrentIndex(page);
}

void GroupPages::ReadAgain(const std::string& group)
{
    if (const int page = Page(group); page >= 0) {
        if (auto* list = m_pages->widget(page)->findChild<QTreeWidget*>())
            m_calls.read(group, list);
    }
}

QTreeWidget* GroupPages::FlashList(int pageIndex)
{
    QWidget* page = m_pages->widget(pageIndex);
    if (pageIndex < FirstGroupPage || !page)
        return nullptr;
    if (auto* list = page->findChild<QTreeWidget*>())
        return list;
    // The column set is the template list's; the font is the window's own, not the template's.
    QTreeWidget* list = ListViews::CreateListLike(m_template, page);
    list->setFont(m_pages->window()->font());
    m_calls.made(list);
    // Now, not once the event loop comes round: the page may be in front already.
    list->show();
    // Right after the group tabs, not after every other control of the window.
    QWidget::setTabOrder(m_pages, list);
    m_calls.read(Text::TabBytes(m_pages, pageIndex), list);
    return list;
}

int GroupPages::Page(const std::string& group) const
{
    for (int index = FirstGroupPage; index < m_pages->count(); ++index) {
        if (PhoneGroups::SameName(Text::TabBytes(m_pages, index), group))
            return index;
    }
    return -1;
}

std::string GroupPages::ActiveCaption() const
{
    return Text::TabBytes(m_pages, m_pages->currentIndex());
}

std::optional<std::string> GroupPages::InFront() const
{
    if (m_pages->currentIndex() < FirstGroupPage)
        return std::nullopt;
    return ActiveCaption();
}

QTreeWidget* GroupPages::ActiveFlashList()
{
    return FlashList(m_pages->currentIndex());
}

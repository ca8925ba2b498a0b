// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The phone groups' pages of the main window's right page control: after the hidden template page
// and the About page, one page per section of the phone catalogue, in file order, captioned with
// the group's name. A page's flash list is made and read when the page first comes to the front,
// so that a start costs the same whatever the library holds.

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QTabWidget;
class QTreeWidget;

class GroupPages
{
public:
    static constexpr int TemplatePage = 0;
    static constexpr int AboutPage = 1;
    static constexpr int FirstGroupPage = 2;

    // What the window does with a flash list it has made: connects the list's handlers, before
    // the list is read; reads the group's catalogue into the list.
    struct ListCalls {
        std::function<void(QTreeWidget* list)> made;
        std::function<void(const std::string& group, QTreeWidget* list)> read;
    };

    // The flash lists take the template list's columns, and the window's font.
    GroupPages(QTabWidget* pages, const QTreeWidget* templateList, ListCalls calls);

    // The group pages made anew from the phone catalogue; sectionNames is the scratch list the
    // window's list loads share.
    void Load(std::vector<std::string>& sectionNames);

    // After an editor wrote the group: the pages made anew, and the group, when it is new, brought
    // to the front among however many there are.
    void LoadWritten(const std::string& group, std::vector<std::string>& sectionNames);
    // After an editor wrote an entry of the group, whose page need not be in front: its flash
    // list read again. A list not made yet is read when its page comes to the front.
    void ReadAgain(const std::string& group);

    // The flash list of the page at this index, made and read now if the page has not been in
    // front yet; null for a page that is not a group's.
    QTreeWidget* FlashList(int pageIndex);
    // The index of the group's page; -1 when it has none.
    int Page(const std::string& group) const;

    // The caption of the page in front, as bytes.
    std::string ActiveCaption() const;
    // The group whose page is in front; none when no group's page is.
    std::optional<std::string> InFront() const;
    // The flash list of the page in front; null for a page that is not a group's.
    QTreeWidget* ActiveFlashList();

private:
    QTabWidget* const m_pages;
    const QTreeWidget* const m_template;
    const ListCalls m_calls;
};

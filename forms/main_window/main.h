// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The main window: the library's lists (TIA, boot, one flash list per phone group page), the
// common chip buttons, the status line and Start. It owns the run selection of the program and
// hands it to the run controller at Start.
//
// Quorvel is made of seven windows, each created once at start (windows.h): this one, the four
// editor dialogs (tia, boot, phonegroup, flash), the schematic window (scheme) and the run
// confirmation window (configuration). Rules and file work live in library/. Beside this unit, in
// forms/main_window/: the group pages, the Tools list, opening and removing entries, drops, the
// find field, the group tabs, the keyboard and the window's look.

#include "forms/common/open_dialog.h"
#include "forms/editors/catalogue_editor.h"
#include "forms/main_window/group_pages.h"
#include "forms/run/run_picks.h"
#include "library/run_selection.h"

#include <QDialog>
#include <QScopedPointer>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class RunController;

namespace Ui
{
class To_fMain;
}

// The program's one run selection; lives for the whole run of the program.
extern RunSelection runSelection;

// The pages of the left page control, in their order.
enum class LibraryPage { Common, Tia, Boot, Tools };

class To_fMain : public QDialog, public RunPicks
{
    Q_OBJECT

public:
    explicit To_fMain(QWidget* parent = nullptr);
    ~To_fMain() override;

    void LoadTiaList();
    void LoadBootList();
    void LoadPhoneGroups();
    void LoadFlashList(const std::string& group, QTreeWidget* list);
    // The flash list of the group page at this index of the right page control, made and read
    // now if the page has not been in front yet; null for a page that is not a group's.
    QTreeWidget* FlashList(int pageIndex) { return m_groupPages->FlashList(pageIndex); }

    // The status line: the one panel of the status bar.
    QString statusLine() const;
    void setStatusLine(const std::string& text);

    // The pages in front.
    void ShowLibraryPage(LibraryPage page);
    // The caption of the right page control's active page, as bytes.
    std::string ActivePageCaption() const { return m_groupPages->ActiveCaption(); }
    // Whether the active page of the right page control is a phone group's page.
    bool GroupPageInFront() const { return GroupInFront().has_value(); }
    // The name of the phone group whose page is in front; none when no group page is.
    std::optional<std::string> GroupInFront() const { return m_groupPages->InFront(); }

    // Hands each Start to the run controller, asks it before closing, and shows in the status
    // line what it reports.
    void FollowRun(RunController& run);

    // Follows what the editor tells: brings its page to the front when it opens, reloads what
    // it wrote.
    void FollowEditor(CatalogueEditor* editor);

    // The file-open dialog that the editor dialogs share.
    OpenDialog& OpenDialog1() { return m_openDialog; }

    Ui::To_fMain* ui() const { return m_ui.data(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private slots:
    void ToolButton1Click();
    void ToolButton2Click();
    void ToolButton3Click();
    void ListView1SelectItem(QTreeWidgetItem* item, bool selected);
    void ListView3SelectItem(QTreeWidgetItem* item, bool selected);
    void ListView2SelectItem(QTreeWidgetItem* item, bool selected);
    void ListView4SelectItem(QTreeWidgetItem* item, bool selected);
    void ListView4DblClick();
    void ListView4KeyUp(int key);
    void ListView1DblClick();
    void ListView3DblClick();
    void ListView2DblClick(QTreeWidget* list);
    void ListView1KeyUp(int key);
    void ListView3KeyUp(int key);
    void ListView2KeyUp(QTreeWidget* list, int key);
    void ListView2ColumnClick(QTreeWidget* list, int column);
    void BitBtn1Click();
    void BitBtn2Click();

private:
    void FormCreate();
    void FormClose();
    static int ListView2Compare(const QTreeWidgetItem* a, const QTreeWidgetItem* b);

    // What the run's windows may ask (RunPicks).
    bool HasGroup(const std::string& group) const override;
    std::vector<std::string> RowNames(List list, const std::string& group) override;
    void Select(const Picks& picks) override;
    QTreeWidget* listOf(List list, const std::string& group);

    void applyCommonChip(CommonChip chip);
    void connectFlashList(QTreeWidget* list);
    void editorOpened(EditedList list);
    void editorWrote(EditedList list, const std::string& group);
    // The list of the page in front: the find field hands it the focus.
    QTreeWidget* listInFront();

    const QScopedPointer<Ui::To_fMain> m_ui;
    OpenDialog m_openDialog;
    std::unique_ptr<GroupPages> m_groupPages;
    class QLabel* m_statusPanel = nullptr;
    class RunHistory* m_runHistory = nullptr;
    RunController* m_run = nullptr;
    // The scratch list that every list load refills with a catalogue's section names.
    std::vector<std::string> m_sectionNames;
};

extern To_fMain* o_fMain;

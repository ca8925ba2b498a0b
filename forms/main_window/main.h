// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The main window: the library's lists (TIA, boot, one flash list per phone group page), the
// common chip buttons, the status line and Start. It owns the run selection of the program.
//
// Quorvel is made of seven windows, each created once at start (windows.h): this one, the four
// editor dialogs (tia, boot, phonegroup, flash), the schematic window (scheme) and the run
// confirmation window (configuration). Rules and file work live in library/.

#include "forms/common/open_dialog.h"
#include "forms/editors/catalogue_editor.h"
#include "library/catalogue_entries.h"
#include "library/run_selection.h"

#include <QDialog>
#include <QScopedPointer>
#include <optional>
#include <string>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class To_fConfiguration;
struct CatalogueRow;

namespace Ui
{
class To_fMain;
}

// The program's one run selection; lives for the whole run of the program.
extern RunSelection runSelection;

// The pages of the left page control, in their order.
enum class LibraryPage { Common, Tia, Boot, Tools };

class To_fMain : public QDialog
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
    QTreeWidget* FlashList(int pageIndex);
    // The index of the group's page, named as the phone catalogue names its sections; -1 when
    // it has none.
    int GroupPage(const std::string& group) const;

    // The status line: the one panel of the status bar.
    QString statusLine() const;
    void setStatusLine(const std::string& text);

    // What the other windows may ask of this one.
    void ShowLibraryPage(LibraryPage page);
    // The caption of the right page control's active page, as bytes.
    std::string ActivePageCaption() const;
    // Whether the active page of the right page control is a phone group's page.
    bool GroupPageInFront() const;
    // The name of the phone group whose page is in front; none when no group page is.
    std::optional<std::string> GroupInFront() const;

    // Shows in the status line what the run confirmation window tells of a flasher it started.
    void FollowRun(To_fConfiguration* run);

    // Follows what the editor tells: brings its page to the front when it opens, reloads what
    // it wrote.
    void FollowEditor(CatalogueEditor* editor);

    // The file-open dialog that the editor dialogs share.
    OpenDialog& OpenDialog1() { return m_openDialog; }

    Ui::To_fMain* ui() const { return m_ui.data(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
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

    void addToolsRows();
    void showLibraryCheck();
    void applyCommonChip(CommonChip chip);
    QTreeWidget* createFlashList(QWidget* page);
    void connectFlashList(QTreeWidget* list);
    void openEntry(EntryKind kind, const QTreeWidget* list);
    void entryKeyUp(EntryKind kind, const QTreeWidget* list, int key);
    void removeEntry(EntryKind kind, const std::string& name);
    void editorOpened(EditedList list);
    void editorWrote(EditedList list, const std::string& group);
    QTreeWidget* activeFlashList();
    void fillList(QTreeWidget* list, const std::vector<CatalogueRow>& rows);
    void findInLists(const QString& text);
    void focusFoundRows();
    // Offers the files one after the other, each in the dialog of its kind, as if browsed there.
    void openDropped(const QStringList& files);
    void openDroppedFile(const QString& file);

    const QScopedPointer<Ui::To_fMain> m_ui;
    OpenDialog m_openDialog;
    class QLabel* m_statusPanel = nullptr;
    class RunHistory* m_runHistory = nullptr;
    // The scratch list that every list load refills with a catalogue's section names.
    std::vector<std::string> m_sectionNames;
};

extern To_fMain* o_fMain;

// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/main_window/main.h"
#include "ui_main.h"

#include "forms/common/handlers.h"
#include "forms/common/list_views.h"
#include "forms/common/pictures.h"
#include "forms/common/remembered_place.h"
#include "forms/common/text.h"
#include "forms/main_window/drops.h"
#include "forms/main_window/entries.h"
#include "forms/main_window/find_field.h"
#include "forms/main_window/keyboard.h"
#include "forms/main_window/main_look.h"
#include "forms/main_window/tools_list.h"
#include "forms/run/run_controller.h"
#include "forms/run/run_history.h"
#include "library/catalogue_file.h"
#include "library/catalogue_lists.h"
#include "library/flash_order.h"
#include "library/paths.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>

RunSelection runSelection;
To_fMain* o_fMain = nullptr;

namespace
{

constexpr QSize DesignedSize(599, 349);

const std::vector<int> TiaColumnWidths{100, 50, 200};
const std::vector<int> BootColumnWidths{100, 200};
const std::vector<int> FlashColumnWidths{100, 70, 400};

} // namespace

To_fMain::To_fMain(QWidget* parent) : QDialog(parent), m_ui(new Ui::To_fMain)
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    // The designed size is the smallest; the lists take any room the user gives the window.
    setMinimumSize(DesignedSize);
    resize(DesignedSize);
    RememberedPlace::Keep(this, QStringLiteral("MainWindow"), DesignedSize,
                          RememberedPlace::Measure::Client);
    setWindowIcon(Pictures::Icon("program"));

    MainLook::Apply(m_ui.data());
    Keyboard::MakeArrowGroup({m_ui->ToolButton1, m_ui->ToolButton2, m_ui->ToolButton3});

    ListViews::SetUpReportList(m_ui->ListView1, TiaColumnWidths);
    ListViews::SetUpReportList(m_ui->ListView3, BootColumnWidths);
    ListViews::SetUpReportList(m_ui->ListView4, BootColumnWidths);
    ToolsList::AddRows(m_ui->ListView4);
    ListViews::SetUpReportList(m_ui->ListView2, FlashColumnWidths);
    m_groupPages = std::make_unique<GroupPages>(
        m_ui->PageControl2, m_ui->ListView2,
        GroupPages::ListCalls{.made = [this](QTreeWidget* list) { connectFlashList(list); },
                              .read = [this](const std::string& group,
                                             QTreeWidget* list) { LoadFlashList(group, list); }});
    // Files dropped on the window open in their dialogs.
    Drops::Accept(this, m_ui->PageControl2, GroupPages::FirstGroupPage,
                  [this] { return GroupInFront(); });

    m_statusPanel = new QLabel(m_ui->StatusBar1);
    m_statusPanel->setObjectName(QStringLiteral("StatusPanel"));
    m_statusPanel->setTextFormat(Qt::PlainText);
    m_ui->StatusBar1->addWidget(m_statusPanel, 1);

    using Handlers::Guard;
    connect(m_ui->ToolButton1, &QToolButton::clicked, this,
            Guard(this, &To_fMain::ToolButton1Click));
    connect(m_ui->ToolButton2, &QToolButton::clicked, this,
            Guard(this, &To_fMain::ToolButton2Click));
    connect(m_ui->ToolButton3, &QToolButton::clicked, this,
            Guard(this, &To_fMain::ToolButton3Click));
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, Guard(this, &To_fMain::BitBtn1Click));
    connect(m_ui->BitBtn2, &QPushButton::clicked, this, Guard(this, &To_fMain::BitBtn2Click));
    ListViews::ConnectSelectItem(m_ui->ListView1, this, [this](auto* item, bool selected) {
        ListView1SelectItem(item, selected);
    });
    ListViews::ConnectSelectItem(m_ui->ListView3, this, [this](auto* item, bool selected) {
        ListView3SelectItem(item, selected);
    });
    ListViews::ConnectSelectItem(m_ui->ListView4, this, [this](auto* item, bool selected) {
        ListView4SelectItem(item, selected);
    });
    ListViews::ConnectDblClick(m_ui->ListView1, this, [this] { ListView1DblClick(); });
    ListViews::ConnectDblClick(m_ui->ListView3, this, [this] { ListView3DblClick(); });
    ListViews::ConnectDblClick(m_ui->ListView4, this, [this] { ListView4DblClick(); });
    ListViews::ConnectKeyUp(m_ui->ListView1, [this](int key) { ListView1KeyUp(key); });
    ListViews::ConnectKeyUp(m_ui->ListView3, [this](int key) { ListView3KeyUp(key); });
    ListViews::ConnectKeyUp(m_ui->ListView4, [this](int key) { ListView4KeyUp(key); });
    connectFlashList(m_ui->ListView2);
    // A group page is built when it first comes to the front, and shows what the find field
    // finds.
    connect(m_ui->PageControl2, &QTabWidget::currentChanged, this, Guard([this](int index) {
                if (QTreeWidget* list = FlashList(index))
                    ListViews::Filter(list, m_ui->FindEdit->text());
            }));
    FindField::SetUp(m_ui->FindEdit, this,
                     {.shown =
                          [this] {
                              return std::vector{m_ui->ListView1, m_ui->ListView3,
                                                 m_groupPages->ActiveFlashList()};
                          },
                      .inFront = [this] { return listInFront(); }});
    // Made with the window, as the dialogs are, so that it opens as quickly; the journal is read
    // when it opens. Its Pick again picks in this window.
    m_runHistory = new RunHistory(this, *this);

    FormCreate();
}

To_fMain::~To_fMain() = default;

void To_fMain::FormCreate()
{
    m_sectionNames.clear();
    m_ui->PageControl1->setCurrentWidget(m_ui->TabSheet6);
    LoadTiaList();
    LoadBootList();
    LoadPhoneGroups();
    ToolButton2Click();
    m_ui->ToolButton2->setChecked(true);
    // The TIA row remembered at the last close is the run's loader, as if clicked: the list
    // must not show one loader while the run holds another.
    if (QTreeWidgetItem* remembered = ListViews::HighlightedRow(m_ui->ListView1))
        ListView1SelectItem(remembered, true);
}

QTreeWidget* To_fMain::listInFront()
{
    QWidget* left = m_ui->PageControl1->currentWidget();
    if (left == m_ui->TabSheet1)
        return m_ui->ListView1;
    if (left == m_ui->TabSheet2)
        return m_ui->ListView3;
    return m_groupPages->ActiveFlashList();
}

void To_fMain::LoadTiaList()
{
    ListViews::Fill(m_ui->ListView1, CatalogueLists::ReadTiaRows(m_sectionNames),
                    m_ui->FindEdit->text());
}

void To_fMain::LoadBootList()
{
    ListViews::Fill(m_ui->ListView3, CatalogueLists::ReadBootRows(m_sectionNames),
                    m_ui->FindEdit->text());
}

void To_fMain::LoadFlashList(const std::string& group, QTreeWidget* list)
{
    ListViews::Fill(list, CatalogueLists::ReadFlashRows(group, m_sectionNames),
                    m_ui->FindEdit->text());
}

void To_fMain::LoadPhoneGroups()
{
    m_groupPages->Load(m_sectionNames);
}

void To_fMain::connectFlashList(QTreeWidget* list)
{
    ListViews::ConnectSelectItem(
        list, this, [this](auto* item, bool selected) { ListView2SelectItem(item, selected); });
    ListViews::ConnectDblClick(list, this, [this, list] { ListView2DblClick(list); });
    ListViews::ConnectKeyUp(list, [this, list](int key) { ListView2KeyUp(list, key); });
    ListViews::ConnectColumnClick(list, this,
                                  [this, list](int column) { ListView2ColumnClick(list, column); });
}

QString To_fMain::statusLine() const
{
    return m_statusPanel->text();
}

void To_fMain::setStatusLine(const std::string& text)
{
    Text::Show(m_statusPanel, text);
}

void To_fMain::ShowLibraryPage(LibraryPage page)
{
    m_ui->PageControl1->setCurrentIndex(static_cast<int>(page));
}

bool To_fMain::HasGroup(const std::string& group) const
{
    return m_groupPages->Page(group) >= 0;
}

QTreeWidget* To_fMain::listOf(List list, const std::string& group)
{
    if (list != List::Flash)
        return list == List::Tia ? m_ui->ListView1 : m_ui->ListView3;
    return FlashList(m_groupPages->Page(group)); // none for a group without a page
}

std::vector<std::string> To_fMain::RowNames(List list, const std::string& group)
{
    std::vector<std::string> names;
    if (const QTreeWidget* rows = listOf(list, group)) {
        for (int row = 0; row < rows->topLevelItemCount(); ++row)
            names.push_back(Text::Bytes(rows->topLevelItem(row), 0));
    }
    return names;
}

void To_fMain::Select(const Picks& picks)
{
    // Selected anew, so that the row's choice is made even when it was the selected row.
    const auto pickRow = [](QTreeWidget* list, std::optional<int> row) {
        if (!list || !row)
            return;
        list->clearSelection();
        ListViews::SelectRow(list, list->topLevelItem(*row));
    };
    if (picks.chip) {
        QToolButton* chip = *picks.chip == CommonChip::Atmel29F800   ? m_ui->ToolButton1
                            : *picks.chip == CommonChip::Intel28F008 ? m_ui->ToolButton2
                                                                     : m_ui->ToolButton3;
        chip->click();
        chip->setChecked(true);
        if (!picks.tiaRow)
            ShowLibraryPage(LibraryPage::Common);
    }
    pickRow(m_ui->ListView1, picks.tiaRow);
    pickRow(m_ui->ListView3, picks.bootRow);
    m_ui->PageControl2->setCurrentIndex(m_groupPages->Page(picks.group));
    pickRow(listOf(List::Flash, picks.group), picks.flashRow);
}

void To_fMain::FollowRun(RunController& run)
{
    m_run = &run;
    connect(&run, &RunController::statusChanged, this,
            Handlers::Guard([this](const QString& line) { m_statusPanel->setText(line); }));
}

void To_fMain::FollowEditor(CatalogueEditor* editor)
{
    connect(editor, &CatalogueEditor::opened, this, Handlers::Guard(this, &To_fMain::editorOpened));
    connect(editor, &CatalogueEditor::written, this, Handlers::Guard(this, &To_fMain::editorWrote));
}

void To_fMain::editorOpened(EditedList list)
{
    // Only the TIA and boot dialogs have a page of their own; the others leave the pages alone.
    if (list == EditedList::Tia)
        ShowLibraryPage(LibraryPage::Tia);
    else if (list == EditedList::Boot)
        ShowLibraryPage(LibraryPage::Boot);
}

void To_fMain::editorWrote(EditedList list, const std::string& group)
{
    switch (list) {
    case EditedList::Tia:
        LoadTiaList();
        break;
    case EditedList::Boot:
        LoadBootList();
        break;
    case EditedList::PhoneGroups:
        m_groupPages->LoadWritten(group, m_sectionNames);
        break;
    case EditedList::Flash:
        // Check library opens the dialog for a group whose page need not be in front.
        m_groupPages->ReadAgain(group);
        break;
    }
}

void To_fMain::applyCommonChip(CommonChip chip)
{
    setStatusLine(Selection::ApplyCommonChip(runSelection, chip));
}

void To_fMain::ToolButton1Click()
{
    applyCommonChip(CommonChip::Atmel29F800);
}

void To_fMain::ToolButton2Click()
{
    applyCommonChip(CommonChip::Intel28F008);
}

void To_fMain::ToolButton3Click()
{
    applyCommonChip(CommonChip::Intel28F160);
}

void To_fMain::ListView1SelectItem(QTreeWidgetItem* item, bool /*selected*/)
{
    setStatusLine(Selection::ApplyTiaRow(runSelection, Text::Bytes(item, 0), Text::Bytes(item, 1),
                                         Text::Bytes(item, 2)));
}

void To_fMain::ListView3SelectItem(QTreeWidgetItem* item, bool /*selected*/)
{
    setStatusLine(
        Selection::ApplyBootRow(runSelection, Text::Bytes(item, 0), Text::Bytes(item, 1)));
}

void To_fMain::ListView2SelectItem(QTreeWidgetItem* item, bool /*selected*/)
{
    setStatusLine(Selection::ApplyFlashRow(runSelection, ActivePageCaption(), Text::Bytes(item, 0),
                                           Text::Bytes(item, 1), Text::Bytes(item, 2)));
}

void To_fMain::ListView4SelectItem(QTreeWidgetItem* item, bool /*selected*/)
{
    setStatusLine("Function= " + Text::Bytes(item, 0) + "   [ Description=" + Text::Bytes(item, 1) +
                  "]");
}

void To_fMain::ListView4DblClick()
{
    if (QTreeWidgetItem* row = ListViews::HighlightedRow(m_ui->ListView4))
        ToolsList::Open(
            m_ui->ListView4->indexOfTopLevelItem(row), this, GroupInFront(), *m_runHistory,
            [this](EditedList list, const std::string& group) { editorWrote(list, group); });
}

void To_fMain::ListView4KeyUp(int key)
{
    // Enter and Space open the row's dialog, as a double-click does.
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space)
        return;
    // The row with the focus mark, also before the keyboard has selected it.
    QTreeWidgetItem* focused = m_ui->ListView4->currentItem();
    if (!ListViews::HighlightedRow(m_ui->ListView4) && focused)
        ListViews::SelectRow(m_ui->ListView4, focused);
    ListView4DblClick();
}

void To_fMain::ListView1DblClick()
{
    Entries::Open(EntryKind::Tia, m_ui->ListView1, {});
}

void To_fMain::ListView3DblClick()
{
    Entries::Open(EntryKind::Boot, m_ui->ListView3, {});
}

void To_fMain::ListView2DblClick(QTreeWidget* list)
{
    Entries::Open(EntryKind::Flash, list, ActivePageCaption());
}

void To_fMain::ListView1KeyUp(int key)
{
    if (Entries::KeyUp(EntryKind::Tia, m_ui->ListView1, {}, key))
        LoadTiaList();
}

void To_fMain::ListView3KeyUp(int key)
{
    if (Entries::KeyUp(EntryKind::Boot, m_ui->ListView3, {}, key))
        LoadBootList();
}

void To_fMain::ListView2KeyUp(QTreeWidget* list, int key)
{
    // An entry of the group whose page is in front.
    const std::string group = ActivePageCaption();
    if (!Entries::KeyUp(EntryKind::Flash, list, group, key))
        return;
    if (QTreeWidget* shown = m_groupPages->ActiveFlashList())
        LoadFlashList(group, shown);
}

void To_fMain::ListView2ColumnClick(QTreeWidget* list, int /*column*/)
{
    // Whichever header was clicked, the rows go in file-name order.
    ListViews::SortRows(list, &To_fMain::ListView2Compare);
}

int To_fMain::ListView2Compare(const QTreeWidgetItem* a, const QTreeWidgetItem* b)
{
    return FlashOrder::Compare(Text::Bytes(a, 0), Text::Bytes(b, 0));
}

void To_fMain::BitBtn1Click()
{
    m_run->Start(runSelection, GroupInFront());
}

void To_fMain::BitBtn2Click()
{
    close();
}

void To_fMain::reject()
{
    // Esc presses the Exit button.
    m_ui->BitBtn2->click();
}

void To_fMain::FormClose()
{
    // Also a row the find field hides: it is still the one chosen.
    if (const QTreeWidgetItem* selected = ListViews::SelectedRow(m_ui->ListView1))
        CatalogueFile(Paths::TiaCatalogue).WriteBool(Text::Bytes(selected, 0), "Selected", true);
}

void To_fMain::closeEvent(QCloseEvent* event)
{
    // A refused write keeps the window open; handled here because the close must be refused.
    try {
        if (m_run && !m_run->MayClose()) {
            event->ignore();
            return;
        }
        FormClose();
        if (m_run)
            m_run->Closing();
        event->accept();
        // Closing the main window ends the program, whatever other window is still open.
        QCoreApplication::quit();
    } catch (...) {
        Handlers::ShowCurrentException();
        event->ignore();
    }
}

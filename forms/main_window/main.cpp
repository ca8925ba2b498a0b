// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/main_window/main.h"
#include "ui_main.h"

#include "forms/check/check_library.h"
#include "forms/common/handlers.h"
#include "forms/common/image_list.h"
#include "forms/common/list_views.h"
#include "forms/common/message_boxes.h"
#include "forms/common/pictures.h"
#include "forms/common/readable_colours.h"
#include "forms/common/remembered_place.h"
#include "forms/common/text.h"
#include "forms/common/window_setup.h"
#include "forms/editors/boot.h"
#include "forms/editors/flash.h"
#include "forms/editors/phonegroup.h"
#include "forms/editors/tia.h"
#include "forms/main_window/find_field.h"
#include "forms/main_window/group_tabs.h"
#include "forms/main_window/keyboard.h"
#include "forms/run/configuration.h"
#include "forms/run/flasher_feedback.h"
#include "forms/run/run_history.h"
#include "library/catalogue_file.h"
#include "library/catalogue_lists.h"
#include "library/flash_order.h"
#include "library/paths.h"
#include "library/profile_text.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QTimer>
#include <QUrl>
#include <memory>

RunSelection runSelection;
To_fMain* o_fMain = nullptr;

namespace
{

constexpr QSize DesignedSize(599, 349);

const std::vector<int> TiaColumnWidths{100, 50, 200};
const std::vector<int> BootColumnWidths{100, 200};
const std::vector<int> FlashColumnWidths{100, 70, 400};

constexpr int TemplatePage = 0;
constexpr int AboutPage = 1;
constexpr int FirstGroupPage = 2;

// The rows of the Tools list; a double-click acts by the row's position.
enum ToolsRow { AddTia, AddBoot, AddPhoneGroup, AddFlash, MoreTools, CheckLibrary, ShowRunHistory };

// Opens the entry in its editor; the group names a flash entry's phone group.
void editEntry(EntryKind kind, const std::string& group, const std::string& name)
{
    switch (kind) {
    case EntryKind::Tia:
        o_fTia->EditTiaEntry(name);
        break;
    case EntryKind::Boot:
        o_fBoot->EditBootEntry(name);
        break;
    case EntryKind::Flash:
        o_fFlash->EditFlashEntry(group, name);
        break;
    }
}

QString removalQuestion(EntryKind kind)
{
    switch (kind) {
    case EntryKind::Tia:
        return QStringLiteral("Delete selected TIA file from list?");
    case EntryKind::Boot:
        return QStringLiteral("Delete selected Boot file from list?");
    case EntryKind::Flash:
        break;
    }
    return QStringLiteral("Delete selected Flash file from list?");
}

// The style of the platform with less room beside a tab's caption, so that the four pages of the
// left page control show their tabs at once. A style may draw a caption with margins of its
// own, wider than this room, and cut it: the caption is drawn here, centred in the whole tab.
class CompactTabStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return 8;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget) const override
    {
        const QSize size = QProxyStyle::sizeFromContents(type, option, contents, widget);
        return type == CT_TabBarTab ? size.expandedTo(contents) : size;
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* tab = qstyleoption_cast<const QStyleOptionTab*>(option);
        if (element != CE_TabBarTabLabel || !tab) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        QRect area = tab->rect;
        // The tabs behind the one in front sit a little lower, as the style has them.
        if (!(tab->state & State_Selected))
            area.translate(0, pixelMetric(PM_TabBarTabShiftVertical, option, widget));
        drawItemText(painter, area, Qt::AlignCenter | Qt::TextShowMnemonic, tab->palette,
                     tab->state & State_Enabled, tab->text, QPalette::WindowText);
        // The label drawn here is the base style's place for the focus mark: drawn here too, the
        // same in every style, in the text's own colour.
        if (tab->state & State_HasFocus) {
            const QRect text = itemTextRect(tab->fontMetrics, area, Qt::AlignCenter,
                                            tab->state & State_Enabled, tab->text);
            painter->save();
            painter->setPen(QPen(tab->palette.color(QPalette::WindowText), 1, Qt::DotLine));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(text.adjusted(-3, -1, 2, 0));
            painter->restore();
        }
    }
};

// The chip buttons are cards as white as their logos on any palette, with the red caption dark
// enough to read on them; the button that is down is plainly so: tinted, in a heavy frame.
QString chipButtonLook()
{
    const QColor card(Qt::white), edge(0xad, 0xad, 0xad), hover(0xe5, 0xf1, 0xfb);
    const QColor down(0xcc, 0xe4, 0xf7), frame(0x00, 0x5a, 0x9e);
    const QColor caption = ReadableColours::On(Qt::red, down);
    return QStringLiteral("QToolButton { background: %1; color: %2; border: 1px solid %3;"
                          " border-radius: 3px; }"
                          "QToolButton:hover { background: %4; border-color: %6; }"
                          "QToolButton:checked { background: %5; border: 2px solid %6; }"
                          // The keyboard's place, on the white card and on the tinted one.
                          "QToolButton:focus { border: 2px dashed black; }")
        .arg(card.name(), caption.name(), edge.name(), hover.name(), down.name(), frame.name());
}

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

    m_ui->ToolButton1->setIcon(Pictures::Icon("chip-atmel"));
    m_ui->ToolButton2->setIcon(Pictures::Icon("chip-intel"));
    m_ui->ToolButton3->setIcon(Pictures::Icon("chip-intel"));
    m_ui->ToolBar1->setStyleSheet(chipButtonLook());
    Keyboard::MakeArrowGroup({m_ui->ToolButton1, m_ui->ToolButton2, m_ui->ToolButton3});
    WindowSetup::SetButtonGlyphs(m_ui->BitBtn1, m_ui->BitBtn2);
    m_ui->Image1->setPixmap(Pictures::Icon("about").pixmap(16, 16));
    m_ui->Memo1->viewport()->setAutoFillBackground(false);
    m_ui->Memo1->setStyleSheet(QStringLiteral("background: transparent;"));

    ListViews::SetUpReportList(m_ui->ListView1, TiaColumnWidths);
    ListViews::SetUpReportList(m_ui->ListView3, BootColumnWidths);
    ListViews::SetUpReportList(m_ui->ListView4, BootColumnWidths);
    addToolsRows();
    ListViews::SetUpReportList(m_ui->ListView2, FlashColumnWidths);
    // The template page is never seen: no tab, and no key reaches it.
    m_ui->PageControl2->setTabVisible(TemplatePage, false);
    m_ui->PageControl2->setTabEnabled(TemplatePage, false);
    // Narrower tabs, so that all four pages of the left control show their tabs at once.
    auto* compactTabs = new CompactTabStyle;
    compactTabs->setParent(m_ui->PageControl1);
    m_ui->PageControl1->tabBar()->setStyle(compactTabs);
    m_ui->PageControl1->setElideMode(Qt::ElideNone);

    // Files dropped on the window open in their dialogs.
    setAcceptDrops(true);

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
    connect(m_ui->PageControl2, &QTabWidget::currentChanged, this,
            Handlers::Guard([this](int index) {
                if (QTreeWidget* list = FlashList(index))
                    ListViews::Filter(list, m_ui->FindEdit->text());
            }));
    GroupTabs::SetUp(m_ui->PageControl2, FirstGroupPage);
    FindField::SetUp(m_ui->FindEdit, this, [this] { focusFoundRows(); });
    connect(m_ui->FindEdit, &QLineEdit::textChanged, this,
            Handlers::Guard([this](const QString& text) { findInLists(text); }));
    // Made with the window, as the dialogs are, so that it opens as quickly; the journal is read
    // when it opens.
    m_runHistory = new RunHistory(this);

    FormCreate();
}

To_fMain::~To_fMain() = default;

void To_fMain::addToolsRows()
{
    static const char* const rows[][2] = {
        {"TIA", "Add new TIA file"},
        {"Boot", "Add new Boot file"},
        {"Phone Group", "Add new Phone group"},
        {"Flash", "Add new flash file to selected phone group"},
        {"Tools", "Add new tool tho this list"},
        {"Check library", "Check every library file against its checksum and the catalogues"},
        {"Run history", "Every run of the flasher, with its files and result"},
    };
    for (const auto& row : rows)
        ListViews::AddRow(m_ui->ListView4,
                          CatalogueRow{row[0], {row[1]}, ImageList1::ToolsPicture, false});
}

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

void To_fMain::findInLists(const QString& text)
{
    // Only rows are hidden: what is chosen for the run stays chosen.
    ListViews::Filter(m_ui->ListView1, text);
    ListViews::Filter(m_ui->ListView3, text);
    if (QTreeWidget* list = activeFlashList())
        ListViews::Filter(list, text);
}

void To_fMain::focusFoundRows()
{
    QWidget* left = m_ui->PageControl1->currentWidget();
    if (left == m_ui->TabSheet1)
        m_ui->ListView1->setFocus(Qt::OtherFocusReason);
    else if (left == m_ui->TabSheet2)
        m_ui->ListView3->setFocus(Qt::OtherFocusReason);
    else if (QTreeWidget* list = activeFlashList())
        list->setFocus(Qt::OtherFocusReason);
}

void To_fMain::fillList(QTreeWidget* list, const std::vector<CatalogueRow>& rows)
{
    ListViews::Clear(list);
    const auto items = ListViews::AddRows(list, rows);
    ListViews::Filter(list, m_ui->FindEdit->text());
    // Selected in file order, each selection handled before the next, as if added one by one.
    for (std::size_t index = 0; index < rows.size(); ++index) {
        if (rows[index].selected)
            ListViews::SelectRow(list, items[static_cast<qsizetype>(index)]);
    }
}

void To_fMain::LoadTiaList()
{
    fillList(m_ui->ListView1, CatalogueLists::ReadTiaRows(m_sectionNames));
}

void To_fMain::LoadBootList()
{
    fillList(m_ui->ListView3, CatalogueLists::ReadBootRows(m_sectionNames));
}

void To_fMain::LoadFlashList(const std::string& group, QTreeWidget* list)
{
    fillList(list, CatalogueLists::ReadFlashRows(group, m_sectionNames));
}

QTreeWidget* To_fMain::createFlashList(QWidget* page)
{
    // The column set is the template list's; the font is the window's own, not the template's.
    auto* list = ListViews::CreateListLike(m_ui->ListView2, page);
    list->setFont(font());
    connectFlashList(list);
    return list;
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

void To_fMain::LoadPhoneGroups()
{
    QTabWidget* pages = m_ui->PageControl2;
    if (pages->count() > FirstGroupPage) {
        // The template page's tab is hidden, so the About page is the one left in front.
        pages->setCurrentIndex(AboutPage);
        while (pages->count() > FirstGroupPage) {
            QWidget* page = pages->widget(pages->count() - 1);
            pages->removeTab(pages->count() - 1);
            delete page;
        }
    }

    // Only the pages: a group's flash list is made and read when its page first comes to the
    // front, so that a start costs the same whatever the library holds.
    CatalogueFile(Paths::PhoneCatalogue).ReadSections(m_sectionNames);
    for (const auto& group : m_sectionNames) {
        // The whole name at the pointer, also when the tab is cut at the control's edge.
        pages->setTabToolTip(Text::AddTab(pages, new QWidget, group),
                             Text::PlainToolTip(fromBytes(group)));
    }
}

QTreeWidget* To_fMain::FlashList(int pageIndex)
{
    QWidget* page = m_ui->PageControl2->widget(pageIndex);
    if (pageIndex < FirstGroupPage || !page)
        return nullptr;
    if (auto* list = page->findChild<QTreeWidget*>())
        return list;
    QTreeWidget* list = createFlashList(page);
    // Now, not once the event loop comes round: the page may be in front already.
    list->show();
    // Right after the group tabs, not after every other control of the window.
    setTabOrder(m_ui->PageControl2, list);
    LoadFlashList(Text::TabBytes(m_ui->PageControl2, pageIndex), list);
    return list;
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

std::string To_fMain::ActivePageCaption() const
{
    return Text::TabBytes(m_ui->PageControl2, m_ui->PageControl2->currentIndex());
}

bool To_fMain::GroupPageInFront() const
{
    return m_ui->PageControl2->currentIndex() >= FirstGroupPage;
}

std::optional<std::string> To_fMain::GroupInFront() const
{
    if (!GroupPageInFront())
        return std::nullopt;
    return ActivePageCaption();
}

int To_fMain::GroupPage(const std::string& group) const
{
    // Named as the phone catalogue names its sections.
    for (int index = FirstGroupPage; index < m_ui->PageControl2->count(); ++index) {
        if (ProfileText::SameName(Text::TabBytes(m_ui->PageControl2, index), group))
            return index;
    }
    return -1;
}

QTreeWidget* To_fMain::activeFlashList()
{
    return FlashList(m_ui->PageControl2->currentIndex());
}

void To_fMain::FollowRun(To_fConfiguration* run)
{
    connect(run, &To_fConfiguration::flasherStarted, this,
            Handlers::Guard([this](const QString& line) { m_statusPanel->setText(line); }));
    connect(run, &To_fConfiguration::flasherEnded, this,
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
    case EditedList::PhoneGroups: {
        const bool added = GroupPage(group) < 0;
        LoadPhoneGroups();
        // A group just added comes to the front, among however many there are.
        if (const int page = GroupPage(group); added && page >= 0)
            m_ui->PageControl2->setCurrentIndex(page);
        break;
    }
    case EditedList::Flash:
        // The group's own page: Check library opens the dialog for a group whose page need not
        // be in front. A page not read yet reads the catalogue when it comes to the front.
        if (const int page = GroupPage(group); page >= 0) {
            if (auto* list = m_ui->PageControl2->widget(page)->findChild<QTreeWidget*>())
                LoadFlashList(group, list);
        }
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
    QTreeWidgetItem* row = ListViews::HighlightedRow(m_ui->ListView4);
    if (!row)
        return;
    // The dialogs are shown as they stand: what their fields hold is their own business.
    switch (m_ui->ListView4->indexOfTopLevelItem(row)) {
    case AddTia:
        o_fTia->exec();
        break;
    case AddBoot:
        o_fBoot->exec();
        break;
    case AddPhoneGroup:
        o_fPhoneGroup->ShowPhoneGroupDialog(GroupInFront());
        break;
    case AddFlash:
        // The flash file dialog takes its group from the page in front.
        if (GroupPageInFront())
            o_fFlash->ShowForGroup(ActivePageCaption());
        break;
    case CheckLibrary:
        showLibraryCheck();
        break;
    case ShowRunHistory:
        m_runHistory->Open();
        break;
    default:
        break;
    }
}

void To_fMain::showLibraryCheck()
{
    CheckLibraryWindow window(this);
    connect(&window, &CheckLibraryWindow::openEditor, this,
            Handlers::Guard([](EntryKind kind, const std::string& group, const std::string& name) {
                // A new entry: the editor finds no section of that name and fills in the name.
                editEntry(kind, group, name);
            }));
    connect(&window, &CheckLibraryWindow::entryRemoved, this,
            Handlers::Guard([this](EntryKind kind, const std::string& group) {
                editorWrote(kind == EntryKind::Tia    ? EditedList::Tia
                            : kind == EntryKind::Boot ? EditedList::Boot
                                                      : EditedList::Flash,
                            group);
            }));
    window.exec();
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
    openEntry(EntryKind::Tia, m_ui->ListView1);
}

void To_fMain::ListView3DblClick()
{
    openEntry(EntryKind::Boot, m_ui->ListView3);
}

void To_fMain::ListView2DblClick(QTreeWidget* list)
{
    openEntry(EntryKind::Flash, list);
}

void To_fMain::ListView1KeyUp(int key)
{
    entryKeyUp(EntryKind::Tia, m_ui->ListView1, key);
}

void To_fMain::ListView3KeyUp(int key)
{
    entryKeyUp(EntryKind::Boot, m_ui->ListView3, key);
}

void To_fMain::ListView2KeyUp(QTreeWidget* list, int key)
{
    entryKeyUp(EntryKind::Flash, list, key);
}

void To_fMain::openEntry(EntryKind kind, const QTreeWidget* list)
{
    const QTreeWidgetItem* row = ListViews::HighlightedRow(list);
    if (!row)
        return;
    editEntry(kind, kind == EntryKind::Flash ? ActivePageCaption() : std::string(),
              Text::Bytes(row, 0));
}

void To_fMain::entryKeyUp(EntryKind kind, const QTreeWidget* list, int key)
{
    // Modifiers are not looked at: Shift+Delete removes, Ctrl+Enter opens.
    const QTreeWidgetItem* row = ListViews::HighlightedRow(list);
    if (!row)
        return;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        openEntry(kind, list);
    else if (key == Qt::Key_Delete)
        removeEntry(kind, Text::Bytes(row, 0));
}

void To_fMain::removeEntry(EntryKind kind, const std::string& name)
{
    if (AskConfirmation(removalQuestion(kind)) != QMessageBox::Yes)
        return;
    // Only the catalogue entry goes; the library file and the run selection stay.
    switch (kind) {
    case EntryKind::Tia:
        CatalogueEntries::Erase(kind, {}, name);
        LoadTiaList();
        break;
    case EntryKind::Boot:
        CatalogueEntries::Erase(kind, {}, name);
        LoadBootList();
        break;
    case EntryKind::Flash: {
        // The group whose page is in front now.
        const std::string group = ActivePageCaption();
        CatalogueEntries::Erase(kind, group, name);
        if (QTreeWidget* list = activeFlashList())
            LoadFlashList(group, list);
        break;
    }
    }
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
    if (runSelection.LoaderFile.empty()) {
        ShowNotice(nullptr, QStringLiteral("Select Tia file or select one of common flash type!"));
        return;
    }
    if (m_ui->PageControl2->currentIndex() < FirstGroupPage) {
        ShowNotice(nullptr, QStringLiteral("Select Phone Group!"));
        return;
    }
    if (runSelection.BootFile.empty()) {
        ShowNotice(nullptr, QStringLiteral("Select Boot file "));
        return;
    }
    if (runSelection.FlashFile.empty()) {
        ShowNotice(nullptr, QStringLiteral("Select Flash file "));
        return;
    }
    o_fConfiguration->ShowRun(runSelection, ActivePageCaption());
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

namespace
{

// The local files a drag carries; none when it carries anything else.
QStringList droppedFiles(const QMimeData* data)
{
    QStringList files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        files << url.toLocalFile();
    }
    return files;
}

} // namespace

void To_fMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void To_fMain::dragMoveEvent(QDragMoveEvent* event)
{
    event->acceptProposedAction();
}

void To_fMain::dropEvent(QDropEvent* event)
{
    const QStringList files = droppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    // Dropped on a group's tab, that group comes to the front: flash files go to the group in
    // front.
    QTabBar* tabs = m_ui->PageControl2->tabBar();
    const QPoint onTabs = tabs->mapFrom(this, event->position().toPoint());
    if (const int tab = tabs->tabAt(onTabs); tabs->rect().contains(onTabs) && tab >= FirstGroupPage)
        m_ui->PageControl2->setCurrentIndex(tab);
    // After the drop has ended: the dialogs are modal, and the program the files come from waits
    // for the drop to end.
    QTimer::singleShot(0, this, [this, files] { openDropped(files); });
}

void To_fMain::openDropped(const QStringList& files)
{
    for (const QString& file : files)
        Handlers::Run([&] { openDroppedFile(file); });
}

void To_fMain::openDroppedFile(const QString& file)
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
        if (!GroupPageInFront()) {
            ShowNotice(nullptr,
                       QStringLiteral("Drop the flash file \"%1\" on the page of its phone "
                                      "group.")
                           .arg(name));
            return;
        }
        editor = o_fFlash;
        open = [this] { o_fFlash->ShowForGroup(ActivePageCaption()); };
    } else if (pictures.contains(kind)) {
        editor = o_fPhoneGroup;
        open = [this] { o_fPhoneGroup->ShowPhoneGroupDialog(GroupInFront()); };
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

void To_fMain::closeEvent(QCloseEvent* event)
{
    // A refused write keeps the window open; handled here because the close must be refused.
    try {
        if (!FlasherFeedback::MayCloseWhileRunning()) {
            event->ignore();
            return;
        }
        FormClose();
        event->accept();
        // Closing the main window ends the program, whatever other window is still open.
        QCoreApplication::quit();
    } catch (...) {
        Handlers::ShowCurrentException();
        event->ignore();
    }
}

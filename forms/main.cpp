#include "main.h"
#include "ui_main.h"

#include "configuration.h"
#include "library/catalogue_file.h"
#include "library/catalogue_lists.h"
#include "library/paths.h"
#include "list_views.h"
#include "message_boxes.h"
#include "text.h"
#include "ui_configuration.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProxyStyle>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>
#include <iterator>

RunSelection runSelection;
To_fMain* o_fMain = nullptr;

namespace
{

const std::vector<int> TiaColumnWidths{100, 50, 200};
const std::vector<int> BootColumnWidths{100, 200};
const std::vector<int> FlashColumnWidths{100, 70, 400};

constexpr int TemplatePage = 0;
constexpr int AboutPage = 1;
constexpr int FirstGroupPage = 2;
constexpr int ToolsPicture = 3;

// The style of the platform with less room beside a tab's caption.
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
};

QIcon svgIcon(const char* name)
{
    return QIcon(QStringLiteral(":/images/%1.svg").arg(QLatin1String(name)));
}

} // namespace

To_fMain::To_fMain(QWidget* parent) : QDialog(parent), m_ui(new Ui::To_fMain)
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(599, 349);
    setWindowIcon(svgIcon("program"));

    m_ui->ToolButton1->setIcon(svgIcon("chip-atmel"));
    m_ui->ToolButton2->setIcon(svgIcon("chip-intel"));
    m_ui->ToolButton3->setIcon(svgIcon("chip-intel"));
    m_ui->BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    m_ui->BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    m_ui->Image1->setPixmap(svgIcon("about").pixmap(16, 16));
    m_ui->Memo1->viewport()->setAutoFillBackground(false);
    m_ui->Memo1->setStyleSheet(QStringLiteral("background: transparent;"));

    ListViews::SetUpReportList(m_ui->ListView1, TiaColumnWidths);
    ListViews::SetUpReportList(m_ui->ListView3, BootColumnWidths);
    ListViews::SetUpReportList(m_ui->ListView4, BootColumnWidths);
    addToolsRows();
    ListViews::SetUpReportList(m_ui->ListView2, FlashColumnWidths);
    m_ui->PageControl2->setTabVisible(TemplatePage, false);
    // Narrower tabs, so that all four pages of the left control show their tabs at once.
    auto* compactTabs = new CompactTabStyle;
    compactTabs->setParent(m_ui->PageControl1);
    m_ui->PageControl1->tabBar()->setStyle(compactTabs);

    m_statusPanel = new QLabel(m_ui->StatusBar1);
    m_statusPanel->setObjectName(QStringLiteral("StatusPanel"));
    m_ui->StatusBar1->addWidget(m_statusPanel, 1);

    connect(m_ui->ToolButton1, &QToolButton::clicked, this, &To_fMain::ToolButton1Click);
    connect(m_ui->ToolButton2, &QToolButton::clicked, this, &To_fMain::ToolButton2Click);
    connect(m_ui->ToolButton3, &QToolButton::clicked, this, &To_fMain::ToolButton3Click);
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, &To_fMain::BitBtn1Click);
    connect(m_ui->BitBtn2, &QPushButton::clicked, this, &To_fMain::BitBtn2Click);
    ListViews::ConnectSelectItem(m_ui->ListView1, this, [this](auto* item, bool selected) {
        ListView1SelectItem(item, selected);
    });
    ListViews::ConnectSelectItem(m_ui->ListView3, this, [this](auto* item, bool selected) {
        ListView3SelectItem(item, selected);
    });
    ListViews::ConnectSelectItem(m_ui->ListView2, this, [this](auto* item, bool selected) {
        ListView2SelectItem(item, selected);
    });

    FormCreate();
}

To_fMain::~To_fMain() = default;

QIcon To_fMain::statusIcon(int index)
{
    // Made once: every row of every list shows one of these.
    static const QIcon pictures[] = {svgIcon("status-working"), svgIcon("status-not-working"),
                                     svgIcon("status-not-tested"), svgIcon("tools")};
    return index >= 0 && index < static_cast<int>(std::size(pictures)) ? pictures[index] : QIcon();
}

void To_fMain::addToolsRows()
{
    static const char* const rows[][2] = {
        {"TIA", "Add new TIA file"},
        {"Boot", "Add new Boot file"},
        {"Phone Group", "Add new Phone group"},
        {"Flash", "Add new flash file to selected phone group"},
        {"Tools", "Add new tool tho this list"},
    };
    for (const auto& row : rows)
        ListViews::AddRow(m_ui->ListView4, CatalogueRow{row[0], {row[1]}, ToolsPicture, false});
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
}

void To_fMain::fillList(QTreeWidget* list, const std::vector<CatalogueRow>& rows)
{
    ListViews::Clear(list);
    const auto items = ListViews::AddRows(list, rows);
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
    // The column set is the template list's.
    const QTreeWidget* templateList = m_ui->ListView2;
    auto* list = new QTreeWidget(page);
    QStringList labels;
    std::vector<int> widths;
    for (int column = 0; column < templateList->columnCount(); ++column) {
        labels << templateList->headerItem()->text(column);
        widths.push_back(templateList->header()->sectionSize(column));
    }
    list->setHeaderLabels(labels);
    ListViews::SetUpReportList(list, widths);
    list->setFont(font());
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list);
    ListViews::ConnectSelectItem(
        list, this, [this](auto* item, bool selected) { ListView2SelectItem(item, selected); });
    return list;
}

void To_fMain::LoadPhoneGroups()
{
    QTabWidget* pages = m_ui->PageControl2;
    if (pages->count() > FirstGroupPage) {
        while (pages->count() > FirstGroupPage) {
            QWidget* page = pages->widget(pages->count() - 1);
            pages->removeTab(pages->count() - 1);
            delete page;
        }
        // The template page's tab is hidden, so the About page is the one left in front.
        pages->setCurrentIndex(AboutPage);
    }

    CatalogueFile(Paths::PhoneCatalogue).ReadSections(m_sectionNames);
    for (const auto& group : m_sectionNames) {
        auto* page = new QWidget;
        createFlashList(page);
        pages->addTab(page, fromBytes(group));
    }
    for (int index = FirstGroupPage; index < pages->count(); ++index) {
        auto* list = pages->widget(index)->findChild<QTreeWidget*>();
        LoadFlashList(toBytes(pages->tabText(index)), list);
    }
}

QString To_fMain::statusLine() const
{
    return m_statusPanel->text();
}

void To_fMain::setStatusLine(const std::string& text)
{
    m_statusPanel->setText(fromBytes(text));
}

QString To_fMain::currentPhoneGroup() const
{
    const int index = m_ui->PageControl2->currentIndex();
    return index >= FirstGroupPage ? m_ui->PageControl2->tabText(index) : QString();
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
    setStatusLine(Selection::ApplyTiaRow(runSelection, toBytes(item->text(0)),
                                         toBytes(item->text(1)), toBytes(item->text(2))));
}

void To_fMain::ListView3SelectItem(QTreeWidgetItem* item, bool /*selected*/)
{
    setStatusLine(
        Selection::ApplyBootRow(runSelection, toBytes(item->text(0)), toBytes(item->text(1))));
}

void To_fMain::ListView2SelectItem(QTreeWidgetItem* item, bool /*selected*/)
{
    QTabWidget* pages = m_ui->PageControl2;
    setStatusLine(Selection::ApplyFlashRow(
        runSelection, toBytes(pages->tabText(pages->currentIndex())), toBytes(item->text(0)),
        toBytes(item->text(1)), toBytes(item->text(2))));
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
    auto* confirmation = o_fConfiguration->ui();
    confirmation->Label1->setText(fromBytes(runSelection.LoaderLine));
    confirmation->Label2->setText(fromBytes(runSelection.BootLine));
    confirmation->Label3->setText(fromBytes(runSelection.FlashLine));
    confirmation->Label4->setText(currentPhoneGroup() + QStringLiteral(" phone group selected"));
    o_fConfiguration->exec();
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
    const auto selected = m_ui->ListView1->selectedItems();
    if (!selected.isEmpty()) {
        CatalogueFile(Paths::TiaCatalogue)
            .WriteBool(toBytes(selected.first()->text(0)), "Selected", true);
    }
}

void To_fMain::closeEvent(QCloseEvent* event)
{
    // A refused write keeps the window open; handled here because the close must be refused.
    try {
        FormClose();
        event->accept();
        // Closing the main window ends the program, whatever other window is still open.
        QCoreApplication::quit();
    } catch (const std::exception& error) {
        ShowUnexpectedError(error);
        event->ignore();
    }
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/run/run_history.h"

#include "forms/common/file_path.h"
#include "forms/common/handlers.h"
#include "forms/common/message_boxes.h"
#include "forms/common/save_dialog.h"
#include "forms/common/text.h"
#include "forms/run/pick_again.h"
#include "journal/history_table.h"
#include "library/run_roles.h"
#include "platform/files.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStandardPaths>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace
{

// Runs read before the window is shown: more rows than it shows; the rest follows in parts.
constexpr std::size_t FirstRuns = 20;
constexpr std::size_t RunsAPart = 500;

QString shown(std::string_view bytes)
{
    return fromBytes(bytes);
}

// A field as a spreadsheet takes it: text that it would run as a formula (= + - @, or a TAB or
// CR before one) begins with a ' and stays text; our own whole numbers stay numbers.
QString csvField(QString field)
{
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+$"));
    static const QRegularExpression quoted(QStringLiteral("[\",\r\n]"));
    if (!field.isEmpty() && QStringLiteral("=+-@\t\r").contains(field.front()) &&
        !number.match(field).hasMatch())
        field.prepend(u'\'');
    if (!field.contains(quoted))
        return field;
    return u'"' + field.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// The label of a file's role; a role the table does not name reads as the image's.
std::string_view labelOf(const QString& role)
{
    for (const auto& texts : RunRoles::Table) {
        if (role == fromBytes(texts.name))
            return texts.label;
    }
    return RunRoles::Of(RunRole::Image).label;
}

} // namespace

void RunHistoryModel::setRuns(std::vector<RunJournal::Record> runs)
{
    beginResetModel();
    m_runs = std::move(runs);
    m_cells.assign(m_runs.size(), {});
    endResetModel();
}

void RunHistoryModel::addRuns(std::vector<RunJournal::Record> runs)
{
    if (runs.empty())
        return;
    beginInsertRows({}, int(m_runs.size()), int(m_runs.size() + runs.size()) - 1);
    std::move(runs.begin(), runs.end(), std::back_inserter(m_runs));
    m_cells.resize(m_runs.size());
    endInsertRows();
}

int RunHistoryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_runs.size());
}

int RunHistoryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(HistoryTable::Headers().size());
}

QVariant RunHistoryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    QStringList& cells = m_cells[std::size_t(index.row())];
    if (cells.isEmpty())
        cells = HistoryTable::Cells(m_runs[std::size_t(index.row())], shown);
    return cells.value(index.column());
}

QVariant RunHistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return HistoryTable::Headers().value(section);
}

RunHistory::RunHistory(QWidget* parent, RunPicks& picks)
    : QDialog(parent), m_picks(picks), m_model(new RunHistoryModel(this)),
      m_shown(new QSortFilterProxyModel(this)), m_filter(new QLineEdit), m_view(new QTableView),
      m_details(new QPlainTextEdit), m_note(new QLabel),
      m_pickAgain(new QPushButton(QStringLiteral("Pick again")))
{
    setObjectName(QStringLiteral("RunHistory"));
    setWindowTitle(QStringLiteral("Run history"));
    resize(820, 520);
    m_shown->setSourceModel(m_model);
    m_shown->setFilterKeyColumn(-1);
    m_shown->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_filter->setPlaceholderText(QStringLiteral("Filter: any part of any column"));
    m_filter->setClearButtonEnabled(true);
    m_view->setModel(m_shown);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->setWordWrap(false);
    const int widths[] = {120, 80, 120, 110, 90, 170};
    for (int column = 0; column < int(std::size(widths)); ++column)
        m_view->setColumnWidth(column, widths[column]);
    m_details->setReadOnly(true);
    m_details->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_details->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_note->setTextFormat(Qt::PlainText);
    m_note->hide();

    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(m_view);
    split->addWidget(m_details);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    auto* exportButton = new QPushButton(QStringLiteral("Export CSV…"));
    exportButton->setObjectName(QStringLiteral("ExportButton"));
    m_pickAgain->setObjectName(QStringLiteral("PickAgainButton"));
    buttons->addButton(exportButton, QDialogButtonBox::ActionRole);
    buttons->addButton(m_pickAgain, QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_filter);
    layout->addWidget(split, 1);
    layout->addWidget(m_note);
    layout->addWidget(buttons);

    using Handlers::Guard;
    connect(m_filter, &QLineEdit::textChanged, this,
            Guard([this](const QString& text) { m_shown->setFilterFixedString(text); }));
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            Guard(this, &RunHistory::showDetails));
    connect(m_shown, &QAbstractItemModel::modelReset, this, Guard(this, &RunHistory::showDetails));
    connect(exportButton, &QPushButton::clicked, this, Guard(this, &RunHistory::ExportClick));
    connect(m_pickAgain, &QPushButton::clicked, this, Guard(this, &RunHistory::PickAgainClick));
    connect(buttons, &QDialogButtonBox::rejected, this, Guard([this] { close(); }));
}

RunHistory::~RunHistory() = default;

void RunHistory::Open()
{
    m_reader = std::make_unique<RunJournal::Reader>(RunJournal::DefaultFile());
    std::vector<RunJournal::Record> runs;
    bool more = m_reader->ReadMore(FirstRuns, runs);
    m_model->setRuns(std::move(runs));
    m_note->hide();
    if (!m_reader->problem().isEmpty() && m_model->rowCount() == 0) {
        // Not "no run": the journal is there and cannot be read.
        m_note->setText(QStringLiteral("The journal %1 cannot be read: %2")
                            .arg(FilePathText(RunJournal::DefaultFile()), m_reader->problem()));
        m_note->show();
        m_reader.reset();
        more = false;
    }
    // The rest once the window has been painted (paintEvent), so that it is seen at once.
    m_readRestWhenPainted = more;
    if (!more)
        readMore();
    if (m_shown->rowCount() > 0)
        m_view->selectRow(0);
    show();
    raise();
    activateWindow();
}

void RunHistory::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (std::exchange(m_readRestWhenPainted, false))
        QTimer::singleShot(0, this, Handlers::Guard(this, &RunHistory::readMore));
}

void RunHistory::readMore()
{
    if (!m_reader)
        return;
    std::vector<RunJournal::Record> runs;
    const bool more = m_reader->ReadMore(RunsAPart, runs);
    m_model->addRuns(std::move(runs));
    if (more) {
        QTimer::singleShot(0, this, Handlers::Guard(this, &RunHistory::readMore));
        return;
    }
    // Told once, here, not line by line: the rest of the journal is shown.
    QStringList told;
    if (const int unreadable = m_reader->unreadableLines(); unreadable > 0) {
        told << QStringLiteral("%1 line(s) of the journal %2 cannot be read (cut off by a "
                               "crash?) and are left out.")
                    .arg(unreadable)
                    .arg(FilePathText(RunJournal::DefaultFile()));
    }
    if (!m_reader->problem().isEmpty()) {
        told << QStringLiteral("The journal %1 could not be read to its start: %2")
                    .arg(FilePathText(RunJournal::DefaultFile()), m_reader->problem());
    }
    if (!told.isEmpty()) {
        m_note->setText(told.join(u'\n'));
        m_note->show();
    }
    m_reader.reset();
}

const RunJournal::Record* RunHistory::pickedRun() const
{
    const QModelIndex current = m_shown->mapToSource(m_view->currentIndex());
    return current.isValid() ? &m_model->run(current.row()) : nullptr;
}

void RunHistory::showDetails()
{
    const RunJournal::Record* run = pickedRun();
    m_details->setPlainText(run ? Details(*run) : QString());
    m_pickAgain->setEnabled(run != nullptr);
}

QString RunHistory::Details(const RunJournal::Record& run)
{
    QStringList lines;
    const auto line = [&lines](std::string_view label, const QString& value) {
        lines << QStringLiteral("%1 %2").arg(fromBytes(label), -17).arg(value);
    };
    line("Started", run.started.toString(Qt::ISODate));
    line("Ended", run.ended.isValid() ? run.ended.toString(Qt::ISODate) : QStringLiteral("-"));
    if (run.seconds)
        line("Duration", HistoryTable::DurationText(std::chrono::seconds(*run.seconds)));
    line("Started how", run.ports.empty() ? run.way : run.way + ", " + fromBytes(run.ports));
    line("Phone group", fromBytes(run.group));
    line("Config", fromBytes(run.config));
    line("Outcome", run.ended.isValid() ? RunJournal::OutcomeName(run.outcome)
                                        : QStringLiteral("no end recorded"));
    if (!run.result.isEmpty())
        line("Result", run.result);
    if (const QString code = HistoryTable::ExitCode(run); !code.isEmpty())
        line("Exit code", code);
    else if (run.code && run.outcome == RunJournal::Outcome::Signal)
        line("Signal", QString::number(*run.code));
    if (run.dosBoxCode)
        line("DOSBox exit code", QString::number(*run.dosBoxCode));
    for (const auto& file : run.files) {
        line(labelOf(file.role),
             fromBytes(file.logicalPath) + QStringLiteral(" → ") + fromBytes(file.stagedPath));
        line("  size", QStringLiteral("%1 bytes").arg(file.size));
        line("  SHA-256", file.sha256);
    }
    if (!run.log.empty())
        line("Log", FilePathText(run.log));
    line("Run", run.id);
    return lines.join(u'\n');
}

QByteArray RunHistory::Csv() const
{
    QString text;
    const auto addRow = [&text](const QStringList& fields) {
        QStringList quoted;
        for (const QString& field : fields)
            quoted << csvField(field);
        text += quoted.join(u',') + QStringLiteral("\r\n");
    };
    addRow(HistoryTable::LongHeaders());
    for (int row = 0; row < m_shown->rowCount(); ++row)
        addRow(HistoryTable::LongCells(
            m_model->run(m_shown->mapToSource(m_shown->index(row, 0)).row()), shown));
    // With a byte-order mark, so that spreadsheets take it for UTF-8.
    return "\xEF\xBB\xBF" + text.toUtf8();
}

void RunHistory::ExportClick()
{
    const QString suggested =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
        QStringLiteral("/quorvel-runs-%1.csv").arg(QDate::currentDate().toString(Qt::ISODate));
    const auto path =
        SaveDialog::Ask(this, QStringLiteral("Export CSV"), QStringLiteral("CSV files (*.csv)"),
                        QStringLiteral("csv"), suggested);
    if (!path)
        return;
    const QByteArray csv = Csv();
    if (!Platform::ReplaceFileContents(
            FilePath(*path), std::string_view(csv.constData(), std::size_t(csv.size())))) {
        ShowError(QStringLiteral("The runs could not be written to the file."),
                  {FilePath(*path), {}});
    }
}

void RunHistory::PickAgainClick()
{
    const RunJournal::Record* run = pickedRun();
    if (!run)
        return;
    const QStringList problems = PickAgain::Problems(m_picks, *run);
    if (!problems.isEmpty()) {
        ShowNotice(nullptr, problems.join(u'\n') + QStringLiteral("\nNothing was picked."));
        return;
    }
    PickAgain::Pick(m_picks, *run);
}

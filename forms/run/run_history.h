// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The Run history window: the journal's runs, newest first, with a filter over every column, the
// whole record of the run picked, Export CSV… of the rows shown and Pick again. The rows are a
// model over the journal, read from its newest run back after the window is up.

#include "journal/run_journal.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class RunPicks;

class RunHistoryModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRuns(std::vector<RunJournal::Record> runs);
    // Older runs, after those there are.
    void addRuns(std::vector<RunJournal::Record> runs);
    const RunJournal::Record& run(int row) const { return m_runs[std::size_t(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<RunJournal::Record> m_runs;
    mutable std::vector<QStringList> m_cells; // made when first shown
};

class RunHistory : public QDialog
{
    Q_OBJECT

public:
    // Pick again picks the run's files in picks, the window that parent (the main window) is.
    RunHistory(QWidget* parent, RunPicks& picks);
    ~RunHistory() override;

    // Reads the journal anew and shows the window (modeless).
    void Open();

    // The whole record, as the details pane shows it.
    static QString Details(const RunJournal::Record& run);
    // The rows shown with every column, as CSV (RFC 4180, CR LF, UTF-8 with a byte-order mark).
    QByteArray Csv() const;

    QTableView* view() const { return m_view; }
    QLineEdit* filter() const { return m_filter; }
    QLabel* note() const { return m_note; }
    QPlainTextEdit* details() const { return m_details; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void readMore();
    void showDetails();
    void ExportClick();
    void PickAgainClick();
    const RunJournal::Record* pickedRun() const;

    RunPicks& m_picks;
    RunHistoryModel* m_model;
    QSortFilterProxyModel* m_shown;
    QLineEdit* m_filter;
    QTableView* m_view;
    QPlainTextEdit* m_details;
    QLabel* m_note;
    QPushButton* m_pickAgain;
    std::unique_ptr<RunJournal::Reader> m_reader;
    bool m_readRestWhenPainted = false;
};

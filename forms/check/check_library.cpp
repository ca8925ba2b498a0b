// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/check/check_library.h"

#include "forms/common/handlers.h"
#include "forms/common/message_boxes.h"
#include "forms/common/text.h"
#include "library/catalogue_entries.h"
#include "library/catalogue_file.h"
#include "library/checksums.h"
#include "library/drive.h"
#include "library/library_name.h"
#include "library/paths.h"
#include "library/removed_files.h"
#include "platform/hash.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <map>
#include <optional>

namespace
{

QString findingText(LibraryCheck::Finding finding)
{
    switch (finding) {
    case LibraryCheck::Finding::Good:
        return QStringLiteral("unchanged");
    case LibraryCheck::Finding::Changed:
        return QStringLiteral("changed");
    case LibraryCheck::Finding::Unreadable:
        return QStringLiteral("cannot be opened or read");
    case LibraryCheck::Finding::Missing:
        return QStringLiteral("missing");
    case LibraryCheck::Finding::NoChecksum:
        return QStringLiteral("no checksum yet");
    case LibraryCheck::Finding::Unlisted:
        return QStringLiteral("folder cannot be listed");
    case LibraryCheck::Finding::CatalogueUnreadable:
        return QStringLiteral("catalogue cannot be read");
    case LibraryCheck::Finding::Removed:
        return QStringLiteral("in Removed");
    case LibraryCheck::Finding::NotCatalogued:
        break;
    }
    return QStringLiteral("not catalogued");
}

// The editor that catalogues a file below the library, and its group; none for other files.
std::optional<std::pair<EntryKind, std::string>> editorFor(const std::string& name)
{
    const auto slash = name.find('/');
    const std::string folder = name.substr(0, slash);
    const std::string rest = name.substr(slash + 1);
    if (LibraryName::Same(folder, "Tias") && rest.find('/') == std::string::npos)
        return std::pair{EntryKind::Tia, std::string()};
    if (LibraryName::Same(folder, "Boots") && rest.find('/') == std::string::npos)
        return std::pair{EntryKind::Boot, std::string()};
    const auto slashAfterGroup = rest.find('/');
    if (!LibraryName::Same(folder, "Phones") || slashAfterGroup == std::string::npos)
        return std::nullopt;
    // Only in a phone group's folder: an entry in a folder no group names would show in no list,
    // and the file would stay uncatalogued.
    // A phone catalogue that cannot be read names no group.
    const auto phones = CatalogueFile(Paths::PhoneCatalogue).ReadableSnapshot();
    const std::string_view inFolder = std::string_view(rest).substr(0, slashAfterGroup);
    for (const auto& group : phones ? phones->AllSections() : std::vector<std::string>()) {
        if (LibraryName::Same(group, inFolder))
            return std::pair{EntryKind::Flash, group};
    }
    return std::nullopt;
}

// A row whose finding was dealt with stays, greyed, with what was done.
void markDone(QTreeWidgetItem* row, const QString& done)
{
    row->setText(1, done);
    row->setDisabled(true);
}

// The file's name without its folders.
std::string fileNameOf(const std::string& name)
{
    return name.substr(name.rfind('/') + 1);
}

} // namespace

CheckLibraryWindow::CheckLibraryWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CheckLibrary"));
    setWindowTitle(QStringLiteral("Check library"));
    resize(560, 380);
    auto* layout = new QVBoxLayout(this);
    m_summary = new QLabel(QStringLiteral("Checking the library's files..."), this);
    m_summary->setObjectName(QStringLiteral("Summary"));
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);
    m_progress = new QProgressBar(this);
    layout->addWidget(m_progress);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("Findings"));
    m_list->setHeaderLabels({QStringLiteral("File"), QStringLiteral("Finding")});
    m_list->setRootIsDecorated(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    layout->addWidget(m_list);

    auto* buttons = new QDialogButtonBox(this);
    const auto add = [&](const QString& caption, const char* name,
                         void (CheckLibraryWindow::*handler)()) {
        QPushButton* button = buttons->addButton(caption, QDialogButtonBox::ActionRole);
        button->setObjectName(QLatin1String(name));
        button->setEnabled(false);
        connect(button, &QPushButton::clicked, this, Handlers::Guard(this, handler));
        return button;
    };
    m_record = add(QStringLiteral("&Record new checksum"), "RecordButton",
                   &CheckLibraryWindow::recordNewSum);
    m_forget = add(QStringLiteral("Remove &line"), "ForgetButton", &CheckLibraryWindow::removeLine);
    m_edit = add(QStringLiteral("&Catalogue..."), "EditButton", &CheckLibraryWindow::openInEditor);
    m_move =
        add(QStringLiteral("&Move to Removed"), "MoveButton", &CheckLibraryWindow::moveToRemoved);
    m_putBack = add(QStringLiteral("&Put back"), "PutBackButton", &CheckLibraryWindow::putBack);
    m_recordNew = add(QStringLiteral("Record checksums of &new files..."), "RecordNewButton",
                      &CheckLibraryWindow::recordNewFiles);
    m_cancel = buttons->addButton(QDialogButtonBox::Cancel);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    connect(m_cancel, &QPushButton::clicked, this, Handlers::Guard([this] {
                if (m_worker)
                    m_cancelled = true; // the thread ends at the next file
                else
                    reject();
            }));
    layout->addWidget(buttons);
    connect(m_list, &QTreeWidget::currentItemChanged, this,
            Handlers::Guard([this] { followRow(); }));
}

CheckLibraryWindow::~CheckLibraryWindow()
{
    if (m_worker) {
        m_cancelled = true;
        m_worker->wait(); // its result, queued to this window, is dropped with it
        delete m_worker;
    }
}

int CheckLibraryWindow::exec()
{
    startCheck();
    return QDialog::exec();
}

void CheckLibraryWindow::startCheck()
{
    m_cancelled = false;
    m_list->clear();
    m_cancel->setText(QStringLiteral("Cancel"));
    m_worker = QThread::create([this] {
        LibraryCheck::Result result;
        try {
            result = LibraryCheck::Run([this](std::size_t done, std::size_t total) {
                QMetaObject::invokeMethod(
                    m_progress,
                    [bar = m_progress, done, total] {
                        bar->setMaximum(static_cast<int>(total));
                        bar->setValue(static_cast<int>(done));
                    },
                    Qt::QueuedConnection);
                return !m_cancelled.load();
            });
        } catch (...) {
            result.cancelled = true; // nothing half-checked is listed
        }
        QMetaObject::invokeMethod(
            this,
            [this, result = std::move(result)]() mutable {
                m_worker->wait();
                delete m_worker;
                m_worker = nullptr;
                m_result = std::move(result);
                Handlers::Run([this] { showResult(); });
            },
            Qt::QueuedConnection);
    });
    m_worker->start();
}

void CheckLibraryWindow::showResult()
{
    m_cancel->setText(QStringLiteral("Close"));
    if (!m_result.manifest.readable) {
        m_summary->setText(QStringLiteral("The checksum manifest cannot be read; nothing was "
                                          "checked."));
        ShowError(QStringLiteral("%1 cannot be read.")
                      .arg(fromBytes(std::string(Paths::ChecksumManifest))),
                  m_result.manifest.problem);
        return;
    }
    if (m_result.cancelled) {
        m_summary->setText(QStringLiteral("The check was cancelled."));
        return;
    }
    bool newFiles = false;
    for (std::size_t index = 0; index < m_result.items.size(); ++index) {
        const auto& item = m_result.items[index];
        if (item.finding == LibraryCheck::Finding::Good)
            continue;
        newFiles = newFiles ||
                   (item.finding == LibraryCheck::Finding::NoChecksum && !m_result.Locked(item));
        auto* row = new QTreeWidgetItem(m_list, {fromBytes(item.name), findingText(item.finding)});
        row->setData(0, Qt::UserRole, static_cast<qulonglong>(index));
    }
    m_recordNew->setEnabled(newFiles);
    QString summary = fromBytes(LibraryCheck::Summary(m_result));
    if (!m_result.lockedFolders.empty())
        summary += QStringLiteral(" Nothing in a folder that cannot be listed, or whose "
                                  "catalogue cannot be read, can be moved, catalogued or have "
                                  "its line removed.");
    else if (m_list->topLevelItemCount() > 0)
        summary += QStringLiteral(" Pick a file to see what can be done.");
    m_summary->setText(summary);
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
}

const LibraryCheck::Item* CheckLibraryWindow::currentItem() const
{
    const QTreeWidgetItem* row = m_list->currentItem();
    if (!row || row->isDisabled())
        return nullptr;
    return &m_result.items.at(row->data(0, Qt::UserRole).toULongLong());
}

void CheckLibraryWindow::followRow()
{
    const LibraryCheck::Item* item = currentItem();
    if (item && m_result.Locked(*item))
        item = nullptr; // which files its catalogue names cannot be told
    using enum LibraryCheck::Finding;
    const auto is = [item](LibraryCheck::Finding finding) {
        return item && item->finding == finding;
    };
    m_record->setEnabled(is(Changed));
    m_forget->setEnabled(is(Missing));
    m_edit->setEnabled(is(NotCatalogued) && editorFor(item->name));
    m_move->setEnabled(is(NotCatalogued));
    m_putBack->setEnabled(is(Removed));
}

void CheckLibraryWindow::recordNewSum()
{
    const LibraryCheck::Item* item = currentItem();
    const auto native = Drive::NativePath(item->logical);
    if (AskConfirmation(QStringLiteral("Record the checksum of %1 as it is now? It is then taken "
                                       "for the file that entered the library.")
                            .arg(fromBytes(item->logical)),
                        QMessageBox::No, {native, {}}) != QMessageBox::Yes)
        return;
    const auto digest = Platform::HashFile(native);
    if (!digest) {
        ShowError(QStringLiteral("%1 cannot be read.").arg(fromBytes(item->logical)), {native, {}});
        return;
    }
    const Checksums::Recorded recorded = Checksums::Record({{item->logical, *digest}});
    if (!recorded) {
        ShowError(fromBytes(Checksums::Recorded::FailureText()), *recorded.failure);
        return;
    }
    markDone(m_list->currentItem(), QStringLiteral("checksum recorded"));
    followRow();
}

void CheckLibraryWindow::recordNewFiles()
{
    std::vector<QTreeWidgetItem*> rows;
    for (int index = 0; index < m_list->topLevelItemCount(); ++index) {
        QTreeWidgetItem* row = m_list->topLevelItem(index);
        const auto& item = m_result.items.at(row->data(0, Qt::UserRole).toULongLong());
        if (!row->isDisabled() && item.finding == LibraryCheck::Finding::NoChecksum &&
            !m_result.Locked(item))
            rows.push_back(row);
    }
    if (rows.empty() ||
        AskConfirmation(QStringLiteral("Record the checksums of %1 catalogued file(s) that have "
                                       "none yet, as they are now?")
                            .arg(rows.size())) != QMessageBox::Yes)
        return;
    std::map<std::string, std::string> digests;
    std::vector<QTreeWidgetItem*> read;
    QStringList unreadable;
    for (QTreeWidgetItem* row : rows) {
        const auto& item = m_result.items.at(row->data(0, Qt::UserRole).toULongLong());
        if (const auto digest = Platform::HashFile(Drive::NativePath(item.logical))) {
            digests[item.logical] = *digest;
            read.push_back(row);
        } else {
            unreadable << fromBytes(item.logical);
        }
    }
    if (const Checksums::Recorded recorded = Checksums::Record(digests); !recorded) {
        ShowError(fromBytes(Checksums::Recorded::FailureText()), *recorded.failure);
        return;
    }
    for (QTreeWidgetItem* row : read)
        markDone(row, QStringLiteral("checksum recorded"));
    m_recordNew->setEnabled(false);
    if (!unreadable.isEmpty())
        ShowError(QStringLiteral("These files cannot be read; their checksums were not "
                                 "recorded:\n%1")
                      .arg(unreadable.join(u'\n')));
    followRow();
}

void CheckLibraryWindow::removeLine()
{
    const LibraryCheck::Item* item = currentItem();
    if (AskConfirmation(QStringLiteral("Remove the checksum line of the missing file %1?")
                            .arg(fromBytes(item->logical)),
                        QMessageBox::No) != QMessageBox::Yes)
        return;
    if (Checksums::Lookup(m_result.manifest, item->logical)) {
        const Checksums::Recorded removed = Checksums::Forget({item->logical});
        if (!removed) {
            ShowError(QStringLiteral("The line could not be removed."), *removed.failure);
            return;
        }
    }
    QString done = QStringLiteral("line removed");
    // A catalogue entry left behind would offer the missing file and fail the next check.
    const auto editor = editorFor(item->name);
    if (editor && LibraryCheck::EntryOf(item->name) &&
        AskConfirmation(QStringLiteral("Remove its catalogue entry %1 too?")
                            .arg(fromBytes(fileNameOf(item->name))),
                        QMessageBox::No) == QMessageBox::Yes) {
        CatalogueEntries::Erase(editor->first, editor->second, fileNameOf(item->name));
        emit entryRemoved(editor->first, editor->second);
        done = QStringLiteral("line and entry removed");
    }
    markDone(m_list->currentItem(), done);
    followRow();
}

bool CheckLibraryWindow::catalogue(const LibraryCheck::Item& item)
{
    const auto editor = editorFor(item.name);
    if (!editor)
        return false;
    emit openEditor(editor->first, editor->second, fileNameOf(item.name));
    return LibraryCheck::EntryOf(item.name).has_value();
}

void CheckLibraryWindow::openInEditor()
{
    if (catalogue(*currentItem())) {
        markDone(m_list->currentItem(), QStringLiteral("catalogued"));
        followRow();
    }
}

void CheckLibraryWindow::moveToRemoved()
{
    const LibraryCheck::Item* item = currentItem();
    const RemovedFiles::Outcome outcome = RemovedFiles::Remove(item->name);
    const QString removed = fromBytes(std::string(RemovedFiles::Folder));
    if (!outcome.moved) {
        ShowError(
            QStringLiteral("%1 could not be moved into %2.").arg(fromBytes(item->logical), removed),
            outcome.problem.value_or(Platform::FileProblem{}));
        return;
    }
    if (outcome.problem) {
        ShowError(QStringLiteral("%1 was moved into %2, but its checksum line could not be "
                                 "moved along.")
                      .arg(fromBytes(item->logical), removed),
                  *outcome.problem);
    }
    markDone(m_list->currentItem(), QStringLiteral("moved to Removed"));
    followRow();
}

void CheckLibraryWindow::putBack()
{
    const LibraryCheck::Item* item = currentItem();
    const RemovedFiles::Outcome outcome = RemovedFiles::PutBack(item->name);
    if (!outcome.moved) {
        ShowError(QStringLiteral("%1 could not be put back.").arg(fromBytes(item->logical)),
                  outcome.problem.value_or(Platform::FileProblem{}));
        return;
    }
    if (outcome.problem) {
        ShowError(QStringLiteral("%1 was put back, but its checksum line could not be.")
                      .arg(fromBytes(item->logical)),
                  *outcome.problem);
    }
    // Back in the library, it is catalogued anew by its editor, the name filled in.
    const bool catalogued = catalogue(*item);
    markDone(m_list->currentItem(),
             catalogued ? QStringLiteral("put back and catalogued") : QStringLiteral("put back"));
    followRow();
}

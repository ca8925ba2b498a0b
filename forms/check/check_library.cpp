// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/check/check_library.h"

#include "forms/common/handlers.h"
#include "forms/common/message_boxes.h"
#include "forms/common/text.h"
#include "library/catalogue_file.h"
#include "library/checksums.h"
#include "library/drive.h"
#include "library/library_name.h"
#include "library/paths.h"
#include "platform/hash.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>
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
    case LibraryCheck::Finding::Missing:
        return QStringLiteral("missing");
    case LibraryCheck::Finding::Unlisted:
        return QStringLiteral("folder cannot be listed");
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
    if (folder == "Tias" && rest.find('/') == std::string::npos)
        return std::pair{EntryKind::Tia, std::string()};
    if (folder == "Boots" && rest.find('/') == std::string::npos)
        return std::pair{EntryKind::Boot, std::string()};
    const auto slashAfterGroup = rest.find('/');
    if (folder != "Phones" || slashAfterGroup == std::string::npos)
        return std::nullopt;
    // Only in a phone group's folder: an entry in a folder no group names would show in no list,
    // and the file would stay uncatalogued.
    std::vector<std::string> groups;
    CatalogueFile(Paths::PhoneCatalogue).ReadSections(groups);
    const std::string_view inFolder = std::string_view(rest).substr(0, slashAfterGroup);
    for (const auto& group : groups) {
        if (LibraryName::Same(group, inFolder))
            return std::pair{EntryKind::Flash, group};
    }
    return std::nullopt;
}

// A row whose finding was dealt with stays, greyed, with what was done.
void markDone(QTreeWidget* list, const QString& done)
{
    QTreeWidgetItem* row = list->currentItem();
    row->setText(1, done);
    row->setDisabled(true);
}

} // namespace

CheckLibraryWindow::CheckLibraryWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CheckLibrary"));
    setWindowTitle(QStringLiteral("Check library"));
    resize(560, 380);
    auto* layout = new QVBoxLayout(this);
    m_summary = new QLabel(QStringLiteral("Checking the library's files..."), this);
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
    int troubles = 0;
    for (std::size_t index = 0; index < m_result.items.size(); ++index) {
        const auto& item = m_result.items[index];
        if (item.finding == LibraryCheck::Finding::Good)
            continue;
        ++troubles;
        auto* row = new QTreeWidgetItem(m_list, {fromBytes(item.name), findingText(item.finding)});
        row->setData(0, Qt::UserRole, static_cast<qulonglong>(index));
    }
    m_summary->setText(troubles == 0
                           ? QStringLiteral("Every file is as it entered the library.")
                           : QStringLiteral("%1 file(s) need a look. Pick one to see what can be "
                                            "done.")
                                 .arg(troubles));
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
    using enum LibraryCheck::Finding;
    m_record->setEnabled(item && item->finding == Changed);
    m_forget->setEnabled(item && item->finding == Missing);
    m_edit->setEnabled(item && item->finding == NotCatalogued && editorFor(item->name));
    m_move->setEnabled(item && item->finding == NotCatalogued);
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
    markDone(m_list, QStringLiteral("checksum recorded"));
    followRow();
}

void CheckLibraryWindow::removeLine()
{
    const Checksums::Recorded removed = Checksums::Forget({currentItem()->logical});
    if (!removed) {
        ShowError(QStringLiteral("The line could not be removed."), *removed.failure);
        return;
    }
    markDone(m_list, QStringLiteral("line removed"));
    followRow();
}

void CheckLibraryWindow::openInEditor()
{
    const LibraryCheck::Item* item = currentItem();
    const auto editor = editorFor(item->name);
    emit openEditor(editor->first, editor->second, item->name.substr(item->name.rfind('/') + 1));
}

void CheckLibraryWindow::moveToRemoved()
{
    const LibraryCheck::Item* item = currentItem();
    if (!LibraryCheck::MoveToRemoved(*item)) {
        ShowError(
            QStringLiteral("%1 could not be moved into %2.")
                .arg(fromBytes(item->logical), fromBytes(std::string(LibraryCheck::RemovedFolder))),
            {Drive::NativePath(item->logical), {}});
        return;
    }
    // Its line goes with it: left behind, it would have the next check report a missing file.
    if (Checksums::Lookup(m_result.manifest, item->logical)) {
        if (const Checksums::Recorded removed = Checksums::Forget({item->logical}); !removed) {
            ShowError(QStringLiteral("%1 was moved into %2, but its checksum line could not be "
                                     "removed.")
                          .arg(fromBytes(item->logical),
                               fromBytes(std::string(LibraryCheck::RemovedFolder))),
                      *removed.failure);
        }
    }
    markDone(m_list, QStringLiteral("moved to Removed"));
    followRow();
}

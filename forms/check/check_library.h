// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The Check library window: hashes the library's files against the manifest on a thread of its
// own, with a progress bar and Cancel, then counts every file by kind, lists each that needs a
// look and offers what can still be done about it; a row shows what was done. It tells the main
// window which editor to open and which catalogue entry it removed.

#include "library/catalogue_entries.h"
#include "library/library_check.h"

#include <QDialog>
#include <atomic>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

class CheckLibraryWindow : public QDialog
{
    Q_OBJECT

public:
    explicit CheckLibraryWindow(QWidget* parent = nullptr);
    ~CheckLibraryWindow() override;

    // Starts the check and shows the window modally until it is closed.
    int exec() override;

    const LibraryCheck::Result& result() const { return m_result; }

signals:
    // An uncatalogued file the user wants catalogued: its editor, with its name filled in.
    void openEditor(EntryKind kind, const std::string& group, const std::string& name);
    // A catalogue entry removed with a missing file's line: the list to load again.
    void entryRemoved(EntryKind kind, const std::string& group);

private:
    void startCheck();
    void showResult();
    void recordNewSum();
    void removeLine();
    void openInEditor();
    void moveToRemoved();
    void putBack();
    void recordNewFiles();
    bool catalogue(const LibraryCheck::Item& item);
    void followRow();
    const LibraryCheck::Item* currentItem() const;

    QLabel* m_summary;
    QProgressBar* m_progress;
    QTreeWidget* m_list;
    QPushButton* m_record;
    QPushButton* m_forget;
    QPushButton* m_edit;
    QPushButton* m_move;
    QPushButton* m_putBack;
    QPushButton* m_recordNew;
    QPushButton* m_cancel;
    std::atomic<bool> m_cancelled = false;
    class QThread* m_worker = nullptr;
    LibraryCheck::Result m_result;
};

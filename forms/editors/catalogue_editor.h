// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The shape the four editor dialogs share: a fixed dialog in the file dialogs' look with a
// browse button and OK and Close with their pictures. A completed OK empties the fields, tells
// what it wrote and asks whether to add another. Editors tell, they do not reach: the main
// window, which owns the lists, follows opened() and written() and reloads what changed.

#include <QDialog>
#include <QSize>
#include <initializer_list>
#include <string>

class OpenDialog;
class QAbstractButton;
class QGroupBox;

// The lists of the main window that the editors fill.
enum class EditedList { Tia, Boot, PhoneGroups, Flash };

// The controls that every editor layout has, with the dialog's fixed size and its icon.
struct EditorLayout {
    QSize clientSize;
    const char* icon;
    QGroupBox* box;
    QAbstractButton* browse;
    QAbstractButton* ok;
    QAbstractButton* close;
    QWidget* fileField = nullptr; // shows the browsed file; browse follows it in the focus order
};

class CatalogueEditor : public QDialog
{
    Q_OBJECT

public:
    EditedList editedList() const { return m_list; }

    // At its next showing the dialog browses at once, and the open dialog picks this file (a
    // file dropped on the main window): the same copy, checks and messages as a browse. An
    // empty path, after the showing, forgets it.
    void BrowseWhenShown(const QString& path) { m_dropped = path; }

signals:
    // At every showing, before the user acts.
    void opened(EditedList list);
    // A completed OK wrote the list's catalogue (a flash list's: that of the group); group
    // names the flash list's group, or the phone group written.
    void written(EditedList list, const std::string& group);

protected:
    // The open dialog is the main window's, shared by all editors.
    CatalogueEditor(EditedList list, OpenDialog& openDialog, QWidget* parent);

    // Gives the layout the editors' look and connects its three buttons to the handlers below.
    // The browse button is reached by Tab after the file field, and by Alt+B.
    void setUpEditor(const EditorLayout& layout);

    virtual void SpeedButton1Click() = 0;
    virtual void BitBtn1Click() = 0;
    void BitBtn2Click();

    // The end of a completed OK: the fields emptied in their order (a status picker chooses
    // nothing), written() told, then "<question>" asked, whose No alone closes the dialog.
    void finishWrite(std::initializer_list<QWidget*> fields, const std::string& group,
                     const QString& question);

    OpenDialog& openDialog() const { return m_openDialog; }

    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    EditedList m_list;
    OpenDialog& m_openDialog;
    QAbstractButton* m_browse = nullptr;
    QString m_dropped;
};

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A test of the windows: a drive of its own, message boxes recorded and answered instead of
// shown, and the seven windows created after the test has laid out its library.

#include "forms/common/message_boxes.h"
#include "forms/common/open_dialog.h"
#include "forms/windows.h"
#include "temporary_drive.h"

#include <QStringList>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

// Readable texts in the tests' failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

class WindowTest : public testing::Test
{
protected:
    WindowTest();
    ~WindowTest() override;

    // Creates the windows, as the program does at start.
    void start();

    // Texts of the boxes shown so far, and forgets them.
    std::vector<QString> takeMessages();

    // Clicks a row of a list as the user would; also double-clicks it, or an empty spot.
    static void clickRow(QTreeWidget* list, int row);
    static constexpr int EmptySpot = -1;
    static void doubleClickRow(QTreeWidget* list, int row);
    // Runs action and returns the modal window it showed, closed again at once; null if none.
    static QWidget* modalShownBy(const std::function<void()>& action);
    // Brings the page with this caption of the main window's right page control to the front.
    static void showGroupPage(const QString& group);
    // The flash list of the main window's page in front; null when the page holds none.
    static QTreeWidget* activeFlashList();
    // Runs steps once the window that open() shows modally is up.
    static void whileShown(const std::function<void()>& steps, const std::function<void()>& open);
    // What the dialog's fields show, in layout order: each line's text, the status picker's code.
    static QStringList fieldsOf(const QDialog* dialog);
    // Fills the fields in that order.
    static void setFields(QDialog* dialog, const QStringList& texts);

    TemporaryDrive drive;
    std::vector<ShownMessage> messages;
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    std::unique_ptr<Windows> windows;
};

// A test of an editor dialog: the shared open dialog answers with nextPick and records its set-up.
class EditorDialogTest : public WindowTest
{
protected:
    EditorDialogTest();
    ~EditorDialogTest() override;

    // A file outside the library that the user picks, written first when bytes are given; its
    // native path.
    QString pickable(const char* logicalPath, const char* bytes = nullptr);
    // Shows the dialog modeless and active, so that its handlers can be driven directly.
    static void showDialog(QDialog* dialog);
    // Title, default extension and filter of the open dialog shown last; empty when none was.
    QStringList pickerTexts() const;

    std::optional<QString> nextPick;
    std::vector<OpenDialog> seenDialogs;
};

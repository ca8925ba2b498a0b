// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The main window's one file-open dialog, shared by the editor dialogs, which set its title,
// default extension, filter and options before each use. It remembers the path picked last.
// Tests answer it through SetAnswerer instead of a person.

#include <QString>
#include <functional>
#include <optional>

class QWidget;

class OpenDialog
{
public:
    enum Option { FileMustExist = 0x1, EnableSizing = 0x2 };

    QString Title;
    QString DefaultExt;
    // Descriptions and patterns alternating, separated by "|": "Text files|*.TXT|All|*.*".
    QString Filter;
    int Options = 0;
    // The position (from 1) of the filter chosen last; kept from one use to the next.
    int FilterIndex = 1;
    // Before Execute: the path the file-name field starts with; after: the path picked.
    QString FileName;

    // Shows the dialog; false when the user cancels.
    bool Execute(QWidget* parent);

    // The next Execute picks this file without showing anything: a file dropped on the main
    // window goes through the browse steps as if the user had picked it. An empty path forgets it.
    void PickNext(const QString& path) { m_next = path; }

    // The filter in the form the Qt file dialog takes; patterns match without regard to case.
    QString qtNameFilters() const;

    // For tests: answer with the function's path, or cancel with nothing (nullptr shows again).
    using Answerer = std::function<std::optional<QString>(const OpenDialog&)>;
    static void SetAnswerer(Answerer answerer);

private:
    QString m_next;
};

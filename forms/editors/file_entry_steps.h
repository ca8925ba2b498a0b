// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The steps the editor dialogs share: browse and copy into the library, the checks of OK in
// their order, and the question whether to add another entry.

#include <QString>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class OpenDialog;
class QDialog;
class QLineEdit;
class QWidget;

namespace FileEntrySteps
{

// What a dialog shows while browsing for its file.
struct BrowseTexts {
    QString title;
    QString defaultExtension;
    QString filter;
    QString copiedMessage;
    QString copyFailedMessage;
};

// Lets the user pick a file through the shared open dialog, puts its name into nameField and
// copies it into the library folder unless a file of that name is there. Nothing changes when
// the user cancels.
void Browse(OpenDialog& dialog, QWidget* parent, const BrowseTexts& texts,
            std::string_view libraryFolder, QLineEdit* nameField);

// Browse in two halves, for a dialog that does more between them: the file the user picks
// (nothing when cancelled, or when its name fails NameCheck for nameField), then its copy into
// the library with the message of how it went.
std::optional<std::filesystem::path> PickFile(OpenDialog& dialog, QWidget* parent,
                                              const BrowseTexts& texts, QLineEdit* nameField);
// The copy also puts the library's spelling of the name into nameField where it differs.
void CopyPicked(const std::filesystem::path& picked, const BrowseTexts& texts,
                std::string_view libraryFolder, QLineEdit* nameField);

// One check of OK: when failed, its notice is shown and the focus goes to control.
struct Check {
    bool failed;
    QWidget* control;
    QString notice;
};

// Runs the checks in order; the first that fails is reported and ends them. True when all pass.
bool PassChecks(const std::vector<Check>& checks);

// The one check of a name that becomes part of a path (a picked file's, a group's, a
// schematic's): it fails for a name that could lead out of its folder.
Check NameCheck(const std::string& name, QWidget* control);

// The check that the library folder holds the file an entry names (a browse copy that failed or
// was cancelled leaves a name without its file): fails with a notice to browse again.
Check InLibraryCheck(std::string_view libraryFolder, const std::string& name, QWidget* control);

// The check that a flash image does not bear the name of a file the run stages beside it.
Check NotStagedNameCheck(const std::string& name, QWidget* control);

// Whether the text of a field is empty once blanks and control characters are removed.
bool IsBlank(const QLineEdit* field);

// Asks "<question>" with Yes and No; only No closes the dialog.
void AskToAddAnother(QDialog* dialog, const QString& question);

} // namespace FileEntrySteps

#pragma once
// The steps the editor dialogs share: browse and copy into the library, the checks of OK in
// their order, and the question whether to add another entry.

#include <QString>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string_view>

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

// Lets the user pick a file through the main window's open dialog, puts its name into
// nameField and copies it into the library folder unless a file of that name is there.
// Nothing changes when the user cancels.
void Browse(QWidget* parent, const BrowseTexts& texts, std::string_view libraryFolder,
            QLineEdit* nameField);

// Browse in two halves, for a dialog that does more between them: the file the user picks
// (nothing when cancelled), then its copy into the library with the message of how it went.
std::optional<std::filesystem::path> PickFile(QWidget* parent, const BrowseTexts& texts);
void CopyPicked(const std::filesystem::path& picked, const BrowseTexts& texts,
                std::string_view libraryFolder);

// One check of OK: when failed, its notice is shown and the focus goes to control.
struct Check {
    bool failed;
    QWidget* control;
    QString notice;
};

// Runs the checks in order; the first that fails is reported and ends them. True when all pass.
bool PassChecks(std::initializer_list<Check> checks);

// Whether the text of a field is empty once blanks and control characters are removed.
bool IsBlank(const QLineEdit* field);

// Asks "<question>" with Yes and No; only No closes the dialog.
void AskToAddAnother(QDialog* dialog, const QString& question);

} // namespace FileEntrySteps

#include "file_entry_steps.h"

#include "file_path.h"
#include "library/entry_names.h"
#include "library/library_files.h"
#include "main.h"
#include "message_boxes.h"
#include "text.h"

#include <QDialog>
#include <QLineEdit>

namespace FileEntrySteps
{

void Browse(QWidget* parent, const BrowseTexts& texts, std::string_view libraryFolder,
            QLineEdit* nameField)
{
    const auto picked = PickFile(parent, texts);
    if (!picked)
        return;
    Text::Show(nameField, LibraryFiles::FileNameOf(*picked));
    CopyPicked(*picked, texts, libraryFolder);
}

std::optional<std::filesystem::path> PickFile(QWidget* parent, const BrowseTexts& texts)
{
    OpenDialog& dialog = o_fMain->OpenDialog1();
    dialog.Title = texts.title;
    dialog.DefaultExt = texts.defaultExtension;
    dialog.Options = OpenDialog::FileMustExist | OpenDialog::EnableSizing;
    dialog.Filter = texts.filter;
    if (!dialog.Execute(parent))
        return std::nullopt;
    std::filesystem::path picked = FilePath(dialog.FileName);
    // A name that cannot be a library file name is refused before it reaches any field.
    if (const std::string name = LibraryFiles::FileNameOf(picked); !EntryNames::IsSafe(name))
        throw UnsafeName(name);
    return picked;
}

void CopyPicked(const std::filesystem::path& picked, const BrowseTexts& texts,
                std::string_view libraryFolder)
{
    switch (LibraryFiles::CopyIntoLibrary(picked, libraryFolder)) {
    case LibraryFiles::CopyOutcome::AlreadyInLibrary:
        break;
    case LibraryFiles::CopyOutcome::Copied:
        ShowNotice(nullptr, texts.copiedMessage);
        break;
    case LibraryFiles::CopyOutcome::Failed:
        ShowError(texts.copyFailedMessage);
        break;
    }
}

bool PassChecks(std::initializer_list<Check> checks)
{
    for (const Check& check : checks) {
        if (check.failed) {
            ShowNotice(check.control, check.notice);
            return false;
        }
    }
    return true;
}

bool IsBlank(const QLineEdit* field)
{
    return LibraryFiles::IsBlank(Text::Bytes(field));
}

void AskToAddAnother(QDialog* dialog, const QString& question)
{
    // Only No closes: Yes and the question's close box leave the dialog open for the next entry.
    if (AskConfirmation(question) == QMessageBox::No)
        dialog->accept();
}

} // namespace FileEntrySteps

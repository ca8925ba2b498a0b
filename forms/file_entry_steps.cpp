#include "file_entry_steps.h"

#include "file_path.h"
#include "library/drive.h"
#include "library/entry_names.h"
#include "library/library_files.h"
#include "library/paths.h"
#include "message_boxes.h"
#include "open_dialog.h"
#include "text.h"

#include <QDialog>
#include <QLineEdit>

namespace FileEntrySteps
{

void Browse(OpenDialog& dialog, QWidget* parent, const BrowseTexts& texts,
            std::string_view libraryFolder, QLineEdit* nameField)
{
    const auto picked = PickFile(dialog, parent, texts, nameField);
    if (!picked)
        return;
    Text::Show(nameField, LibraryFiles::FileNameOf(*picked));
    CopyPicked(*picked, texts, libraryFolder);
}

std::optional<std::filesystem::path> PickFile(OpenDialog& dialog, QWidget* parent,
                                              const BrowseTexts& texts, QLineEdit* nameField)
{
    dialog.Title = texts.title;
    dialog.DefaultExt = texts.defaultExtension;
    dialog.Options = OpenDialog::FileMustExist | OpenDialog::EnableSizing;
    dialog.Filter = texts.filter;
    if (!dialog.Execute(parent))
        return std::nullopt;
    std::filesystem::path picked = FilePath(dialog.FileName);
    // A name that cannot be a library file name is refused before it reaches any field.
    if (!PassChecks({NameCheck(LibraryFiles::FileNameOf(picked), nameField)}))
        return std::nullopt;
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
    case LibraryFiles::CopyOutcome::Failed: {
        const std::string target = Paths::Join(libraryFolder, LibraryFiles::FileNameOf(picked));
        ShowError(texts.copyFailedMessage,
                  Platform::CopyProblem(picked, Drive::NativePath(target)));
        break;
    }
    }
}

bool PassChecks(const std::vector<Check>& checks)
{
    for (const Check& check : checks) {
        if (check.failed) {
            ShowNotice(check.control, check.notice);
            return false;
        }
    }
    return true;
}

Check NameCheck(const std::string& name, QWidget* control)
{
    return {!EntryNames::IsSafe(name), control, fromBytes(UnsafeName(name).what())};
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

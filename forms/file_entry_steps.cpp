#include "file_entry_steps.h"

#include "library/library_files.h"
#include "main.h"
#include "message_boxes.h"
#include "text.h"

#include <QDialog>
#include <QLineEdit>
#include <filesystem>

namespace FileEntrySteps
{

void Browse(QWidget* parent, const BrowseTexts& texts, std::string_view libraryFolder,
            QLineEdit* nameField)
{
    OpenDialog& dialog = o_fMain->OpenDialog1();
    dialog.Title = texts.title;
    dialog.DefaultExt = texts.defaultExtension;
    dialog.Options = OpenDialog::FileMustExist | OpenDialog::EnableSizing;
    dialog.Filter = texts.filter;
    if (!dialog.Execute(parent))
        return;

    const std::filesystem::path picked(toBytes(dialog.FileName));
    nameField->setText(fromBytes(LibraryFiles::FileNameOf(picked)));
    switch (LibraryFiles::CopyIntoLibrary(picked, libraryFolder)) {
    case LibraryFiles::CopyOutcome::AlreadyInLibrary:
        break;
    case LibraryFiles::CopyOutcome::Copied:
        ShowNotice(nullptr, texts.copiedMessage);
        break;
    case LibraryFiles::CopyOutcome::Failed:
        MessageBoxes::Show(QMessageBox::Critical, QStringLiteral("Error"), texts.copyFailedMessage,
                           QMessageBox::Ok);
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
    return LibraryFiles::IsBlank(toBytes(field->text()));
}

void AskToAddAnother(QDialog* dialog, const QString& question)
{
    if (AskConfirmation(question) == QMessageBox::No)
        dialog->accept();
}

} // namespace FileEntrySteps

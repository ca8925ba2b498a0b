// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/editors/file_entry_steps.h"

#include "forms/common/file_path.h"
#include "forms/common/message_boxes.h"
#include "forms/common/open_dialog.h"
#include "forms/common/text.h"
#include "library/checksums.h"
#include "library/drive.h"
#include "library/entry_names.h"
#include "library/library_files.h"
#include "library/library_name.h"
#include "library/paths.h"
#include "platform/files.h"

#include <QDialog>
#include <QFileInfo>
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
    CopyPicked(*picked, texts, libraryFolder, nameField);
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
    std::error_code error;
    // A name that cannot be a library file name is refused before it reaches any field. A name
    // that is no text in the system's encoding reaches us changed: no file has the name we got.
    const bool unreadable = dialog.FileName.contains(QChar::ReplacementCharacter) &&
                            !std::filesystem::exists(picked, error);
    const bool passed = PassChecks({
        {unreadable, nameField,
         QStringLiteral("The name of the picked file \"%1\" cannot be read. Rename the file and "
                        "pick it again.")
             .arg(QFileInfo(dialog.FileName).fileName())},
        NameCheck(LibraryFiles::FileNameOf(picked), nameField),
    });
    if (!passed)
        return std::nullopt;
    return picked;
}

void CopyPicked(const std::filesystem::path& picked, const BrowseTexts& texts,
                std::string_view libraryFolder, QLineEdit* nameField)
{
    const LibraryFiles::CopyReport copy = LibraryFiles::CopyIntoLibrary(picked, libraryFolder);
    // The library's own spelling of the name: that is the file the entry will name.
    if (copy.libraryName != Text::Bytes(nameField))
        Text::Show(nameField, copy.libraryName);
    switch (copy.outcome) {
    case LibraryFiles::CopyOutcome::AlreadyInLibrary:
        break;
    case LibraryFiles::CopyOutcome::DifferentInLibrary:
        ShowNotice(nullptr, QStringLiteral("The library already holds a file named \"%1\", which "
                                           "differs from the picked file %2. The library's file "
                                           "is kept and used; the picked file was not copied.")
                                .arg(fromBytes(copy.libraryName), FilePathText(picked)));
        break;
    case LibraryFiles::CopyOutcome::Copied:
        ShowNotice(nullptr, texts.copiedMessage);
        if (copy.checksumFailure)
            ShowNotice(nullptr, fromBytes(Checksums::Recorded::FailureText()),
                       *copy.checksumFailure);
        break;
    case LibraryFiles::CopyOutcome::Failed: {
        const std::string target = Paths::Join(libraryFolder, LibraryFiles::FileNameOf(picked));
        ShowError(texts.copyFailedMessage,
                  Platform::CopyProblem(picked, Drive::NativePath(target), copy.error));
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

Check InLibraryCheck(std::string_view libraryFolder, const std::string& name, QWidget* control)
{
    return {!LibraryName::FindInFolder(libraryFolder, name), control,
            QStringLiteral("The file \"%1\" is not in the library folder %2. Browse for it "
                           "again.")
                .arg(fromBytes(name), fromBytes(std::string(libraryFolder)))};
}

Check NotStagedNameCheck(const std::string& name, QWidget* control)
{
    return {LibraryName::IsStagedName(name), control,
            QStringLiteral("A flash file may not be named \"%1\": a run stages the loader and "
                           "the boot file under the names f_loader.bin and boot.bin beside it. "
                           "Rename the file and browse for it again.")
                .arg(fromBytes(name))};
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

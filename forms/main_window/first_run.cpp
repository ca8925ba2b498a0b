// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/main_window/first_run.h"

#include "forms/common/file_path.h"
#include "forms/common/message_boxes.h"
#include "library/drive.h"
#include "library/drive_check.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

namespace fs = std::filesystem;

namespace FirstRun
{

namespace
{

// A logical path as it lies in the drive C folder: "nk_files/Lunzo/Common/boot.bin".
QString inDrive(std::string logicalPath)
{
    const bool folder = logicalPath.ends_with('\\');
    if (folder)
        logicalPath.pop_back();
    const fs::path relative = Drive::NativePath(logicalPath).lexically_relative(Drive::Root());
    return FilePathText(folder ? relative / "" : relative);
}

QString noticeText(const std::vector<std::string>& missing, bool driveExists)
{
    QString text = QStringLiteral("Drive C is the folder %1%2. A run needs these, which are "
                                  "missing there:\n")
                       .arg(FilePathText(Drive::Root()),
                            driveExists ? QString() : QStringLiteral(", which does not exist"));
    for (const std::string& path : missing)
        text += QStringLiteral("\n    ") + inDrive(path);
    text += QStringLiteral("\n\nThe common loaders and boot file and the flasher are put there "
                           "by hand; the Tools page adds the rest of the library.");
    return text;
}

} // namespace

void ShowNoticeIfNeeded()
{
    bool mayCreate = true;
    for (auto missing = DriveCheck::Missing(); !missing.empty(); missing = DriveCheck::Missing()) {
        std::error_code error;
        const bool driveExists = fs::is_directory(Drive::Root(), error);
        const bool offerCreate = mayCreate && DriveCheck::LibraryFolderMissing();
        QMessageBox::StandardButtons buttons = QMessageBox::Close;
        if (driveExists)
            buttons |= QMessageBox::Open;
        if (offerCreate)
            buttons |= QMessageBox::Yes;
        const auto answer =
            MessageBoxes::Show({QMessageBox::Information,
                                QApplication::applicationName(),
                                noticeText(missing, driveExists),
                                buttons,
                                offerCreate ? QMessageBox::Yes : QMessageBox::Open,
                                QMessageBox::Close,
                                QString(),
                                {{QMessageBox::Yes, QStringLiteral("Create Folders")},
                                 {QMessageBox::Open, QStringLiteral("Open Folder")}}});

        if (answer == QMessageBox::Open && driveExists) {
            if (!QDesktopServices::openUrl(QUrl::fromLocalFile(FilePathText(Drive::Root()))))
                ShowError(QStringLiteral("No file manager could open the folder."),
                          {Drive::Root(), {}});
            return;
        }
        if (answer != QMessageBox::Yes || !offerCreate)
            return;
        // Once: then the notice again, with what is left to put in place.
        mayCreate = false;
        if (const std::error_code failed = DriveCheck::CreateFolders()) {
            ShowError(QStringLiteral("The library's folders could not be created."),
                      {Drive::Root(), failed.message()});
            return;
        }
    }
}

} // namespace FirstRun

// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/common/save_dialog.h"

#include <QFileDialog>

namespace SaveDialog
{

namespace
{

Answerer& answererStorage()
{
    static Answerer answerer;
    return answerer;
}

} // namespace

std::optional<QString> Ask(QWidget* parent, const QString& title, const QString& filter,
                           const QString& defaultSuffix, const QString& suggested)
{
    if (const Answerer& answerer = answererStorage())
        return answerer(title, suggested);
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!suggested.isEmpty())
        dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

void SetAnswerer(Answerer answerer)
{
    answererStorage() = std::move(answerer);
}

} // namespace SaveDialog

// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/common/open_dialog.h"

#include <QFileDialog>
#include <QStringList>
#include <utility>

namespace
{

OpenDialog::Answerer& answererStorage()
{
    static OpenDialog::Answerer answerer;
    return answerer;
}

// "*.TIA" also matches "x.tia", as on the file system these filters were written for.
QString anyCase(const QString& patterns)
{
    QStringList all;
    for (const QString& pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        all << pattern;
        if (pattern == QLatin1String("*.*"))
            all << QStringLiteral("*"); // there, "*.*" also matched names without a dot
        if (pattern.toLower() != pattern)
            all << pattern.toLower();
        if (pattern.toUpper() != pattern)
            all << pattern.toUpper();
    }
    all.removeDuplicates();
    return all.join(QLatin1Char(' '));
}

} // namespace

void OpenDialog::SetAnswerer(Answerer answerer)
{
    answererStorage() = std::move(answerer);
}

QString OpenDialog::qtNameFilters() const
{
    const QStringList parts = Filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filters << QStringLiteral("%1 (%2)").arg(parts[i], anyCase(parts[i + 1]));
    return filters.join(QStringLiteral(";;"));
}

bool OpenDialog::Execute(QWidget* parent)
{
    std::optional<QString> picked;
    if (!m_next.isEmpty()) {
        picked = std::exchange(m_next, QString());
    } else if (const auto& answerer = answererStorage()) {
        picked = answerer(*this);
    } else {
        QFileDialog dialog(parent, Title);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode((Options & FileMustExist) ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
        dialog.setDefaultSuffix(DefaultExt);
        // Shows the descriptions as written; the patterns behind them are our own.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        const QStringList filters = qtNameFilters().split(QStringLiteral(";;"));
        dialog.setNameFilters(filters);
        if (FilterIndex >= 1 && FilterIndex <= filters.size())
            dialog.selectNameFilter(filters[FilterIndex - 1]);
        if (!FileName.isEmpty())
            dialog.selectFile(FileName);
        if (!(Options & EnableSizing))
            dialog.setFixedSize(dialog.sizeHint());
        const bool accepted = dialog.exec() == QDialog::Accepted;
        if (const auto chosen = filters.indexOf(dialog.selectedNameFilter()); chosen >= 0)
            FilterIndex = static_cast<int>(chosen) + 1;
        if (accepted && !dialog.selectedFiles().isEmpty())
            picked = dialog.selectedFiles().first();
    }
    if (!picked)
        return false;
    FileName = *picked;
    return true;
}

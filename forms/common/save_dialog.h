// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The dialog that asks where to save a file. Tests answer it through SetAnswerer instead of a
// person.

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace SaveDialog
{

// The path the user chose, with the default suffix added when the name has none; nothing when
// the user cancels. The filter is in Qt's form: "PDF files (*.pdf)". The dialog opens on the
// suggested path, when given.
std::optional<QString> Ask(QWidget* parent, const QString& title, const QString& filter,
                           const QString& defaultSuffix, const QString& suggested = {});

// For tests: answer with the function's path, or cancel with nothing (nullptr shows again).
using Answerer =
    std::function<std::optional<QString>(const QString& title, const QString& suggested)>;
void SetAnswerer(Answerer answerer);

} // namespace SaveDialog

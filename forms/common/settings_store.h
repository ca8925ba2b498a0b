// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The program's one store of the user's settings: the places of its windows and the phone cable
// picked for DOSBox, in one INI file on every system (~/.config/Quorvel/Quorvel.ini, on Windows
// %APPDATA%\Quorvel\Quorvel.ini). Tests move it with QSettings::setPath.

#include <QString>
#include <QVariant>
#include <memory>

class QSettings;

namespace SettingsStore
{

std::unique_ptr<QSettings> Open();

// The folder the store lies in, for the program's own files beside it.
QString Folder();

// What an earlier version kept under the key in the platform's native settings (the registry
// on Windows, Quorvel.conf elsewhere), so that a place left there is not lost; invalid when none.
QVariant Earlier(const QString& key);

} // namespace SettingsStore

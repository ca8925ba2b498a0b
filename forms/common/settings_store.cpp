// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/common/settings_store.h"

#include <QFileInfo>
#include <QSettings>

namespace SettingsStore
{

namespace
{

const QString Name = QStringLiteral("Quorvel");

} // namespace

std::unique_ptr<QSettings> Open()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, Name, Name);
}

QString Folder()
{
    return QFileInfo(Open()->fileName()).absolutePath();
}

QVariant Earlier(const QString& key)
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, Name, Name).value(key);
}

} // namespace SettingsStore

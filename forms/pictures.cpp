// SPDX-License-Identifier: GPL-2.0-or-later
#include "pictures.h"

#include <QDir>
#include <QHash>
#include <QString>

namespace Pictures
{

QIcon Icon(const char* name)
{
    static QHash<QString, QIcon> decoded;
    const QString key = QLatin1String(name);
    auto found = decoded.constFind(key);
    if (found == decoded.constEnd()) {
        // Every size drawn for the picture: the icon picks the one for the screen's scale.
        QIcon icon;
        const QDir sizes(QStringLiteral(":/images/") + key);
        for (const QString& file : sizes.entryList(QDir::Files))
            icon.addFile(sizes.filePath(file));
        found = decoded.insert(key, icon);
    }
    return *found;
}

} // namespace Pictures

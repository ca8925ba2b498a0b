#include "pictures.h"

#include <QHash>
#include <QString>

namespace Pictures
{

QIcon Icon(const char* name)
{
    static QHash<QString, QIcon> decoded;
    const QString key = QLatin1String(name);
    auto found = decoded.constFind(key);
    if (found == decoded.constEnd())
        found = decoded.insert(key, QIcon(QStringLiteral(":/images/%1.png").arg(key)));
    return *found;
}

} // namespace Pictures

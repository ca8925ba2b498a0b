#include "image_list.h"

#include <iterator>

namespace ImageList1
{

QIcon Icon(int index)
{
    // Made once: every row of every list shows one of these.
    static const QIcon pictures[] = {
        QIcon(QStringLiteral(":/images/status-working.svg")),
        QIcon(QStringLiteral(":/images/status-not-working.svg")),
        QIcon(QStringLiteral(":/images/status-not-tested.svg")),
        QIcon(QStringLiteral(":/images/tools.svg")),
    };
    return index >= 0 && index < static_cast<int>(std::size(pictures)) ? pictures[index] : QIcon();
}

} // namespace ImageList1

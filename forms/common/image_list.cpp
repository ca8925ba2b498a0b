// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/common/image_list.h"

#include "forms/common/pictures.h"

#include <iterator>

namespace ImageList1
{

QIcon Icon(int index)
{
    // Looked up once: every row of every list shows one of these.
    static const QIcon pictures[] = {Pictures::Icon("status-working"),
                                     Pictures::Icon("status-not-working"),
                                     Pictures::Icon("status-not-tested"), Pictures::Icon("tools")};
    return index >= 0 && index < static_cast<int>(std::size(pictures)) ? pictures[index] : QIcon();
}

} // namespace ImageList1

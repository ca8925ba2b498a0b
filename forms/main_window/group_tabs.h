// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The phone groups' tabs at any count. The tab in front is always on the tab bar: its scroll
// arrows and the mouse wheel bring the next or previous page to the front instead of scrolling it
// away. Letters typed on the tab bar bring the first group whose name starts with them to the
// front, and the "Groups" button at the end of the bar lists every group by name, with a field
// that narrows the list, to bring the one chosen to the front.

class QTabWidget;

namespace GroupTabs
{

// The group pages are those from firstGroupPage on.
void SetUp(QTabWidget* pages, int firstGroupPage);

} // namespace GroupTabs

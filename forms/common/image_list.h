// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The main window's picture list of 16 × 16 pictures, shared by the lists and the status picker:
// the status icons 0 to 2 (indexed by the status code) and the tools picture 3.

#include <QIcon>

namespace ImageList1
{

inline constexpr int ToolsPicture = 3;

// Picture index of the list; a null icon for any other number.
QIcon Icon(int index);

} // namespace ImageList1

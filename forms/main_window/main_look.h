// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// How the main window's controls look beyond their layout: the chip buttons as white cards with
// their logos, the buttons' glyphs, the About page's picture and text, and the left page
// control's tabs narrow enough for all four to show at once.

namespace Ui
{
class To_fMain;
}

namespace MainLook
{

void Apply(Ui::To_fMain* ui);

} // namespace MainLook

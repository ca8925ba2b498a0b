// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Buttons that the keyboard reaches as well as the mouse: Enter on a focused tool button presses
// it (not the window's default button), and a group of picked buttons is one stop of the focus
// order, whose arrow keys move between its buttons.

#include <QList>

class QAbstractButton;

namespace Keyboard
{

// Enter on the focused button presses it, as Space does.
void PressOnEnter(QAbstractButton* button);

// One stop of the focus order, at the checked button. Arrow keys move the focus between the
// buttons without picking; Space or Enter picks. The mouse picks as before, taking no focus.
void MakeArrowGroup(const QList<QAbstractButton*>& buttons);

} // namespace Keyboard

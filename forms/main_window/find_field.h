// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The main window's find field: Ctrl+F (the platform's Find key) moves the focus into it with its
// text selected; Esc empties it; Enter hands the focus on instead of pressing the window's default
// button.

#include <functional>

class QLineEdit;
class QWidget;

namespace FindField
{

void SetUp(QLineEdit* field, QWidget* window, std::function<void()> onEnter);

} // namespace FindField

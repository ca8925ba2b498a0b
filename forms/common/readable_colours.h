// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Texts the window layouts draw in a colour of their own (a maroon caption, navy labels, a red
// chip caption) stay readable on whatever background the palette in use gives: a colour too
// close to its background is made lighter or darker, keeping its hue, until it stands out.

#include <QColor>

class QWidget;

namespace ReadableColours
{

// The contrast ratio of two colours as WCAG defines it, from 1 (none) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// Where text must reach at least this ratio against its background (WCAG AA).
inline constexpr double Enough = 4.5;

// The colour itself when it is readable on the background; else the same hue made darker on a
// light background, lighter on a dark one, just far enough to read with some margin.
QColor On(const QColor& wanted, const QColor& background);

// Keeps the widget's text colour (WindowText) readable on its background (Window), now and
// whenever either changes; the colour the program set last is the one wanted.
void Keep(QWidget* widget);

} // namespace ReadableColours

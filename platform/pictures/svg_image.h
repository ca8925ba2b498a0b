// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// An SVG drawing made into an image, once, at a size fit for showing it large: its own size,
// scaled so that its longer side is between 2048 and 4096 pixels. Transparent where the drawing
// draws nothing.

#include <QByteArray>
#include <QImage>

inline constexpr int SvgImageMaxSide = 4096;

// Null when Qt SVG cannot read the whole document: nothing is ever half drawn.
QImage SvgImage(const QByteArray& svg);

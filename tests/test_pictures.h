// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The tests' own pictures (written by make_test_pictures when the tests are built), one of each
// kind, all showing the same drawing: 200 × 100, the left half white, the right half blue, and a
// green block at 120..180 × 60..90. In the metafiles the green block is a bitmap record, so that
// bitmaps inside metafiles are checked too.

#include <QColor>
#include <QImage>
#include <chrono>
#include <filesystem>
#include <string>

namespace VectorDrawing
{
struct Helper;
}

namespace TestPictures
{

inline const QColor White(255, 255, 255);
inline const QColor Blue(0, 0, 255);
inline const QColor Green(0, 255, 0);

// The picture of that kind: "bmp", "ico", "wmf", "emf", "png", "jpg" or "svg"; and "wiring.wmf",
// a schematic with text in Windows-1252 (R1 & R2, <5V, µ, °) and in the Symbol font (Ω μ).
std::filesystem::path Sample(const char* extension);

// The picture helper of this build, with the usual time limit or the one given.
VectorDrawing::Helper Helper();
VectorDrawing::Helper Helper(std::chrono::milliseconds timeLimit);

// The WMF with a flood of records that keeps the picture helper at work for seconds.
std::string SaveFlood();

// Whether the colours are the same but for smoothing at the edges.
bool Near(const QColor& a, const QColor& b);

// The colour at a point given in the drawing's own 200 × 100 coordinates, in an image that
// shows the drawing stretched over the box.
QColor ColourAt(const QImage& image, const QRect& box, double x, double y);

} // namespace TestPictures

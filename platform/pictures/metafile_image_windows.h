// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Windows: a metafile played by the system into an image, after a check of its records
// (metafile_check.h). Only the picture helper does this, in a process of its own with limits.

#include "vector_svg.h"

#include <QImage>
#include <string>

// Null when the bytes are not a sound metafile of that kind (wmf or emf) or the system cannot
// play it.
QImage MetafileImage(VectorKind kind, const std::string& bytes);

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Metafiles and SVG drawings as SVG documents, to be made into an image by svg_image.h. Off
// Windows, metafiles are converted by libwmf and libemf2svg after a check of their records
// (metafile_check.h). Those libraries can still crash, loop or run out of memory on a damaged
// file, and keep state between files: the program runs this only in its picture helper, one
// file per process.

#include <optional>
#include <string>

enum class VectorKind { Wmf, Emf, Svg };

// Nothing when the bytes are not a sound drawing of that kind. libemf2svg ends fontconfig when
// it is done (FcFini), under anything that uses fonts: call this before any font is loaded.
std::optional<std::string> VectorSvg(VectorKind kind, const std::string& bytes);

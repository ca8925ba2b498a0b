// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Metafiles and SVG drawings loaded for showing. Off Windows they are decoded by the picture
// helper (picture_helper.cpp), a process of their own with limits of time and memory; the
// program waits for it a few seconds at most. On Windows the system plays metafiles, after a
// check of their records (metafile_check.h), and Qt draws SVG.

#include "drawing.h"
#include "vector_svg.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

namespace VectorDrawing
{

// Null when the bytes are not a sound drawing of that kind, or the helper could not decode them
// within its limits. Throws std::runtime_error when the helper cannot be started.
std::unique_ptr<Drawing> Load(VectorKind kind, std::string bytes);

// How long the program waits for the helper.
inline constexpr std::chrono::milliseconds DefaultTimeLimit{3000};

#ifndef _WIN32
// The helper: found beside the program (as built), or in its installation's folder of
// programs for programs (libexec). Tests name the one they built, and may wait less.
std::filesystem::path HelperProgram();
void SetHelperProgram(std::filesystem::path program);
void SetTimeLimit(std::chrono::milliseconds limit);
#endif

} // namespace VectorDrawing

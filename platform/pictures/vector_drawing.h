// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Metafiles and SVG drawings loaded for showing. Off Windows they are decoded by the picture
// helper (picture_helper.cpp), a process of their own with limits of time and memory, ended
// after a few seconds at most. On Windows the system plays metafiles, after a check of their
// records (metafile_check.h), and Qt draws SVG.

#include "drawing.h"
#include "vector_svg.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class QObject;

namespace VectorDrawing
{

// Null when the bytes are not a sound drawing of that kind, or the helper could not decode them
// within its limits. Throws std::runtime_error when the helper cannot be started.
std::unique_ptr<Drawing> Load(VectorKind kind, std::string bytes);

// Load without waiting, for a window that must go on answering: done gets the drawing from the
// event loop once the helper has finished or been ended, unless context was deleted first (which
// ends the helper). On Windows done is called before this returns. Throws as Load.
using Done = std::function<void(std::unique_ptr<Drawing> drawing)>;
void LoadLater(VectorKind kind, std::string bytes, QObject* context, Done done);

// How long the helper may take.
inline constexpr std::chrono::milliseconds DefaultTimeLimit{3000};

#ifndef _WIN32
// The helper: found beside the program (as built), or in its installation's folder of
// programs for programs (libexec). Tests name the one they built, and may wait less.
std::filesystem::path HelperProgram();
void SetHelperProgram(std::filesystem::path program);
void SetTimeLimit(std::chrono::milliseconds limit);
#endif

} // namespace VectorDrawing

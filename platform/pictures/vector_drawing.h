// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Metafiles and SVG drawings decoded for showing, away from the program's windows, by the
// picture helper (picture_helper.cpp): a process of its own with limits of time and memory,
// ended at the time limit.

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

enum class Outcome {
    Drawn,
    Refused,   // not a sound drawing of its kind, or the decoder failed
    TimedOut,  // still at work at the time limit
    Unlimited, // the helper could not limit its time and memory, and decoded nothing
};

// Starts decoding the bytes. done gets the drawing (null unless drawn) from the event loop once
// the decoding has ended, unless the returned job is destroyed first, which ends the helper at
// once. Throws std::runtime_error when the helper cannot be started.
using Done = std::function<void(std::unique_ptr<Drawing> drawing, Outcome outcome)>;
std::unique_ptr<QObject> Start(VectorKind kind, std::string bytes, Done done);

// How long the decoding may take. Tests may wait less.
inline constexpr std::chrono::milliseconds DefaultTimeLimit{3000};
std::chrono::milliseconds TimeLimit();
void SetTimeLimit(std::chrono::milliseconds limit);

// The helper: found beside the program (as built, and installed on Windows), or in its
// installation's folder of programs for programs (libexec). Tests name the one they built.
std::filesystem::path HelperProgram();
void SetHelperProgram(std::filesystem::path program);

// Starts a helper ahead, to wait for the next drawing (a window that may show one calls this
// when it opens, and each drawing when it is done): most of a helper's time goes into starting.
// Throws as Start.
void StartSpareHelper();

} // namespace VectorDrawing

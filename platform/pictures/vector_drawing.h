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

inline constexpr std::chrono::milliseconds DefaultTimeLimit{3000};

// The helper that decodes, and how long the decoding may take: the program's own by default.
// Tests name the one they built, and may wait less.
struct Helper {
    std::filesystem::path program = {}; // empty: the program's own
    std::chrono::milliseconds timeLimit = DefaultTimeLimit;

    // The program to start: the one named, else the program's own, found beside the program (as
    // built, and installed on Windows) or in its installation's folder of programs for programs
    // (libexec).
    std::filesystem::path Program() const;
};

// Starts decoding the bytes. done gets the drawing (null unless drawn) from the event loop once
// the decoding has ended, unless the returned job is destroyed first, which ends the helper at
// once. Throws std::runtime_error when the helper cannot be started.
using Done = std::function<void(std::unique_ptr<Drawing> drawing, Outcome outcome)>;
std::unique_ptr<QObject> Start(VectorKind kind, std::string bytes, Done done,
                               const Helper& helper = {});

// Starts a helper ahead, to wait for the next drawing (a window that may show one calls this
// when it opens, and each drawing when it is done): most of a helper's time goes into starting.
// Throws as Start.
void StartSpareHelper(const Helper& helper = {});

} // namespace VectorDrawing

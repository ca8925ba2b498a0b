// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The question before a DOS flasher starts when DOSBox's COM ports do not reach the phone
// cable: what is wrong, in words, and the ways on: a device for a COM port, looking again after
// plugging the cable in, going on anyway, or starting nothing. Tests answer it through
// SetAnswerer instead of showing it.

#include "library/cable_check.h"

#include <QString>
#include <functional>
#include <vector>

class QWidget;

namespace CableQuestion
{

enum class Choice { Use, LookAgain, GoOn, Cancel };

struct Answer {
    Choice choice = Choice::Cancel;
    DosBoxSerial::PortMapping mapping; // for Use: the COM port and the device picked
};

// What the window shows: the finding in words and the devices it offers (none when it offers no
// other device).
struct Shown {
    CableCheck::Finding finding;
    QString text;
    std::vector<Platform::SerialDevice> devices;
};

using Answerer = std::function<Answer(const Shown&)>;

// Shows the question modally over parent and returns the answer; Cancel when it was closed.
Answer Ask(QWidget* parent, const CableCheck::Finding& finding);

// For tests: answer every question with this function instead of showing it (nullptr shows).
void SetAnswerer(Answerer answerer);

} // namespace CableQuestion
